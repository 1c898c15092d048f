// Sector figures: three points on the arc; the arc, the two radii and a small arc marking the
// central angle, the radius and angle written, the mark on the bisector at half the radius.
#include "common/figure_entities.h"
#include "common/value_format.h"
#include "figures/arc_figures.h"
#include "figures/shapes.h"
#include "records/figure_dictionaries.h"

namespace area {
namespace {

const FigureKind kSectorKind = {SectorKindInfo(), true};

FigureRecord* NewSectorRecord() {
  return new AreaDic_Sector();
}

bool DrawSector(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                FigureRecord& record, DrawnFigure& drawn) {
  const std::optional<ArcFigure> figure = ArcThroughPoints(points);
  if (!figure) return false;
  const ArcGeometry& arc = figure->arc;
  if (!DrawOutlineArc(kSectorKind, settings, arc, ids)) return false;
  StoreValueRules(settings, record);
  const SectorPlan plan =
      PlanSector(RulesOf(settings), arc, points[0], points[2], CurrentTextSize());
  drawn.valueTexts = {plan.radius.text, plan.angle.text};
  drawn.areaText = plan.area;
  if (!DrawArcParts(kSectorKind, settings, plan.parts, ids) ||
      !DrawPlannedText(kSectorKind, settings, plan.radius, ids) ||
      !DrawPlannedText(kSectorKind, settings, plan.angle, ids))
    return false;
  drawn.markPoint = plan.markPoint;
  static_cast<AreaDic_Sector&>(record).setHandles(
      {ids[1].handle(), ids[2].handle(), ids[3].handle(), ids[4].handle(), ids[5].handle()});
  return true;
}

}  // namespace

SectorPlan PlanSector(const ValueRules& rules, const ArcGeometry& arc, const AcGePoint3d& start,
                      const AcGePoint3d& end, double textSize) {
  SectorPlan plan;
  plan.parts = PlanArcParts(arc, start, end);
  const SectorMeasure measure = MeasureSector(rules, arc.radius, plan.parts.angle);
  plan.radius = {PlaceAlongText(arc.centre, start, textSize),
                 FormatValue(rules.digits, measure.radius)};
  plan.angle = {PlaceBesideText(arc.centre, start, end, textSize),
                FormatValue(rules.digits, measure.angle)};
  plan.area = FormatValue(rules.digits, measure.area);
  plan.markPoint = SectorMarkPoint(arc, start, end);
  return plan;
}

const FigureShape& SectorShape() {
  static const FigureShape shape = {kSectorKind,     InputArcPoints, nullptr, nullptr,
                                    NewSectorRecord, DrawSector,     nullptr, true};
  return shape;
}

}  // namespace area
