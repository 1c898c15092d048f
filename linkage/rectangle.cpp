// Rectangle linkage: a dragged corner reshapes the outline into a rectangle again (the opposite
// corner fixed), then the diagonals and the base and height texts follow; a changed value text
// rewrites the value list; a changed mark rewrites the schedule rows.
#include <array>

#include "common/geometry.h"
#include "common/marks.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "figures/measures.h"
#include "figures/plans.h"
#include "linkage/figure_linkage.h"
#include "linkage/reshape.h"
#include "records/figure_records.h"

namespace area {
namespace {

constexpr const char* kNotPerpendicular = "\n底辺と高さが垂直でありません";

constexpr int kCorners = 4;

// For each dragged corner m: the corners a and c that slide, beside the fixed corner m + 2.
struct SlidingCorners {
  int a;
  int c;
};
constexpr std::array<SlidingCorners, kCorners> kSliding = {{{3, 1}, {2, 0}, {1, 3}, {0, 2}}};

void MetRec_ModifyData(RecordValues& values, AcDbObjectId outlineId,
                       const AcGePoint3dArray& snapshot) {
  AcGePoint3dArray corners;
  if (!ReshapeOutline(outlineId, snapshot, ReshapeRectangle, ReshapeResult::kNotPerpendicular,
                      kNotPerpendicular, corners))
    return;
  const double textSize = CurrentTextSize();
  const RectanglePlan plan = PlanRectangle(values.rules, corners, textSize);
  SetLine(values.shape[AreaDic_Rectangle::kRightDiagonal], plan.rightDiagonal);
  SetLine(values.shape[AreaDic_Rectangle::kLeftDiagonal], plan.leftDiagonal);
  SetValueText(values.shape[AreaDic_Rectangle::kBaseText], plan.base, textSize);
  SetValueText(values.shape[AreaDic_Rectangle::kHeightText], plan.height, textSize);
}

std::optional<PlannedMark> MetRec_PlanMark(RecordValues& values, AcDbObjectId outlineId) {
  const auto texts =
      ReadValueTexts(values, {AreaDic_Rectangle::kBaseText, AreaDic_Rectangle::kHeightText});
  if (!texts) return std::nullopt;
  const std::string area =
      ValueText(values.rules,
                RectangleArea(values.rules, ReadDecimal((*texts)[0]), ReadDecimal((*texts)[1])));
  AcGePoint3dArray corners;
  if (!OutlineCorners(outlineId, kCorners, corners)) return std::nullopt;
  return PlannedMark{Midpoint(corners[0], corners[2]), ComposeValueList(*texts, area)};
}

void MetRec_ModifyValue(RecordValues& values, bool stretch) {
  MoveMark(RectangleLinkage(), values, stretch);
}

std::optional<std::vector<std::string>> FreshRectangleTexts(const ValueRules& rules,
                                                            AcDbObjectId outlineId) {
  AcGePoint3dArray corners;
  if (!OutlineCorners(outlineId, kCorners, corners)) return std::nullopt;
  const RectanglePlan plan = PlanRectangle(rules, corners, kNoTextSize);
  return std::vector<std::string>{plan.base.text, plan.height.text};
}

constexpr std::array<int, 2> kAuxiliarySlots = {AreaDic_Rectangle::kRightDiagonal,
                                                AreaDic_Rectangle::kLeftDiagonal};

const ShapeLinkage kRectangleLinkage = {RectangleKindInfo(), MetRec_ModifyData,
                                        MetRec_ModifyValue,  MetRec_PlanMark,
                                        FreshRectangleTexts, kAuxiliarySlots};

}  // namespace

const ShapeLinkage& RectangleLinkage() {
  return kRectangleLinkage;
}

Reshape ReshapeRectangle(const AcGePoint3dArray& before, const AcGePoint3dArray& after) {
  const int m = MovedVertex(before, after);
  if (m < 0) return {};
  AcGePoint3dArray v = after;
  const int o = (m + 2) % kCorners;
  const auto [a, c] = kSliding[m];
  const double towardsA = SegmentAngle(v[o], v[a]);
  const double towardsC = SegmentAngle(v[o], v[c]);
  const std::optional<AcGePoint3d> newC = MeetAlong(v[m], towardsA, v[o], v[c]);
  const std::optional<AcGePoint3d> newA = MeetAlong(v[m], towardsC, v[o], v[a]);
  if (!newC || !newA) return {ReshapeResult::kNoIntersection, {}};
  v[c] = *newC;
  v[a] = *newA;
  if (!IsRightAngle(v[0], v[1], v[2])) return {ReshapeResult::kNotPerpendicular, {}};
  return {ReshapeResult::kReshaped, v};
}

void React_ModifyRectangle(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot) {
  ReactModify(kRectangleLinkage, handle, flag, snapshot);
}

}  // namespace area
