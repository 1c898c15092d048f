// The area schedule command.
#include "schedule/plot_tally.h"

#include <optional>
#include <vector>

#include "cad/arx.h"
#include "common/figure_entities.h"
#include "common/input.h"
#include "common/layers.h"
#include "common/marks.h"
#include "common/settings.h"
#include "common/system_variables.h"
#include "schedule/mark_entries.h"
#include "schedule/table_drawing.h"

namespace area {
namespace {

// The UCS's rotation is read from the insertion point and a point this far (drawing units)
// along the UCS X axis, both in world coordinates.
constexpr double kAxisProbeLength = 100.0;

AcDbObjectId LastEntity() {
  ads_name last;
  AcDbObjectId id;
  if (acdbEntLast(last) != RTNORM || acdbGetObjectId(id, last) != Acad::eOk) id.setNull();
  return id;
}

bool IsBlockReference(AcDbObjectId id) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return false;
  const bool isReference = AcDbBlockReference::cast(entity) != nullptr;
  entity->close();
  return isReference;
}

// The rotation that lines the header block up with the world X axis, along which the table is
// drawn, whatever the current UCS.
bool HeaderRotation(const AcGePoint3d& ucsPoint, double& rotation) {
  AcGePoint3d origin, alongX;
  if (!UcsToWcs(ucsPoint, origin) ||
      !UcsToWcs(ucsPoint + AcGeVector3d(kAxisProbeLength, 0.0, 0.0), alongX))
    return false;
  const ads_point from = {origin.x, origin.y, origin.z};
  const ads_point to = {alongX.x, alongX.y, alongX.z};
  rotation = 0.0 - acutAngle(from, to);  // +0 rather than -0 for a UCS along the world X
  return true;
}

// Inserts, layers and tags the header block. The new reference is told from the drawing's last
// entity before the insertion, so that a refused insertion never takes a user's entity for it.
bool InsertHeader(const TableSettings& settings, const AcGePoint3d& ucsPoint) {
  double rotation = 0.0;
  if (!HeaderRotation(ucsPoint, rotation)) return false;
  const AcDbObjectId before = LastEntity();
  const double scale = TableInsertScale(settings);
  if (!InsertBlock(ucsPoint, settings.tableBlock, scale, scale, rotation)) return false;
  const AcDbObjectId header = LastEntity();
  if (header.isNull() || header == before || !IsBlockReference(header)) return false;
  SetEntityLayer(header, settings.tableLineLayer);
  TagEntity(header, kScheduleApp, kRoleScheduleHeader);
  return true;
}

TableStyle StyleOf(const TableSettings& settings, const AcGePoint3d& worldPoint, double textSize) {
  TableStyle style;
  style.form = TableFormOf(settings.tableForm);
  style.frame.origin = worldPoint;
  style.frame.unit = TableInsertScale(settings);
  style.frame.scale = settings.tableScale;
  style.frame.textSize = textSize;
  style.frame.unitKind = settings.tableUnitKind;
  style.lineLayer = settings.tableLineLayer;
  style.textLayer = settings.tableTextLayer;
  style.digits = settings.tableDigits;
  style.rounding = settings.tableRounding;
  return style;
}

// The header and the table are one undo group, so that one U takes back the whole schedule.
constexpr const char* kUndoCommand = "UNDO";
constexpr const char* kUndoBegin = "BE";
constexpr const char* kUndoEnd = "E";

void RunUndoCommand(const char* option) {
  resbuf* command = acutBuildList(RTSTR, kUndoCommand, RTSTR, option, RTNONE);
  acedCmd(command);
  acutRelRb(command);
}

// Asks for the insertion point, inserts the header and draws the table below it.
int DrawTableAtPickedPoint(const TableSettings& settings, const std::vector<MarkEntry>& entries) {
  ads_point picked;
  if (acedGetPoint(nullptr, kInsertionPointPrompt, picked) != RTNORM) {
    Redraw();
    return RTNORM;
  }
  double textSize = 0.0;
  GetRealVar(kTextSizeVar, textSize);
  const AcGePoint3d ucsPoint(picked[X], picked[Y], picked[Z]);
  AcGePoint3d worldPoint;
  if (!UcsToWcs(ucsPoint, worldPoint)) return RTERROR;
  RunUndoCommand(kUndoBegin);
  const bool drawn = InsertHeader(settings, ucsPoint) &&
                     DrawLinkedTable(entries, StyleOf(settings, worldPoint, textSize));
  Redraw();
  RunUndoCommand(kUndoEnd);
  return drawn ? RTNORM : RTERROR;
}

int TabulateLinked(const TableSettings& settings, std::vector<MarkEntry>& entries) {
  const std::optional<int> removed = KeepChosenFigures(entries, true);
  if (!removed) return RTNORM;
  ReportFilteredOut(*removed, true);
  return DrawTableAtPickedPoint(settings, entries);
}

// Hands the unlinked figures to LISP, from which the caller draws the old form of the table.
int ReturnOldForm(std::vector<MarkEntry>& entries) {
  const std::optional<int> removed = KeepChosenFigures(entries, false);
  if (!removed) return RTNORM;
  resbuf* list = MarkEntryList(entries);
  acutPrintf(kUnlinkedSelectedCount, static_cast<int>(entries.size()));
  ReportFilteredOut(*removed, false);
  const int status = list != nullptr ? acedRetList(list) : RTERROR;
  acutRelRb(list);
  return status == RTNORM ? RTNORM : RTERROR;
}

}  // namespace

int RunPlotTally() {
  std::optional<TableSettings> settings = TableSettingsArgument();
  if (!settings) return RTERROR;
  CheckTableLayers(*settings);
  std::vector<MarkEntry> entries;
  switch (PickMarks(*settings, kOnlyUnlinkedSelected, entries)) {
    case MarkPick::kNothingSelected:
    case MarkPick::kCancelled:
      return RTNORM;
    case MarkPick::kNoValidMark:
    case MarkPick::kLinkFailed:
      return RTERROR;
    case MarkPick::kLinked:
      return TabulateLinked(*settings, entries);
    case MarkPick::kUnlinked:
      return ReturnOldForm(entries);
  }
  return RTERROR;
}

}  // namespace area
