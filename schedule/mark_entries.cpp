// Selecting, reading, linking, choosing and sorting the marks of a schedule or an export.
#include "schedule/mark_entries.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "common/marks.h"
#include "common/value_format.h"
#include "records/figure_dictionaries.h"
#include "records/figure_records.h"
#include "schedule/mark_order.h"
#include "schedule/table_layout.h"

namespace area {
namespace {

// Room for the answer of the keyword prompt.
constexpr std::size_t kKeywordAnswerSize = 32;

// Group code of a block name in a selection filter.
constexpr int kFilterBlockName = 2;

// Selection mode of every entity of the drawing.
constexpr const char* kSelectAllMode = "X";

struct IteratorDeleter {
  void operator()(AcDbObjectIterator* iterator) const { delete iterator; }
  void operator()(AcDbDictionaryIterator* iterator) const { delete iterator; }
};

// The members of a selection set that open and are block references, in set order; empty when
// a member does not open.
std::vector<AcDbObjectId> BlockReferencesIn(const ads_name selection) {
  std::int32_t length = 0;
  if (acedSSLength(selection, &length) != RTNORM) return {};
  std::vector<AcDbObjectId> ids;
  for (std::int32_t i = 0; i < length; ++i) {
    ads_name name;
    AcDbObjectId id;
    AcDbEntity* entity = nullptr;
    if (acedSSName(selection, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk ||
        acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
      return {};
    if (AcDbBlockReference::cast(entity) != nullptr) ids.push_back(id);
    entity->close();
  }
  return ids;
}

// The selection filter of marks: (0 . "INSERT") (2 . "AREA1"); the caller releases it.
resbuf* MarkFilter() {
  return acutBuildList(RTDXF0, "INSERT", kFilterBlockName, kMarkBlockName, RTNONE);
}

// The block references a selection mode gives with the mark filter; empty when it gives none.
std::vector<AcDbObjectId> SelectWithMarkFilter(const char* mode) {
  resbuf* filter = MarkFilter();
  ads_name selection;
  const int status = acedSSGet(mode, nullptr, nullptr, filter, selection);
  acutRelRb(filter);
  if (status != RTNORM) return {};
  std::vector<AcDbObjectId> ids = BlockReferencesIn(selection);
  acedSSFree(selection);
  return ids;
}

// What one attribute does to the entry being read; false rejects the mark.
bool ApplyAttribute(const std::string& tag, const std::string& text, bool trianglesOnly,
                    MarkEntry& entry) {
  const bool known = tag == kLabelShortTag || tag == kLabelLongTag || tag == kShapeCodeTag ||
                     tag == kValueListTag || tag == kSignTag;
  if (!known) return false;
  if (text.empty()) return true;
  if (tag == kShapeCodeTag) {
    entry.kind = static_cast<int>(std::clamp<long long>(ReadInteger(text), INT_MIN, INT_MAX));
    return !trianglesOnly || entry.kind == kShapeTriangle;
  }
  if (tag == kValueListTag)
    entry.valueList = text;
  else if (tag == kSignTag)
    entry.sign = text;
  else
    entry.number = text;
  return true;
}

// Reads the attributes of an open block reference into entry; false when the mark is rejected
// or has no attributes to iterate.
bool ReadAttributes(AcDbBlockReference* reference, bool trianglesOnly, MarkEntry& entry) {
  std::unique_ptr<AcDbObjectIterator, IteratorDeleter> iterator(reference->attributeIterator());
  if (iterator == nullptr) return false;
  for (iterator->start(); !iterator->done(); iterator->step()) {
    AcDbAttribute* attribute = nullptr;
    if (reference->openAttribute(attribute, iterator->objectId(), AcDb::kForRead) != Acad::eOk)
      continue;
    const std::string tag = attribute->tag();
    const std::string text = attribute->textString();
    attribute->close();
    if (!ApplyAttribute(tag, text, trianglesOnly, entry)) return false;
  }
  return true;
}

// Reads one mark; false when it does not open, is not exactly a block reference (a kind derived
// from it has other contents) or is rejected.
bool ReadMark(AcDbObjectId id, bool trianglesOnly, MarkEntry& entry) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return false;
  bool accepted = false;
  if (entity->isA() == AcDbBlockReference::desc())
    accepted = ReadAttributes(static_cast<AcDbBlockReference*>(entity), trianglesOnly, entry);
  entity->close();
  entry.markId = id;
  return accepted;
}

using MarkIndex = std::unordered_map<std::uint64_t, std::size_t>;

// Each mark handle to the first entry that has it.
MarkIndex IndexMarks(const std::vector<MarkEntry>& entries) {
  MarkIndex index;
  for (std::size_t i = 0; i < entries.size(); ++i)
    index.emplace(entries[i].markId.handle().value(), i);
  return index;
}

// The mark handle of a figure record, or the null handle when the object is no figure record
// or does not open.
AcDbHandle RecordMarkHandle(AcDbObjectId recordId) {
  AcDbObject* object = nullptr;
  AcDbHandle handle;
  if (acdbOpenAcDbObject(object, recordId, AcDb::kForRead) != Acad::eOk) return handle;
  if (const FigureRecord* record = FigureRecord::cast(object)) record->markHandle(handle);
  object->close();
  return handle;
}

// Links the entries to the records of one figure dictionary; a missing dictionary has none.
bool LinkDictionary(AcDbDictionary* named, const char* name, const MarkIndex& index,
                    std::vector<MarkEntry>& entries) {
  AcDbObject* object = nullptr;
  if (named->getAt(name, object, AcDb::kForRead) != Acad::eOk) return true;
  AcDbDictionary* dictionary = AcDbDictionary::cast(object);
  std::unique_ptr<AcDbDictionaryIterator, IteratorDeleter> iterator(
      dictionary ? dictionary->newIterator() : nullptr);
  object->close();
  if (dictionary == nullptr) return true;
  if (iterator == nullptr) return false;
  for (; !iterator->done(); iterator->next()) {
    const AcDbHandle mark = RecordMarkHandle(iterator->objectId());
    if (mark.isNull()) continue;
    const auto found = index.find(mark.value());
    if (found != index.end()) entries[found->second].recordId = iterator->objectId();
  }
  return true;
}

// (number kind value-list sign) of one entry.
resbuf* EntrySublist(const MarkEntry& entry) {
  const int kind = std::clamp(entry.kind, SHRT_MIN, SHRT_MAX);
  return acutBuildList(RTLB, RTSTR, entry.number.c_str(), RTSHORT, kind, RTSTR,
                       entry.valueList.c_str(), RTSTR, entry.sign.c_str(), RTLE, RTNONE);
}

// Appends `chain` after `tail` and gives the new last element; null (appending nothing) when
// the chain could not be made.
resbuf* Append(resbuf* tail, resbuf* chain) {
  if (chain == nullptr) return nullptr;
  tail->rbnext = chain;
  while (tail->rbnext != nullptr) tail = tail->rbnext;
  return tail;
}

}  // namespace

std::optional<TableSettings> TableSettingsArgument() {
  const resbuf* args = acedGetArgs();
  if (args == nullptr) {
    acutPrintf("%s", kArgumentMissing);
    return std::nullopt;
  }
  if (args->restype != RTSTR || args->resval.rstring == nullptr) {
    acutPrintf("%s", kArgumentWrongType);
    return std::nullopt;
  }
  return ParseTableSettings(args->resval.rstring);
}

std::vector<AcDbObjectId> SelectMarks() {
  acutPrintf("%s", kSelectMarksPrompt);
  return SelectWithMarkFilter(nullptr);
}

std::vector<AcDbObjectId> AllMarks() {
  return SelectWithMarkFilter(kSelectAllMode);
}

std::vector<MarkEntry> ReadMarks(const std::vector<AcDbObjectId>& markIds, bool trianglesOnly) {
  std::vector<MarkEntry> entries;
  for (AcDbObjectId id : markIds) {
    MarkEntry entry;
    if (ReadMark(id, trianglesOnly, entry)) entries.push_back(std::move(entry));
  }
  return entries;
}

bool LinkMarksToRecords(std::vector<MarkEntry>& entries, bool trianglesOnly) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* named = nullptr;
  if (database == nullptr ||
      database->getNamedObjectsDictionary(named, AcDb::kForRead) != Acad::eOk)
    return false;
  const MarkIndex index = IndexMarks(entries);
  bool linked = true;
  for (const char* name : kFigureDictionaries) {
    if (trianglesOnly && std::string_view(name) != kDictTriangle) continue;
    if (!LinkDictionary(named, name, index, entries)) {
      linked = false;
      break;
    }
  }
  named->close();
  return linked;
}

int CountLinked(const std::vector<MarkEntry>& entries) {
  return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                        [](const MarkEntry& entry) { return entry.linked(); }));
}

