// Records saved with a drawing as DXF and as .tdb and opened again, as a user would: every
// record, row and mark reactor comes back; ezdxf reads the DXF and audits it clean.
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "db/database_impl.h"
#include "drawing_fixture.h"
#include "files/dxf_tags.h"
#include "platform/drawing_files.h"
#include "records/figure_dictionaries.h"

namespace {

using area::AreaDic_Circle;
using area::AreaDic_STable;
using area::AreaDic_Table;
using area::AreaDic_Triangle;
using area::FigureRecord;

constexpr const char* kPython = "/usr/bin/python3";

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("tessera_records_" + name)).string();
}

// What ezdxf sees of the records; "" when the script could not run.
std::string Ezdxf(const std::string& path) {
  std::string script = std::string(TESSERA_SOURCE_DIR) + "/tests/records/ezdxf_records.py";
  std::string line = std::string(kPython) + " '" + script + "' '" + path + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
  if (!pipe) return "";
  std::string output;
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get()))
    output.append(buffer.data(), n);
  return output;
}

// One figure of each shape as its record sees it: key, mark, and what the record holds.
struct Figure {
  const char* dictionary;
  std::string key;
  AcDbObjectId mark;
};

class RecordFilesTest : public RecordDrawingTest {
 public:
  template <typename T>
  Figure Store(const char* dictionary, T* record) {
    Figure figure{dictionary, AppendLine().handle().text(), AppendLine()};
    typename T::Handles handles;
    for (AcDbHandle& handle : handles) handle = AppendLine().handle();
    record->setHandles(handles);
    record->setMarkHandle(figure.mark.handle());
    record->setUnitKind(1);
    record->setDigits(3);
    record->setRounding(2);
    EXPECT_EQ(area::StoreFigureRecord(dictionary, figure.key.c_str(), record), 1);
    return figure;
  }

  AreaDic_Table::Row TableRow() {
    AreaDic_Table::Row row;
    for (AcDbHandle& handle : row) handle = AppendLine().handle();
    return row;
  }

  // A triangle listed in a triangle-form and a general-form table, and a circle in two tables,
  // besides one plain figure of every other shape.
  std::vector<Figure> DrawFigures() {
    std::vector<Figure> figures;
    auto* triangle = new AreaDic_Triangle;
    AreaDic_STable::Row triangleRow;
    for (AcDbHandle& handle : triangleRow) handle = AppendLine().handle();
    triangle->addTriangleRow(triangleRow);
    triangle->addTableRow(TableRow());
    figures.push_back(Store(area::kDictTriangle, triangle));
    auto* circle = new AreaDic_Circle;
    circle->addTableRow(TableRow());
    circle->addTableRow(TableRow());
    figures.push_back(Store(area::kDictCircle, circle));
    figures.push_back(Store(area::kDictRectangle, new area::AreaDic_Rectangle));
    figures.push_back(Store(area::kDictTrapezoid, new area::AreaDic_Trapezoid));
    figures.push_back(Store(area::kDictSector, new area::AreaDic_Sector));
    figures.push_back(Store(area::kDictLune, new area::AreaDic_Lune));
    return figures;
  }

  // Everything a record holds, as text, with its rows' handles.
  static std::string Describe(const FigureRecord* record) {
    std::string text = record->isA()->name();
    AcDbHandle handle;
    record->markHandle(handle);
    text += " mark " + handle.text();
    for (int i = 0; i < record->shapeHandleCount(); ++i) {
      record->shapeHandle(i, handle);
      text += " " + handle.text();
    }
    Adesk::Int16 unit = 0, digits = 0, rounding = 0, rows = 0;
    record->unitKind(unit), record->digits(digits), record->rounding(rounding);
    text += " settings " + std::to_string(unit) + std::to_string(digits) + std::to_string(rounding);
    if (auto* triangle = AreaDic_Triangle::cast(record)) {
      triangle->triangleRowCount(rows);
      for (int i = 0; i < rows; ++i) {
        AreaDic_STable::Row row;
        EXPECT_EQ(triangle->triangleRowAt(i, row), Acad::eOk);
        text += " |";
        for (const AcDbHandle& h : row) text += " " + h.text();
      }
    }
    record->tableRowCount(rows);
    for (int i = 0; i < rows; ++i) {
      AreaDic_Table::Row row;
      EXPECT_EQ(record->tableRowAt(i, row), Acad::eOk);
      text += " |";
      for (const AcDbHandle& h : row) text += " " + h.text();
    }
    return text;
  }

