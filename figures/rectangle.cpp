// Rectangle figures: three picked corners with the right angle at the second; the fourth corner
// is completed, both diagonals drawn, base and height written along two sides, the mark at the
// centre.
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
    {"\np2を指示 : ", kOrthoModeOn},
    {"\np3を指示 : ", kKeepOrthoMode},
}};
constexpr const char* kNotPerpendicular = "\n底辺と高さが垂直でありません";

const FigureKind kRectangleKind = {RectangleKindInfo(), true};

bool InputRectanglePoints(AcGePoint3dArray& points, int savedOrthoMode) {
  return PickFigurePoints(kFirstPointPrompt, kPointSteps, savedOrthoMode, points);
}

bool CheckRightAngle(const AcGePoint3dArray& points) {
  if (IsRightAngle(points[0], points[1], points[2])) return true;
  acedAlert(kNotPerpendicular);
  return false;
}

FigureRecord* NewRectangleRecord() {
  return new AreaDic_Rectangle();
}

bool DrawPlannedLine(const FigureSettings& settings, const PlannedLine& line,
                     AcDbObjectIdArray& ids) {
  return AddFigureEntity(MakeLine(line.start, line.end, OnLayer(settings.lineLayer)),
                         kRectangleKind, kRoleAuxiliary, ids);
}

bool DrawPlannedText(const FigureSettings& settings, const PlannedText& text,
                     AcDbObjectIdArray& ids) {
  return AddFigureEntity(MakeValueText(settings, text.text, text.placement), kRectangleKind,
                         kRoleValue, ids);
}

bool DrawRectangle(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                   FigureRecord& record, DrawnFigure& drawn) {
  points.append(FourthCorner(points[0], points[1], points[2]));
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  if (!AddFigureEntity(MakePolyline2d(points, true, lineStyle), kRectangleKind, kRoleOutline, ids))
    return false;
  StoreValueRules(settings, record);
  const RectanglePlan plan = PlanRectangle(RulesOf(settings), points, CurrentTextSize());
  if (!DrawPlannedLine(settings, plan.rightDiagonal, ids) ||
      !DrawPlannedLine(settings, plan.leftDiagonal, ids))
    return false;
  drawn.valueTexts = {plan.base.text, plan.height.text};
  drawn.areaText = plan.area;
  if (!DrawPlannedText(settings, plan.base, ids) || !DrawPlannedText(settings, plan.height, ids))
    return false;
  drawn.markPoint = plan.markPoint;
  static_cast<AreaDic_Rectangle&>(record).setHandles(
      {ids[1].handle(), ids[2].handle(), ids[3].handle(), ids[4].handle()});
  return true;
}

}  // namespace

RectanglePlan PlanRectangle(const ValueRules& rules, const AcGePoint3dArray& corners,
                            double textSize) {
  const AcGePoint3d &p1 = corners[0], &p2 = corners[1], &p3 = corners[2], &p4 = corners[3];
  const RectangleMeasure measure = MeasureRectangle(rules, p1, p2, p3);
  RectanglePlan plan;
  plan.rightDiagonal = {p1, p3};
  plan.leftDiagonal = {p2, p4};
  plan.base = {PlaceAlongText(p2, p3, textSize), FormatValue(rules.digits, measure.base)};
  plan.height = {PlaceAlongText(p1, p2, textSize), FormatValue(rules.digits, measure.height)};
  plan.area = FormatValue(rules.digits, measure.area);
  plan.markPoint = Midpoint(p1, p3);
  return plan;
}

const FigureShape& RectangleShape() {
  static const FigureShape shape = {
      kRectangleKind,     InputRectanglePoints, nullptr, CheckRightAngle,
      NewRectangleRecord, DrawRectangle,        nullptr, false};
  return shape;
}

}  // namespace area
