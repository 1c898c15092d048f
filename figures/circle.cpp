// Circle figures: the centre and a point on the circle; the circle, the radius line with its
// value, the mark at the centre. area_polyline draws the same figures with the same steps.
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

constexpr std::array<PointStep, 1> kPointSteps = {{
    {"\np2を指示 : ", kOrthoModeOn},
}};

const FigureKind kCircleKind = {kCircleApp, kDictCircle, kShapeCircle, false};

bool InputCirclePoints(AcGePoint3dArray& points, int savedOrthoMode) {
  return PickFigurePoints(kFirstPointPrompt, kPointSteps, savedOrthoMode, points);
}

FigureRecord* NewCircleRecord() {
  return new AreaDic_Circle();
}

bool DrawCircle(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                FigureRecord& record, DrawnFigure& drawn) {
  const AcGePoint3d &centre = points[0], &onCircle = points[1];
  const double radius = centre.distanceTo(onCircle);
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  if (!AddFigureEntity(MakeCircle(centre, radius, lineStyle), kCircleKind, kRoleOutline, ids))
    return false;
  StoreValueRules(settings, record);
  const CircleMeasure measure = MeasureCircle(RulesOf(settings), radius);
  const AcDbObjectId radiusLine = MakeLine(centre, onCircle, lineStyle);
  if (!AddFigureEntity(radiusLine, kCircleKind, kRoleAuxiliary, ids)) return false;
  const TextPlacement place = PlaceAlongText(centre, onCircle);
  drawn.valueTexts = {FormatValue(settings.digits, measure.radius)};
  drawn.areaText = FormatValue(settings.digits, measure.area);
  const AcDbObjectId radiusText = MakeValueText(settings, drawn.valueTexts[0], place);
  if (!AddFigureEntity(radiusText, kCircleKind, kRoleValue, ids)) return false;
  drawn.markPoint = centre;
  static_cast<AreaDic_Circle&>(record).setHandles({radiusLine.handle(), radiusText.handle()});
  return true;
}

}  // namespace

const FigureShape& CircleShape() {
  static const FigureShape shape = {kCircleKind,     InputCirclePoints, nullptr, nullptr,
                                    NewCircleRecord, DrawCircle,        nullptr, false};
  return shape;
}

const FigureShape& PolylineCircleShape() {
  return CircleShape();
}

}  // namespace area