  std::vector<std::string> DescribeAll(const std::vector<Figure>& figures, AcDbDatabase* in) {
    std::vector<std::string> all;
    for (const Figure& figure : figures) {
      FigureRecord* record =
          area::FindRecordByKey(figure.dictionary, figure.key.c_str(), AcDb::kForRead, in);
      EXPECT_NE(record, nullptr) << figure.dictionary << " " << figure.key;
      if (record == nullptr) continue;
      all.push_back(Describe(record));
      record->close();
    }
    return all;
  }

  // Saves the drawing, opens the file as a new drawing and checks every record came back.
  void ExpectRoundTrip(const std::string& name) {
    std::vector<Figure> figures = DrawFigures();
    std::vector<std::string> before = DescribeAll(figures, database.get());
    std::string path = TempPath(name), error;
    ASSERT_TRUE(tessera::WriteDrawingFile(database.get(), path, error)) << error;
    std::unique_ptr<AcDbDatabase> reopened = tessera::ReadDrawingFile(path, error);
    ASSERT_TRUE(reopened) << error;
    acdbHostApplicationServices()->setWorkingDatabase(reopened.get());
    EXPECT_EQ(DescribeAll(figures, reopened.get()), before);
    for (const Figure& figure : figures) {
      AcDbObjectId mark;
      ASSERT_EQ(reopened->getAcDbObjectId(mark, false, figure.mark.handle()), Acad::eOk);
      EXPECT_TRUE(MarkHasReactor(mark)) << figure.dictionary;
      EXPECT_EQ(ReactorCount(mark), 1) << figure.dictionary;
    }
    acdbHostApplicationServices()->setWorkingDatabase(database.get());
  }
};

TEST_F(RecordFilesTest, DxfFileBringsBackEveryRecordRowAndMarkReactor) {
  ExpectRoundTrip("round_trip.dxf");
}

TEST_F(RecordFilesTest, TdbFileBringsBackEveryRecordRowAndMarkReactor) {
  ExpectRoundTrip("round_trip.tdb");
}

// A drawing opened while the application is not loaded keeps its records as it found them, in
// whichever format it is saved then; opened with the application again, they are records.
struct Passage {
  const char* name;
  const char* first;                 // saved with the application
  std::vector<const char*> without;  // then opened and saved again without it, in turn
};

TEST_F(RecordFilesTest, RecordsPassUnchangedThroughSessionsWithoutTheApplication) {
  const std::vector<Passage> passages = {
      {"dxf", ".dxf", {".dxf"}},
      {"tdb", ".tdb", {".tdb"}},
      {"dxf to tdb", ".dxf", {".tdb"}},
      {"dxf to tdb to dxf", ".dxf", {".tdb", ".dxf"}},
  };
  for (const Passage& passage : passages) {
    SetUp();
    std::vector<Figure> figures = DrawFigures();
    std::vector<std::string> before = DescribeAll(figures, database.get());
    std::string path = TempPath(std::string("with") + passage.first), error;
    ASSERT_TRUE(tessera::WriteDrawingFile(database.get(), path, error)) << error;
    TearDown();
    area::DeleteRecordClasses();
    for (std::size_t i = 0; i < passage.without.size(); ++i) {
      std::unique_ptr<AcDbDatabase> foreign = tessera::ReadDrawingFile(path, error);
      ASSERT_TRUE(foreign) << passage.name << ": " << error;
      path = TempPath("without" + std::to_string(i) + passage.without[i]);
      ASSERT_TRUE(tessera::WriteDrawingFile(foreign.get(), path, error)) << error;
    }
    area::RegisterRecordClasses();
    database = tessera::ReadDrawingFile(path, error);
    ASSERT_TRUE(database) << passage.name << ": " << error;
    acdbHostApplicationServices()->setWorkingDatabase(database.get());
    EXPECT_EQ(DescribeAll(figures, database.get()), before) << passage.name;
    TearDown();
  }
  SetUp();
}

