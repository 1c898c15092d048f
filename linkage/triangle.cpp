// Triangle linkage: a stretched outline moves the height line and rewrites the base and height
// texts; a changed value text rewrites the mark's value list; a changed mark rewrites the
// triangle-form and general-form rows that list the figure.
#include <array>

#include "common/geometry.h"
#include "common/marks.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "figures/plans.h"
#include "linkage/figure_linkage.h"
#include "records/figure_records.h"

namespace area {
namespace {

constexpr int kTriangleCorners = 3;

void MetTri_ModifyData(RecordValues& values, AcDbObjectId outlineId,
                       const AcGePoint3dArray& /*snapshot*/) {
  AcGePoint3dArray corners;
  if (!OutlineCorners(outlineId, kTriangleCorners, corners)) return;
  const std::optional<TrianglePlan> plan =
      PlanTriangle(values.rules, corners[0], corners[1], corners[2], CurrentTextSize());
  if (!plan) return;
  const double textSize = CurrentTextSize();
  SetLine(values.shape[AreaDic_Triangle::kHeightLine], plan->heightLine);
  SetValueText(values.shape[AreaDic_Triangle::kBaseText], plan->base, textSize);
  SetValueText(values.shape[AreaDic_Triangle::kHeightText], plan->height, textSize);
}

std::optional<PlannedMark> MetTri_PlanMark(RecordValues& values, AcDbObjectId outlineId) {
  const auto texts =
      ReadValueTexts(values, {AreaDic_Triangle::kBaseText, AreaDic_Triangle::kHeightText});
  if (!texts) return std::nullopt;
  const double base = ReadDecimal((*texts)[0]);
  const double height = ReadDecimal((*texts)[1]);
  const std::string product = ValueText(values.rules, TriangleProduct(values.rules, base, height));
  const std::string area = ValueText(values.rules, TriangleArea(values.rules, base, height));
  AcGePoint3dArray corners;
  if (!OutlineCorners(outlineId, kTriangleCorners, corners)) return std::nullopt;
  return PlannedMark{TriangleCentroid(corners[0], corners[1], corners[2]),
                     ComposeValueList({(*texts)[0], (*texts)[1], product}, area)};
}

void MetTri_ModifyValue(RecordValues& values, bool stretch) {
  MoveMark(TriangleLinkage(), values, stretch);
}

std::optional<std::vector<std::string>> FreshTriangleTexts(const ValueRules& rules,
                                                           AcDbObjectId outlineId) {
  AcGePoint3dArray corners;
  if (!OutlineCorners(outlineId, kTriangleCorners, corners)) return std::nullopt;
  const std::optional<TrianglePlan> plan =
      PlanTriangle(rules, corners[0], corners[1], corners[2], kNoTextSize);
  if (!plan) return std::nullopt;
  return std::vector<std::string>{plan->base.text, plan->height.text};
}

constexpr std::array<int, 1> kAuxiliarySlots = {AreaDic_Triangle::kHeightLine};

const ShapeLinkage kTriangleLinkage = {TriangleKindInfo(), MetTri_ModifyData,  MetTri_ModifyValue,
                                       MetTri_PlanMark,    FreshTriangleTexts, kAuxiliarySlots};

}  // namespace

const ShapeLinkage& TriangleLinkage() {
  return kTriangleLinkage;
}

void React_ModifyTriangle(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot) {
  ReactModify(kTriangleLinkage, handle, flag, snapshot);
}

}  // namespace area
