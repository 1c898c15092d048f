// The binary and DXF filings of figure records: group sequences, round trips, the re-armed mark
// reactor, and reading and writing records whose rows or mark have gone stale.
#include <array>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "db/database_impl.h"
#include "drawing_fixture.h"
#include "files/dxf_filer.h"
#include "files/memory_filer.h"
#include "records/figure_dictionaries.h"
#include "records/figure_records.h"

// Allocations that may fail (new (std::nothrow)) fail while this is set, so that a test can
// meet the record's answer to a row it cannot allocate.
static bool g_refuseNothrowNew = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_refuseNothrowNew) return nullptr;
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

namespace {

using area::AreaDic_Circle;
using area::AreaDic_STable;
using area::AreaDic_Table;
using area::AreaDic_Triangle;
using area::FigureRecord;
using tessera::files::DxfFiler;
using tessera::files::DxfTag;
using tessera::files::MemoryDwgFiler;
using tessera::files::RawTags;
using Tags = std::vector<std::pair<int, std::string>>;

class RecordFilingTest : public RecordDrawingTest {
 public:
  void SetUp() override {
    RecordDrawingTest::SetUp();
    mark = AppendLine();
  }

  AreaDic_Table::Row TableRow() {
    AreaDic_Table::Row row;
    for (AcDbHandle& handle : row) handle = AppendLine().handle();
    return row;
  }

  // A circle record with two table rows, stored under a new outline's key.
  AreaDic_Circle* NewCircle() {
    auto* circle = new AreaDic_Circle;
    circle->setMarkHandle(mark.handle());
    circle->setHandles({AppendLine().handle(), AppendLine().handle()});
    circle->setUnitKind(0);
    circle->setDigits(2);
    circle->setRounding(1);
    circle->addTableRow(TableRow());
    circle->addTableRow(TableRow());
    return circle;
  }

  AcDbObjectId StoreCircle() {
    AreaDic_Circle* circle = NewCircle();
    std::string key = AppendLine().handle().text();
    EXPECT_EQ(area::StoreFigureRecord(area::kDictCircle, key.c_str(), circle), 1);
    return circle->objectId();
  }

  // The groups the record writes after the object base's.
  Tags WriteDxf(const FigureRecord* record) {
    RawTags tags;
    DxfFiler filer(&tags, database.get());
    EXPECT_EQ(record->dxfOutFields(&filer), Acad::eOk);
    Tags own;
    bool subclass = false;
    for (const auto& tag : tags) {
      subclass = subclass || tag.first == AcDb::kDxfSubclass;
      if (subclass) own.push_back(tag);
    }
    return own;
  }

  Acad::ErrorStatus ReadDxf(FigureRecord* record, const Tags& tags) {
    dxfTags.clear();
    int line = 1;
    for (const auto& [code, value] : tags) dxfTags.push_back({code, value, line += 2});
    filer =
        std::make_unique<DxfFiler>(dxfTags.data(), dxfTags.data() + dxfTags.size(), database.get());
    return record->dxfInFields(filer.get());
  }

  std::vector<unsigned char> WriteDwg(const FigureRecord* record,
                                      AcDb::FilerType type = AcDb::kFileFiler) {
    MemoryDwgFiler out(type, database.get());
    EXPECT_EQ(record->dwgOutFields(&out), Acad::eOk);
    return out.takeBytes();
  }

  Acad::ErrorStatus ReadDwg(FigureRecord* record, std::vector<unsigned char> bytes,
                            AcDb::FilerType type = AcDb::kFileFiler) {
    MemoryDwgFiler in(std::move(bytes), type, database.get());
    return record->dwgInFields(&in);
  }

  static std::vector<AreaDic_Table::Row> TableRows(const FigureRecord* record) {
    Adesk::Int16 count = 0;
    EXPECT_EQ(record->tableRowCount(count), Acad::eOk);
    EXPECT_EQ(count, record->tableRowIds().length());
    std::vector<AreaDic_Table::Row> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) EXPECT_EQ(record->tableRowAt(i, rows[i]), Acad::eOk);
    return rows;
  }