FigureChoice AskFigureKind() {
  acedInitGet(0, kFigureKindKeywords);
  char answer[kKeywordAnswerSize] = "";
  const int status = acedGetKword(kFigureKindPrompt, answer, sizeof answer);
  if (status == RTNONE) return FigureChoice::kLinked;
  if (status != RTNORM) return FigureChoice::kCancelled;
  const std::string keyword = answer;
  return keyword.empty() || keyword == kLinkedKeyword ? FigureChoice::kLinked
                                                      : FigureChoice::kUnlinked;
}

FigureChoice ChooseFigures(const std::vector<MarkEntry>& entries, const char* onlyUnlinkedMessage) {
  const int linked = CountLinked(entries);
  if (linked == static_cast<int>(entries.size())) return FigureChoice::kLinked;
  if (linked == 0) {
    acutPrintf("%s", onlyUnlinkedMessage);
    return FigureChoice::kUnlinked;
  }
  acutPrintf("%s", kUnlinkedIncluded);
  return AskFigureKind();
}

void SortMarkEntries(std::vector<MarkEntry>& entries, int sortMode) {
  SortMarks(entries, sortMode,
            [](const MarkEntry& entry) -> const std::string& { return entry.number; });
}

int KeepFigureKind(std::vector<MarkEntry>& entries, bool linked) {
  return static_cast<int>(std::erase_if(
      entries, [linked](const MarkEntry& entry) { return entry.linked() != linked; }));
}

