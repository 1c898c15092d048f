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

bool DrawRadiusLines(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                     const AcGePoint3d& p1, const AcGePoint3d& p3, AcDbObjectIdArray& ids) {
  const EntityStyle lineStyle = OnLayer(settings.lineLayer);
  const double angleArcRadius = arc.radius * kAngleArcFactor;
  return AddFigureEntity(MakeLine(arc.centre, p1, lineStyle), kind, kRoleAuxiliary, ids) &&
         AddFigureEntity(MakeLine(arc.centre, p3, lineStyle), kind, kRoleAuxiliary, ids) &&
         AddFigureEntity(
             MakeArc(arc.centre, angleArcRadius, arc.startAngle, arc.endAngle, lineStyle), kind,
             kRoleAuxiliary, ids);
}

bool DrawRadiusText(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                    const AcGePoint3d& p1, const std::string& text, AcDbObjectIdArray& ids) {
  const TextPlacement place = PlaceAlongText(arc.centre, p1);
  return AddFigureEntity(MakeValueText(settings, text, place), kind, kRoleValue, ids);
}

bool DrawAngleText(const FigureKind& kind, const FigureSettings& settings, const ArcGeometry& arc,
                   const AcGePoint3d& p1, const AcGePoint3d& p3, const std::string& text,
                   AcDbObjectIdArray& ids) {
  const TextPlacement place = PlaceBesideText(arc.centre, p1, p3);
  return AddFigureEntity(MakeValueText(settings, text, place), kind, kRoleValue, ids);
}

}  // namespace area
