// The six figure dictionaries: made on first use, keyed by the outline's handle text, never
// removed, and the two ways a record is found.
#include <string>

#include "drawing_fixture.h"
#include "records/figure_dictionaries.h"

namespace {

using area::AreaDic_Circle;
using area::AreaDic_Triangle;
using area::FigureRecord;

class FigureDictionaryTest : public RecordDrawingTest {
 public:
  // Whether the named-object dictionary holds `name`, and how many entries that one has.
  int EntriesOf(const char* name) {
    AcDbDictionary* named =
        Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForRead);
    AcDbObject* found = nullptr;
    Acad::ErrorStatus status = named->getAt(name, found, AcDb::kForRead);
    named->close();
    if (status != Acad::eOk) return -1;
    int entries = static_cast<int>(AcDbDictionary::cast(found)->numEntries());
    found->close();
    return entries;
  }

  // Stores a triangle for a new outline and mark; gives the key.
  std::string StoreTriangle(AcDbObjectId& markId) {
    AcDbObjectId outline = AppendLine();
    markId = AppendLine();
    auto* record = new AreaDic_Triangle;
    record->setMarkHandle(markId.handle());
    std::string key = outline.handle().text();
    EXPECT_EQ(area::StoreFigureRecord(area::kDictTriangle, key.c_str(), record), 1);
    return key;
  }
};

TEST_F(FigureDictionaryTest, FirstFigureMakesItsShapesDictionaryOnly) {
  EXPECT_EQ(EntriesOf(area::kDictTriangle), -1);
  AcDbObjectId markId;
  std::string key = StoreTriangle(markId);
  EXPECT_EQ(EntriesOf(area::kDictTriangle), 1);
  EXPECT_EQ(EntriesOf(area::kDictCircle), -1);
  ASSERT_EQ(area::StoreFigureRecord(area::kDictCircle, "3C", new AreaDic_Circle), 1);
  EXPECT_EQ(EntriesOf(area::kDictCircle), 1);
  FigureRecord* record = area::FindRecordByKey(area::kDictTriangle, key.c_str(), AcDb::kForRead);
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->isA()->name(), "AreaDic_Triangle");
  record->close();
}

TEST_F(FigureDictionaryTest, FailingSetAtReportsZeroAndLeavesTheRecordToTheCaller) {
  auto* record = new AreaDic_Triangle;
  Acad::ErrorStatus setAt = Acad::eOk;
  EXPECT_EQ(area::StoreFigureRecord(area::kDictTriangle, "", record, &setAt), 0);
  EXPECT_NE(setAt, Acad::eOk);
  EXPECT_EQ(record->database(), nullptr);
  EXPECT_EQ(EntriesOf(area::kDictTriangle), 0);  // the dictionary was made all the same
  delete record;
}

TEST_F(FigureDictionaryTest, FindByMarkGivesTheRecordWithItsKeyOrNothing) {
  AcDbObjectId firstMark, secondMark;
  StoreTriangle(firstMark);
  std::string secondKey = StoreTriangle(secondMark);
  std::string key;
  FigureRecord* found =
      area::FindRecordByMark(area::kDictTriangle, secondMark, AcDb::kForWrite, &key);
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found->isWriteEnabled());
  EXPECT_EQ(key, secondKey);
  found->close();
  EXPECT_EQ(area::FindRecordByMark(area::kDictTriangle, AppendLine(), AcDb::kForRead), nullptr);
  EXPECT_EQ(area::FindRecordByMark(area::kDictLune, secondMark, AcDb::kForRead), nullptr);
  // Every record the walk passed over was closed again.
  found = area::FindRecordByMark(area::kDictTriangle, firstMark, AcDb::kForWrite);
  ASSERT_NE(found, nullptr);
  found->close();
}

TEST_F(FigureDictionaryTest, RemovingARecordErasesItAndKeepsTheEmptyDictionary) {
  AcDbObjectId markId;
  std::string key = StoreTriangle(markId);
  FigureRecord* record = area::FindRecordByKey(area::kDictTriangle, key.c_str(), AcDb::kForRead);
  ASSERT_NE(record, nullptr);
  AcDbObjectId id = record->objectId();
  record->close();
  ASSERT_EQ(area::RemoveFigureRecord(area::kDictTriangle, key.c_str(), true), Acad::eOk);
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(EntriesOf(area::kDictTriangle), 0);
  EXPECT_EQ(area::FindRecordByKey(area::kDictTriangle, key.c_str(), AcDb::kForRead), nullptr);
  EXPECT_EQ(area::RemoveFigureRecord(area::kDictTriangle, key.c_str(), true), Acad::eKeyNotFound);
  EXPECT_EQ(area::RemoveFigureRecord(area::kDictLune, key.c_str(), true), Acad::eKeyNotFound);
  EXPECT_EQ(EntriesOf(area::kDictLune), -1) << "a removal makes no dictionary";
}

}  // namespace