  AcDbObjectId mark;
  std::vector<DxfTag> dxfTags;
  std::unique_ptr<DxfFiler> filer;
};

// The groups of a DXF text: a group code line, then a value line.
Tags Parse(const char* text) {
  Tags tags;
  std::istringstream lines(text);
  std::string code, value;
  while (std::getline(lines, code) && std::getline(lines, value))
    tags.emplace_back(std::stoi(code), value);
  return tags;
}

template <std::size_t N>
std::array<AcDbHandle, N> HandlesFrom(std::uint64_t first) {
  std::array<AcDbHandle, N> handles;
  for (AcDbHandle& handle : handles) handle = AcDbHandle(first++);
  return handles;
}

// Mark 2A, radius line 2B, radius text 2C, metres, 2 digits, half up; table rows 51..55 and
// 61..65.
constexpr const char* kCircleWithTwoTableRows = R"(100
AreaDic_Circle
5
2A
5
2B
5
2C
70
0
71
2
72
1
73
2
300
51
300
52
300
53
300
54
300
55
300
61
300
62
300
63
300
64
300
65
)";

// Mark 2A, height line 2B, base text 2C, height text 2D, millimetres, no digits, round up;
// one triangle row 71..78 and no table rows.
constexpr const char* kTriangleWithOneTriangleRow = R"(100
AreaDic_Triangle
5
2A
5
2B
5
2C
5
2D
70
2
71
0
72
2
73
1
74
0
300
71
300
72
300
73
300
74
300
75
300
76
300
77
300
78
)";

TEST_F(RecordFilingTest, CircleWithTwoTableRowsWritesItsGroupsInOrder) {
  auto* circle = new AreaDic_Circle;
  circle->setMarkHandle(AcDbHandle(0x2Au));
  circle->setHandles(HandlesFrom<2>(0x2B));
  circle->setDigits(2);
  circle->setRounding(1);
  ASSERT_EQ(circle->addTableRow(HandlesFrom<5>(0x51)), Acad::eOk);
  ASSERT_EQ(circle->addTableRow(HandlesFrom<5>(0x61)), Acad::eOk);
  EXPECT_EQ(WriteDxf(circle), Parse(kCircleWithTwoTableRows));
  delete circle;
}

TEST_F(RecordFilingTest, TriangleWithOneTriangleRowWritesBothCountsAndEightRowGroups) {
  auto* triangle = new AreaDic_Triangle;
  triangle->setMarkHandle(AcDbHandle(0x2Au));
  triangle->setHandles(HandlesFrom<3>(0x2B));
  triangle->setUnitKind(2);
  triangle->setRounding(2);
  ASSERT_EQ(triangle->addTriangleRow(HandlesFrom<8>(0x71)), Acad::eOk);
  EXPECT_EQ(WriteDxf(triangle), Parse(kTriangleWithOneTriangleRow));
  delete triangle;
}

// Both texts read back into records that write the same groups again; the rows are new objects.
TEST_F(RecordFilingTest, ConstantGroupsReadBackIntoTheSameRecords) {
  const std::pair<FigureRecord*, const char*> cases[] = {
      {new AreaDic_Circle, kCircleWithTwoTableRows},
      {new AreaDic_Triangle, kTriangleWithOneTriangleRow}};
  for (const auto& [record, text] : cases) {
    ASSERT_EQ(ReadDxf(record, Parse(text)), Acad::eOk) << record->isA()->name();
    EXPECT_EQ(WriteDxf(record), Parse(text)) << record->isA()->name();
    for (AcDbObjectId row : record->tableRowIds()) EXPECT_EQ(row.database(), database.get());
    delete record;
  }
}

// Each case is a circle record's groups after the subclass marker.
struct DxfCase {
  const char* name;
  Tags groups;
  Acad::ErrorStatus status;
  int rows;
};