std::optional<int> KeepChosenFigures(std::vector<MarkEntry>& entries, bool linked) {
  const int removed = KeepFigureKind(entries, linked);
  if (!entries.empty()) return removed;
  acutPrintf("%s", kNoValidFigures);
  return std::nullopt;
}

void ReportFilteredOut(int removed, bool keptLinked) {
  if (removed > 0) acutPrintf(keptLinked ? kUnlinkedFilteredOut : kLinkedFilteredOut, removed);
}

MarkPick PickMarks(const TableSettings& settings, const char* onlyUnlinkedMessage,
                   std::vector<MarkEntry>& entries) {
  const bool trianglesOnly = TableFormOf(settings.tableForm) == TableForm::kTriangle;
  const std::vector<AcDbObjectId> marks = SelectMarks();
  if (marks.empty()) return MarkPick::kNothingSelected;
  entries = ReadMarks(marks, trianglesOnly);
  if (entries.empty()) {
    acutPrintf("%s", kNoValidFigures);
    return MarkPick::kNoValidMark;
  }
  if (!LinkMarksToRecords(entries, trianglesOnly)) return MarkPick::kLinkFailed;
  const FigureChoice choice = ChooseFigures(entries, onlyUnlinkedMessage);
  if (choice == FigureChoice::kCancelled) return MarkPick::kCancelled;
  SortMarkEntries(entries, settings.tableSort);
  return choice == FigureChoice::kLinked ? MarkPick::kLinked : MarkPick::kUnlinked;
}

resbuf* MarkEntryList(const std::vector<MarkEntry>& entries) {
  if (entries.empty()) return nullptr;
  resbuf* head = acutBuildList(RTLB, RTNONE);
  resbuf* tail = head;
  for (auto entry = entries.begin(); tail != nullptr && entry != entries.end(); ++entry)
    tail = Append(tail, EntrySublist(*entry));
  if (tail != nullptr) tail = Append(tail, acutBuildList(RTLE, RTNONE));
  if (tail == nullptr) {
    acutRelRb(head);
    return nullptr;
  }
  return head;
}

}  // namespace area
