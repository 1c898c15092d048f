// Triangle figures: three picked vertices, the height from the first onto the opposite side, the
// base and height values, the mark at the centroid.
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

constexpr std::array<PointStep, 2> kPointSteps = {{
    {"\np2を指示 : ", kOrthoModeOff},
    {"\np3を指示 : ", kKeepOrthoMode},
}};

bool InputTrianglePoints(AcGePoint3dArray& points, int savedOrthoMode) {
  return PickFigurePoints(kFirstPointPrompt, kPointSteps, savedOrthoMode, points);
}

FigureRecord* NewTriangleRecord() {
  return new AreaDic_Triangle();
}

bool DrawTriangleStep(const FigureSettings& settings, AcGePoint3dArray& points,
                      AcDbObjectIdArray& ids, FigureRecord& record, DrawnFigure& drawn) {
  return DrawTriangle(settings, points, ids, static_cast<AreaDic_Triangle&>(record), drawn);
}

std::string TriangleArea(const FigureSettings& settings, const DrawnFigure& drawn) {
  return TriangleAreaText(RulesOf(settings), drawn.valueTexts[0], drawn.valueTexts[1]);
}

}  // namespace

const FigureKind kTriangleKind = {TriangleKindInfo(), false};

AcGePoint3d TriangleCentroid(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3) {
  constexpr double kCorners = 3.0;
  return {(p1.x + p2.x + p3.x) / kCorners, (p1.y + p2.y + p3.y) / kCorners, p1.z};
}

std::optional<TrianglePlan> PlanTriangle(const ValueRules& rules, const AcGePoint3d& p1,
                                         const AcGePoint3d& p2, const AcGePoint3d& p3,
                                         double textSize) {
  const std::optional<TriangleMeasure> measure = MeasureTriangle(rules, p1, p2, p3);
  if (!measure) return std::nullopt;
  TrianglePlan plan;
  plan.heightLine = {p1, measure->foot};
  plan.base = {PlaceAlongText(p2, p3, textSize), FormatValue(rules.digits, measure->base)};
  plan.height = {PlaceAlongText(p1, measure->foot, textSize),
                 FormatValue(rules.digits, measure->height)};
  plan.product = FormatValue(rules.digits, measure->product);
  plan.markPoint = TriangleCentroid(p1, p2, p3);
  return plan;
}

bool DrawTriangle(const FigureSettings& settings, const AcGePoint3dArray& points,
                  AcDbObjectIdArray& ids, AreaDic_Triangle& record, DrawnFigure& drawn) {
  const AcGePoint3d &p1 = points[0], &p2 = points[1], &p3 = points[2];
  AcGePoint3dArray outline;
  for (const AcGePoint3d& p : {p1, p2, p3}) outline.append(p);
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  if (!AddFigureEntity(MakePolyline2d(outline, true, lineStyle), kTriangleKind, kRoleOutline, ids))
    return false;
  StoreValueRules(settings, record);
  const std::optional<TrianglePlan> plan =
      PlanTriangle(RulesOf(settings), p1, p2, p3, CurrentTextSize());
  if (!plan) return false;
  const AcDbObjectId heightLine = MakeLine(plan->heightLine.start, plan->heightLine.end, lineStyle);
  if (!AddFigureEntity(heightLine, kTriangleKind, kRoleAuxiliary, ids)) return false;
  drawn.valueTexts = {plan->base.text, plan->height.text, plan->product};
  const AcDbObjectId baseText = MakeValueText(settings, plan->base.text, plan->base.placement);
  if (!AddFigureEntity(baseText, kTriangleKind, kRoleValue, ids)) return false;
  const AcDbObjectId heightText =
      MakeValueText(settings, plan->height.text, plan->height.placement);
  if (!AddFigureEntity(heightText, kTriangleKind, kRoleValue, ids)) return false;
  drawn.markPoint = plan->markPoint;
  record.setHandles({heightLine.handle(), baseText.handle(), heightText.handle()});
  return true;
}

const FigureShape& TriangleShape() {
  static const FigureShape shape = {kTriangleKind,     InputTrianglePoints, nullptr,      nullptr,
                                    NewTriangleRecord, DrawTriangleStep,    TriangleArea, false};
  return shape;
}

}  // namespace area
