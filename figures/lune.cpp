// Lune figures (circular segments, 弓形): three points on the arc as for the sector; the arc, the
// radii, the angle arc, the chord and the line from the centre to the chord's middle; radius,
// chord and angle written; the area is the sector less the triangle on the chord. Arcs of half a
// turn or more are refused.
#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/value_format.h"
#include "figures/arc_figures.h"
#include "figures/shapes.h"
#include "records/figure_dictionaries.h"

namespace area {
namespace {

constexpr const char* kHalfTurnOrMore = "\n１８０°以上は計算できません";

const FigureKind kLuneKind = {LuneKindInfo(), false};

FigureRecord* NewLuneRecord() {
  return new AreaDic_Lune();
}

std::optional<ArcFigure> AllowedArc(AcGePoint3dArray& points) {
  std::optional<ArcFigure> figure = ArcThroughPoints(points);
  if (figure && !LuneSweepAllowed(figure->sweep)) {
    acedAlert(kHalfTurnOrMore);
    return std::nullopt;
  }
  return figure;
}

void StoreHandles(const AcDbObjectIdArray& ids, FigureRecord& record) {
  // The record lists the angle text before the chord text, the reverse of their drawing order.
  static_cast<AreaDic_Lune&>(record).setHandles({ids[1].handle(), ids[2].handle(), ids[3].handle(),
                                                 ids[4].handle(), ids[5].handle(), ids[6].handle(),
                                                 ids[8].handle(), ids[7].handle()});
}

bool DrawLune(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
              FigureRecord& record, DrawnFigure& drawn) {
  const std::optional<ArcFigure> figure = AllowedArc(points);
  if (!figure) return false;
  const ArcGeometry& arc = figure->arc;
  if (!DrawOutlineArc(kLuneKind, settings, arc, ids)) return false;
  StoreValueRules(settings, record);
  const LunePlan plan = PlanLune(RulesOf(settings), arc, points[0], points[2], CurrentTextSize());
  drawn.valueTexts = {plan.radius.text, plan.angle.text, plan.chord.text, plan.height};
  drawn.areaText = plan.area;
  if (!DrawArcParts(kLuneKind, settings, plan.parts, ids) ||
      !DrawPlannedLine(kLuneKind, settings, plan.chordLine, ids) ||
      !DrawPlannedLine(kLuneKind, settings, plan.heightLine, ids) ||
      !DrawPlannedText(kLuneKind, settings, plan.radius, ids) ||
      !DrawPlannedText(kLuneKind, settings, plan.chord, ids) ||
      !DrawPlannedText(kLuneKind, settings, plan.angle, ids))
    return false;
  drawn.markPoint = plan.markPoint;
  StoreHandles(ids, record);
  return true;
}

}  // namespace

LunePlan PlanLune(const ValueRules& rules, const ArcGeometry& arc, const AcGePoint3d& start,
                  const AcGePoint3d& end, double textSize) {
  LunePlan plan;
  plan.parts = PlanArcParts(arc, start, end);
  const LuneMeasure measure = MeasureLune(rules, arc, plan.parts.angle, start, end);
  plan.chordLine = {start, end};
  plan.heightLine = {arc.centre, measure.chordMidpoint};
  plan.radius = {PlaceAlongText(arc.centre, start, textSize),
                 FormatValue(rules.digits, measure.radius)};
  plan.angle = {PlaceBesideText(arc.centre, start, end, textSize),
                FormatValue(rules.digits, measure.angle)};
  // The chord text reads along end→start, on the side of the chord away from the centre.
  plan.chord = {PlaceAlongText(end, start, textSize), FormatValue(rules.digits, measure.chord)};
  plan.height = FormatValue(rules.digits, measure.height);
  plan.area = FormatValue(rules.digits, measure.area);
  plan.markPoint = LuneMarkPoint(arc, measure.chordMidpoint);
  return plan;
}

const FigureShape& LuneShape() {
  static const FigureShape shape = {kLuneKind,     InputArcPoints, nullptr, nullptr,
                                    NewLuneRecord, DrawLune,       nullptr, true};
  return shape;
}

}  // namespace area
