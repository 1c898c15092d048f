#include "files/dxf_structure.h"

#include <cctype>
#include <charconv>
#include <unordered_map>

#include "files/dxf_layout.h"

namespace tessera::files {
namespace {

constexpr int kCommentCode = 999;
constexpr int kHexBase = 16;
constexpr int kDimensionStyleHandleCode = 105;
// Handles above this are refused: the drawing's next free handle must stay representable.
constexpr std::uint64_t kLargestHandle = std::uint64_t{1} << 62;

bool IsHex(std::string_view text) {
  if (text.empty() || text.size() > 16) return false;
  for (char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string_view Trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The handle a handle value names (blanks around it allowed), or why it names none.
std::optional<std::string> DxfHandleProblem(std::string_view value, AcDbHandle& handle) {
  handle = AcDbHandle();
  const std::string_view text = Trimmed(value);
  std::uint64_t number = 0;
  if (!IsHex(text) ||
      std::from_chars(text.data(), text.data() + text.size(), number, kHexBase).ec != std::errc())
    return "\"" + std::string(value) + "\" is not a handle";
  if (number >= kLargestHandle) return "handle " + std::string(text) + " is too large";
  handle = AcDbHandle(number);
  return std::nullopt;
}

// Where a record kept as its tags is written back.
enum class KeptRecordPlace { kClasses, kSection, kTableStart, kTable };

// Why a kept record ("0" tag first) would not be read back where it is written (CLASSES entries
// have no handle to read); `handle` is its own handle, null when it has none.
std::optional<std::string> KeptRecordProblem(const RawTags& record, KeptRecordPlace place,
                                             AcDbHandle& handle) {
  handle = AcDbHandle();
  if (record.empty() || record.front().first != 0) return "a kept record has no name";
  const std::string& name = record.front().second;
  const bool inTable = place == KeptRecordPlace::kTable || place == KeptRecordPlace::kTableStart;
  // The tag reader takes an end of file with blanks around it as the end as well.
  if (name == "SECTION" || name == "ENDSEC" || Trimmed(name) == "EOF" ||
      (inTable && name == "ENDTAB") ||
      (inTable && name == "TABLE" && place != KeptRecordPlace::kTableStart))
    return "a kept record is named " + name;
  if (place == KeptRecordPlace::kClasses) return std::nullopt;
  const int handleCode = name == "DIMSTYLE" ? kDimensionStyleHandleCode : AcDb::kDxfHandle;
  for (auto tag = record.begin() + 1; tag != record.end() && tag->first != AcDb::kDxfSubclass;
       ++tag)
    if (tag->first == handleCode) return DxfHandleProblem(tag->second, handle);
  return std::nullopt;
}

}  // namespace

const DxfTag* DxfRecord::leading(int code) const {
  for (const DxfTag* tag = data(); tag != end; ++tag) {
    if (tag->code == AcDb::kDxfSubclass) return nullptr;
    if (tag->code == code) return tag;
  }
  return nullptr;
}

const DxfTag* DxfRecord::find(int code) const {
  for (const DxfTag* tag = data(); tag != end; ++tag)
    if (tag->code == code) return tag;
  return nullptr;
}

RawTags DxfRecord::raw(const DxfTag* skip) const {
  RawTags tags;
  tags.reserve(static_cast<std::size_t>(end - data()));
  for (const DxfTag* tag = data(); tag != end; ++tag)
    if (tag != skip) tags.emplace_back(tag->code, tag->value);
  return tags;
}

std::optional<DxfProblem> SplitDxfSections(const std::vector<DxfTag>& tags,
                                           std::vector<DxfSection>& sections) {
  const DxfTag* tag = tags.data();
  const DxfTag* end = tags.data() + tags.size();
  int lastLine = tags.empty() ? 1 : tags.back().line + 1;
  while (tag != end) {
    if (tag->code == kCommentCode) {
      ++tag;
      continue;
    }
    if (tag->code == 0 && tag->value == "EOF") return std::nullopt;
    if (tag->code != 0 || tag->value != "SECTION")
      return DxfProblem{tag->line, "a SECTION was expected here, not group " +
                                       std::to_string(tag->code) + " \"" + std::string(tag->value) +
                                       "\""};
    if (tag + 1 == end || tag[1].code != AcDb::kDxfBlockName)
      return DxfProblem{tag->line, "the SECTION has no name (group 2)"};
    DxfSection section{std::string(tag[1].value), tag->line, tag + 2, nullptr, {}};
    // One walk finds the section's end and its records: a record is a "0" tag and the tags up to
    // the next one; tags before the first record belong to none.
    const DxfTag* close = tag + 2;
    for (; close != end; ++close) {
      if (close->code != 0) continue;
      if (close->value == "ENDSEC") break;
      if (close->value == "SECTION" || close->value == "EOF")
        return DxfProblem{close->line, "section " + section.name + " (line " +
                                           std::to_string(section.line) + ") has no ENDSEC"};
      if (!section.records.empty()) section.records.back().end = close;
      section.records.push_back(DxfRecord{close, nullptr});
    }
    if (close == end)
      return DxfProblem{lastLine, "the file ends inside section " + section.name + " (line " +
                                      std::to_string(section.line) + "): it is cut short"};
    section.end = close;
    if (!section.records.empty()) section.records.back().end = close;
    sections.push_back(std::move(section));
    tag = close + 1;
  }
  return DxfProblem{lastLine, "the file ends without EOF: it is cut short"};
}

std::optional<DxfProblem> RecordHandle(const DxfRecord& record, AcDbHandle& handle) {
  handle = AcDbHandle();
  const DxfTag* tag =
      record.leading(record.name() == "DIMSTYLE" ? kDimensionStyleHandleCode : AcDb::kDxfHandle);
  if (tag == nullptr) return std::nullopt;
  if (auto problem = DxfHandleProblem(tag->value, handle)) return DxfProblem{tag->line, *problem};
  return std::nullopt;
}

std::optional<std::string> KeptDxfPartProblem(const std::string& key,
                                              const std::vector<RawTags>& records,
                                              std::vector<std::uint64_t>& handles) {
  const auto startsWith = [&](const char* prefix) { return key.rfind(prefix, 0) == 0; };
  AcDbHandle handle;
  if (key == preserved::kBlockEnds) {
    // A block's BLOCK and ENDBLK records.
    for (const RawTags& record : records)
      for (const auto& [code, value] : record) {
        if (code != AcDb::kDxfHandle) continue;
        if (auto problem = DxfHandleProblem(value, handle)) return problem;
        handles.push_back(handle.value());
      }
    return std::nullopt;
  }
  const bool table = startsWith(preserved::kTablePrefix);
  if (!table && !startsWith(preserved::kSectionPrefix) && key != preserved::kClasses)
    return std::nullopt;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const KeptRecordPlace place = key == preserved::kClasses ? KeptRecordPlace::kClasses
                                  : !table                   ? KeptRecordPlace::kSection
                                  : i == 0                   ? KeptRecordPlace::kTableStart
                                                             : KeptRecordPlace::kTable;
    if (auto problem = KeptRecordProblem(records[i], place, handle)) return problem;
    if (!handle.isNull()) handles.push_back(handle.value());
  }
  return std::nullopt;
}

}  // namespace tessera::files

namespace tessera::files {

std::optional<DxfProblem> CollectDxfHandles(const std::vector<DxfSection>& sections,
                                            DxfHandles& handles, std::vector<const DxfTag*>* wrong,
                                            DxfRepairs* repairs) {
  std::unordered_map<std::uint64_t, int> seen;
  std::size_t records = 0;
  for (const DxfSection& section : sections) records += section.records.size();
  seen.reserve(records);
  handles.reserve(records);
  for (const DxfSection& section : sections) {
    if (section.name == "HEADER" || section.name == "CLASSES") continue;
    for (const DxfRecord& record : section.records) {
      AcDbHandle handle;
      std::optional<DxfProblem> problem = RecordHandle(record, handle);
      if (!problem && !handle.isNull()) {
        auto [first, fresh] = seen.emplace(handle.value(), record.line());
        if (fresh) handles.emplace_back(record.begin, handle);
        if (!fresh)
          problem = DxfProblem{
              record.line(), "handle " + handle.text() + " of this " + std::string(record.name()) +
                                 " is used already (line " + std::to_string(first->second) + ")"};
      }
      if (!problem) continue;
      if (wrong == nullptr) return problem;
      wrong->push_back(record.leading(record.name() == "DIMSTYLE" ? kDimensionStyleHandleCode
                                                                  : AcDb::kDxfHandle));
      problem->message += ": the " + std::string(record.name()) + " gets a new handle";
      repairs->push_back(*problem);
    }
  }
  return std::nullopt;
}

}  // namespace tessera::files