TEST_F(RecordFilingTest, DxfReadingRefusesUnknownGroupsAndIgnoresSurplus) {
  const std::vector<DxfCase> cases = {
      {"unknown group", {{5, "1"}, {70, "0"}, {99, "7"}}, Acad::eInvalidDxfCode, 0},
      {"second row count on a circle", {{73, "0"}, {74, "0"}}, Acad::eInvalidDxfCode, 0},
      {"surplus handles", {{5, "1"}, {5, "2"}, {5, "3"}, {5, "4"}, {5, "5"}}, Acad::eOk, 0},
      {"row groups beyond the count",
       {{73, "1"}, {300, "1"}, {300, "2"}, {300, "3"}, {300, "4"}, {300, "5"}, {300, "6"}},
       Acad::eOk,
       1},
      {"rows before their count", {{300, "1"}, {300, "2"}, {73, "0"}}, Acad::eOk, 0},
      {"incomplete row", {{73, "1"}, {300, "1"}, {300, "2"}}, Acad::eOk, 0},
  };
  for (const DxfCase& c : cases) {
    Tags tags = {{100, "AreaDic_Circle"}};
    tags.insert(tags.end(), c.groups.begin(), c.groups.end());
    auto* read = new AreaDic_Circle;
    EXPECT_EQ(ReadDxf(read, tags), c.status) << c.name;
    EXPECT_EQ(read->tableRowIds().length(), c.rows) << c.name;
    if (c.status == Acad::eInvalidDxfCode) {
      EXPECT_EQ(filer->filerStatus(), Acad::eInvalidDxfCode) << c.name;
      filer->resetFilerStatus();
      resbuf item{};
      ASSERT_EQ(filer->readItem(&item), Acad::eOk) << c.name;
      EXPECT_EQ(item.restype, c.groups.back().first) << c.name << ": group pushed back";
    }
    delete read;
  }
}

TEST_F(RecordFilingTest, RefusedRecordKeepsWhatItHad) {
  AreaDic_Circle* record = NewCircle();
  Tags tags = {{100, "AreaDic_Circle"}, {5, "FFFF"}, {70, "9"}, {99, "1"}};
  EXPECT_EQ(ReadDxf(record, tags), Acad::eInvalidDxfCode);
  AcDbHandle stored;
  record->markHandle(stored);
  EXPECT_EQ(stored, mark.handle());
  EXPECT_EQ(record->tableRowIds().length(), 2);
  delete record;
}

TEST_F(RecordFilingTest, RowThatNoLongerOpensIsSkippedAndNotCounted) {
  AreaDic_Circle* record = NewCircle();
  AreaDic_Table* stale = Open<AreaDic_Table>(record->tableRowIds()[0], AcDb::kForWrite);
  stale->erase();
  stale->close();
  Tags tags = WriteDxf(record);
  EXPECT_EQ(tags[7], (std::pair<int, std::string>{73, "1"}));
  EXPECT_EQ(tags.size(), 8u + 5);
  auto* read = new AreaDic_Circle;
  ASSERT_EQ(ReadDwg(read, WriteDwg(record)), Acad::eOk);
  EXPECT_EQ(read->tableRowIds().length(), 1);
  delete record;
  delete read;
}

TEST_F(RecordFilingTest, MarkThatDoesNotResolveKeepsItsHandle) {
  auto* written = new AreaDic_Circle;
  const AcDbHandle missing(0xFFFFu);
  written->setMarkHandle(missing);
  auto* fromDxf = new AreaDic_Circle;
  auto* fromDwg = new AreaDic_Circle;
  ASSERT_EQ(ReadDxf(fromDxf, WriteDxf(written)), Acad::eOk);
  ASSERT_EQ(ReadDwg(fromDwg, WriteDwg(written)), Acad::eOk);
  for (AreaDic_Circle* read : {fromDxf, fromDwg}) {
    AcDbHandle stored;
    read->markHandle(stored);
    EXPECT_EQ(stored, missing);
    delete read;
  }
  delete written;
}

