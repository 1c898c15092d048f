// The platform's binary drawing format: a drawing comes back with its handles, containers and
// application objects; objects of classes nobody registered are kept and written back
// unchanged; a damaged file is refused with a message, never read out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <variant>

#include <cstdint>

#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/xdata.h"
#include "files/dxf_layout.h"
#include "files/dxf_tags.h"
#include "files/memory_filer.h"
#include "files/tdb_format.h"
#include "platform/drawing_files.h"
#include "platform_files/sample_drawing.h"

namespace tessera::files::testing {
namespace {

class TdbFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { sample = SampleDrawing(); }
  void TearDown() override {
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    reread.reset();
    sample.database.reset();
    TestRecord::Unregister();
  }
  std::unique_ptr<AcDbDatabase> Reread(const std::string& path) {
    std::string error;
    auto drawing = ReadDrawingFile(path, error);
    EXPECT_TRUE(drawing) << error;
    if (drawing) acdbHostApplicationServices()->setWorkingDatabase(drawing.get());
    return drawing;
  }
  std::string Save(AcDbDatabase* drawing, const std::string& name) {
    std::string path = TempPath(name);
    std::string error;
    EXPECT_TRUE(WriteDrawingFile(drawing, path, error)) << error;
    return path;
  }

  Sample sample;
  std::unique_ptr<AcDbDatabase> reread;
};

TEST_F(TdbFormatTest, KeepsEntitiesHandlesGroupsAndRecords) {
  std::vector<std::string> before = ModelSpaceSummary(sample.database.get());
  std::string path = Save(sample.database.get(), "sample.tdb");
  reread = Reread(path);
  ASSERT_TRUE(reread);
  EXPECT_EQ(ModelSpaceSummary(reread.get()), before);
  AcDbGroup* group = nullptr;
  ASSERT_EQ(acdbOpenObject(group, IdOf(reread.get(), sample.anonymousGroup.handle().text()),
                           AcDb::kForRead),
            Acad::eOk);
  AcDbObjectIdArray members;
  EXPECT_EQ(group->allEntityIds(members), 3u);
  const AcDbObjectId groupId = group->objectId();
  group->close();
  // The file does not carry who follows whom: each member follows its group again once read.
  for (AcDbObjectId member : members) {
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenObject(entity, member, AcDb::kForRead), Acad::eOk);
    const auto& followers = entity->persistentReactors();
    EXPECT_EQ(std::count(followers.begin(), followers.end(), groupId), 1) << member.handle().text();
    entity->close();
  }
  TestRecord* record = nullptr;
  ASSERT_EQ(
      acdbOpenObject(record, IdOf(reread.get(), sample.record.handle().text()), AcDb::kForRead),
      Acad::eOk);
  EXPECT_EQ(record->label, "面積 1");
  EXPECT_TRUE(record->markOpenedOnRead);
  record->close();
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(reread->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(layers->has("WALLS"));
  layers->close();
  EXPECT_GE(reread->handseed().value(), sample.database->handseed().value());
}

TEST_F(TdbFormatTest, SavingWhatWasReadGivesTheSameBytes) {
  std::string first = Save(sample.database.get(), "first.tdb");
  reread = Reread(first);
  ASSERT_TRUE(reread);
  EXPECT_EQ(ReadText(Save(reread.get(), "second.tdb")), ReadText(first));
}

TEST_F(TdbFormatTest, ObjectsOfAnUnregisteredClassComeBackWhenTheClassReturns) {
  std::string record = sample.record.handle().text();
  std::string first = Save(sample.database.get(), "with_class.tdb");
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  sample.database.reset();
  TestRecord::Unregister();
  reread = Reread(first);
  ASSERT_TRUE(reread);
  AcDbObject* kept = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(kept, IdOf(reread.get(), record), AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(AcDbUnknownObject::cast(kept));
  kept->close();
  std::string second = Save(reread.get(), "without_class.tdb");
  EXPECT_EQ(ReadText(second), ReadText(first));
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  reread.reset();
  TestRecord::Register();
  reread = Reread(second);
  ASSERT_TRUE(reread);
  TestRecord* back = nullptr;
  ASSERT_EQ(acdbOpenObject(back, IdOf(reread.get(), record), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(back->count, 2);
  back->close();
}

TEST_F(TdbFormatTest, EntitiesKeptFromDxfSurviveTheBinaryFormat) {
  std::string dxf = TempPath("with_unknown.dxf");
  std::string error;
  ASSERT_TRUE(WriteDrawingFile(sample.database.get(), dxf, error)) << error;
  std::string text = ReadText(dxf);
  // A multi-line text the platform does not model, in model space.
  std::string mtext =
      "  0\nMTEXT\n  5\nFFF\n330\n" + IdOf(sample.database.get(), "7").handle().text() +
      "\n100\nAcDbEntity\n  8\nWALLS\n100\nAcDbMText\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
      " 40\n2.0\n  1\nmulti\\Pline\n";
  text.insert(text.find("  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS"), mtext);
  WriteText(dxf, text);
  reread = Reread(dxf);
  ASSERT_TRUE(reread);
  std::string tdb = Save(reread.get(), "with_unknown.tdb");
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  reread = Reread(tdb);
  ASSERT_TRUE(reread);
  std::string back = Save(reread.get(), "with_unknown_back.dxf");
  EXPECT_NE(ReadText(back).find(mtext.substr(mtext.find("100\nAcDbEntity"))), std::string::npos);
}

TEST_F(TdbFormatTest, ADamagedFileIsRefusedWhereverItIsCut) {
  std::string whole = ReadText(Save(sample.database.get(), "whole.tdb"));
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  for (std::size_t length : {std::size_t{0}, std::size_t{5}, std::size_t{9}, whole.size() / 3,
                             whole.size() / 2, whole.size() - 1}) {
    std::string path = TempPath("cut.tdb");
    WriteText(path, whole.substr(0, length));
    std::string error;
    EXPECT_EQ(ReadDrawingFile(path, error), nullptr) << "cut at " << length;
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
  }
  std::string flipped = whole;
  flipped[flipped.size() / 2] = static_cast<char>(~flipped[flipped.size() / 2]);
  std::string path = TempPath("flipped.tdb");
  WriteText(path, flipped);
  std::string error;
  std::unique_ptr<AcDbDatabase> drawing = ReadDrawingFile(path, error);  // refused or repaired
  EXPECT_TRUE(drawing || !error.empty());
}

using Bytes = std::vector<unsigned char>;

// An item as the filer writes a number: its kind byte, then seven bits a byte.
Bytes NumberItem(MemoryDwgFiler::Kind kind, std::uint64_t value) {
  Bytes item = {static_cast<unsigned char>(kind)};
  for (; value >= 0x80; value >>= 7) item.push_back(static_cast<unsigned char>(value | 0x80));
  item.push_back(static_cast<unsigned char>(value));
  return item;
}

// The file's checksum written again over its contents, as a writer that changed them would.
Bytes Resummed(Bytes file) {
  ResumTdbBytes(file);
  return file;
}

// Reads the bytes into a new drawing: its bytes written again, or the message.
std::variant<Bytes, std::string> ReadBack(const Bytes& file) {
  AcDbDatabase drawing(false, true);
  std::optional<std::string> problem = ReadTdbBytes(file, &drawing);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  if (problem) return *problem;
  return WriteTdbBytes(&drawing);
}

// One bit flipped anywhere, the checksum included: the file is refused as damaged, or (a flip
// the format cannot see, such as one in the version's unused bits) reads as the drawing it was.
TEST_F(TdbFormatTest, EveryFlippedBitIsRefusedOrReadsTheSameDrawing) {
  const Bytes whole = WriteTdbBytes(sample.database.get());
  constexpr std::size_t kFlips = 240;
  int refused = 0;
  for (std::size_t flip = 0; flip < kFlips; ++flip) {
    Bytes file = whole;
    const std::size_t at = flip * (file.size() - 1) / (kFlips - 1);
    file[at] ^= static_cast<unsigned char>(1u << (flip % 8));
    const auto read = ReadBack(file);
    if (const auto* message = std::get_if<std::string>(&read)) {
      ++refused;
      EXPECT_FALSE(message->empty());
    } else {
      EXPECT_EQ(std::get<Bytes>(read), whole) << "bit " << flip % 8 << " of byte " << at;
    }
  }
  EXPECT_GT(refused, static_cast<int>(kFlips) * 9 / 10);
}

// Parts of a DXF file kept as read are written back to DXF as they are: a file whose kept records
// would not read back from DXF (an own handle that is none or that an object has, a record
// named to end its table early) is refused; a kept table as the DXF reader keeps it reads back.
TEST_F(TdbFormatTest, KeptDxfRecordsThatDxfWouldRefuseAreRefused) {
  const std::string key = std::string(preserved::kTablePrefix) + "STYLE";
  const RawTags table = {{0, "TABLE"}, {2, "STYLE"}, {5, "FFF0"}, {100, "AcDbSymbolTable"}};
  const auto style = [](std::string handle) {
    return RawTags{
        {0, "STYLE"}, {5, std::move(handle)}, {100, "AcDbSymbolTableRecord"}, {2, "NARROW"}};
  };
  struct Case {
    const char* what;
    std::vector<RawTags> records;
    bool refused;
  };
  const Case cases[] = {
      {"a kept table", {table, style("FFF1")}, false},
      {"a handle that is none", {table, style("2=")}, true},
      {"an object's handle", {table, style(sample.line.handle().text())}, true},
      {"a handle twice", {table, style("FFF1"), style("FFF1")}, true},
      {"a record that ends the table", {table, RawTags{{0, "ENDTAB"}}, style("FFF1")}, true},
      {"a record that ends the file", {table, style("FFF1"), RawTags{{0, " EOF "}}}, true},
  };
  for (const Case& c : cases) {
    db::Impl(sample.database.get())->preservedDxf[key] = c.records;
    const auto read = ReadBack(WriteTdbBytes(sample.database.get()));
    EXPECT_EQ(std::holds_alternative<std::string>(read), c.refused) << c.what;
  }
}

// Past the checksum, the reader still refuses what no drawing holds: text that is not UTF-8.
TEST_F(TdbFormatTest, InvalidTextBehindAValidChecksumIsRefused) {
  Bytes file = WriteTdbBytes(sample.database.get());
  const std::string layer = "WALLS";
  const auto at = std::search(file.begin(), file.end(), layer.begin(), layer.end());
  ASSERT_NE(at, file.end());
  *at = 0xFF;
  const auto read = ReadBack(Resummed(file));
  ASSERT_TRUE(std::holds_alternative<std::string>(read));
  EXPECT_NE(std::get<std::string>(read).find("damaged"), std::string::npos);
}

// Behind a valid checksum, a block that lists an entity twice, or leaves one out, is refused: the
// entity would be saved twice, or lost at the next save.
TEST_F(TdbFormatTest, AnEntityListedTwiceOrByNoContainerIsRefused) {
  const Bytes whole = WriteTdbBytes(sample.database.get());
  const auto listedAs = [&](AcDbObjectId entity, std::uint64_t instead) -> std::string {
    const Bytes ownership = NumberItem(MemoryDwgFiler::Kind::kHardOwner, entity.handle().value());
    const Bytes replacement = NumberItem(MemoryDwgFiler::Kind::kHardOwner, instead);
    if (replacement.size() != ownership.size()) return "not of the same length";
    Bytes file = whole;
    const auto at = std::search(file.begin(), file.end(), ownership.begin(), ownership.end());
    if (at == file.end()) return "not found";
    std::copy(replacement.begin(), replacement.end(), at);
    const auto read = ReadBack(Resummed(file));
    return std::holds_alternative<std::string>(read) ? std::get<std::string>(read) : "read";
  };
  EXPECT_EQ(listedAs(sample.arc, sample.line.handle().value()),
            "the drawing is damaged (object " + sample.line.handle().text() + " is listed twice)");
  EXPECT_EQ(listedAs(sample.arc, 0), "the drawing is damaged (object " +
                                         sample.arc.handle().text() +
                                         " belongs to no part of the drawing)");
}

// What follows an object besides a group, and an object's extension dictionary, come back with
// it: the file keeps them from version 6.
TEST_F(TdbFormatTest, AnObjectKeepsWhatFollowsItAndItsExtensionDictionary) {
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, sample.line, AcDb::kForWrite), Acad::eOk);
  line->addPersistentReactor(sample.record);
  line->close();
  auto* dictionary = new AcDbDictionary;
  AcDbObjectId dictionaryId;
  ASSERT_EQ(sample.database->addAcDbObject(dictionaryId, dictionary), Acad::eOk);
  dictionary->setOwnerId(sample.circle);
  dictionary->close();
  AcDbObject* circle = nullptr;
  ASSERT_EQ(acdbOpenObject(circle, sample.circle, AcDb::kForWrite), Acad::eOk);
  db::ObjectAccess::setExtensionDictionary(circle, dictionaryId);
  circle->close();

  reread = Reread(Save(sample.database.get(), "links.tdb"));
  ASSERT_TRUE(reread);
  const AcDbObjectId record = IdOf(reread.get(), sample.record.handle().text());
  ASSERT_EQ(acdbOpenObject(line, IdOf(reread.get(), sample.line.handle().text()), AcDb::kForRead),
            Acad::eOk);
  const auto& followers = line->persistentReactors();
  EXPECT_EQ(std::count(followers.begin(), followers.end(), record), 1);
  line->close();
  ASSERT_EQ(
      acdbOpenObject(circle, IdOf(reread.get(), sample.circle.handle().text()), AcDb::kForRead),
      Acad::eOk);
  const AcDbObjectId extension = circle->extensionDictionary();
  circle->close();
  EXPECT_EQ(extension.handle(), dictionaryId.handle());
  AcDbDictionary* opened = nullptr;
  ASSERT_EQ(acdbOpenObject(opened, extension, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(opened->ownerId().handle(), sample.circle.handle());
  opened->close();
}

// An erased entity goes with the save, its block's list included, and the drawing opens again.
// A file of an earlier build that still lists it (a copied figure's mark erased before saving)
// opens too: the entity the file lacks is a dangling reference, not another owner's entity.
TEST_F(TdbFormatTest, AnErasedEntityIsNotListedAndAnOldFileListingOneStillOpens) {
  AcDbEntity* arc = nullptr;
  ASSERT_EQ(acdbOpenObject(arc, sample.arc, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(arc->erase(), Acad::eOk);
  arc->close();
  const std::vector<std::string> before = ModelSpaceSummary(sample.database.get());
  const Bytes file = WriteTdbBytes(sample.database.get());
  const Bytes listed = NumberItem(MemoryDwgFiler::Kind::kHardOwner, sample.arc.handle().value());
  EXPECT_EQ(std::search(file.begin(), file.end(), listed.begin(), listed.end()), file.end());
  reread = Reread(Save(sample.database.get(), "erased.tdb"));
  ASSERT_TRUE(reread);
  EXPECT_EQ(ModelSpaceSummary(reread.get()), before);
  EXPECT_TRUE(IdOf(reread.get(), sample.arc.handle().text()).isNull());

  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  reread = Reread(std::string(TESSERA_SOURCE_DIR) +
                  "/tests/platform_files/data/copy_figures_erased_mark_v2.tdb");
  ASSERT_TRUE(reread);
  EXPECT_EQ(ModelSpaceSummary(reread.get()).size(), 101u);
}

// A dictionary entry for an object that was erased is saved, its object is not: the drawing
// read names an object it does not have, and every object is looked at to drop the entry.
TEST_F(TdbFormatTest, AReferenceToAnObjectTheFileLacksIsDroppedOnReading) {
  AcDbDictionary* named = nullptr;
  ASSERT_EQ(sample.database->getNamedObjectsDictionary(named, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId entry;
  auto* kept = new AcDbDictionary;
  ASSERT_EQ(named->setAt("KEPT", kept, entry), Acad::eOk);
  kept->close();
  auto* gone = new AcDbDictionary;
  AcDbObjectId goneId;
  ASSERT_EQ(named->setAt("GONE", gone, goneId), Acad::eOk);
  gone->close();
  named->close();
  ASSERT_EQ(acdbOpenObject(gone, goneId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(gone->erase(), Acad::eOk);
  gone->close();
  reread = Reread(Save(sample.database.get(), "dangling.tdb"));
  ASSERT_TRUE(reread);
  ASSERT_EQ(reread->getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(named->has("KEPT"));
  EXPECT_FALSE(named->has("GONE"));
  named->close();
}

// A file saved in the layout of version 3 (every value at a fixed width), and the same file as
// version 2 (a checksum taken a byte at a time) and version 1 (no checksum), read as the drawing
// it was; saved again, it takes today's layout, in fewer bytes. A second-version file with the
// newer sum is damaged. A file of version 5 (without the objects' links: its groups' members
// follow them again once read) reads the same; marked as version 4 (its checksum in one lane)
// too, and it is damaged with the four-lane sum. A file of version 6 (every double in eight
// bytes) reads the same, and is larger.
TEST_F(TdbFormatTest, FilesOfEarlierVersionsAreStillRead) {
  const Bytes whole = WriteTdbBytes(sample.database.get());
  const std::string data = std::string(TESSERA_SOURCE_DIR) + "/tests/platform_files/data/";
  const std::string saved = ReadText(data + "sample_v3.tdb");
  const Bytes third(saved.begin(), saved.end());
  const std::string savedFifth = ReadText(data + "sample_v5.tdb");
  const Bytes fifth(savedFifth.begin(), savedFifth.end());
  constexpr std::size_t kVersionValue = 8 + 1;  // after the magic text and the item's kind byte
  ASSERT_EQ(third[kVersionValue], 3);
  ASSERT_EQ(fifth[kVersionValue], 5);
  EXPECT_EQ(whole[kVersionValue], 7);
  const std::string savedSixth = ReadText(data + "sample_v6.tdb");
  const Bytes sixth(savedSixth.begin(), savedSixth.end());
  ASSERT_EQ(sixth[kVersionValue], 6);
  const auto readSixth = ReadBack(sixth);
  ASSERT_TRUE(std::holds_alternative<Bytes>(readSixth)) << std::get<std::string>(readSixth);
  EXPECT_EQ(std::get<Bytes>(readSixth), whole);
  EXPECT_LT(whole.size(), sixth.size());
  const auto readFifth = ReadBack(fifth);
  ASSERT_TRUE(std::holds_alternative<Bytes>(readFifth)) << std::get<std::string>(readFifth);
  EXPECT_EQ(std::get<Bytes>(readFifth), whole);
  EXPECT_LT(whole.size() * 3, third.size() * 2);
  const auto readThird = ReadBack(third);
  ASSERT_TRUE(std::holds_alternative<Bytes>(readThird)) << std::get<std::string>(readThird);
  EXPECT_EQ(std::get<Bytes>(readThird), whole);

  Bytes first(third.begin(), third.end() - 8);
  first[kVersionValue] = 1;
  const auto readFirst = ReadBack(first);
  ASSERT_TRUE(std::holds_alternative<Bytes>(readFirst)) << std::get<std::string>(readFirst);
  EXPECT_EQ(std::get<Bytes>(readFirst), whole);

  // The file marked as another version: refused under the sum it carries, read once summed as
  // that version sums.
  const auto summedAsItsVersion = [&](Bytes file, unsigned char version) {
    file[kVersionValue] = version;
    const auto misSummed = ReadBack(file);
    ASSERT_TRUE(std::holds_alternative<std::string>(misSummed)) << int{version};
    EXPECT_NE(std::get<std::string>(misSummed).find("checksum"), std::string::npos);
    const auto read = ReadBack(Resummed(file));
    ASSERT_TRUE(std::holds_alternative<Bytes>(read)) << std::get<std::string>(read);
    EXPECT_EQ(std::get<Bytes>(read), whole);
  };
  summedAsItsVersion(third, 2);
  summedAsItsVersion(fifth, 4);

  // An object of a class nobody registered, kept from the older file, is saved in today's
  // layout too: as the object of its class is.
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  sample.database.reset();
  TestRecord::Unregister();
  const auto kept = ReadBack(third);
  TestRecord::Register();
  ASSERT_TRUE(std::holds_alternative<Bytes>(kept)) << std::get<std::string>(kept);
  EXPECT_EQ(std::get<Bytes>(kept), whole);
}

// Drawings saved before entities kept the properties the platform does not use (every file of
// version 1, the first of version 2) are read with their entities whole.
TEST_F(TdbFormatTest, DrawingsSavedBeforeEntitiesKeptTheirPropertiesAreRead) {
  const std::string data = std::string(TESSERA_SOURCE_DIR) + "/tests/platform_files/data/";
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  reread = Reread(data + "line_version1.tdb");
  ASSERT_TRUE(reread);
  EXPECT_EQ(ModelSpaceSummary(reread.get()), std::vector<std::string>{"AcDbLine 20 0"});
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  reread = Reread(data + "circle_figures_version2.tdb");
  ASSERT_TRUE(reread);
  const std::vector<std::string> figures = ModelSpaceSummary(reread.get());
  ASSERT_EQ(figures.size(), 16u);
  EXPECT_EQ(figures.front().substr(0, figures.front().find(' ')), "AcDbCircle");
  EXPECT_EQ(figures.front().substr(figures.front().rfind(' ') + 1), "AREA_LINE");
}

// The binary filer alone, as the undo log and COPY use it.

TEST(MemoryDwgFilerTest, ReadsBackEveryKindInOrder) {
  MemoryDwgFiler out(AcDb::kUndoFiler);
  out.writeString("面積");
  out.writeInt16(-7);
  out.writeInt32(70000);
  out.writeInt64(-5'000'000'000);
  out.writeUInt16(65535);
  out.writeDouble(0.1);
  out.writePoint3d(AcGePoint3d(1, -2, 3.5));
  out.writeBool(true);
  out.writeAcDbHandle(AcDbHandle(0x2A));
  MemoryDwgFiler in(out.takeBytes(), AcDb::kUndoFiler);
  std::string text;
  Adesk::Int16 i16 = 0;
  Adesk::Int32 i32 = 0;
  Adesk::Int64 i64 = 0;
  Adesk::UInt16 u16 = 0;
  double real = 0;
  AcGePoint3d point;
  bool flag = false;
  AcDbHandle handle;
  in.readString(&text);
  in.readInt16(&i16);
  in.readInt32(&i32);
  in.readInt64(&i64);
  in.readUInt16(&u16);
  in.readDouble(&real);
  in.readPoint3d(&point);
  in.readBool(&flag);
  in.readAcDbHandle(&handle);
  EXPECT_EQ(in.filerStatus(), Acad::eOk);
  EXPECT_EQ(text, "面積");
  EXPECT_EQ(i16, -7);
  EXPECT_EQ(i32, 70000);
  EXPECT_EQ(i64, -5'000'000'000);
  EXPECT_EQ(u16, 65535);
  EXPECT_EQ(real, 0.1);
  EXPECT_EQ(point, AcGePoint3d(1, -2, 3.5));
  EXPECT_TRUE(flag);
  EXPECT_EQ(handle, AcDbHandle(0x2A));
  EXPECT_TRUE(in.atEnd());
}

TEST(MemoryDwgFilerTest, AShortOrMismatchedReadFailsAndStaysFailed) {
  MemoryDwgFiler out(AcDb::kFileFiler);
  out.writeString("abc");
  out.writeDouble(2.5);
  const std::vector<unsigned char> bytes = out.bytes();
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    MemoryDwgFiler in(std::vector<unsigned char>(bytes.begin(), bytes.begin() + cut),
                      AcDb::kFileFiler);
    std::string text;
    double value = -1;
    in.readString(&text);
    in.readDouble(&value);
    EXPECT_EQ(in.filerStatus(), Acad::eEndOfFile) << "cut at " << cut;
    EXPECT_EQ(value, 0.0);
  }
  MemoryDwgFiler wrongKind(std::vector<unsigned char>(bytes), AcDb::kFileFiler);
  Adesk::Int32 number = -1;
  wrongKind.readInt32(&number);
  EXPECT_EQ(wrongKind.filerStatus(), Acad::eFilerError);
  std::string text = "x";
  wrongKind.readString(&text);  // the right kind, but the filer has failed already
  EXPECT_EQ(text, "");
  std::vector<unsigned char> huge = {static_cast<unsigned char>(MemoryDwgFiler::Kind::kString),
                                     0xFF, 0xFF, 0xFF, 0x7F};
  MemoryDwgFiler lying(huge, AcDb::kFileFiler);
  lying.readString(&text);
  EXPECT_EQ(lying.filerStatus(), Acad::eEndOfFile);
}

TEST(MemoryDwgFilerTest, IdsAreHandlesInFilesAndStubsInMemory) {
  AcDbDatabase drawing(true);
  AcDbObjectId layerZero = drawing.clayer();
  MemoryDwgFiler file(AcDb::kFileFiler, &drawing);
  file.writeHardPointerId(layerZero);
  file.writeSoftPointerId(AcDbObjectId());
  file.writeHardOwnershipId(layerZero);
  std::vector<unsigned char> bytes = file.bytes();
  // The first id is the handle, little-endian, after its kind byte.
  EXPECT_EQ(bytes[1], layerZero.handle().value() & 0xFF);
  MemoryDwgFiler fileIn(bytes, AcDb::kFileFiler, &drawing);
  AcDbObjectId read, none, owner;
  fileIn.readHardPointerId(&read);
  fileIn.readSoftPointerId(&none);
  fileIn.readSoftOwnershipId(&owner);  // written as a hard owner: refused
  EXPECT_EQ(read, layerZero);
  EXPECT_TRUE(none.isNull());
  EXPECT_EQ(fileIn.filerStatus(), Acad::eFilerError);
  MemoryDwgFiler undo(AcDb::kUndoFiler, &drawing);
  undo.writeHardPointerId(layerZero);
  MemoryDwgFiler undoIn(undo.takeBytes(), AcDb::kUndoFiler, &drawing);
  undoIn.readHardPointerId(&read);
  EXPECT_EQ(read, layerZero);
  // A handle of the file not yet read gets a stub that a later read fills.
  MemoryDwgFiler ahead(AcDb::kFileFiler, &drawing);
  ahead.writeHardPointerId(AcDbObjectId());
  std::vector<unsigned char> later = ahead.takeBytes();
  later[1] = 0x77;
  MemoryDwgFiler aheadIn(later, AcDb::kFileFiler, &drawing);
  aheadIn.readHardPointerId(&read);
  EXPECT_EQ(read.handle(), AcDbHandle(0x77));
  EXPECT_FALSE(read.isValid());
}

// Values take the bytes they need (a kind byte, then seven bits a byte, zero parts left out) and
// come back exactly: extremes, a negative zero and the sign of each part included.
TEST(MemoryDwgFilerTest, ValuesTakeTheBytesTheyNeedAndComeBackExactly) {
  using Write = std::function<void(MemoryDwgFiler&)>;
  const auto size = [](const Write& write) {
    MemoryDwgFiler out(AcDb::kUndoFiler);
    write(out);
    return out.bytes().size();
  };
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeInt32(-1); }), 2u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeInt32(INT32_MIN); }), 6u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeInt64(INT64_MIN); }), 11u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeAcDbHandle(AcDbHandle(0x7F)); }), 2u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeDouble(0.0); }), 1u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeDouble(-0.0); }), 5u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeDouble(2.5); }), 5u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeDouble(0.1); }), 9u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writeVector3d(AcGeVector3d(0, 0, 1)); }), 5u);
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writePoint3d(AcGePoint3d(120000, -2.5, 0)); }), 9u);
  // One part that is no float puts every part in eight bytes.
  EXPECT_EQ(size([](MemoryDwgFiler& out) { out.writePoint3d(AcGePoint3d(120000, 0.1, 0)); }), 17u);

  constexpr std::uint64_t kTenByteHandle = 0x8000'0000'0000'0001;  // needs the 64th bit
  MemoryDwgFiler out(AcDb::kFileFiler);
  for (Adesk::Int16 value : {INT16_MIN, INT16_MAX}) out.writeInt16(value);
  for (Adesk::Int32 value : {INT32_MIN, INT32_MAX}) out.writeInt32(value);
  for (Adesk::Int64 value : {INT64_MIN, INT64_MAX}) out.writeInt64(value);
  out.writeUInt16(UINT16_MAX);
  out.writeAcDbHandle(AcDbHandle(kTenByteHandle));
  out.writeDouble(-0.0);
  out.writePoint3d(AcGePoint3d(0, -0.0, 1e300));
  // Doubles on either side of what a float holds, each to come back bit for bit.
  const double reals[] = {std::numeric_limits<float>::max(),
                          std::nextafter(double{std::numeric_limits<float>::max()}, 1e300),
                          std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<double>::denorm_min(),
                          16777217.0,  // one more than a float's whole numbers run without gaps
                          -std::numeric_limits<double>::infinity(),
                          std::bit_cast<double>(std::uint64_t{0x7FF0'0000'0000'0ABC}),  // a NaN
                          std::bit_cast<double>(std::uint64_t{0xFFF8'0000'0000'0000})};
  for (double real : reals) out.writeDouble(real);
  out.writeVector3d(AcGeVector3d(-0.0, std::numeric_limits<float>::denorm_min(), 3));
  MemoryDwgFiler in(out.bytes(), AcDb::kFileFiler);
  Adesk::Int16 i16[2] = {};
  Adesk::Int32 i32[2] = {};
  Adesk::Int64 i64[2] = {};
  for (auto& value : i16) in.readInt16(&value);
  for (auto& value : i32) in.readInt32(&value);
  for (auto& value : i64) in.readInt64(&value);
  Adesk::UInt16 u16 = 0;
  AcDbHandle handle;
  double zero = 1;
  AcGePoint3d point;
  in.readUInt16(&u16);
  in.readAcDbHandle(&handle);
  in.readDouble(&zero);
  in.readPoint3d(&point);
  for (double real : reals) {
    double read = 0;
    in.readDouble(&read);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(real)) << real;
  }
  AcGeVector3d vector;
  in.readVector3d(&vector);
  EXPECT_TRUE(std::signbit(vector.x));
  EXPECT_EQ(vector.y, std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(vector.z, 3);
  ASSERT_EQ(in.filerStatus(), Acad::eOk);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(i16[0], INT16_MIN);
  EXPECT_EQ(i16[1], INT16_MAX);
  EXPECT_EQ(i32[0], INT32_MIN);
  EXPECT_EQ(i32[1], INT32_MAX);
  EXPECT_EQ(i64[0], INT64_MIN);
  EXPECT_EQ(i64[1], INT64_MAX);
  EXPECT_EQ(u16, UINT16_MAX);
  EXPECT_EQ(handle.value(), kTenByteHandle);
  EXPECT_TRUE(std::signbit(zero));
  EXPECT_EQ(point, AcGePoint3d(0, 0, 1e300));
  EXPECT_FALSE(std::signbit(point.x));
  EXPECT_TRUE(std::signbit(point.y));
}

// A point or vector the same as the last one filed takes its kind byte alone, a vector repeating
// a point too; a blob's bytes, read by a filer of their own, never repeat what lies outside
// them, nor what follows a blob what lies inside. A filer that reads back what it wrote starts
// again at its rewind. A repetition of nothing, or of the other kind, is damaged.
TEST(MemoryDwgFilerTest, ARepeatedPointTakesOneByteAndStaysWithinItsBlob) {
  using Kind = MemoryDwgFiler::Kind;
  const AcGePoint3d position(1234.5678, -98.7654321, 0);
  const AcGePoint3d other(3, 4, 0);
  MemoryDwgFiler out(AcDb::kFileFiler);
  out.writePoint3d(position);
  const std::size_t whole = out.bytes().size();
  out.writePoint3d(position);
  out.writeVector3d(position.asVector());
  EXPECT_EQ(out.bytes().size(), whole + 2);
  const std::size_t blob = out.startBlob();
  out.writePoint3d(position);
  out.writePoint3d(other);
  out.endBlob(blob);
  out.writePoint3d(other);
  constexpr std::size_t kShortBlobHead = 2;  // kind byte and length
  EXPECT_EQ(out.bytes().size(), 2 * whole + 2 + kShortBlobHead + 9 + 9);

  MemoryDwgFiler in(out.bytes(), AcDb::kFileFiler);
  AcGePoint3d points[3];
  AcGeVector3d vector;
  for (int i = 0; i < 2; ++i) in.readPoint3d(&points[i]);
  in.readVector3d(&vector);
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  in.readBlobInPlace(&data, &size);
  in.readPoint3d(&points[2]);
  ASSERT_EQ(in.filerStatus(), Acad::eOk);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(points[0], position);
  EXPECT_EQ(points[1], position);
  EXPECT_EQ(vector, position.asVector());
  EXPECT_EQ(points[2], other);
  MemoryDwgFiler inside(data, size, AcDb::kFileFiler);
  inside.readPoint3d(&points[0]);
  inside.readPoint3d(&points[1]);
  ASSERT_EQ(inside.filerStatus(), Acad::eOk);
  EXPECT_EQ(points[0], position);
  EXPECT_EQ(points[1], other);

  MemoryDwgFiler again(AcDb::kCopyFiler);
  again.writePoint3d(other);
  again.writePoint3d(other);
  again.rewind();
  again.readPoint3d(&points[0]);
  again.readPoint3d(&points[1]);
  EXPECT_EQ(again.filerStatus(), Acad::eOk);
  EXPECT_EQ(points[1], other);

  const auto status = [](Bytes bytes, bool vectorFirst) {
    MemoryDwgFiler damaged(std::move(bytes), AcDb::kFileFiler);
    AcGeVector3d read;
    if (vectorFirst) damaged.readVector3d(&read);
    damaged.readVector3d(&read);
    return damaged.filerStatus();
  };
  const auto kindByte = [](Kind kind) { return static_cast<unsigned char>(kind); };
  EXPECT_EQ(status({kindByte(Kind::kRepeatedVector)}, false), Acad::eFilerError);
  EXPECT_EQ(status({kindByte(Kind::kVector) | 0xE0, kindByte(Kind::kRepeatedPoint)}, true),
            Acad::eFilerError);
  EXPECT_EQ(status({kindByte(Kind::kVector) | 0xE0, kindByte(Kind::kRepeatedVector)}, true),
            Acad::eOk);
}

// A blob written in place takes a length of one byte up to 255 bytes (here 254: two bytes an
// item) and of four beyond; both
// read back whole, with what follows them. A short length that runs past the end ends the data.
TEST(MemoryDwgFilerTest, ABlobOfFewerThan256BytesTakesAOneByteLength) {
  MemoryDwgFiler out(AcDb::kFileFiler);
  const std::size_t sizes[] = {0, 127, 128, 35000};  // items of two bytes
  for (std::size_t size : sizes) {
    const std::size_t mark = out.startBlob();
    for (std::size_t i = 0; i < size; ++i) out.writeInt8(static_cast<Adesk::Int8>(i));
    out.endBlob(mark);
    out.writeInt16(-1);
  }
  constexpr std::size_t kInt8Item = 2;
  EXPECT_EQ(out.bytes().size(), 2 * 2 + 2 * 5 + kInt8Item * (127 + 128 + 35000) + 4 * 2);

  MemoryDwgFiler in(out.bytes(), AcDb::kFileFiler);
  for (std::size_t size : sizes) {
    const unsigned char* data = nullptr;
    std::size_t read = 0;
    in.readBlobInPlace(&data, &read);
    ASSERT_EQ(read, kInt8Item * size);
    MemoryDwgFiler inside(data, read, AcDb::kFileFiler);
    Adesk::Int8 last = 0;
    for (std::size_t i = 0; i < size; ++i) inside.readInt8(&last);
    EXPECT_EQ(inside.filerStatus(), Acad::eOk);
    EXPECT_TRUE(inside.atEnd());
    EXPECT_EQ(last, size == 0 ? 0 : static_cast<Adesk::Int8>(size - 1));
    Adesk::Int16 after = 0;
    in.readInt16(&after);
    EXPECT_EQ(after, -1);
  }
  EXPECT_EQ(in.filerStatus(), Acad::eOk);

  const unsigned char shortKind =
      static_cast<unsigned char>(MemoryDwgFiler::Kind::kBytes) | MemoryDwgFiler::kShortBytesFlag;
  MemoryDwgFiler cut(std::vector<unsigned char>{shortKind, 3, 1, 2}, AcDb::kFileFiler);
  const unsigned char* data = nullptr;
  std::size_t read = 0;
  cut.readBlobInPlace(&data, &read);
  EXPECT_EQ(cut.filerStatus(), Acad::eEndOfFile);
}

// A number longer than 64 bits or wider than its kind, a flag its kind does not take, or a
// shared text where none are shared is damaged; a number cut short ends the file.
TEST(MemoryDwgFilerTest, ANumberTooLongOrTooWideOrAStrayFlagIsRefused) {
  using Kind = MemoryDwgFiler::Kind;
  const auto kindByte = [](Kind kind, unsigned char flags = 0) {
    return static_cast<unsigned char>(static_cast<unsigned char>(kind) | flags);
  };
  const auto status = [](Bytes bytes, const std::function<void(MemoryDwgFiler&)>& read) {
    MemoryDwgFiler in(std::move(bytes), AcDb::kFileFiler);
    read(in);
    return in.filerStatus();
  };
  const auto readInt16 = [](MemoryDwgFiler& in) { in.readInt16(nullptr); };
  const auto readUInt16 = [](MemoryDwgFiler& in) { in.readUInt16(nullptr); };
  const auto readHandle = [](MemoryDwgFiler& in) { in.readAcDbHandle(nullptr); };
  EXPECT_EQ(status(NumberItem(Kind::kInt16, 2 * 40000), readInt16), Acad::eFilerError);
  EXPECT_EQ(status(NumberItem(Kind::kInt16, 2 * 32767), readInt16), Acad::eOk);
  EXPECT_EQ(status(NumberItem(Kind::kUInt16, 65536), readUInt16), Acad::eFilerError);
  Bytes eleven(11, 0x80);
  eleven.insert(eleven.begin(), kindByte(Kind::kHandle));
  eleven.back() = 0x01;
  EXPECT_EQ(status(eleven, readHandle), Acad::eFilerError);
  Bytes past64Bits = NumberItem(Kind::kHandle, UINT64_MAX);
  past64Bits.back() = 0x02;
  EXPECT_EQ(status(past64Bits, readHandle), Acad::eFilerError);
  EXPECT_EQ(status({kindByte(Kind::kHandle), 0x80}, readHandle), Acad::eEndOfFile);
  const auto readDouble = [](MemoryDwgFiler& in) { in.readDouble(nullptr); };
  EXPECT_EQ(status({kindByte(Kind::kDouble, MemoryDwgFiler::kZeroFlags[2])}, readDouble),
            Acad::eFilerError);
  EXPECT_EQ(
      status({kindByte(Kind::kDouble, MemoryDwgFiler::kZeroFlags[0] | MemoryDwgFiler::kFloatFlag)},
             readDouble),
      Acad::eFilerError);
  EXPECT_EQ(status({kindByte(Kind::kDouble, MemoryDwgFiler::kFloatFlag), 0, 0}, readDouble),
            Acad::eEndOfFile);
  EXPECT_EQ(status({kindByte(Kind::kString, MemoryDwgFiler::kSharedTextFlag), 0},
                   [](MemoryDwgFiler& in) { in.readString(nullptr); }),
            Acad::eFilerError);
}

// Texts are numbered in the order of their first use however many there are: the numbers of
// earlier texts hold as the writer's table grows, and a text longer than the writer's blocks of
// copies, or an empty one, is numbered as any other.
TEST(MemoryDwgFilerTest, SharedTextsKeepTheirNumbersAsTheyGrow) {
  SharedTexts texts;
  std::vector<std::string> expected = {"", std::string(100000, 'x')};
  for (int i = 0; i < 20000; ++i) expected.push_back("text " + std::to_string(i));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(texts.numberOf(expected[i]), i);
    ASSERT_EQ(texts.numberOf(expected[i / 2]), i / 2);  // an earlier one, again
  }
  for (std::size_t i = expected.size(); i-- > 0;) ASSERT_EQ(texts.numberOf(expected[i]), i);
  ASSERT_EQ(texts.texts().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(texts.texts()[i], expected[i]);
}

// A name read from a shared text is the one shared name of its text, whichever way it was
// filed; a read of another kind fails and leaves the name as it was.
TEST(MemoryDwgFilerTest, NamesReadAsSharedNamesWhetherTheirTextIsSharedOrNot) {
  SharedTexts written;
  MemoryDwgFiler out(AcDb::kFileFiler);
  out.shareTexts(&written);
  for (const char* text : {"AREA_LINE", "0", "AREA_LINE"}) out.writeString(text);
  MemoryDwgFiler plain(AcDb::kFileFiler);
  plain.writeString("AREA_MARK");
  plain.writeInt16(7);
  SharedTexts read;
  for (std::string_view text : written.texts()) read.add(text);
  MemoryDwgFiler in(out.bytes(), AcDb::kFileFiler);
  in.shareTexts(&read);
  db::SharedName first("Standard"), second, third;
  in.readName(&first);
  in.readName(&second);
  in.readName(&third);
  EXPECT_EQ(in.filerStatus(), Acad::eOk);
  EXPECT_TRUE(first == db::SharedName("AREA_LINE"));
  EXPECT_TRUE(second == db::SharedName("0"));
  EXPECT_TRUE(third == first);

  MemoryDwgFiler plainIn(plain.bytes(), AcDb::kFileFiler);
  plainIn.shareTexts(&read);
  db::SharedName mark, kept("AREA_VALUE");
  plainIn.readName(&mark);
  EXPECT_TRUE(mark == db::SharedName("AREA_MARK"));
  EXPECT_NE(plainIn.readName(&kept), Acad::eOk);  // an Int16 is not a text
  EXPECT_EQ(kept.str(), "AREA_VALUE");
}

// A name is filed as the shared text of its text, the same number a string of that text gets,
// also names whose objects went while the file was written.
TEST(MemoryDwgFilerTest, NamesWrittenAsTheirSharedTexts) {
  SharedTexts written;
  MemoryDwgFiler out(AcDb::kFileFiler);
  out.shareTexts(&written);
  db::SharedName line("AREA_LINE");
  out.writeName(line);
  out.writeString("AREA_LINE");
  out.writeName(db::SharedName("0"));
  for (const char* text : {"GONE_NAME_1", "GONE_NAME_2", "GONE_NAME_3"}) {
    const db::SharedName passing(text);
    out.writeName(passing);
  }
  out.writeName(line);
  EXPECT_EQ(written.texts(), (std::vector<std::string_view>{"AREA_LINE", "0", "GONE_NAME_1",
                                                            "GONE_NAME_2", "GONE_NAME_3"}));
  SharedTexts read;
  for (std::string_view text : written.texts()) read.add(text);
  MemoryDwgFiler in(out.bytes(), AcDb::kFileFiler);
  in.shareTexts(&read);
  std::vector<std::string> texts(7);
  for (std::string& text : texts) in.readString(&text);
  EXPECT_EQ(in.filerStatus(), Acad::eOk);
  EXPECT_EQ(texts, (std::vector<std::string>{"AREA_LINE", "AREA_LINE", "0", "GONE_NAME_1",
                                             "GONE_NAME_2", "GONE_NAME_3", "AREA_LINE"}));
}

// With shared texts a text is filed once and named by its number; a copy of the item writes it
// whole into a filer that shares none, and a number beyond the texts is damaged.
TEST(MemoryDwgFilerTest, SharedTextsAreFiledOnceAndNamedByNumber) {
  SharedTexts written;
  MemoryDwgFiler out(AcDb::kFileFiler);
  out.shareTexts(&written);
  for (const char* text : {"ByLayer", "面積", "ByLayer"}) out.writeString(text);
  ASSERT_EQ(written.texts(), (std::vector<std::string_view>{"ByLayer", "面積"}));
  EXPECT_EQ(out.bytes().size(), 3u * 2u);
  SharedTexts read;
  for (std::string_view text : written.texts()) read.add(text);
  MemoryDwgFiler in(out.bytes(), AcDb::kFileFiler);
  in.shareTexts(&read);
  MemoryDwgFiler whole(AcDb::kFileFiler);
  std::string first;
  in.readString(&first);
  while (!in.atEnd()) ASSERT_TRUE(in.copyItemTo(whole));
  EXPECT_EQ(first, "ByLayer");
  MemoryDwgFiler wholeIn(whole.bytes(), AcDb::kFileFiler);
  std::string second, third;
  wholeIn.readString(&second);
  wholeIn.readString(&third);
  EXPECT_EQ(wholeIn.filerStatus(), Acad::eOk);
  EXPECT_EQ(second, "面積");
  EXPECT_EQ(third, "ByLayer");
  Bytes beyond = {
      static_cast<unsigned char>(static_cast<unsigned char>(MemoryDwgFiler::Kind::kString) |
                                 MemoryDwgFiler::kSharedTextFlag),
      2};
  MemoryDwgFiler beyondIn(beyond, AcDb::kFileFiler);
  beyondIn.shareTexts(&read);
  beyondIn.readString(nullptr);
  EXPECT_EQ(beyondIn.filerStatus(), Acad::eFilerError);
}

// Extended data read from a file takes only the values extended data holds: an item whose code
// names an object id or a 64-bit number is refused, and nothing read before it is kept.
TEST(MemoryDwgFilerTest, ExtendedDataOfAnotherKindIsRefused) {
  const auto read = [](int code) {
    MemoryDwgFiler out(AcDb::kFileFiler);
    out.writeInt32(2);
    out.writeInt16(1000);
    out.writeString("kept");
    out.writeInt16(static_cast<Adesk::Int16>(code));
    out.writeString("1F");
    MemoryDwgFiler in(out.bytes(), AcDb::kFileFiler);
    db::XDataItems items;
    const Acad::ErrorStatus status = db::ReadXData(&in, items);
    return std::pair(status, !items.empty());
  };
  EXPECT_EQ(read(1000), std::pair(Acad::eOk, true));
  EXPECT_EQ(read(1005), std::pair(Acad::eOk, true));
  EXPECT_EQ(read(330), std::pair(Acad::eFilerError, false));
  EXPECT_EQ(read(160), std::pair(Acad::eFilerError, false));
}

// A filer over a file's bytes refuses text that is not UTF-8 and handles at or beyond a limit,
// and makes no stub for such a handle; other filers take them.
TEST(MemoryDwgFilerTest, AFilerThatRefusesInvalidDataFailsOnIt) {
  constexpr std::uint64_t kLimit = 0x1000;
  AcDbDatabase drawing(true);
  // The status of a lenient read, then of a refusing one, of the bytes `write` files.
  const auto statuses = [&](const auto& write, const auto& read) {
    MemoryDwgFiler out(AcDb::kFileFiler, &drawing);
    write(out);
    MemoryDwgFiler strict(out.bytes(), AcDb::kFileFiler, &drawing);
    strict.refuseInvalid(kLimit);
    read(strict);
    MemoryDwgFiler lenient(out.bytes(), AcDb::kFileFiler, &drawing);
    read(lenient);
    return std::pair(lenient.filerStatus(), strict.filerStatus());
  };
  const auto readText = [](MemoryDwgFiler& in) { in.readString(nullptr); };
  const auto readHandle = [](MemoryDwgFiler& in) {
    AcDbHandle handle;
    in.readAcDbHandle(&handle);
  };
  const auto fine = std::pair(Acad::eOk, Acad::eOk);
  const auto refused = std::pair(Acad::eOk, Acad::eFilerError);
  EXPECT_EQ(statuses([](MemoryDwgFiler& out) { out.writeString("ok"); }, readText), fine);
  EXPECT_EQ(statuses([](MemoryDwgFiler& out) { out.writeString("bad\xFF"); }, readText), refused);
  EXPECT_EQ(statuses([](MemoryDwgFiler& out) { out.writeAcDbHandle(AcDbHandle(kLimit - 1)); },
                     readHandle),
            fine);
  EXPECT_EQ(
      statuses([](MemoryDwgFiler& out) { out.writeAcDbHandle(AcDbHandle(kLimit)); }, readHandle),
      refused);
  MemoryDwgFiler strict(NumberItem(MemoryDwgFiler::Kind::kHardPointer, kLimit), AcDb::kFileFiler,
                        &drawing);
  strict.refuseInvalid(kLimit);
  AcDbObjectId id;
  EXPECT_EQ(strict.readHardPointerId(&id), Acad::eFilerError);
  EXPECT_TRUE(id.isNull());
  EXPECT_NE(drawing.getAcDbObjectId(id, false, AcDbHandle(kLimit)), Acad::eOk);
}

}  // namespace
}  // namespace tessera::files::testing
