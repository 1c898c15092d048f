// Rectangle figures: three picked corners with the right angle at the second; the fourth corner
// is completed, both diagonals drawn, base and height written along two sides, the mark at the
// centre.
#include <array>

#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/input.h"
#include "common/value_format.h"
#include "figures/measures.h"
#include "figures/shapes.h"
#include "records/figure_dictionaries.h"

namespace area {
namespace {

constexpr std::array<PointStep, 2> kPointSteps = {{
    {"\np2を指示 : ", kOrthoModeOn},
    {"\np3を指示 : ", kKeepOrthoMode},
}};
constexpr const char* kNotPerpendicular = "\n底辺と高さが垂直でありません";

const FigureKind kRectangleKind = {kRectangleApp, kDictRectangle, kShapeRectangle, true};

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

// The two diagonals p1→p3 and p2→p4.
bool DrawDiagonals(const FigureSettings& settings, const AcGePoint3dArray& points,
                   AcDbObjectIdArray& ids) {
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  return AddFigureEntity(MakeLine(points[0], points[2], lineStyle), kRectangleKind, kRoleAuxiliary,
                         ids) &&
         AddFigureEntity(MakeLine(points[1], points[3], lineStyle), kRectangleKind, kRoleAuxiliary,
                         ids);
}

// Base text along p2→p3, height text along p1→p2.
bool DrawValueTexts(const FigureSettings& settings, const AcGePoint3dArray& points,
                    const DrawnFigure& drawn, AcDbObjectIdArray& ids) {
  const TextPlacement basePlace = PlaceAlongText(points[1], points[2]);
  const TextPlacement heightPlace = PlaceAlongText(points[0], points[1]);
  return AddFigureEntity(MakeValueText(settings, drawn.valueTexts[0], basePlace), kRectangleKind,
                         kRoleValue, ids) &&
         AddFigureEntity(MakeValueText(settings, drawn.valueTexts[1], heightPlace), kRectangleKind,
                         kRoleValue, ids);
}

bool DrawRectangle(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                   FigureRecord& record, DrawnFigure& drawn) {
  points.append(FourthCorner(points[0], points[1], points[2]));
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  if (!AddFigureEntity(MakePolyline2d(points, true, lineStyle), kRectangleKind, kRoleOutline, ids))
    return false;
  StoreValueRules(settings, record);
  const RectangleMeasure measure =
      MeasureRectangle(RulesOf(settings), points[0], points[1], points[2]);
  if (!DrawDiagonals(settings, points, ids)) return false;
  drawn.valueTexts = {FormatValue(settings.digits, measure.base),
                      FormatValue(settings.digits, measure.height)};
  drawn.areaText = FormatValue(settings.digits, measure.area);
  if (!DrawValueTexts(settings, points, drawn, ids)) return false;
  drawn.markPoint = Midpoint(points[0], points[2]);
  static_cast<AreaDic_Rectangle&>(record).setHandles(
      {ids[1].handle(), ids[2].handle(), ids[3].handle(), ids[4].handle()});
  return true;
}

}  // namespace

const FigureShape& RectangleShape() {
  static const FigureShape shape = {
      kRectangleKind,     InputRectanglePoints, nullptr, CheckRightAngle,
      NewRectangleRecord, DrawRectangle,        nullptr, false};
  return shape;
}

}  // namespace area
