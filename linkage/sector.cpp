// Sector linkage: a stretched arc rebuilds the radius lines and the angle arc and rewrites the
// radius and angle texts; a changed value text rewrites the value list and, during a stretch,
// moves the mark onto the bisector; a changed mark rewrites the rows.
#include <array>

#include "common/geometry.h"
#include "common/marks.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "figures/measures.h"
#include "figures/plans.h"
#include "linkage/figure_linkage.h"
#include "records/figure_records.h"

namespace area {
namespace {

void MetSec_ModifyData(RecordValues& values, AcDbObjectId arcId,
                       const AcGePoint3dArray& /*snapshot*/) {
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return;
  const double textSize = CurrentTextSize();
  const SectorPlan plan =
      PlanSector(values.rules, *arc, ArcStartPoint(*arc), ArcEndPoint(*arc), textSize);
  const ArcPartsPlan& parts = plan.parts;
  SetLine(values.shape[AreaDic_Sector::kStartRadiusLine], parts.startRadius);
  SetLine(values.shape[AreaDic_Sector::kEndRadiusLine], parts.endRadius);
  SetArc(values.shape[AreaDic_Sector::kAngleArc], parts.angleArc);
  SetValueText(values.shape[AreaDic_Sector::kRadiusText], plan.radius, textSize);
  SetValueText(values.shape[AreaDic_Sector::kAngleText], plan.angle, textSize);
}

std::optional<PlannedMark> MetSec_PlanMark(RecordValues& values, AcDbObjectId arcId) {
  const auto texts =
      ReadValueTexts(values, {AreaDic_Sector::kRadiusText, AreaDic_Sector::kAngleText});
  if (!texts) return std::nullopt;
  const double radius = ReadDecimal((*texts)[0]);
  const double angle = ReadDecimal((*texts)[1]);
  const std::string area = ValueText(values.rules, SectorArea(values.rules, radius, angle));
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return std::nullopt;
  return PlannedMark{SectorMarkPoint(*arc, ArcStartPoint(*arc), ArcEndPoint(*arc)),
                     ComposeValueList(*texts, area)};
}

void MetSec_ModifyValue(RecordValues& values, bool stretch) {
  MoveMark(SectorLinkage(), values, stretch);
}

std::optional<std::vector<std::string>> FreshSectorTexts(const ValueRules& rules,
                                                         AcDbObjectId arcId) {
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return std::nullopt;
  const SectorPlan plan =
      PlanSector(rules, *arc, ArcStartPoint(*arc), ArcEndPoint(*arc), kNoTextSize);
  return std::vector<std::string>{plan.radius.text, plan.angle.text};
}

constexpr std::array<int, 3> kAuxiliarySlots = {
    AreaDic_Sector::kStartRadiusLine, AreaDic_Sector::kEndRadiusLine, AreaDic_Sector::kAngleArc};

const ShapeLinkage kSectorLinkage = {SectorKindInfo(), MetSec_ModifyData, MetSec_ModifyValue,
                                     MetSec_PlanMark,  FreshSectorTexts,  kAuxiliarySlots};

}  // namespace

const ShapeLinkage& SectorLinkage() {
  return kSectorLinkage;
}

void React_ModifySector(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot) {
  ReactModify(kSectorLinkage, handle, flag, snapshot);
}

}  // namespace area
