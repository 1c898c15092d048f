// Lune linkage: a stretched arc rebuilds the radius lines, the chord, the height line and the
// angle arc and rewrites the radius, angle and chord texts, unless the arc now spans half a turn
// or more; a changed value text rewrites the value list, the height always coming from the arc;
// a changed mark rewrites the rows.
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

constexpr const char* kHalfTurnOrMore = "\n１８０°以上は計算できません";

void MetLun_ModifyData(RecordValues& values, AcDbObjectId arcId,
                       const AcGePoint3dArray& /*snapshot*/) {
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return;
  if (!LuneSweepAllowed(ArcSweep(arc->startAngle, arc->endAngle))) {
    acedAlert(kHalfTurnOrMore);
    return;
  }
  const double textSize = CurrentTextSize();
  const LunePlan plan =
      PlanLune(values.rules, *arc, ArcStartPoint(*arc), ArcEndPoint(*arc), textSize);
  const ArcPartsPlan& parts = plan.parts;
  SetLine(values.shape[AreaDic_Lune::kStartRadiusLine], parts.startRadius);
  SetLine(values.shape[AreaDic_Lune::kEndRadiusLine], parts.endRadius);
  SetLine(values.shape[AreaDic_Lune::kChordLine], plan.chordLine);
  SetLine(values.shape[AreaDic_Lune::kHeightLine], plan.heightLine);
  SetArc(values.shape[AreaDic_Lune::kAngleArc], parts.angleArc);
  SetValueText(values.shape[AreaDic_Lune::kRadiusText], plan.radius, textSize);
  SetValueText(values.shape[AreaDic_Lune::kAngleText], plan.angle, textSize);
  SetValueText(values.shape[AreaDic_Lune::kChordText], plan.chord, textSize);
}

std::optional<PlannedMark> MetLun_PlanMark(RecordValues& values, AcDbObjectId arcId) {
  const auto texts = ReadValueTexts(
      values, {AreaDic_Lune::kRadiusText, AreaDic_Lune::kAngleText, AreaDic_Lune::kChordText});
  if (!texts) return std::nullopt;
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return std::nullopt;
  const AcGePoint3d start = ArcStartPoint(*arc);
  const AcGePoint3d end = ArcEndPoint(*arc);
  const LunePlan plan = PlanLune(values.rules, *arc, start, end, CurrentTextSize());
  const double radius = ReadDecimal((*texts)[0]);
  const double angle = ReadDecimal((*texts)[1]);
  const double chord = ReadDecimal((*texts)[2]);
  const double height = ReadDecimal(plan.height);
  const std::string area =
      ValueText(values.rules, LuneArea(values.rules, radius, angle, chord, height));
  std::vector<std::string> listed = *texts;
  listed.push_back(plan.height);
  return PlannedMark{plan.markPoint, ComposeValueList(listed, area)};
}

void MetLun_ModifyValue(RecordValues& values, bool stretch) {
  MoveMark(LuneLinkage(), values, stretch);
}

std::optional<std::vector<std::string>> FreshLuneTexts(const ValueRules& rules,
                                                       AcDbObjectId arcId) {
  const std::optional<ArcGeometry> arc = ReadArc(arcId);
  if (!arc) return std::nullopt;
  const LunePlan plan = PlanLune(rules, *arc, ArcStartPoint(*arc), ArcEndPoint(*arc), kNoTextSize);
  return std::vector<std::string>{plan.radius.text, plan.angle.text, plan.chord.text};
}

constexpr std::array<int, 5> kAuxiliarySlots = {
    AreaDic_Lune::kStartRadiusLine, AreaDic_Lune::kEndRadiusLine, AreaDic_Lune::kAngleArc,
    AreaDic_Lune::kChordLine, AreaDic_Lune::kHeightLine};

const ShapeLinkage kLuneLinkage = {LuneKindInfo(),  MetLun_ModifyData, MetLun_ModifyValue,
                                   MetLun_PlanMark, FreshLuneTexts,    kAuxiliarySlots};

}  // namespace

const ShapeLinkage& LuneLinkage() {
  return kLuneLinkage;
}

void React_ModifyLune(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot) {
  ReactModify(kLuneLinkage, handle, flag, snapshot);
}

}  // namespace area
