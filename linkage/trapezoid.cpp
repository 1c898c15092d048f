// Trapezoid linkage: a dragged corner carries its neighbour along the leg so that the bases stay
// parallel, then the height line and the three value texts follow; a changed value text
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

constexpr const char* kCornersWrong = "\n頂点の指定が正しくありません";

constexpr int kCorners = 4;

// For each dragged corner m: the side whose direction the dragged corner's base keeps, the
// corner that gives way, and the leg along which it slides.
struct Carry {
  int referenceFrom;
  int referenceTo;
  int moving;
  int legFrom;
  int legTo;
};
constexpr std::array<Carry, kCorners> kCarry = {{
    {2, 3, 1, 1, 2},
    {2, 3, 0, 0, 3},
    {0, 1, 3, 3, 0},
    {0, 1, 2, 2, 1},
}};

void MetTrp_ModifyData(RecordValues& values, AcDbObjectId outlineId,
                       const AcGePoint3dArray& snapshot) {
  AcGePoint3dArray corners;
  if (!ReshapeOutline(outlineId, snapshot, ReshapeTrapezoid, ReshapeResult::kNotParallel,
                      kCornersWrong, corners))
    return;
  const double textSize = CurrentTextSize();
  const std::optional<TrapezoidPlan> plan = PlanTrapezoid(values.rules, corners, textSize);
  if (!plan) return;
  SetLine(values.shape[AreaDic_Trapezoid::kHeightLine], plan->heightLine);
  SetValueText(values.shape[AreaDic_Trapezoid::kLowerBaseText], plan->lower, textSize);
  SetValueText(values.shape[AreaDic_Trapezoid::kUpperBaseText], plan->upper, textSize);
  SetValueText(values.shape[AreaDic_Trapezoid::kHeightText], plan->height, textSize);
}

std::optional<PlannedMark> MetTrp_PlanMark(RecordValues& values, AcDbObjectId outlineId) {
  const auto texts =
      ReadValueTexts(values, {AreaDic_Trapezoid::kLowerBaseText, AreaDic_Trapezoid::kUpperBaseText,
                              AreaDic_Trapezoid::kHeightText});
  if (!texts) return std::nullopt;
  const double lower = ReadDecimal((*texts)[0]);
  const double upper = ReadDecimal((*texts)[1]);
  const double height = ReadDecimal((*texts)[2]);
  const std::string area =
      ValueText(values.rules, TrapezoidArea(values.rules, lower, upper, height));
  AcGePoint3dArray v;
  if (!OutlineCorners(outlineId, kCorners, v)) return std::nullopt;
  return PlannedMark{TrapezoidMarkPoint(v[0], v[1], v[2], v[3]), ComposeValueList(*texts, area)};
}

void MetTrp_ModifyValue(RecordValues& values, bool stretch) {
  MoveMark(TrapezoidLinkage(), values, stretch);
}

std::optional<std::vector<std::string>> FreshTrapezoidTexts(const ValueRules& rules,
                                                            AcDbObjectId outlineId) {
  AcGePoint3dArray corners;
  if (!OutlineCorners(outlineId, kCorners, corners)) return std::nullopt;
  const std::optional<TrapezoidPlan> plan = PlanTrapezoid(rules, corners, kNoTextSize);
  if (!plan) return std::nullopt;
  return std::vector<std::string>{plan->lower.text, plan->upper.text, plan->height.text};
}

constexpr std::array<int, 1> kAuxiliarySlots = {AreaDic_Trapezoid::kHeightLine};

const ShapeLinkage kTrapezoidLinkage = {TrapezoidKindInfo(), MetTrp_ModifyData,
                                        MetTrp_ModifyValue,  MetTrp_PlanMark,
                                        FreshTrapezoidTexts, kAuxiliarySlots};

}  // namespace

const ShapeLinkage& TrapezoidLinkage() {
  return kTrapezoidLinkage;
}

Reshape ReshapeTrapezoid(const AcGePoint3dArray& before, const AcGePoint3dArray& after) {
  const int m = MovedVertex(before, after);
  if (m < 0) return {};
  AcGePoint3dArray v = after;
  const Carry& carry = kCarry[m];
  const std::optional<AcGePoint3d> moved =
      MeetAlong(v[m], SegmentAngle(v[carry.referenceFrom], v[carry.referenceTo]), v[carry.legFrom],
                v[carry.legTo]);
  if (!moved) return {ReshapeResult::kNoIntersection, {}};
  v[carry.moving] = *moved;
  if (!BasesParallel(v[0], v[1], v[2], v[3])) return {ReshapeResult::kNotParallel, {}};
  return {ReshapeResult::kReshaped, v};
}

void React_ModifyTrapezoid(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot) {
  ReactModify(kTrapezoidLinkage, handle, flag, snapshot);
}

}  // namespace area
