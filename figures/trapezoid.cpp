// Trapezoid figures: four corners picked in order around the figure, p1p2 and p4p3 the parallel
// bases; the height from the fourth corner onto the first side, the two bases and the height
// written, the mark between the bases.
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

constexpr std::array<PointStep, 3> kPointSteps = {{
    {"\np2を指示 : ", kOrthoModeOn},
    {"\np3を指示 : ", kOrthoModeOff},
    {"\np4を指示 : ", kOrthoModeOn},
}};
constexpr const char* kCornersOutOfOrder = "\n頂点の指定が正しくありません";
constexpr const char* kBasesNotParallel = "\n上底と下底が平行でありません";

const FigureKind kTrapezoidKind = {TrapezoidKindInfo(), false};

bool InputTrapezoidPoints(AcGePoint3dArray& points, int savedOrthoMode) {
  return PickFigurePoints(kFirstPointPrompt, kPointSteps, savedOrthoMode, points);
}

bool CheckParallelBases(const AcGePoint3dArray& points) {
  switch (CheckTrapezoidCorners(points[0], points[1], points[2], points[3])) {
    case TrapezoidCorners::kParallel:
      return true;
    case TrapezoidCorners::kOutOfOrder:
      acedAlert(kCornersOutOfOrder);
      return false;
    case TrapezoidCorners::kNotParallel:
      break;
  }
  acedAlert(kBasesNotParallel);
  return false;
}

FigureRecord* NewTrapezoidRecord() {
  return new AreaDic_Trapezoid();
}

bool DrawTrapezoid(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                   FigureRecord& record, DrawnFigure& drawn) {
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  if (!AddFigureEntity(MakePolyline2d(points, true, lineStyle), kTrapezoidKind, kRoleOutline, ids))
    return false;
  StoreValueRules(settings, record);
  const std::optional<TrapezoidPlan> plan =
      PlanTrapezoid(RulesOf(settings), points, CurrentTextSize());
  if (!plan) return false;
  if (!AddFigureEntity(MakeLine(plan->heightLine.start, plan->heightLine.end, lineStyle),
                       kTrapezoidKind, kRoleAuxiliary, ids))
    return false;
  drawn.valueTexts = {plan->lower.text, plan->upper.text, plan->height.text};
  drawn.areaText = plan->area;
  for (const PlannedText* text : {&plan->lower, &plan->upper, &plan->height})
    if (!AddFigureEntity(MakeValueText(settings, text->text, text->placement), kTrapezoidKind,
                         kRoleValue, ids))
      return false;
  drawn.markPoint = plan->markPoint;
  static_cast<AreaDic_Trapezoid&>(record).setHandles(
      {ids[1].handle(), ids[2].handle(), ids[3].handle(), ids[4].handle()});
  return true;
}

}  // namespace

std::optional<TrapezoidPlan> PlanTrapezoid(const ValueRules& rules, const AcGePoint3dArray& corners,
                                           double textSize) {
  const AcGePoint3d &p1 = corners[0], &p2 = corners[1], &p3 = corners[2], &p4 = corners[3];
  const std::optional<TrapezoidMeasure> measure = MeasureTrapezoid(rules, p1, p2, p3, p4);
  if (!measure) return std::nullopt;
  TrapezoidPlan plan;
  plan.heightLine = {p4, measure->foot};
  plan.lower = {PlaceAlongText(p4, p3, textSize), FormatValue(rules.digits, measure->lower)};
  plan.upper = {PlaceAlongText(p1, p2, textSize), FormatValue(rules.digits, measure->upper)};
  plan.height = {PlaceAlongText(p4, measure->foot, textSize),
                 FormatValue(rules.digits, measure->height)};
  plan.area = FormatValue(rules.digits, measure->area);
  plan.markPoint = TrapezoidMarkPoint(p1, p2, p3, p4);
  return plan;
}

const FigureShape& TrapezoidShape() {
  static const FigureShape shape = {kTrapezoidKind,
                                    InputTrapezoidPoints,
                                    CheckParallelBases,
                                    nullptr,
                                    NewTrapezoidRecord,
                                    DrawTrapezoid,
                                    nullptr,
                                    false};
  return shape;
}

}  // namespace area
