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

const FigureKind kLuneKind = {kLuneApp, kDictLune, kShapeLune, false};

FigureRecord* NewLuneRecord() {
  return new AreaDic_Lune();
}

void FillTexts(const FigureSettings& settings, const LuneMeasure& measure, DrawnFigure& drawn) {
  drawn.valueTexts = {
      FormatValue(settings.digits, measure.radius), FormatValue(settings.digits, measure.angle),
      FormatValue(settings.digits, measure.chord), FormatValue(settings.digits, measure.height)};
  drawn.areaText = FormatValue(settings.digits, measure.area);
}

// The chord p1→p3 and the height line from the centre to the chord's middle.
bool DrawChordLines(const FigureSettings& settings, const ArcGeometry& arc, const AcGePoint3d& p1,
                    const AcGePoint3d& p3, const AcGePoint3d& chordMiddle, AcDbObjectIdArray& ids) {
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  return AddFigureEntity(MakeLine(p1, p3, lineStyle), kLuneKind, kRoleAuxiliary, ids) &&
         AddFigureEntity(MakeLine(arc.centre, chordMiddle, lineStyle), kLuneKind, kRoleAuxiliary,
                         ids);
}

// The chord text along p3→p1, on the side of the chord away from the centre.
bool DrawChordText(const FigureSettings& settings, const AcGePoint3d& p1, const AcGePoint3d& p3,
                   const std::string& text, AcDbObjectIdArray& ids) {
  const TextPlacement place = PlaceAlongText(p3, p1);
  return AddFigureEntity(MakeValueText(settings, text, place), kLuneKind, kRoleValue, ids);
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
  const AcGePoint3d &p1 = points[0], &p3 = points[2];
  if (!DrawOutlineArc(kLuneKind, settings, arc, ids)) return false;
  StoreValueRules(settings, record);
  const LuneMeasure measure = MeasureLune(RulesOf(settings), arc, figure->angle, p1, p3);
  FillTexts(settings, measure, drawn);
  if (!DrawRadiusLines(kLuneKind, settings, arc, p1, p3, ids) ||
      !DrawChordLines(settings, arc, p1, p3, measure.chordMidpoint, ids) ||
      !DrawRadiusText(kLuneKind, settings, arc, p1, drawn.valueTexts[0], ids) ||
      !DrawChordText(settings, p1, p3, drawn.valueTexts[2], ids) ||
      !DrawAngleText(kLuneKind, settings, arc, p1, p3, drawn.valueTexts[1], ids))
    return false;
  drawn.markPoint = LuneMarkPoint(arc, measure.chordMidpoint);
  StoreHandles(ids, record);
  return true;
}

}  // namespace

const FigureShape& LuneShape() {
  static const FigureShape shape = {kLuneKind,     InputArcPoints, nullptr, nullptr,
                                    NewLuneRecord, DrawLune,       nullptr, true};
  return shape;
}

}  // namespace area
