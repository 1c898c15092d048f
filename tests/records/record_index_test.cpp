// The record index finds what walking the dictionary finds: by mark and by value text, the first
// in dictionary order of several, never an erased or removed record, and records that came to
// name a handle after the index was built.
#include <memory>
#include <string>

#include "drawing_fixture.h"
#include "records/figure_dictionaries.h"
#include "records/figure_kinds.h"
#include "records/record_index.h"

namespace {

using area::AreaDic_Triangle;
using area::FigureRecord;
using area::NamedRole;

class RecordIndexTest : public RecordDrawingTest {
 public:
  struct Stored {
    std::string key;
    AcDbObjectId record;
  };

  // Stores a triangle record naming the mark and the base text; gives its key and id.
  Stored StoreTriangle(AcDbObjectId mark, AcDbObjectId baseText) {
    AcDbObjectId outline = AppendLine();
    auto* record = new AreaDic_Triangle;
    record->setMarkHandle(mark.handle());
    record->setShapeHandle(AreaDic_Triangle::kBaseText, baseText.handle());
    std::string key = outline.handle().text();
    EXPECT_EQ(area::StoreFigureRecord(area::kDictTriangle, key.c_str(), record), 1);
    AcDbObjectId id;
    OpenDictionary()->getAt(key.c_str(), id);
    CloseDictionary();
    return {key, id};
  }

  // The id of the record naming the handle in the role, or the null id.
  AcDbObjectId Find(AcDbObjectId named, NamedRole role, std::string* key = nullptr) {
    FigureRecord* record =
        area::FindRecordNaming(area::TriangleKindInfo(), named.handle(), role, AcDb::kForRead, key);
    if (record == nullptr) return {};
    AcDbObjectId id = record->objectId();
    record->close();
    return id;
  }

  AcDbDictionary* OpenDictionary() {
    AcDbDictionary* named =
        Open<AcDbDictionary>(database->namedObjectsDictionaryId(), AcDb::kForRead);
    AcDbObject* shape = nullptr;
    named->getAt(area::kDictTriangle, shape, AcDb::kForRead);
    named->close();
    m_open = AcDbDictionary::cast(shape);
    return m_open;
  }
  void CloseDictionary() { m_open->close(); }

  void SetMark(AcDbObjectId record, AcDbObjectId mark) {
    auto* opened = Open<AreaDic_Triangle>(record, AcDb::kForWrite);
    opened->setMarkHandle(mark.handle());
    opened->close();
  }

 private:
  AcDbDictionary* m_open = nullptr;
};

TEST_F(RecordIndexTest, FindsByMarkAndByValueTextEachInItsOwnRole) {
  AcDbObjectId mark = AppendLine(), text = AppendLine();
  Stored stored = StoreTriangle(mark, text);
  std::string key;
  EXPECT_EQ(Find(mark, NamedRole::kMark, &key), stored.record);
  EXPECT_EQ(key, stored.key);
  EXPECT_EQ(Find(text, NamedRole::kValueText), stored.record);
  EXPECT_TRUE(Find(text, NamedRole::kMark).isNull()) << "a value text is no mark";
  EXPECT_TRUE(Find(mark, NamedRole::kValueText).isNull()) << "a mark is no value text";
  FigureRecord* other = area::FindRecordNaming(area::CircleKindInfo(), mark.handle(),
                                               NamedRole::kMark, AcDb::kForRead);
  EXPECT_EQ(other, nullptr) << "another shape's dictionary does not hold it";
}

TEST_F(RecordIndexTest, OfTwoRecordsNamingOneMarkTheFirstInDictionaryOrderWins) {
  AcDbObjectId mark = AppendLine();
  Stored first = StoreTriangle(mark, AppendLine());
  EXPECT_EQ(Find(mark, NamedRole::kMark), first.record);  // the index exists from here on
  Stored second = StoreTriangle(AppendLine(), AppendLine());
  SetMark(second.record, mark);
  EXPECT_EQ(Find(mark, NamedRole::kMark), first.record);
  SetMark(first.record, AppendLine());
  EXPECT_EQ(Find(mark, NamedRole::kMark), second.record) << "a record renamed leaves the handle";
}

TEST_F(RecordIndexTest, RecordsStoredOrRenamedAfterTheIndexWasBuiltAreFound) {
  AcDbObjectId firstMark = AppendLine();
  StoreTriangle(firstMark, AppendLine());
  ASSERT_FALSE(Find(firstMark, NamedRole::kMark).isNull());
  AcDbObjectId laterMark = AppendLine();
  Stored later = StoreTriangle(laterMark, AppendLine());
  EXPECT_EQ(Find(laterMark, NamedRole::kMark), later.record);
  AcDbObjectId renamed = AppendLine();
  SetMark(later.record, renamed);
  EXPECT_EQ(Find(renamed, NamedRole::kMark), later.record);
  EXPECT_TRUE(Find(laterMark, NamedRole::kMark).isNull());
}

TEST_F(RecordIndexTest, ErasedAndRemovedRecordsAreNotFoundAndAnUneraseBringsOneBack) {
  AcDbObjectId mark = AppendLine(), removedMark = AppendLine();
  Stored stored = StoreTriangle(mark, AppendLine());
  Stored removed = StoreTriangle(removedMark, AppendLine());
  ASSERT_FALSE(Find(mark, NamedRole::kMark).isNull());
  auto* record = Open<AreaDic_Triangle>(stored.record, AcDb::kForWrite);
  record->erase();
  record->close();
  EXPECT_TRUE(Find(mark, NamedRole::kMark).isNull());
  record = Open<AreaDic_Triangle>(stored.record, AcDb::kForWrite, true);
  record->erase(false);
  record->close();
  EXPECT_EQ(Find(mark, NamedRole::kMark), stored.record);
  ASSERT_EQ(area::RemoveFigureRecord(area::kDictTriangle, removed.key.c_str(), true), Acad::eOk);
  EXPECT_TRUE(Find(removedMark, NamedRole::kMark).isNull());
}

TEST_F(RecordIndexTest, ADrawingsIndexGoesWithTheDrawing) {
  StoreTriangle(AppendLine(), AppendLine());
  Find(AppendLine(), NamedRole::kMark);
  EXPECT_GT(area::RecordIndexSize(database.get()), 0u);
  const AcDbDatabase* gone = database.get();
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  database.reset();
  EXPECT_EQ(area::RecordIndexSize(gone), 0u);
  database = std::make_unique<AcDbDatabase>(true);
  acdbHostApplicationServices()->setWorkingDatabase(database.get());
  AcDbObjectId mark = AppendLine();
  Stored fresh = StoreTriangle(mark, AppendLine());
  EXPECT_EQ(Find(mark, NamedRole::kMark), fresh.record);
}

}  // namespace
