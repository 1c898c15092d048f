// Reading marks and finding their records: which attributes make a mark, which entities are
// passed over, and which record a mark is linked to.
#include "schedule/mark_entries.h"

#include <gtest/gtest.h>

#include "schedule/schedule_drawing.h"

namespace area::testing {
namespace {

// A block reference of a kind derived from the plain one, as a host's other insert kinds are.
class OtherReference : public AcDbBlockReference {
 public:
  using AcDbBlockReference::AcDbBlockReference;
  static AcRxClass* desc() {
    static AcRxClass* const kClass =
        newAcRxClass("TesseraTestOtherReference", "AcDbBlockReference", 0, nullptr, "INSERT");
    return kClass;
  }
  AcRxClass* isA() const override { return desc(); }
};

class MarkEntriesTest : public ScheduleDrawing {
 protected:
  // A reference of another kind to the mark's block, carrying a whole mark's attributes.
  AcDbObjectId otherKindOfMark(AcDbObjectId likeMark) {
    AcDbBlockReference* mark = open<AcDbBlockReference>(likeMark);
    if (mark == nullptr) return AcDbObjectId();
    auto* other = new OtherReference(AcGePoint3d(500, 0, 0), mark->blockTableRecord());
    mark->close();
    const AcDbObjectId id = append(other);
    for (const char* tag : {"BANGO1", "KT", "SK", "PM"})
      appendAttribute(id, tag, std::string(tag) == "KT" ? "1" : "9");
    return id;
  }

  void appendAttribute(AcDbObjectId mark, const char* tag, const char* text) {
    AcDbBlockReference* reference = open<AcDbBlockReference>(mark, AcDb::kForWrite);
    ASSERT_NE(reference, nullptr);
    auto* attribute = new AcDbAttribute();
    attribute->setTag(tag);
    attribute->setTextString(text);
    AcDbObjectId id;
    EXPECT_EQ(reference->appendAttribute(id, attribute), Acad::eOk);
    attribute->close();
    reference->close();
  }
};

TEST_F(MarkEntriesTest, ReadsEveryAttributeByTag) {
  const AcDbObjectId mark = insertMark("12", 3, "( 1.00 2.00 3.00 4.50 )", "-", 0, 0);
  const std::vector<MarkEntry> entries = ReadMarks({mark}, false);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].number, "12");
  EXPECT_EQ(entries[0].kind, 3);
  EXPECT_EQ(entries[0].valueList, "( 1.00 2.00 3.00 4.50 )");
  EXPECT_EQ(entries[0].sign, "-");
  EXPECT_EQ(entries[0].markId, mark);
  EXPECT_FALSE(entries[0].linked());
}

TEST_F(MarkEntriesTest, LongLabelInTheSecondAttributeWins) {
  const AcDbObjectId mark = insertMark("", 1, "( 1 )", "+", 0, 0);
  setAttribute(mark, "BANGO2", "ABC");
  EXPECT_EQ(ReadMarks({mark}, false).at(0).number, "ABC");
}

// Only the five attributes of the mark block make a mark; another tag rejects it whole.
TEST_F(MarkEntriesTest, UnknownAttributeRejectsTheMark) {
  const AcDbObjectId odd = insertMark("1", 1, "( 1 )", "+", 0, 0);
  const AcDbObjectId good = insertMark("2", 1, "( 1 )", "+", 100, 0);
  appendAttribute(odd, "NOTE", "");
  const std::vector<MarkEntry> entries = ReadMarks({odd, good}, false);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].number, "2");
}

// What is not a readable block reference is passed over; the marks after it are still read.
TEST_F(MarkEntriesTest, OtherEntitiesAreSkippedNotAnEnd) {
  const AcDbObjectId line = addLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
  const AcDbObjectId erased = insertMark("1", 1, "( 1 )", "+", 0, 0);
  const AcDbObjectId good = insertMark("2", 1, "( 1 )", "+", 100, 0);
  AcDbEntity* entity = open<AcDbEntity>(erased, AcDb::kForWrite);
  entity->erase();
  entity->close();
  const std::vector<MarkEntry> entries = ReadMarks({line, erased, AcDbObjectId(), good}, false);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].markId, good);
}

// A reference of a derived kind is no mark, but the marks after it are still read.
TEST_F(MarkEntriesTest, ReferenceOfAnotherKindIsSkippedNotAnEnd) {
  const AcDbObjectId first = insertMark("1", 1, "( 1 )", "+", 0, 0);
  const AcDbObjectId other = otherKindOfMark(first);
  ASSERT_FALSE(other.isNull());
  const AcDbObjectId last = insertMark("2", 1, "( 1 )", "+", 100, 0);
  const std::vector<MarkEntry> entries = ReadMarks({first, other, last}, false);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].markId, first);
  EXPECT_EQ(entries[1].markId, last);
}

TEST_F(MarkEntriesTest, TriangleFormTakesKindOneAndMarksWithoutKind) {
  const AcDbObjectId triangle = insertMark("1", 1, "( 1 )", "+", 0, 0);
  const AcDbObjectId rectangle = insertMark("2", 2, "( 1 )", "+", 100, 0);
  const AcDbObjectId unknown = insertMark("3", 1, "( 1 )", "+", 200, 0);
  setAttribute(unknown, "KT", "");
  const std::vector<MarkEntry> entries = ReadMarks({triangle, rectangle, unknown}, true);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].number, "1");
  EXPECT_EQ(entries[1].number, "3");
  EXPECT_EQ(entries[1].kind, kNoShape);
  EXPECT_EQ(ReadMarks({triangle, rectangle, unknown}, false).size(), 3u);
}

TEST_F(MarkEntriesTest, LinksEachMarkToItsOwnRecord) {
  const AcDbObjectId triangle = drawTriangle("1", 0, 0);
  const AcDbObjectId rectangle = drawRectangle("2", 10000, 0);
  const AcDbObjectId unlinked = insertMark("3", 1, "( 1 )", "+", 20000, 0);
  std::vector<MarkEntry> entries = ReadMarks({rectangle, unlinked, triangle}, false);
  ASSERT_TRUE(LinkMarksToRecords(entries, false));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].recordId, recordIdOf(rectangle));
  EXPECT_FALSE(entries[1].linked());
  EXPECT_EQ(entries[2].recordId, recordIdOf(triangle));
  EXPECT_EQ(CountLinked(entries), 2);

  std::vector<MarkEntry> trianglesOnly = ReadMarks({rectangle, triangle}, false);
  ASSERT_TRUE(LinkMarksToRecords(trianglesOnly, true));
  EXPECT_FALSE(trianglesOnly[0].linked()) << "only the triangle dictionary is read";
  EXPECT_TRUE(trianglesOnly[1].linked());
}

}  // namespace
}  // namespace area::testing
