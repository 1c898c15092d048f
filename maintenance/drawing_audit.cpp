// The drawing audit.
#include "maintenance/drawing_audit.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "cad/arx.h"
#include "common/figure_entities.h"
#include "common/handles.h"
#include "common/marks.h"
#include "common/text_values.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "linkage/erase.h"
#include "linkage/figure_linkage.h"
#include "linkage/schedule_rows.h"
#include "maintenance/figure_parts.h"
#include "records/figure_dictionaries.h"
#include "schedule/mark_entries.h"

namespace area {
namespace {

// A mark stands where its shape puts it when it is at most this far from there (drawing units).
constexpr double kMarkPlaceTolerance = 0.001;
// Decimals of the coordinates in a misplaced mark's finding.
constexpr int kPointDecimals = 4;
constexpr const char* kScheduleShape = "schedule";

std::string PointText(const AcGePoint3d& point) {
  char text[96];
  std::snprintf(text, sizeof text, "%.*f,%.*f", kPointDecimals, point.x, kPointDecimals, point.y);
  return text;
}

// Digits after the decimal point of a number text, which is how a footer shows its precision.
int DecimalsOf(const std::string& text) {
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return 0;
  int digits = 0;
  for (std::size_t i = point + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    ++digits;
  return digits;
}

bool IsNumber(const std::string& token) {
  if (token.empty()) return false;
  char* end = nullptr;
  const double value = std::strtod(token.c_str(), &end);
  return *end == '\0' && std::isfinite(value);
}

// Which groups hold each entity, read once from the drawing's group dictionary.
class GroupIndex {
 public:
  GroupIndex() {
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    AcDbDictionary* groups = nullptr;
    if (database == nullptr || database->getGroupDictionary(groups, AcDb::kForRead) != Acad::eOk)
      return;
    std::unique_ptr<AcDbDictionaryIterator> entry(groups->newIterator());
    for (; !entry->done(); entry->next()) add(entry->objectId());
    groups->close();
  }

  const std::vector<AcDbObjectId>& groupsOf(AcDbObjectId entity) const {
    static const std::vector<AcDbObjectId> none;
    const auto found = m_groups.find(entity.asOldId());
    return found == m_groups.end() ? none : found->second;
  }

 private:
  void add(AcDbObjectId groupId) {
    AcDbGroup* group = nullptr;
    if (acdbOpenObject(group, groupId, AcDb::kForRead) != Acad::eOk) return;
    for (AcDbObjectId member : group->memberIds()) m_groups[member.asOldId()].push_back(groupId);
    group->close();
  }

  std::unordered_map<std::int64_t, std::vector<AcDbObjectId>> m_groups;
};

bool InSameGroup(const std::vector<AcDbObjectId>& a, const std::vector<AcDbObjectId>& b) {
  for (AcDbObjectId group : a)
    if (std::find(b.begin(), b.end(), group) != b.end()) return true;
  return false;
}

// One schedule, known by the handle of its total (general form) or of its footer sum (triangle
// form), with the value texts of its rows as the figures' records list them.
struct Schedule {
  bool triangleForm = false;
  AcDbHandle total, half, landArea;
  std::vector<AcDbHandle> rowValues;
  int rounding = 0;  // of the first listed figure, as the linkage rounds its totals
};

// The figure being audited.
struct Figure {
  const ShapeLinkage* shape = nullptr;
  AcDbHandle outline;
  AcDbObjectId outlineId;  // null when the outline cannot be used
  LinkedRecord record;
  MarkContents mark;
  bool markRead = false;
  // A value text disagrees with the geometry; the value list, which follows the texts, is then
  // judged once they are mended.
  bool textsOutOfStep = false;
};

class Auditor {
 public:
  explicit Auditor(bool mending) : m_mending(mending) {}

  bool run() {
    for (const FigureKindInfo& kind : kFigureKinds) auditDictionary(LinkageOf(kind));
    // Records leave their dictionaries only after the walks over them.
    for (const Unlinking& figure : m_unlinking) {
      UnlinkFigure(*figure.kind, figure.key, figure.record, true);
      ++m_mended;
    }
    auditSchedules();
    return auditUnlinkedMarks();
  }
  const AuditReport& report() const { return m_report; }
  int mended() const { return m_mended; }

 private:
  void auditDictionary(const ShapeLinkage& shape) {
    std::unique_ptr<AcDbDictionaryIterator> entries = ShapeDictionaryEntries(shape.kind.dictionary);
    for (; entries && !entries->done(); entries->next())
      auditFigure(shape, entries->objectId(), entries->name());
  }

  void auditFigure(const ShapeLinkage& shape, AcDbObjectId recordId, const std::string& key) {
    FigureRecord* record = nullptr;
    if (acdbOpenObject(record, recordId, AcDb::kForRead) != Acad::eOk) return;
    Figure figure;
    figure.shape = &shape;
    figure.record = ReadLinkedRecord(*record);
    record->close();
    figure.outline = AcDbHandle(key.c_str());
    ++m_report.figures;
    readMark(figure);
    if (!markPresent(figure, key)) return;
    if (auditParts(figure)) {
      auditValueTexts(figure);
      auditMark(figure);
    }
    auditRows(figure);
  }

  // A record whose mark is gone is unlinked, as erasing the mark with the linkage would have
  // done: its rows leave the schedules and the record its dictionary. False when it is gone.
  bool markPresent(Figure& figure, const std::string& key) {
    AcDbObjectId id;
    if (ResolveHandle(figure.record.values.mark, id)) return true;
    broken(figure, figure.record.values.mark, "mark", "is missing").mendable = true;
    if (m_mending)
      m_unlinking.push_back({&figure.shape->kind, key, figure.record});
    else
      auditRows(figure);
    return false;
  }

  bool readMark(Figure& figure) {
    AcDbHandle mark = figure.record.values.mark;
    figure.mark = {};
    figure.markRead = ReadMark(mark, figure.mark);
    return figure.markRead;
  }

  // The outline, the shape handles and the mark: each present, of its class, tagged with its
  // role, and all in one group. True when the outline can be measured.
  bool auditParts(Figure& figure) {
    const FigureKindInfo& kind = figure.shape->kind;
    std::vector<std::pair<AcDbObjectId, const char*>> present;
    const bool outline =
        auditPart(figure, figure.outline, OutlinePart(kind), kRoleOutline, present);
    if (outline) figure.outlineId = present.front().first;
    const auto parts = ShapeHandleParts(kind);
    for (std::size_t slot = 0; slot < parts.size(); ++slot)
      auditPart(figure, figure.record.values.shape[slot], parts[slot],
                IsValueSlot(kind, static_cast<int>(slot)) ? kRoleValue : kRoleAuxiliary, present);
    auditPart(figure, figure.record.values.mark, {"mark", PartForm::kMark}, kRoleMark, present);
    auditGroup(figure, present);
    return outline;
  }

  static bool IsValueSlot(const FigureKindInfo& kind, int slot) {
    for (int valueSlot : kind.valueTexts())
      if (valueSlot == slot) return true;
    return false;
  }

  bool auditPart(const Figure& figure, const AcDbHandle& handle, const FigurePart& part,
                 const char* role, std::vector<std::pair<AcDbObjectId, const char*>>& present) {
    AcDbObjectId id;
    AcDbEntity* entity = nullptr;
    if (!ResolveHandle(handle, id) || acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
      broken(figure, handle, part.name, "is missing");
      return false;
    }
    const std::string form = MissingForm(*entity, part.form);
    const std::string tag = FigureRole(entity, figure.shape->kind.application);
    entity->close();
    if (!form.empty()) {
      broken(figure, handle, part.name, "is not " + form);
      return false;
    }
    present.emplace_back(id, part.name);
    if (tag != role)
      broken(figure, handle, part.name,
             "lacks the extended data " + std::string(figure.shape->kind.application) + " " + role);
    return true;
  }

  // Every part shares a group with the first present part (the outline when it is there).
  void auditGroup(const Figure& figure,
                  const std::vector<std::pair<AcDbObjectId, const char*>>& present) {
    if (present.empty()) return;
    const std::vector<AcDbObjectId>& groups = m_groups.groupsOf(present.front().first);
    for (const auto& [id, name] : present) {
      if (InSameGroup(groups, m_groups.groupsOf(id))) continue;
      outOfGroup(figure, id, name, groups);
    }
  }

  void outOfGroup(const Figure& figure, AcDbObjectId id, const char* name,
                  const std::vector<AcDbObjectId>& groups) {
    AuditFinding& finding = broken(figure, id.handle(), name, "is not in the figure's group");
    // Only a figure with one group can say which group the part belongs in.
    finding.mendable = groups.size() == 1;
    if (!m_mending || !finding.mendable) return;
    AcDbGroup* group = nullptr;
    if (acdbOpenObject(group, groups.front(), AcDb::kForWrite) != Acad::eOk) return;
    if (group->append(id) == Acad::eOk) ++m_mended;
    group->close();
  }

  void auditValueTexts(Figure& figure) {
    RecordValues& values = figure.record.values;
    const auto fresh = figure.shape->freshValueTexts(values.rules, figure.outlineId);
    if (!fresh) {
      broken(figure, figure.outline, "outline", "gives no measure");
      return;
    }
    const FigureKindInfo& kind = figure.shape->kind;
    const auto slots = kind.valueTexts();
    for (std::size_t i = 0; i < slots.size(); ++i) {
      AcDbHandle handle = values.shape[slots[i]];
      const std::optional<std::string> text = ReadTextByHandle(handle);
      if (!text || *text == (*fresh)[i]) continue;
      figure.textsOutOfStep = true;
      outOfStep(figure, values.shape[slots[i]], ShapeHandleParts(kind)[slots[i]].name, *text,
                (*fresh)[i], "geometry");
      if (m_mending && SetTextByHandle(handle, (*fresh)[i])) ++m_mended;
    }
  }

  void auditMark(Figure& figure) {
    // The mending of a value text may have rewritten the mark through the reactors already.
    if (!readMark(figure)) return;
    RecordValues& values = figure.record.values;
    const std::optional<PlannedMark> planned = figure.shape->plannedMark(values, figure.outlineId);
    if (!planned) return;
    const std::optional<AcGePoint3d> position = MarkPosition(values.mark);
    const bool listAgrees =
        (figure.textsOutOfStep && !m_mending) || figure.mark.valueList == planned->valueList;
    const bool placeAgrees =
        !position || position->distanceTo(planned->point) <= kMarkPlaceTolerance;
    if (!listAgrees)
      outOfStep(figure, values.mark, "value list", figure.mark.valueList, planned->valueList,
                "value texts");
    if (!placeAgrees)
      outOfStep(figure, values.mark, "mark position", PointText(*position),
                PointText(planned->point), "geometry");
    if (!m_mending || (listAgrees && placeAgrees)) return;
    AcDbHandle mark = values.mark;
    if (UpdateMark(mark, planned->point, planned->valueList, !placeAgrees))
      m_mended += (listAgrees ? 0 : 1) + (placeAgrees ? 0 : 1);
    readMark(figure);
  }

  static std::optional<AcGePoint3d> MarkPosition(const AcDbHandle& handle) {
    AcDbObjectId id;
    AcDbBlockReference* mark = nullptr;
    if (!ResolveHandle(handle, id) || acdbOpenObject(mark, id, AcDb::kForRead) != Acad::eOk)
      return std::nullopt;
    const AcGePoint3d position = mark->position();
    mark->close();
    return position;
  }

  void auditRows(Figure& figure) {
    const ValueRules& rules = figure.record.values.rules;
    for (const AreaDic_Table::Row& row : figure.record.tableRows) {
      noteScheduleRow(row[AreaDic_Table::kTotal], row[AreaDic_Table::kArea], false, rules);
      if (figure.markRead) auditTableRow(figure, row);
    }
    for (const AreaDic_STable::Row& row : figure.record.triangleRows) {
      Schedule& schedule =
          noteScheduleRow(row[AreaDic_STable::kSum], row[AreaDic_STable::kDoubleArea], true, rules);
      schedule.half = row[AreaDic_STable::kHalf];
      schedule.landArea = row[AreaDic_STable::kLandArea];
      if (figure.markRead) auditTriangleRow(figure, row);
    }
  }

  void auditTableRow(const Figure& figure, const AreaDic_Table::Row& row) {
    const FreshTableRow fresh = FreshTableRowTexts(figure.shape->kind.shapeCode, figure.mark.label,
                                                   figure.mark.valueList, figure.mark.negative);
    auditRowText(figure, row[AreaDic_Table::kSign], "row sign", fresh.sign);
    auditRowText(figure, row[AreaDic_Table::kNumber], "row number", fresh.number);
    auditRowText(figure, row[AreaDic_Table::kFormula], "row formula", fresh.formula);
    auditRowText(figure, row[AreaDic_Table::kArea], "row area", fresh.area);
  }

  void auditTriangleRow(const Figure& figure, const AreaDic_STable::Row& row) {
    const std::optional<FreshTriRow> fresh = FreshTriRowTexts(
        figure.mark.label, SplitValueList(figure.mark.valueList), figure.mark.negative);
    if (!fresh) return;
    auditRowText(figure, row[AreaDic_STable::kSign], "row sign", fresh->sign);
    auditRowText(figure, row[AreaDic_STable::kNumber], "row number", fresh->number);
    auditRowText(figure, row[AreaDic_STable::kBase], "row base", fresh->base);
    auditRowText(figure, row[AreaDic_STable::kHeight], "row height", fresh->height);
    auditRowText(figure, row[AreaDic_STable::kDoubleArea], "row double area", fresh->doubleArea);
  }

  void auditRowText(const Figure& figure, const AcDbHandle& row, const char* subject,
                    const std::optional<std::string>& expected) {
    AcDbHandle handle = row;  // a handle that does not resolve is cleared by the read
    const std::optional<std::string> text = ReadTextByHandle(handle);
    if (!text) {
      broken(figure, row, subject, "is missing");
    } else if (expected && *text != *expected) {
      outOfStep(figure, row, subject, *text, *expected, "mark");
      if (m_mending && SetTextByHandle(handle, *expected)) ++m_mended;
    }
  }

  Schedule& noteScheduleRow(const AcDbHandle& total, const AcDbHandle& value, bool triangleForm,
                            const ValueRules& rules) {
    auto [entry, added] = m_schedules.try_emplace(HandleText(total));
    Schedule& schedule = entry->second;
    if (added) {
      schedule.triangleForm = triangleForm;
      schedule.total = total;
      schedule.rounding = rules.rounding;
    }
    schedule.rowValues.push_back(value);
    return schedule;
  }

  // Each schedule's footer equals the rounded sum of its rows' texts, at the footer's precision.
  void auditSchedules() {
    // The totals are read back after the rows, so any mended row counts.
    m_report.schedules = static_cast<int>(m_schedules.size());
    for (auto& [key, schedule] : m_schedules) {
      double sum = 0.0;
      for (AcDbHandle value : schedule.rowValues)  // copies: a failed read clears the handle
        if (const std::optional<std::string> text = ReadTextByHandle(value))
          sum += ReadDecimal(*text);
      AcDbHandle totalHandle = schedule.total;
      const std::optional<std::string> total = ReadTextByHandle(totalHandle);
      if (!total) {
        brokenFooter(schedule.total, schedule.triangleForm ? "sum" : "total", "is missing");
        continue;
      }
      const int digits = DecimalsOf(*total);
      RoundValue(digits, schedule.rounding, sum);
      const std::string expected = FormatValue(digits, sum);
      auditFooterText(schedule.total, schedule.triangleForm ? "sum" : "total", expected, "rows");
      if (!schedule.triangleForm) continue;
      const std::string half = HalfOfSum(expected, digits, schedule.rounding);
      auditFooterText(schedule.half, "half", half, "sum");
      auditFooterText(schedule.landArea, "land area", half, "sum");
    }
  }

  void auditFooterText(const AcDbHandle& footer, const char* subject, const std::string& expected,
                       const char* source) {
    AcDbHandle handle = footer;
    const std::optional<std::string> text = ReadTextByHandle(handle);
    if (!text) {
      brokenFooter(footer, subject, "is missing");
      return;
    }
    if (*text == expected) return;
    AuditFinding& finding = add({}, kScheduleShape, footer, subject);
    finding.shows = *text;
    finding.expected = expected;
    finding.source = source;
    finding.mendable = true;
    if (m_mending && SetTextByHandle(handle, expected)) ++m_mended;
  }

  void brokenFooter(const AcDbHandle& handle, const char* subject, const char* problem) {
    add({}, kScheduleShape, handle, subject).problem = problem;
  }

  // Marks that no record lists: noted, and a finding when their value list is not one that the
  // schedule could read for their shape.
  bool auditUnlinkedMarks() {
    std::vector<MarkEntry> entries = ReadMarks(AllMarks(), false);
    if (!LinkMarksToRecords(entries, false)) return false;
    for (const MarkEntry& entry : entries) {
      if (entry.linked()) continue;
      AuditFinding note{
          entry.number, ShapeNameOf(entry.kind),    HandleText(entry.markId), "mark", {}, {},
          {},           "is not linked to a figure"};
      m_report.unlinked.push_back(note);
      if (!ValueListFitsShape(entry.kind, entry.valueList)) {
        note.subject = "value list";
        note.problem = "\"" + entry.valueList + "\" is not a value list of its shape";
        m_report.findings.push_back(note);
      }
    }
    return true;
  }

  // Both forms count: "( v1 ... area )" as the figure commands write it and "(v1 ... area)" as
  // the copy completion writes it.
  static bool ValueListFitsShape(int shapeCode, const std::string& valueList) {
    if (valueList.size() < 2 || valueList.front() != '(' || valueList.back() != ')') return false;
    std::vector<std::string> values;
    for (std::string& token : SplitTokens(valueList.substr(1, valueList.size() - 2), ' '))
      if (!token.empty()) values.push_back(std::move(token));
    for (const std::string& value : values)
      if (!IsNumber(value)) return false;
    if (values.empty()) return false;
    const std::string area = values.back();
    values.pop_back();
    return ComposeFormula(shapeCode, ComposeValueList(values, area)).has_value();
  }

  AuditFinding& add(const std::string& label, const std::string& shape, const AcDbHandle& handle,
                    const char* subject) {
    AuditFinding& finding = m_report.findings.emplace_back();
    finding.label = label;
    finding.shape = shape;
    finding.handle = HandleText(handle);
    finding.subject = subject;
    return finding;
  }

  AuditFinding& broken(const Figure& figure, const AcDbHandle& handle, const char* subject,
                       const std::string& problem) {
    AuditFinding& finding =
        add(figure.mark.label, ShapeNameOf(figure.shape->kind.shapeCode), handle, subject);
    finding.problem = problem;
    return finding;
  }

  void outOfStep(const Figure& figure, const AcDbHandle& handle, const char* subject,
                 const std::string& shows, const std::string& expected, const char* source) {
    AuditFinding& finding =
        add(figure.mark.label, ShapeNameOf(figure.shape->kind.shapeCode), handle, subject);
    finding.shows = shows;
    finding.expected = expected;
    finding.source = source;
    finding.mendable = true;
  }

  struct Unlinking {
    const FigureKindInfo* kind;
    std::string key;
    LinkedRecord record;
  };

  bool m_mending;
  int m_mended = 0;
  std::vector<Unlinking> m_unlinking;
  AuditReport m_report;
  GroupIndex m_groups;
  std::map<std::string, Schedule> m_schedules;
};

class AuditService : public DrawingAuditService {
 public:
  std::optional<AuditReport> audit() const override { return AuditDrawing(); }
  std::optional<int> mend() const override { return MendDrawing(); }
};

AuditService& Service() {
  static AuditService service;
  return service;
}

}  // namespace

std::optional<AuditReport> AuditDrawing() {
  Auditor auditor(false);
  if (!auditor.run()) return std::nullopt;
  return auditor.report();
}

std::optional<int> MendDrawing() {
  Auditor auditor(true);
  if (!auditor.run()) return std::nullopt;
  return auditor.mended();
}

void RegisterDrawingAuditService() {
  acrxSysRegistry()->atPut(kDrawingAuditServiceName, &Service());
}

void RemoveDrawingAuditService() {
  if (acrxSysRegistry()->at(kDrawingAuditServiceName) == &Service())
    acrxSysRegistry()->remove(kDrawingAuditServiceName);
}

}  // namespace area
