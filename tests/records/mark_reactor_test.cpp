// The mark reactor and the application-wide copy pair list.
#include <memory>
#include <vector>

#include "db/notify.h"
#include "records/drawing_fixture.h"
#include "records/mark_reactor.h"

namespace {

class MarkReactorTest : public RecordDrawingTest {
 public:
  void Attach(AcDbObjectId mark) {
    AcDbObject* object = Open<AcDbObject>(mark, AcDb::kForRead);
    EXPECT_TRUE(area::AttachMarkReactor(object));
    object->close();
  }

  // The host's report that `source` was copied as `copy`.
  void Copied(AcDbObjectId source, AcDbObjectId copy) {
    AcDbObject* from = Open<AcDbObject>(source, AcDb::kForRead);
    AcDbObject* to = Open<AcDbObject>(copy, AcDb::kForRead);
    tessera::db::NotifyCopied(from, to);
    from->close();
    to->close();
  }

  void SetErased(AcDbObjectId id, bool erasing) {
    AcDbObject* object = Open<AcDbObject>(id, AcDb::kForWrite, true);
    object->erase(erasing);
    object->close();
  }

  // Sources of three marks' copies, in the order the copies were reported.
  void CopyThree(std::vector<AcDbObjectId>& sources, std::vector<AcDbObjectId>& copies) {
    for (int i = 0; i < 3; ++i) {
      sources.push_back(AppendLine());
      copies.push_back(AppendLine());
      Attach(sources.back());
      Copied(sources.back(), copies.back());
    }
  }
};

TEST_F(MarkReactorTest, AttachingTwiceLeavesOneReactorSoACopyIsRecordedOnce) {
  AcDbObjectId mark = AppendLine();
  Attach(mark);
  Attach(mark);
  EXPECT_EQ(ReactorCount(mark), 1);
  Copied(mark, AppendLine());
  EXPECT_EQ(area::CopyPairCount(), 1);
}

TEST_F(MarkReactorTest, ErasingTheMarkDetachesItsReactorAtOnce) {
  AcDbObjectId mark = AppendLine();
  Attach(mark);
  SetErased(mark, true);
  EXPECT_EQ(ReactorCount(mark), 0);
  SetErased(mark, false);
  SetErased(mark, true);
  EXPECT_EQ(ReactorCount(mark), 0);
  SetErased(mark, false);
  Copied(mark, AppendLine());
  EXPECT_FALSE(area::HasCopyPairs());
}

TEST_F(MarkReactorTest, TakingTheMiddlePairKeepsTheOthersInOrder) {
  std::vector<AcDbObjectId> sources, copies;
  CopyThree(sources, copies);
  EXPECT_EQ(area::TakeCopyPair(copies[1]), sources[1]);
  EXPECT_EQ(area::TakeCopyPair(copies[1]), AcDbObjectId());
  EXPECT_EQ(area::TakeCopyPair(copies[2]), sources[2]);
  EXPECT_EQ(area::TakeCopyPair(copies[0]), sources[0]);
  EXPECT_FALSE(area::HasCopyPairs());
}

TEST_F(MarkReactorTest, TakingTheTailKeepsTheListUsable) {
  std::vector<AcDbObjectId> sources, copies;
  CopyThree(sources, copies);
  EXPECT_EQ(area::TakeCopyPair(copies[2]), sources[2]);
  // A pair appended after the tail went must still be found behind the others.
  AcDbObjectId fourthCopy = AppendLine();
  Copied(sources[0], fourthCopy);
  EXPECT_EQ(area::CopyPairCount(), 3);
  EXPECT_EQ(area::TakeCopyPair(copies[0]), sources[0]);
  EXPECT_EQ(area::TakeCopyPair(fourthCopy), sources[0]);
  EXPECT_EQ(area::TakeCopyPair(copies[1]), sources[1]);
  EXPECT_FALSE(area::HasCopyPairs());
}

TEST_F(MarkReactorTest, TakingTheHeadAndTheOnlyPair) {
  std::vector<AcDbObjectId> sources, copies;
  CopyThree(sources, copies);
  EXPECT_EQ(area::TakeCopyPair(copies[0]), sources[0]);
  EXPECT_EQ(area::TakeCopyPair(AppendLine()), AcDbObjectId());
  EXPECT_EQ(area::CopyPairCount(), 2);
  area::ClearCopyPairs();
  AcDbObjectId copy = AppendLine();
  Copied(sources[0], copy);
  EXPECT_EQ(area::TakeCopyPair(copy), sources[0]);
  EXPECT_FALSE(area::HasCopyPairs());
}

TEST_F(MarkReactorTest, UnloadTakesEveryReactorOffItsMark) {
  AcDbObjectId mark = AppendLine();
  Attach(mark);
  area::DetachMarkReactors();
  EXPECT_EQ(ReactorCount(mark), 0);
  Attach(mark);
  EXPECT_EQ(ReactorCount(mark), 1);
}

TEST_F(MarkReactorTest, MarksOfAClosedDrawingLeaveNothingBehind) {
  for (int round = 0; round < 3; ++round) {
    auto other = std::make_unique<AcDbDatabase>(true);
    AcDbObjectId mark = AppendLine(other.get());
    Attach(mark);
    EXPECT_EQ(ReactorCount(mark), 1);
    other.reset();
  }
  // Nothing of the closed drawings is reached any more.
  area::DetachMarkReactors();
}

TEST_F(MarkReactorTest, CopyPairsOfAClosedDrawingGoWithIt) {
  AcDbObjectId kept = AppendLine();
  Attach(kept);
  Copied(kept, AppendLine());
  auto other = std::make_unique<AcDbDatabase>(true);
  AcDbObjectId mark = AppendLine(other.get());
  Attach(mark);
  Copied(mark, AppendLine(other.get()));
  EXPECT_EQ(area::CopyPairCount(), 2);
  other.reset();
  EXPECT_EQ(area::CopyPairCount(), 1) << "only the open drawing's pair is left";
}

}  // namespace
