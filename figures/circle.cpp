// Circle figures: the centre and a point on the circle; the circle, the radius line with its
// value, the mark at the centre. area_polyline draws the same figures with the same steps.
#include <array>

#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/input.h"
#include "common/value_format.h"
#include "figures/measures.h"
#include "figures/plans.h"
#include "figures/shapes.h"
#include "records/figure_dictionaries.h"

namespace area {
namespace {

constexpr std::array<PointStep, 1> kPointSteps = {{
    {"\np2を指示 : ", kOrthoModeOn},
}};

const FigureKind kCircleKind = {CircleKindInfo(), false};

bool InputCirclePoints(AcGePoint3dArray& points, int savedOrthoMode) {
  return PickFigurePoints(kFirstPointPrompt, kPointSteps, savedOrthoMode, points);
}

FigureRecord* NewCircleRecord() {
  return new AreaDic_Circle();
}

bool DrawCircle(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                FigureRecord& record, DrawnFigure& drawn) {
  const AcGePoint3d &centre = points[0], &onCircle = points[1];
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  const double radius = centre.distanceTo(onCircle);
  if (!AddFigureEntity(MakeCircle(centre, radius, lineStyle), kCircleKind, kRoleOutline, ids))
    return false;
  StoreValueRules(settings, record);
  const CirclePlan plan =
      PlanCircle(RulesOf(settings), centre, radius, onCircle, CurrentTextSize());
  const AcDbObjectId radiusLine = MakeLine(plan.radiusLine.start, plan.radiusLine.end, lineStyle);
  if (!AddFigureEntity(radiusLine, kCircleKind, kRoleAuxiliary, ids)) return false;
  drawn.valueTexts = {plan.radius.text};
  drawn.areaText = plan.area;
  const AcDbObjectId radiusText = MakeValueText(settings, plan.radius.text, plan.radius.placement);
  if (!AddFigureEntity(radiusText, kCircleKind, kRoleValue, ids)) return false;
  drawn.markPoint = plan.markPoint;
  static_cast<AreaDic_Circle&>(record).setHandles({radiusLine.handle(), radiusText.handle()});
  return true;
}

}  // namespace

CirclePlan PlanCircle(const ValueRules& rules, const AcGePoint3d& centre, double drawnRadius,
                      const AcGePoint3d& onCircle, double textSize) {
  const CircleMeasure measure = MeasureCircle(rules, drawnRadius);
  CirclePlan plan;
  plan.radiusLine = {centre, onCircle};
  plan.radius = {PlaceAlongText(centre, onCircle, textSize),
                 FormatValue(rules.digits, measure.radius)};
  plan.area = FormatValue(rules.digits, measure.area);
  plan.markPoint = centre;
  return plan;
}

const FigureShape& CircleShape() {
  static const FigureShape shape = {kCircleKind,     InputCirclePoints, nullptr, nullptr,
                                    NewCircleRecord, DrawCircle,        nullptr, false};
  return shape;
}

const FigureShape& PolylineCircleShape() {
  return CircleShape();
}

}  // namespace area