// Undo and a second read meet a record that already has rows and an armed mark.
TEST_F(RecordFilingTest, ReReadingReplacesTheRowsAndArmsTheMarkOnce) {
  AcDbObjectId id = StoreCircle();
  AreaDic_Circle* record = Open<AreaDic_Circle>(id, AcDb::kForWrite);
  std::vector<AreaDic_Table::Row> rows = TableRows(record);
  for (int round = 0; round < 2; ++round) {
    AcDbObjectIdArray before = record->tableRowIds();
    ASSERT_EQ(ReadDwg(record, WriteDwg(record, AcDb::kUndoFiler), AcDb::kUndoFiler), Acad::eOk);
    EXPECT_EQ(TableRows(record), rows);
    for (AcDbObjectId old : before) EXPECT_TRUE(old.isErased()) << "an old row was left behind";
    ASSERT_EQ(ReadDxf(record, WriteDxf(record)), Acad::eOk);
    EXPECT_EQ(TableRows(record), rows);
    EXPECT_EQ(ReactorCount(mark), 1);
  }
  record->close();
}

TEST_F(RecordFilingTest, WblockCloneFilerCarriesTheOwnerFirst) {
  AcDbObjectId id = StoreCircle();
  AreaDic_Circle* record = Open<AreaDic_Circle>(id, AcDb::kForRead);
  std::vector<unsigned char> bytes = WriteDwg(record, AcDb::kWblockCloneFiler);
  MemoryDwgFiler probe(bytes, AcDb::kWblockCloneFiler, database.get());
  record->AcDbObject::dwgInFields(&probe);  // past the base's data
  AcDbObjectId owner;
  ASSERT_EQ(probe.readHardPointerId(&owner), Acad::eOk);
  EXPECT_EQ(owner, record->ownerId());
  auto* read = new AreaDic_Circle;
  ASSERT_EQ(ReadDwg(read, bytes, AcDb::kWblockCloneFiler), Acad::eOk);
  EXPECT_EQ(TableRows(read), TableRows(record));
  record->close();
  delete read;
}

TEST_F(RecordFilingTest, UndoOfASettingsChangeRestoresTheRecordThroughItsFiling) {
  AcDbObjectId id = StoreCircle();
  tessera::db::UndoLog& undo = tessera::db::Impl(database.get())->undo();
  undo.closeStep();
  AreaDic_Circle* record = Open<AreaDic_Circle>(id, AcDb::kForWrite);
  std::vector<AreaDic_Table::Row> rows = TableRows(record);
  ASSERT_EQ(record->setDigits(5), Acad::eOk);
  record->close();
  ASSERT_EQ(undo.undo(1), 1);
  record = Open<AreaDic_Circle>(id, AcDb::kForRead);
  Adesk::Int16 digits = 0;
  record->digits(digits);
  EXPECT_EQ(digits, 2);
  EXPECT_EQ(TableRows(record), rows);
  record->close();
  EXPECT_EQ(ReactorCount(mark), 1);
}

}  // namespace

namespace {

TEST_F(RecordFilingTest, RowThatCannotBeAllocatedFailsWith15AndChangesNothing) {
  AreaDic_Circle* record = NewCircle();
  const std::vector<AcDbObjectId> before(record->tableRowIds().begin(),
                                         record->tableRowIds().end());
  auto* written = new AreaDic_Circle;
  written->setDigits(7);
  written->addTableRow(TableRow());
  std::vector<unsigned char> bytes = WriteDwg(written);
  Tags tags = WriteDxf(written);
  AreaDic_Table::Row row = TableRow();
  g_refuseNothrowNew = true;
  Acad::ErrorStatus added = record->addTableRow(row);
  Acad::ErrorStatus fromDwg = ReadDwg(record, bytes);
  Acad::ErrorStatus fromDxf = ReadDxf(record, tags);
  g_refuseNothrowNew = false;
  EXPECT_EQ(added, Acad::eOutOfMemory);
  EXPECT_EQ(fromDwg, Acad::eOutOfMemory);
  EXPECT_EQ(fromDxf, Acad::eOutOfMemory);
  EXPECT_EQ(std::vector<AcDbObjectId>(record->tableRowIds().begin(), record->tableRowIds().end()),
            before);
  for (AcDbObjectId row : before) EXPECT_FALSE(row.isErased());
  Adesk::Int16 digits = 0;
  record->digits(digits);
  EXPECT_EQ(digits, 2);
  delete written;
  delete record;
}

}  // namespace