// A .tdb file made with the application holds its records as binary data only. Opened without
// the application, the drawing cannot be written as DXF without dropping them: the save is
// refused with a message and the old file stays, while a .tdb save still keeps them.
TEST_F(RecordFilesTest, RecordsKnownOnlyAsBinaryDataAreNeverDroppedFromADxfSave) {
  std::vector<Figure> figures = DrawFigures();
  std::vector<std::string> before = DescribeAll(figures, database.get());
  std::string path = TempPath("binary_only.tdb"), error;
  ASSERT_TRUE(tessera::WriteDrawingFile(database.get(), path, error)) << error;
  TearDown();
  area::DeleteRecordClasses();
  std::unique_ptr<AcDbDatabase> foreign = tessera::ReadDrawingFile(path, error);
  ASSERT_TRUE(foreign) << error;
  std::string dxf = TempPath("binary_only.dxf");
  std::FILE* old = std::fopen(dxf.c_str(), "w");
  ASSERT_NE(old, nullptr);
  std::fputs("old drawing", old);
  std::fclose(old);
  EXPECT_FALSE(tessera::WriteDrawingFile(foreign.get(), dxf, error));
  EXPECT_NE(error.find(" AreaDic_"), std::string::npos) << error;
  EXPECT_NE(error.find("save as .tdb"), std::string::npos) << error;
  EXPECT_EQ(std::filesystem::file_size(dxf), std::string("old drawing").size());
  std::string again = TempPath("binary_only_again.tdb");
  ASSERT_TRUE(tessera::WriteDrawingFile(foreign.get(), again, error)) << error;
  foreign.reset();
  area::RegisterRecordClasses();
  database = tessera::ReadDrawingFile(again, error);
  ASSERT_TRUE(database) << error;
  acdbHostApplicationServices()->setWorkingDatabase(database.get());
  EXPECT_EQ(DescribeAll(figures, database.get()), before);
}

// Unloading the application while a drawing is open, then saving it: the records are kept
// with their rows and declared in CLASSES, and come back when the application is loaded again.
TEST_F(RecordFilesTest, RecordsOfAnUnloadedApplicationAreSavedWhole) {
  std::vector<Figure> figures = DrawFigures();
  std::vector<std::string> before = DescribeAll(figures, database.get());
  area::DeleteRecordClasses();
  std::vector<std::string> paths = {TempPath("unloaded.dxf"), TempPath("unloaded.tdb")};
  std::string error;
  for (const std::string& path : paths)
    ASSERT_TRUE(tessera::WriteDrawingFile(database.get(), path, error)) << error;
  std::string seen = Ezdxf(paths[0]);
  if (seen.find("No module named") == std::string::npos) {
    EXPECT_EQ(seen.rfind("audit errors 0 ", 0), 0u) << seen;
    EXPECT_NE(seen.find("class AREADIC_CIRCLE AreaDic_Circle Tessera Area Dictionary\n"),
              std::string::npos)
        << seen;
  }
  area::RegisterRecordClasses();
  for (const std::string& path : paths) {
    std::unique_ptr<AcDbDatabase> reopened = tessera::ReadDrawingFile(path, error);
    ASSERT_TRUE(reopened) << error;
    acdbHostApplicationServices()->setWorkingDatabase(reopened.get());
    EXPECT_EQ(DescribeAll(figures, reopened.get()), before) << path;
    acdbHostApplicationServices()->setWorkingDatabase(database.get());
  }
}

