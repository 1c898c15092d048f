// The figure command frame.
#include "figures/frame.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "common/entity_factory.h"
#include "common/figure_entities.h"
#include "common/handles.h"
#include "common/input.h"
#include "common/layers.h"
#include "common/marks.h"
#include "common/system_variables.h"
#include "common/text_units.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "records/figure_dictionaries.h"
#include "records/mark_reactor.h"

namespace area {
namespace {

constexpr const char* kAreaReport = "\n 面積 = %s%s";
constexpr const char* kStoreErrorReport = "\n Dictionary setAt Error = %d!! ";

// "UNDO" "E" closes the open undo group, "UNDO" "G" opens the next: one group per figure.
constexpr const char* kUndoCommand = "UNDO";
constexpr const char* kUndoEnd = "E";
constexpr const char* kUndoGroup = "G";

constexpr int kBlipOff = 0;
constexpr int kBlipOn = 1;
constexpr int kOsModeOff = 0;

// The state of one command run.
struct FigureRun {
  const FigureShape& shape;
  FigureSettings settings;
  int savedOrthoMode = 0;
  std::string nextMark;
  resbuf* undoList = nullptr;
  int result = RTNORM;
};

std::optional<FigureSettings> SettingsArgument() {
  const resbuf* args = acedGetArgs();
  if (args == nullptr || args->restype != RTSTR || args->resval.rstring == nullptr)
    return std::nullopt;
  return ParseFigureSettings(args->resval.rstring);
}

// Ends the run with RTERROR; the figures completed before stay.
bool Fail(FigureRun& run) {
  run.result = RTERROR;
  return false;
}

// Picks the points and brings them into world coordinates; false ends the run (with RTNORM
// when the user stopped, RTERROR when a conversion failed).
bool PickPoints(FigureRun& run, AcGePoint3dArray& points) {
  const bool picked = run.shape.inputPoints(points, run.savedOrthoMode);
  SetIntVar(kOsModeVar, kOsModeOff);
  if (!picked) return false;
  if (!PointsToWcs(points)) return Fail(run);
  return true;
}

// The level and shape checks around switching blips off; false (RTERROR) when one fails.
bool CheckPoints(FigureRun& run, const AcGePoint3dArray& points) {
  if (!PointsLevel(points)) return Fail(run);
  if (run.shape.checkBeforeBlip && !run.shape.checkBeforeBlip(points)) return Fail(run);
  SetIntVar(kBlipModeVar, kBlipOff);
  if (run.shape.checkAfterBlip && !run.shape.checkAfterBlip(points)) return Fail(run);
  return true;
}

// The drawing step with its record; on failure what it drew is erased and the run fails.
bool DrawFigure(FigureRun& run, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
                std::unique_ptr<FigureRecord>& record, DrawnFigure& drawn) {
  record.reset(run.shape.newRecord());
  if (record == nullptr || !run.shape.draw(run.settings, points, ids, *record, drawn)) {
    if (!ids.isEmpty()) EraseEntities(ids);
    SetIntVar(kBlipModeVar, kBlipOn);
    record.reset();
    return Fail(run);
  }
  if (run.shape.redrawBeforeLabel) Redraw();
  return true;
}

// The label prompt; a cancel erases the figure and ends the run normally.
bool AskFigureLabel(FigureRun& run, const AcDbObjectIdArray& ids, std::string& label) {
  const bool answered = AskLabel(run.settings.markKind, run.nextMark, label);
  if (!answered) EraseEntities(ids);
  SetIntVar(kBlipModeVar, kBlipOn);
  return answered;
}

std::string AreaTextOf(const FigureRun& run, const DrawnFigure& drawn) {
  if (run.shape.areaFromTexts) return run.shape.areaFromTexts(run.settings, drawn);
  return drawn.areaText;
}

// Reports the area, hands the next label to LISP, closes this figure's undo group and prepares
// picking the next one.
bool CompleteFigure(FigureRun& run, const std::string& areaText) {
  acutPrintf(kAreaReport, areaText.c_str(), AreaUnitText(run.settings.unitKind).data());
  PublishDefaultLabel(run.settings.markKind, run.nextMark);
  acedCmd(run.undoList);
  if (!SetIntVar(kOsModeVar, kPickingOsMode)) return Fail(run);
  return true;
}

// One pass of the loop: one figure. False ends the run.
bool MakeOneFigure(FigureRun& run) {
  AcGePoint3dArray points;
  if (!PickPoints(run, points) || !CheckPoints(run, points)) return false;
  AcDbObjectIdArray ids;
  std::unique_ptr<FigureRecord> record;
  DrawnFigure drawn;
  if (!DrawFigure(run, points, ids, record, drawn)) return false;
  std::string label;
  if (!AskFigureLabel(run, ids, label)) return false;
  const std::string areaText = AreaTextOf(run, drawn);
  const std::string valueList = ComposeValueList(drawn.valueTexts, areaText);
  if (!FinishFigure(run.shape.kind, run.settings, label, valueList, drawn.markPoint, ids, record))
    return Fail(run);
  return CompleteFigure(run, areaText);
}

// Gives the open mark its reactor; a mark that does not open simply goes without.
void AttachReactorTo(AcDbObjectId markId) {
  AcDbObject* mark = nullptr;
  if (acdbOpenAcDbObject(mark, markId, AcDb::kForRead) != Acad::eOk) return;
  AttachMarkReactor(mark);
  mark->close();
}

bool StoreRecord(const FigureKind& kind, const AcDbObjectIdArray& ids,
                 std::unique_ptr<FigureRecord>& record) {
  const std::string key = HandleText(ids.first());
  Acad::ErrorStatus setAtStatus = Acad::eOk;
  if (!StoreFigureRecord(kind.info.dictionary, key.c_str(), record.get(), &setAtStatus)) {
    if (kind.reportsStoreError && setAtStatus != Acad::eOk)
      acutPrintf(kStoreErrorReport, static_cast<int>(setAtStatus));
    return false;
  }
  record.release();  // the dictionary owns it now
  return true;
}

// A setting as the record's 16-bit field holds it: a value beyond its range is held at the nearest
// end, so that a huge unit kind still means millimetres when the figure is recomputed.
Adesk::Int16 RecordSetting(int value) {
  return static_cast<Adesk::Int16>(std::clamp<int>(value, std::numeric_limits<Adesk::Int16>::min(),
                                                   std::numeric_limits<Adesk::Int16>::max()));
}

}  // namespace

bool FinishFigure(const FigureKind& kind, const FigureSettings& settings, const std::string& label,
                  const std::string& valueList, const AcGePoint3d& markPoint,
                  AcDbObjectIdArray& ids, std::unique_ptr<FigureRecord>& record) {
  const MarkAnswers answers{label, kind.info.shapeCode, valueList, kPositiveSign};
  const AcDbObjectId markId =
      InsertMark(markPoint, settings.markBlock, MarkInsertScale(settings), answers);
  if (markId.isNull()) {
    EraseEntities(ids);
    record.reset();
    return false;
  }
  record->setMarkHandle(markId.handle());
  SetEntityLayer(markId, settings.markLayer);
  ids.append(markId);
  TagEntity(markId, kind.info.application, kRoleMark);
  AcDbObjectId groupId;
  MakeGroup(ids, &groupId);
  AttachReactorTo(markId);
  if (!StoreRecord(kind, ids, record)) {
    // A group of erased entities would be left behind in the drawing.
    if (!groupId.isNull()) EraseObject(groupId);
    EraseEntities(ids);
    record.reset();
    return false;
  }
  return true;
}

bool AddFigureEntity(AcDbObjectId id, const FigureKind& kind, const char* role,
                     AcDbObjectIdArray& ids) {
  if (id.isNull()) return false;
  ids.append(id);
  TagEntity(id, kind.info.application, role);
  return true;
}

void StoreValueRules(const FigureSettings& settings, FigureRecord& record) {
  record.setUnitKind(RecordSetting(settings.unitKind));
  record.setDigits(RecordSetting(settings.digits));
  record.setRounding(RecordSetting(settings.rounding));
}

AcDbObjectId MakeValueText(const FigureSettings& settings, const std::string& text,
                           const TextPlacement& placement) {
  TextDraft draft;
  draft.position = placement.position;
  draft.text = text;
  draft.rotation = placement.rotation;
  draft.horizontalMode = AcDb::kTextCenter;
  draft.verticalMode = AcDb::kTextBottom;
  return MakeText(draft, OnLayer(settings.valueLayer));
}

int RunFigureCommand(const FigureShape& shape) {
  std::optional<FigureSettings> settings = SettingsArgument();
  if (!settings) return RTERROR;
  FigureRun run{shape, *settings, 0, {}, nullptr, RTNORM};
  CheckFigureLayers(run.settings);
  GetIntVar(kOrthoModeVar, run.savedOrthoMode);
  run.undoList = acutBuildList(RTSTR, kUndoCommand, RTSTR, kUndoEnd, RTSTR, kUndoCommand, RTSTR,
                               kUndoGroup, RTNONE);
  run.nextMark = Utf16Prefix(run.settings.firstMark, kLabelLimit);
  acedCmd(run.undoList);
  if (SetIntVar(kOsModeVar, kPickingOsMode)) {
    while (MakeOneFigure(run)) {
    }
  } else {
    run.result = RTERROR;
  }
  acutRelRb(run.undoList);
  Redraw();
  return run.result;
}

}  // namespace area
