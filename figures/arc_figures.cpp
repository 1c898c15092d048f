// What sector and lune figures share.
#include "figures/arc_figures.h"

#include <array>

#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/input.h"

namespace area {
namespace {

constexpr std::array<PointStep, 2> kPointSteps = {{
    {"\np2を指示 : ", kOrthoModeOff},
    {"\np3を指示 : ", kKeepOrthoMode},
}};

}  // namespace

bool InputArcPoints(AcGePoint3dArray& points, int savedOrthoMode) {
  return PickFigurePoints(kFirstPointPrompt, kPointSteps, savedOrthoMode, points);
}

bool DrawOutlineArc(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                    AcDbObjectIdArray& ids) {
  const AcDbObjectId outline =
      MakeArc(arc.centre, arc.radius, arc.startAngle, arc.endAngle, OnLayer(settings.lineLayer));
  return AddFigureEntity(outline, kind, kRoleOutline, ids);
}

bool DrawPlannedLine(const FigureKind& kind, const FigureSettings& settings,
                     const PlannedLine& line, AcDbObjectIdArray& ids) {
  return AddFigureEntity(MakeLine(line.start, line.end, OnLayer(settings.lineLayer)), kind,
                         kRoleAuxiliary, ids);
}

bool DrawPlannedText(const FigureKind& kind, const FigureSettings& settings,
                     const PlannedText& text, AcDbObjectIdArray& ids) {
  return AddFigureEntity(MakeValueText(settings, text.text, text.placement), kind, kRoleValue, ids);
}

bool DrawArcParts(const FigureKind& kind, const FigureSettings& settings, const ArcPartsPlan& parts,
                  AcDbObjectIdArray& ids) {
  const ArcGeometry& small = parts.angleArc;
  return DrawPlannedLine(kind, settings, parts.startRadius, ids) &&
         DrawPlannedLine(kind, settings, parts.endRadius, ids) &&
         AddFigureEntity(MakeArc(small.centre, small.radius, small.startAngle, small.endAngle,
                                 OnLayer(settings.lineLayer)),
                         kind, kRoleAuxiliary, ids);
}

ArcPartsPlan PlanArcParts(const ArcGeometry& arc, const AcGePoint3d& start,
                          const AcGePoint3d& end) {
  ArcPartsPlan parts;
  parts.startRadius = {arc.centre, start};
  parts.endRadius = {arc.centre, end};
  parts.angleArc = {arc.centre, arc.radius * kAngleArcFactor, arc.startAngle, arc.endAngle};
  parts.angle = SweepDegrees(ArcSweep(arc.startAngle, arc.endAngle));
  return parts;
}

AcGePoint3d ArcStartPoint(const ArcGeometry& arc) {
  return PolarPoint(arc.centre, arc.startAngle, arc.radius);
}

AcGePoint3d ArcEndPoint(const ArcGeometry& arc) {
  return PolarPoint(arc.centre, arc.endAngle, arc.radius);
}

}  // namespace area
