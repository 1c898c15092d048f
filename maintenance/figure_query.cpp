// Figure query and export list.
#include "maintenance/figure_query.h"

#include <optional>
#include <vector>

#include "cad/arx.h"
#include "maintenance/lisp_arguments.h"
#include "schedule/mark_entries.h"

namespace area {
namespace {

int NilWith(int status) {
  acedRetNil();
  return status;
}

// The entity as the only selected mark: none when it is no block reference.
std::optional<std::vector<AcDbObjectId>> OnlyMark(AcDbObjectId id) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return std::nullopt;
  std::vector<AcDbObjectId> marks;
  if (AcDbBlockReference::cast(entity) != nullptr) marks.push_back(id);
  entity->close();
  return marks;
}

// (flag (number kind value-list sign) ...), or null when it cannot be made.
resbuf* ExportList(const std::vector<MarkEntry>& entries, bool linked) {
  resbuf* rows = MarkEntryList(entries);
  if (rows == nullptr) return nullptr;
  resbuf* head =
      acutBuildList(RTLB, RTSHORT, linked ? kExportLinkedFlag : kExportUnlinkedFlag, RTNONE);
  resbuf* tail = rows;
  while (tail->rbnext != nullptr) tail = tail->rbnext;
  tail->rbnext = acutBuildList(RTLE, RTNONE);
  if (head == nullptr || tail->rbnext == nullptr) {
    acutRelRb(head);
    acutRelRb(rows);
    return nullptr;
  }
  head->rbnext->rbnext = rows;
  return head;
}

// Keeps the chosen kind and returns its export list.
int ReturnExportList(std::vector<MarkEntry>& entries, bool linked) {
  const std::optional<int> removed = KeepChosenFigures(entries, linked);
  if (!removed) return NilWith(RTERROR);
  resbuf* list = ExportList(entries, linked);
  ReportFilteredOut(*removed, linked);
  const int status = list != nullptr ? acedRetList(list) : RTERROR;
  acutRelRb(list);
  return status == RTNORM ? RTNORM : NilWith(RTERROR);
}

}  // namespace

int RunAreaIsDict() {
  const std::optional<AcDbObjectId> id = EntityArgument();
  if (!id) return NilWith(RTERROR);
  const std::optional<std::vector<AcDbObjectId>> marks = OnlyMark(*id);
  if (!marks) return NilWith(RTERROR);
  std::vector<MarkEntry> entries = ReadMarks(*marks, false);
  if (entries.empty() || !LinkMarksToRecords(entries, false)) return NilWith(RTERROR);
  if (CountLinked(entries) == 1)
    acedRetT();
  else
    acedRetNil();
  return RTNORM;
}

int RunAreaExcel() {
  const std::optional<TableSettings> settings = TableSettingsArgument();
  if (!settings) return NilWith(RTERROR);
  std::vector<MarkEntry> entries;
  switch (PickMarks(*settings, kExportOnlyUnlinked, entries)) {
    case MarkPick::kNothingSelected:
      return RTNORM;
    case MarkPick::kCancelled:
      return NilWith(RTNORM);
    case MarkPick::kNoValidMark:
    case MarkPick::kLinkFailed:
      return NilWith(RTERROR);
    case MarkPick::kLinked:
      return ReturnExportList(entries, true);
    case MarkPick::kUnlinked:
      return ReturnExportList(entries, false);
  }
  return NilWith(RTERROR);
}

}  // namespace area
