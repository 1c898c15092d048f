// Circle linkage: a stretched circle keeps its radius line's direction and rewrites the radius
// text; a changed radius text rewrites the value list; a changed mark rewrites the rows.
#include <array>

#include "common/geometry.h"
#include "common/handles.h"
#include "common/marks.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "figures/measures.h"
#include "figures/plans.h"
#include "linkage/figure_linkage.h"
#include "records/figure_records.h"

namespace area {
namespace {

struct CircleGeometry {
  AcGePoint3d centre;
  double radius = 0.0;
};

std::optional<CircleGeometry> ReadCircle(AcDbObjectId circleId) {
  AcDbCircle* circle = nullptr;
  if (acdbOpenObject(circle, circleId, AcDb::kForRead) != Acad::eOk) return std::nullopt;
  CircleGeometry geometry{circle->center(), circle->radius()};
  circle->close();
  return geometry;
}

// The radius line's end on the new circle, along the line's old direction from the centre; along
// direction 0 when the line cannot be read.
AcGePoint3d RadiusLineEnd(AcDbHandle& radiusLine, const CircleGeometry& circle) {
  AcDbObjectId id;
  AcDbLine* line = nullptr;
  double direction = 0.0;
  if (HandleToId(radiusLine, id) && acdbOpenObject(line, id, AcDb::kForRead) == Acad::eOk) {
    direction = SegmentAngle(circle.centre, line->endPoint());
    line->close();
  }
  return PolarPoint(circle.centre, direction, circle.radius);
}

void MetCir_ModifyData(RecordValues& values, AcDbObjectId circleId,
                       const AcGePoint3dArray& /*snapshot*/) {
  const std::optional<CircleGeometry> circle = ReadCircle(circleId);
  if (!circle) return;
  const double textSize = CurrentTextSize();
  const AcGePoint3d end = RadiusLineEnd(values.shape[AreaDic_Circle::kRadiusLine], *circle);
  const CirclePlan plan = PlanCircle(values.rules, circle->centre, circle->radius, end, textSize);
  SetLine(values.shape[AreaDic_Circle::kRadiusLine], plan.radiusLine);
  SetValueText(values.shape[AreaDic_Circle::kRadiusText], plan.radius, textSize);
}

std::optional<PlannedMark> MetCir_PlanMark(RecordValues& values, AcDbObjectId circleId) {
  const auto texts = ReadValueTexts(values, {AreaDic_Circle::kRadiusText});
  if (!texts) return std::nullopt;
  const double radius = ReadDecimal((*texts)[0]);
  const std::string area = ValueText(values.rules, CircleArea(values.rules, radius));
  const std::optional<CircleGeometry> circle = ReadCircle(circleId);
  if (!circle) return std::nullopt;
  return PlannedMark{circle->centre, ComposeValueList(*texts, area)};
}

void MetCir_ModifyValue(RecordValues& values, bool stretch) {
  MoveMark(CircleLinkage(), values, stretch);
}

std::optional<std::vector<std::string>> FreshCircleTexts(const ValueRules& rules,
                                                         AcDbObjectId circleId) {
  const std::optional<CircleGeometry> circle = ReadCircle(circleId);
  if (!circle) return std::nullopt;
  const CirclePlan plan =
      PlanCircle(rules, circle->centre, circle->radius, circle->centre, kNoTextSize);
  return std::vector<std::string>{plan.radius.text};
}

constexpr std::array<int, 1> kAuxiliarySlots = {AreaDic_Circle::kRadiusLine};

const ShapeLinkage kCircleLinkage = {CircleKindInfo(), MetCir_ModifyData, MetCir_ModifyValue,
                                     MetCir_PlanMark,  FreshCircleTexts,  kAuxiliarySlots};

}  // namespace

const ShapeLinkage& CircleLinkage() {
  return kCircleLinkage;
}

void React_ModifyCircle(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot) {
  ReactModify(kCircleLinkage, handle, flag, snapshot);
}

}  // namespace area
