// Trapezoid figures: four corners picked in order around the figure, p1p2 and p4p3 the parallel
// bases; the height from the fourth corner onto the first side, the two bases and the height
// written, the mark between the bases.
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

constexpr std::array<PointStep, 3> kPointSteps = {{
    {"\np2を指示 : ", kOrthoModeOn},
    {"\np3を指示 : ", kOrthoModeOff},
    {"\np4を指示 : ", kOrthoModeOn},
}};
constexpr const char* kCornersOutOfOrder = "\n頂点の指定が正しくありません";
constexpr const char* kBasesNotParallel = "\n上底と下底が平行でありません";

const FigureKind kTrapezoidKind = {kTrapezoidApp, kDictTrapezoid, kShapeTrapezoid, false};

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

// Lower base along p4→p3, upper base along p1→p2, height along p4→F.
bool DrawValueTexts(const FigureSettings& settings, const AcGePoint3dArray& points,
                    const AcGePoint3d& foot, const DrawnFigure& drawn, AcDbObjectIdArray& ids) {
  const std::array<TextPlacement, 3> places = {PlaceAlongText(points[3], points[2]),
                                               PlaceAlongText(points[0], points[1]),
                                               PlaceAlongText(points[3], foot)};
  for (std::size_t i = 0; i < places.size(); ++i) {
    const AcDbObjectId text = MakeValueText(settings, drawn.valueTexts[i], places[i]);
    if (!AddFigureEntity(text, kTrapezoidKind, kRoleValue, ids)) return false;
  }
  return true;
}

void FillTexts(const FigureSettings& settings, const TrapezoidMeasure& measure,
               DrawnFigure& drawn) {
  drawn.valueTexts = {FormatValue(settings.digits, measure.lower),
                      FormatValue(settings.digits, measure.upper),
                      FormatValue(settings.digits, measure.height)};
  drawn.areaText = FormatValue(settings.digits, measure.area);
}

bool DrawTrapezoid(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                   FigureRecord& record, DrawnFigure& drawn) {
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  if (!AddFigureEntity(MakePolyline2d(points, true, lineStyle), kTrapezoidKind, kRoleOutline, ids))
    return false;
  StoreValueRules(settings, record);
  const std::optional<TrapezoidMeasure> measure =
      MeasureTrapezoid(RulesOf(settings), points[0], points[1], points[2], points[3]);
  if (!measure) return false;
  if (!AddFigureEntity(MakeLine(points[3], measure->foot, lineStyle), kTrapezoidKind,
                       kRoleAuxiliary, ids))
    return false;
  FillTexts(settings, *measure, drawn);
  if (!DrawValueTexts(settings, points, measure->foot, drawn, ids)) return false;
  drawn.markPoint = TrapezoidMarkPoint(points[0], points[1], points[2], points[3]);
  static_cast<AreaDic_Trapezoid&>(record).setHandles(
      {ids[1].handle(), ids[2].handle(), ids[3].handle(), ids[4].handle()});
  return true;
}

}  // namespace

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