// The records of a DXF file read without the application, as unknown objects, keep their tags
// through a copy and through an undo of a change to them.
TEST_F(RecordFilesTest, KeptRecordsKeepTheirTagsThroughCopyAndUndo) {
  std::vector<Figure> figures = DrawFigures();
  std::string path = TempPath("kept.dxf"), error;
  ASSERT_TRUE(tessera::WriteDrawingFile(database.get(), path, error)) << error;
  TearDown();
  area::DeleteRecordClasses();
  database = tessera::ReadDrawingFile(path, error);
  ASSERT_TRUE(database) << error;
  acdbHostApplicationServices()->setWorkingDatabase(database.get());
  AcDbDictionary* named =
      Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForRead);
  AcDbObject* found = nullptr;
  ASSERT_EQ(named->getAt(area::kDictCircle, found, AcDb::kForRead), Acad::eOk);
  named->close();
  AcDbDictionary* circles = AcDbDictionary::cast(found);
  ASSERT_NE(circles, nullptr);
  AcDbObjectId id;
  ASSERT_EQ(circles->getAt(figures[1].key.c_str(), id), Acad::eOk);
  circles->close();
  auto* kept = Open<AcDbUnknownObject>(id, AcDb::kForWrite);
  ASSERT_NE(kept, nullptr);
  const tessera::files::RawTags tags = kept->dxfTags;
  ASSERT_EQ(tags.size(), 1u + 1 + 3 + 4 + 10) << "owner, marker, handles, numbers, two rows";
  std::unique_ptr<AcDbObject> copy(kept->cloneObject());
  ASSERT_NE(AcDbUnknownObject::cast(copy.get()), nullptr);
  EXPECT_EQ(AcDbUnknownObject::cast(copy.get())->dxfTags, tags);
  EXPECT_EQ(AcDbUnknownObject::cast(copy.get())->originalDxfName, "AREADIC_CIRCLE");
  tessera::db::UndoLog& undo = tessera::db::Impl(database.get())->undo();
  undo.closeStep();
  ASSERT_EQ(kept->assertWriteEnabled(), Acad::eOk);
  kept->dxfTags.clear();
  kept->close();
  ASSERT_EQ(undo.undo(1), 1);
  kept = Open<AcDbUnknownObject>(id, AcDb::kForRead);
  EXPECT_EQ(kept->dxfTags, tags);
  kept->close();
  TearDown();
  area::RegisterRecordClasses();
  SetUp();
}

TEST_F(RecordFilesTest, EzdxfAuditsTheRecordsCleanAndSeesTheirTagsInOrder) {
  std::vector<Figure> figures = DrawFigures();
  std::string path = TempPath("for_ezdxf.dxf"), error;
  ASSERT_TRUE(tessera::WriteDrawingFile(database.get(), path, error)) << error;
  std::string seen = Ezdxf(path);
  if (seen.find("No module named") != std::string::npos)
    GTEST_SKIP() << "python3-ezdxf is not installed";
  EXPECT_EQ(seen.rfind("audit errors 0 ", 0), 0u) << seen;
  // Row objects are never filed on their own, so only the record classes have objects.
  for (const char* entry :
       {"AREADIC_TRIANGLE AreaDic_Triangle", "AREADIC_RECTANGLE AreaDic_Rectangle",
        "AREADIC_TRAPEZOID AreaDic_Trapezoid", "AREADIC_SECTOR AreaDic_Sector",
        "AREADIC_CIRCLE AreaDic_Circle", "AREADIC_LUNE AreaDic_Lune"}) {
    std::string line = std::string("class ") + entry + " Tessera Area Dictionary\n";
    EXPECT_NE(seen.find(line), std::string::npos) << line << seen;
  }
  for (const Figure& figure : figures) {
    std::string dictionary = std::string("dictionary ") + figure.dictionary + " " + figure.key;
    EXPECT_NE(seen.find(dictionary + "\n"), std::string::npos) << dictionary << "\n" << seen;
  }
  // The circle's tags as its record writes them.
  FigureRecord* circle =
      area::FindRecordByKey(area::kDictCircle, figures[1].key.c_str(), AcDb::kForRead);
  ASSERT_NE(circle, nullptr);
  std::string tags = "object AREADIC_CIRCLE " + circle->objectId().handle().text() +
                     " 100=AreaDic_Circle 5=" + figures[1].mark.handle().text();
  AcDbHandle handle;
  for (int i = 0; i < 2; ++i) {
    circle->shapeHandle(i, handle);
    tags += " 5=" + handle.text();
  }
  tags += " 70=1 71=3 72=2 73=2";
  for (int i = 0; i < 2; ++i) {
    AreaDic_Table::Row row;
    circle->tableRowAt(i, row);
    for (const AcDbHandle& h : row) tags += " 300=" + h.text();
  }
  circle->close();
  EXPECT_NE(seen.find(tags + "\n"), std::string::npos) << tags << "\n" << seen;
}

}  // namespace
