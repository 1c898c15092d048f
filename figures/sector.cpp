// Sector figures: three points on the arc; the arc, the two radii and a small arc marking the
// central angle, the radius and angle written, the mark on the bisector at half the radius.
#include "common/figure_entities.h"
#include "common/value_format.h"
#include "figures/arc_figures.h"
#include "figures/shapes.h"
#include "records/figure_dictionaries.h"

namespace area {
namespace {

const FigureKind kSectorKind = {kSectorApp, kDictSector, kShapeSector, true};

FigureRecord* NewSectorRecord() {
  return new AreaDic_Sector();
}

void FillTexts(const FigureSettings& settings, const SectorMeasure& measure, DrawnFigure& drawn) {
  drawn.valueTexts = {FormatValue(settings.digits, measure.radius),
                      FormatValue(settings.digits, measure.angle)};
  drawn.areaText = FormatValue(settings.digits, measure.area);
}

bool DrawSector(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                FigureRecord& record, DrawnFigure& drawn) {
  const std::optional<ArcFigure> figure = ArcThroughPoints(points);
  if (!figure) return false;
  const ArcGeometry& arc = figure->arc;
  const AcGePoint3d &p1 = points[0], &p3 = points[2];
  if (!DrawOutlineArc(kSectorKind, settings, arc, ids)) return false;
  StoreValueRules(settings, record);
  FillTexts(settings, MeasureSector(RulesOf(settings), arc.radius, figure->angle), drawn);
  if (!DrawRadiusLines(kSectorKind, settings, arc, p1, p3, ids) ||
      !DrawRadiusText(kSectorKind, settings, arc, p1, drawn.valueTexts[0], ids) ||
      !DrawAngleText(kSectorKind, settings, arc, p1, p3, drawn.valueTexts[1], ids))
    return false;
  drawn.markPoint = SectorMarkPoint(arc, p1, p3);
  static_cast<AreaDic_Sector&>(record).setHandles(
      {ids[1].handle(), ids[2].handle(), ids[3].handle(), ids[4].handle(), ids[5].handle()});
  return true;
}

}  // namespace

const FigureShape& SectorShape() {
  static const FigureShape shape = {kSectorKind,     InputArcPoints, nullptr, nullptr,
                                    NewSectorRecord, DrawSector,     nullptr, true};
  return shape;
}

}  // namespace area
