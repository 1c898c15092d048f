// Handles, ids and the open states of objects.
#include <algorithm>
#include <random>
#include <set>

#include "db/database_impl.h"
#include "db/live_databases.h"
#include "db/sorted_handles.h"
#include "db_fixture.h"

namespace {

using DatabaseTest = DrawingTest;

TEST_F(DatabaseTest, HandlesAreUniqueAndFindTheirObjects) {
  std::set<std::uint64_t> handles;
  std::vector<AcDbObjectId> ids;
  for (int i = 0; i < 100; ++i) ids.push_back(AppendLine(i, 0, i, 10));
  for (AcDbObjectId id : ids) {
    EXPECT_TRUE(handles.insert(id.handle().value()).second);
    AcDbObjectId found;
    ASSERT_EQ(database->getAcDbObjectId(found, false, id.handle()), Acad::eOk);
    EXPECT_EQ(found, id);
  }
  EXPECT_GT(database->handseed().value(), *handles.rbegin());
}

// A file's handles come in any order, some taken already, some twice: each is found afterwards,
// and the objects made before keep theirs. Gaps in the handles do not hide any of them.
TEST_F(DatabaseTest, StubsMadeForAFileAreFoundByHandleInAnyOrder) {
  tessera::db::DatabaseImpl* impl = tessera::db::Impl(database.get());
  const AcDbObjectId line = AppendLine(0, 0, 1, 1);
  const std::uint64_t taken = line.handle().value();
  const std::vector<std::uint64_t> handles = {0x900, 0x300, taken, 0x700, 0x300, 0x2000, 0x301};
  impl->makeStubs(handles);
  for (std::uint64_t handle : handles) {
    const AcDbObjectId id = impl->idForHandle(AcDbHandle(handle));
    ASSERT_FALSE(id.isNull()) << std::hex << handle;
    EXPECT_EQ(id.handle().value(), handle);
  }
  EXPECT_EQ(impl->idForHandle(AcDbHandle(taken)), line);
  EXPECT_TRUE(impl->idForHandle(AcDbHandle(0x800)).isNull());
  EXPECT_GT(database->handseed().value(), 0x2000u);
}

// Lists in a few ascending runs, in many over a dense range of handles, and in many spread wide:
// each ends sorted as a stable sort leaves it, equal handles in the order they came.
TEST(SortedHandlesTest, HandlesAreSortedAsAStableSortSortsThem) {
  std::mt19937 random(7);
  for (const std::uint64_t step : {std::uint64_t{1}, std::uint64_t{1} << 40})
    for (const std::size_t runs : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{9},
                                   tessera::db::kMaxMergedRuns, std::size_t{500}}) {
      std::vector<std::pair<std::uint64_t, std::size_t>> items;  // handle, place in the list
      for (std::size_t run = 0; run < runs; ++run) {
        std::uint64_t handle = (random() % 40) * step;
        for (std::uint32_t i = random() % 9; i > 0; --i) {
          handle += (random() % 3) * step;  // equal handles too
          items.emplace_back(handle, items.size());
        }
      }
      auto expected = items;
      std::stable_sort(expected.begin(), expected.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      tessera::db::SortByHandle(items, [](const auto& item) { return item.first; });
      EXPECT_EQ(items, expected) << runs << " runs, handles " << step << " apart";
    }
}

TEST_F(DatabaseTest, HandleTextIsUpperCaseHexadecimalWithoutLeadingZeros) {
  EXPECT_EQ(AcDbHandle(0x2A).text(), "2A");
  EXPECT_EQ(AcDbHandle("2a").value(), 0x2Au);
  EXPECT_TRUE(AcDbHandle("2G").isNull());
  EXPECT_TRUE(AcDbHandle("12345678901234567").isNull());  // more than 64 bits
  EXPECT_EQ(AcDbHandle(std::uint64_t{0}).text(), "0");
  EXPECT_EQ(AcDbHandle(0xFEDCBA9876543210ULL).text(), "FEDCBA9876543210");
  EXPECT_EQ(AcDbHandle(0x10).text(), "10");
  char small[2];
  EXPECT_FALSE(AcDbHandle(0x2A).getIntoAsciiBuffer(small, sizeof small));
  EXPECT_STREQ(small, "2");  // cut short, still ended
  char exact[3];
  EXPECT_TRUE(AcDbHandle(0x2A).getIntoAsciiBuffer(exact, sizeof exact));
  EXPECT_STREQ(exact, "2A");
  char whole[17];
  AcDbHandle(0xFFFFFFFFFFFFFFFFULL).getIntoAsciiBuffer(whole);
  EXPECT_STREQ(whole, "FFFFFFFFFFFFFFFF");
}

TEST_F(DatabaseTest, OpenModesRefuseConflictingOpens) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  AcDbObject* writer = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(writer, id, AcDb::kForWrite), Acad::eOk);
  AcDbObject* other = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForRead), Acad::eWasOpenForWrite);
  EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
  writer->close();

  AcDbObject* reader1 = nullptr;
  AcDbObject* reader2 = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(reader1, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenAcDbObject(reader2, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForWrite), Acad::eWasOpenForRead);
  EXPECT_EQ(reader1->upgradeOpen(), Acad::eHadMultipleReaders);
  reader2->close();
  EXPECT_EQ(reader1->upgradeOpen(), Acad::eOk);
  EXPECT_TRUE(reader1->isWriteEnabled());
  reader1->close();
  ASSERT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForWrite), Acad::eOk);
  other->close();
}

