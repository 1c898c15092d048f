// The two triangulation functions.
#include "triangulation/triangulation_commands.h"

#include <optional>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "common/figure_entities.h"
#include "common/input.h"
#include "common/label_numbering.h"
#include "common/layers.h"
#include "common/settings.h"
#include "common/system_variables.h"
#include "common/text_units.h"
#include "triangulation/lot_polygon.h"
#include "triangulation/triangle_figure.h"

namespace area {
namespace {

// "UNDO" "BE" opens a group that "UNDO" "E" closes: one undo step for all of a lot's figures.
constexpr const char* kUndoCommand = "UNDO";
constexpr const char* kUndoBegin = "BE";
constexpr const char* kUndoEnd = "E";
constexpr const char* kUndoGroup = "G";

constexpr int kOsModeOff = 0;
constexpr int kBlipOff = 0;
constexpr int kBlipOn = 1;

// ddtri_draw's corners: apex, base start, base end.
constexpr int kGivenCorners = 3;

void SendUndo(resbuf* list) {
  acedCmd(list);
  acutRelRb(list);
}

void BeginUndoGroup() {
  SendUndo(acutBuildList(RTSTR, kUndoCommand, RTSTR, kUndoBegin, RTNONE));
}

void EndUndoGroup() {
  SendUndo(acutBuildList(RTSTR, kUndoCommand, RTSTR, kUndoEnd, RTNONE));
}

// Closes the group a previous figure command left open and opens this figure's.
void RestartUndoGroup() {
  SendUndo(acutBuildList(RTSTR, kUndoCommand, RTSTR, kUndoEnd, RTSTR, kUndoCommand, RTSTR,
                         kUndoGroup, RTNONE));
}

// A call whose argument list is wrong answers nil.
int RefuseArguments() {
  acedRetNil();
  return RTERROR;
}

int Succeed() {
  acedRetNil();
  return RTNORM;
}

bool IsString(const resbuf* argument) {
  return argument != nullptr && argument->restype == RTSTR && argument->resval.rstring != nullptr;
}

bool Refuse(const char* message) {
  acedAlert(message);
  return false;
}

// Reads, checks and orients the lot; every refusal is shown in its message box except the level
// check's, which shows its own.
bool PrepareLot(AcDbObjectId lotId, AcGePoint3dArray& points) {
  LotVertices lot;
  const char* refusal = ReadLotVertices(lotId, lot);
  if (refusal == nullptr) refusal = DropClosingVertex(lot);
  if (refusal != nullptr) return Refuse(refusal);
  // The polyline holds world coordinates already; converting them as picked points would move
  // the figures off the lot under any UCS but the world.
  if (!PointsLevel(lot.points)) return false;
  refusal = MakeClockwise(lot.points);
  if (refusal != nullptr) return Refuse(refusal);
  points = lot.points;
  return true;
}

// One figure per triangle, marked from the buffer, which moves on by the numbering kind after
// each. False at the first figure that cannot be made; those before it stay.
bool MakeLotFigures(const FigureSettings& settings, const std::vector<LotTriangle>& triangles,
                    std::string& mark) {
  for (const LotTriangle& corners : triangles) {
    TriangleFigure figure;
    const bool drawn = DrawTriangleFigure(settings, corners, figure);
    SetIntVar(kBlipModeVar, kBlipOn);
    if (!drawn || !FinishTriangleFigure(settings, mark, figure)) return false;
    mark = AdvanceMarkBuffer(settings.markKind, mark);
  }
  return true;
}

int TriangulateLot(FigureSettings& settings, AcDbObjectId lotId) {
  // A missing layer would make every entity fail without a word; say so and use the current one.
  CheckFigureLayers(settings);
  AcGePoint3dArray points;
  if (!PrepareLot(lotId, points)) return RTERROR;
  const std::optional<std::vector<LotTriangle>> triangles = SplitLot(points);
  if (!triangles) {
    acedAlert(kSplitFailedMessage);
    return RTERROR;
  }
  SetIntVar(kOsModeVar, kOsModeOff);
  SetIntVar(kBlipModeVar, kBlipOff);
  BeginUndoGroup();
  std::string mark = Utf16Prefix(settings.firstMark, kLabelLimit);
  if (!MakeLotFigures(settings, *triangles, mark)) {
    EndUndoGroup();
    return RTERROR;
  }
  PublishDefaultLabel(settings.markKind, mark);
  Redraw();
  EndUndoGroup();
  return Succeed();
}

// The three corner arguments after the settings, each a 3D point.
bool CornerArguments(const resbuf* argument, AcGePoint3dArray& corners) {
  for (int i = 0; i < kGivenCorners; ++i, argument = argument->rbnext) {
    if (argument == nullptr || argument->restype != RT3DPOINT) return false;
    corners.append(FromAdsPoint(argument->resval.rpoint));
  }
  return true;
}

// Draws the figure on the given corners and asks its mark; false (RTERROR) when it is not drawn
// or the prompt is cancelled, leaving nothing of it behind.
bool DrawAndLabel(const FigureSettings& settings, const AcGePoint3dArray& corners,
                  std::string& mark, TriangleFigure& figure, std::string& label) {
  if (!DrawTriangleFigure(settings, {corners[0], corners[1], corners[2]}, figure)) {
    SetIntVar(kBlipModeVar, kBlipOn);
    return false;
  }
  const bool answered = AskLabel(settings.markKind, mark, label);
  if (!answered) EraseEntities(figure.ids);
  SetIntVar(kBlipModeVar, kBlipOn);
  return answered;
}

int DrawGivenTriangle(FigureSettings& settings, AcGePoint3dArray& corners) {
  CheckFigureLayers(settings);
  RestartUndoGroup();
  std::string mark = Utf16Prefix(settings.firstMark, kLabelLimit);
  if (!PointsToWcs(corners)) return RTERROR;
  SetIntVar(kOsModeVar, kOsModeOff);
  SetIntVar(kBlipModeVar, kBlipOff);
  if (!PointsLevel(corners)) return RTERROR;
  TriangleFigure figure;
  std::string label;
  if (!DrawAndLabel(settings, corners, mark, figure, label)) return RTERROR;
  if (!FinishTriangleFigure(settings, label, figure)) return RTERROR;
  PublishDefaultLabel(settings.markKind, mark);
  Redraw();
  // The undo group stays open until the next figure command closes it.
  return Succeed();
}

}  // namespace

int RunAutoTriDraw() {
  const resbuf* arguments = acedGetArgs();
  if (!IsString(arguments)) return RefuseArguments();
  std::optional<FigureSettings> settings = ParseFigureSettings(arguments->resval.rstring);
  if (!settings) return RTERROR;
  const resbuf* lot = arguments->rbnext;
  if (lot == nullptr || lot->restype != RTENAME) return RefuseArguments();
  // A name that no longer resolves leaves the id null; the lot then does not open and is refused.
  AcDbObjectId lotId;
  acdbGetObjectId(lotId, lot->resval.rlname);
  return TriangulateLot(*settings, lotId);
}

int RunDdTriDraw() {
  const resbuf* arguments = acedGetArgs();
  if (!IsString(arguments)) return RefuseArguments();
  std::optional<FigureSettings> settings = ParseFigureSettings(arguments->resval.rstring);
  if (!settings) return RTERROR;
  AcGePoint3dArray corners;
  if (!CornerArguments(arguments->rbnext, corners)) return RefuseArguments();
  return DrawGivenTriangle(*settings, corners);
}

}  // namespace area
