#include "files/dxf_recover.h"

#include <algorithm>
#include <string>

namespace tessera::files {
namespace {

constexpr int kVariableCode = 9;

bool Is(const DxfTag& tag, std::string_view name) {
  return tag.code == 0 && tag.value == name;
}

std::string Described(const DxfTag& tag) {
  return "group " + std::to_string(tag.code) + " \"" + std::string(tag.value) + "\"";
}

// Sections as they are mended, each from its SECTION tag to its ENDSEC.
class SectionMender {
 public:
  explicit SectionMender(DxfRepairs& repairs) : m_repairs(repairs) {}
  std::vector<DxfTag> mend(const std::vector<DxfTag>& tags);

 private:
  // Tags outside any section from `i`: a header variable is kept for HEADER; anything else up
  // to the next record or variable is dropped. Returns the index after them.
  std::size_t outside(const std::vector<DxfTag>& tags, std::size_t i);
  void close(int line, const char* why);
  std::vector<DxfTag> joined(int endLine);

  DxfRepairs& m_repairs;
  std::vector<std::vector<DxfTag>> m_sections;
  std::vector<DxfTag> m_strayHeader;
  bool m_open = false;
};

std::size_t SectionMender::outside(const std::vector<DxfTag>& tags, std::size_t i) {
  std::size_t end = i + 1;
  while (end < tags.size() && tags[end].code != 0 && tags[end].code != kVariableCode) ++end;
  if (tags[i].code == kVariableCode) {
    m_repairs.push_back({tags[i].line, "header variable " + std::string(tags[i].value) +
                                           " is outside the HEADER section: moved there"});
    m_strayHeader.insert(m_strayHeader.end(), tags.begin() + static_cast<std::ptrdiff_t>(i),
                         tags.begin() + static_cast<std::ptrdiff_t>(end));
  } else {
    m_repairs.push_back({tags[i].line, Described(tags[i]) + " is outside any section: " +
                                           std::to_string(end - i) + " tags dropped"});
  }
  return end;
}

void SectionMender::close(int line, const char* why) {
  const DxfTag& start = m_sections.back().front();
  const std::string name(m_sections.back().size() > 1 ? m_sections.back()[1].value : "");
  m_repairs.push_back({line, "section " + name + " (line " + std::to_string(start.line) +
                                 ") has no ENDSEC: closed " + why});
  m_sections.back().push_back({0, "ENDSEC", line});
  m_open = false;
}

std::vector<DxfTag> SectionMender::mend(const std::vector<DxfTag>& tags) {
  bool ended = false;
  std::size_t i = 0;
  while (i < tags.size() && !ended) {
    const DxfTag& tag = tags[i];
    if (m_open && (Is(tag, "SECTION") || Is(tag, "EOF"))) close(tag.line, "where the next starts");
    if (m_open) {
      m_sections.back().push_back(tag);
      m_open = !Is(tag, "ENDSEC");
      ++i;
    } else if (Is(tag, "SECTION") && i + 1 < tags.size() && tags[i + 1].code == 2) {
      m_sections.push_back({tag, tags[i + 1]});
      m_open = true;
      i += 2;
    } else if (Is(tag, "EOF")) {
      ended = true;
    } else if (tag.code == 999) {
      ++i;  // a comment belongs nowhere
    } else {
      i = outside(tags, i);
    }
  }
  const int endLine = tags.empty() ? 1 : tags.back().line + 2;
  if (m_open) close(endLine, "at the end of the file");
  if (!ended) m_repairs.push_back({endLine, "the file ends without EOF: the drawing ends there"});
  return joined(endLine);
}

// The sections in file order, with the stray header variables at the end of HEADER (a HEADER
// made first when the file has none).
std::vector<DxfTag> SectionMender::joined(int endLine) {
  if (!m_strayHeader.empty()) {
    auto header = std::find_if(m_sections.begin(), m_sections.end(), [](const auto& section) {
      return section.size() > 1 && section[1].value == "HEADER";
    });
    if (header == m_sections.end())
      header = m_sections.insert(m_sections.begin(),
                                 {{0, "SECTION", 1}, {2, "HEADER", 1}, {0, "ENDSEC", 1}});
    header->insert(header->end() - 1, m_strayHeader.begin(), m_strayHeader.end());
  }
  std::vector<DxfTag> out;
  for (auto& section : m_sections) out.insert(out.end(), section.begin(), section.end());
  out.push_back({0, "EOF", endLine});
  return out;
}

}  // namespace

std::optional<DxfProblem> RecoverDxfTags(std::string_view text, std::vector<DxfTag>& tags,
                                         DxfTagTexts& mended, DxfRepairs& repairs) {
  tags.clear();
  std::optional<DxfProblem> problem = ReadDxfTags(text, tags, &repairs, &mended);
  // Only a tag cut by the end of the file is mended: anything else is not DXF.
  if (!problem || problem->message.find("has no value line") == std::string::npos) return problem;
  repairs.push_back({problem->line, "the file ends inside a tag: the tag is dropped"});
  return std::nullopt;
}

std::vector<DxfTag> RecoverDxfSections(const std::vector<DxfTag>& tags, DxfRepairs& repairs) {
  return SectionMender(repairs).mend(tags);
}

std::vector<DxfTag> RecoverDxfHandles(const std::vector<DxfTag>& tags,
                                      const std::vector<DxfSection>& sections,
                                      DxfRepairs& repairs) {
  DxfHandles handles;
  std::vector<const DxfTag*> wrong;
  CollectDxfHandles(sections, handles, &wrong, &repairs);
  std::sort(wrong.begin(), wrong.end());
  std::vector<DxfTag> kept;
  kept.reserve(tags.size());
  for (const DxfTag& tag : tags)
    if (!std::binary_search(wrong.begin(), wrong.end(), &tag)) kept.push_back(tag);
  return kept;
}

}  // namespace tessera::files