TEST_F(DatabaseTest, ChangesNeedWriteAccess) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  auto* line = Open<AcDbLine>(id, AcDb::kForRead);
  EXPECT_EQ(line->setStartPoint(AcGePoint3d(5, 5, 0)), Acad::eNotOpenForWrite);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(0, 0, 0));
  line->close();
}

TEST_F(DatabaseTest, ErasedObjectsOpenOnlyWhenAskedAndUneraseBack) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  ASSERT_EQ(line->erase(), Acad::eOk);
  line->close();
  EXPECT_TRUE(id.isErased());
  AcDbObject* object = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eWasErased);
  ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite, true), Acad::eOk);
  EXPECT_EQ(object->erase(false), Acad::eOk);
  object->close();
  EXPECT_FALSE(id.isErased());
}

TEST_F(DatabaseTest, OpeningAsTheWrongClassLeavesNothingOpen) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  AcDbCircle* circle = nullptr;
  EXPECT_EQ(acdbOpenObject(circle, id, AcDb::kForWrite), Acad::eNotThatKindOfClass);
  EXPECT_EQ(circle, nullptr);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  line->close();
}

TEST_F(DatabaseTest, EntityNamesRoundTripAndForeignNamesAreRefused) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  ads_name name;
  ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
  AcDbObjectId back;
  ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
  EXPECT_EQ(back, id);
  ads_name foreign = {name[0], name[1] + 8};
  EXPECT_NE(acdbGetObjectId(back, foreign), Acad::eOk);
}

TEST_F(DatabaseTest, ClassesFormAHierarchy) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  EXPECT_TRUE(id.objectClass()->isDerivedFrom(AcDbEntity::desc()));
  EXPECT_FALSE(id.objectClass()->isDerivedFrom(AcDbText::desc()));
  EXPECT_EQ(acrxClassDictionary()->at("AcDbLine"), AcDbLine::desc());
  EXPECT_NE(acrxSysRegistry()->at("AcEditor"), nullptr);
}

TEST_F(DatabaseTest, LayerLookupIgnoresCaseAndSetLayerNeedsAnExistingLayer) {
  AcDbLayerTable* layers = Open<AcDbLayerTable>(database->layerTableId(), AcDb::kForWrite);
  auto* record = new AcDbLayerTableRecord;
  record->setName("Walls");
  ASSERT_EQ(layers->add(record), Acad::eOk);
  record->close();
  auto* unnamed = new AcDbLayerTableRecord;
  EXPECT_EQ(layers->add(unnamed), Acad::eInvalidSymbolTableName);
  delete unnamed;
  EXPECT_TRUE(layers->has("WALLS"));
  layers->close();
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  EXPECT_EQ(line->setLayer("walls"), Acad::eOk);
  EXPECT_EQ(line->layer(), "Walls");
  EXPECT_EQ(line->setLayer("Roof"), Acad::eKeyNotFound);
  line->close();
}

TEST_F(DatabaseTest, TextOfHeightZeroTakesTheDrawingsTextSize) {
  ASSERT_EQ(database->setTextsize(3.5), Acad::eOk);
  AcDbObjectId id = Append(new AcDbText(AcGePoint3d(0, 0, 0), "12.50"));
  auto* text = Open<AcDbText>(id, AcDb::kForRead);
  EXPECT_DOUBLE_EQ(text->height(), 3.5);
  text->close();
}

TEST_F(DatabaseTest, PolylineVerticesAndAttributesBecomeOwnedObjects) {
  AcGePoint3dArray points;
  points.append(AcGePoint3d(0, 0, 0));
  points.append(AcGePoint3d(10, 0, 0));
  points.append(AcGePoint3d(10, 10, 0));
  AcDbObjectId id = Append(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0.0, true));
  auto* polyline = Open<AcDb2dPolyline>(id, AcDb::kForRead);
  std::vector<AcDbObjectId> vertices = polyline->vertexIds();
  ASSERT_EQ(vertices.size(), 3u);
  EXPECT_EQ(vertices[0].database(), database.get());
  EXPECT_FALSE(polyline->sequenceEndId().isNull());
  EXPECT_EQ(polyline->vertexPositions()[2], AcGePoint3d(10, 10, 0));
  polyline->close();
  auto* vertex = Open<AcDb2dVertex>(vertices[1], AcDb::kForRead);
  EXPECT_EQ(vertex->ownerId(), id);
  vertex->close();
}

class GoodbyeCounter : public AcDbDatabaseReactor {
 public:
  void goodbye(const AcDbDatabase*) override { ++goodbyes; }
  int goodbyes = 0;
};

// A drawing deleted at the end of the program still says goodbye and leaves the live drawings,
// but its objects stay where they are for the process's end; the next drawing deleted after
// that is freed as ever (the sanitizer build would see it leak or be read after its free).
TEST_F(DatabaseTest, ADrawingLeftToTheProcessEndSaysGoodbyeAndKeepsItsObjects) {
  const AcDbObjectId line = AppendLine(0, 0, 1, 1);
  const AcDbObject* object = line.stub()->object;
  GoodbyeCounter reactor;
  database->addReactor(&reactor);
  const AcDbDatabase* closed = database.get();
  tessera::db::LeaveClosedDrawingsToProcessEnd(true);
  TearDown();
  tessera::db::LeaveClosedDrawingsToProcessEnd(false);
  EXPECT_EQ(reactor.goodbyes, 1);
  const std::vector<AcDbDatabase*> live = tessera::db::LiveDatabases();
  EXPECT_EQ(std::find(live.begin(), live.end(), closed), live.end());
  EXPECT_EQ(line.stub()->object, object) << "the object is neither freed nor forgotten";
  EXPECT_EQ(object->objectId(), line);
  SetUp();
}

}  // namespace
