#include "files/dxf_file.h"

#include <algorithm>
#include <climits>

#include "files/dxf_binary.h"
#include "files/dxf_encoding.h"
#include "files/dxf_reader.h"
#include "files/dxf_recover.h"
#include "platform/transcript.h"

namespace tessera::files {
namespace {

// The stages of reading before the drawing is built, in order.
enum class Stage { kText, kTags, kSections, kHandles };

struct Failure {
  Stage stage;
  DxfProblem problem;
};

// What the first stages make of the file, for the build.
struct Prepared {
  std::string text;
  DxfTagTexts mended;
  std::vector<DxfTag> tags;
  std::vector<DxfSection> sections;
  DxfHandles handles;
};

std::optional<Failure> SplitAndCollect(Prepared& out, DxfRepairs* repairs) {
  out.sections.clear();
  if (auto problem = SplitDxfSections(out.tags, out.sections)) {
    if (repairs == nullptr) return Failure{Stage::kSections, *problem};
    out.tags = RecoverDxfSections(out.tags, *repairs);
    out.sections.clear();
    if (auto again = SplitDxfSections(out.tags, out.sections))
      return Failure{Stage::kSections, *again};
  }
  if (out.sections.empty())  // nothing of a drawing is in the file
    return Failure{Stage::kSections, {1, "the file has no SECTION"}};
  out.handles.clear();
  if (auto problem = CollectDxfHandles(out.sections, out.handles)) {
    if (repairs == nullptr) return Failure{Stage::kHandles, *problem};
    std::vector<DxfTag> kept = RecoverDxfHandles(out.tags, out.sections, *repairs);
    out.tags = std::move(kept);
    out.sections.clear();
    out.handles.clear();
    if (auto again = SplitDxfSections(out.tags, out.sections))
      return Failure{Stage::kSections, *again};
    if (auto again = CollectDxfHandles(out.sections, out.handles))
      return Failure{Stage::kHandles, *again};
  }
  return std::nullopt;
}

// The stages before the build; the recover road when `repairs` is given.
std::optional<Failure> Prepare(std::string_view source, Prepared& out, DxfRepairs* repairs) {
  if (auto problem = DxfTextAsUtf8(source, out.text)) {
    if (repairs == nullptr) return Failure{Stage::kText, *problem};
    RecoverDxfText(source, out.text, *repairs);
  }
  out.tags.clear();
  auto problem = repairs ? RecoverDxfTags(out.text, out.tags, out.mended, *repairs)
                         : ReadDxfTags(out.text, out.tags);
  if (problem) return Failure{Stage::kTags, *problem};
  return SplitAndCollect(out, repairs);
}

// Where a problem is: the line of a text file, the byte of a binary one.
std::string ByteOf(int line, const std::vector<std::size_t>& tagOffsets) {
  auto tag = static_cast<std::size_t>(std::max(line - 1, 0)) / 2;
  return "byte " + std::to_string(tag < tagOffsets.size() ? tagOffsets[tag] : tagOffsets.back());
}

std::string Placed(const DxfProblem& problem, const std::vector<std::size_t>& tagOffsets) {
  if (problem.line <= 0) return " " + problem.message;
  if (tagOffsets.empty()) return std::to_string(problem.line) + ": " + problem.message;
  // A binary file has no lines: "(line 12)" in the message names the byte of that tag too.
  std::string message = problem.message;
  constexpr std::string_view kLineMention = "(line ";
  for (std::size_t at = message.find(kLineMention); at != std::string::npos;
       at = message.find(kLineMention, at + 1)) {
    std::size_t end = message.find(')', at);
    if (end == std::string::npos) break;
    std::int64_t line = 0;
    if (!ParseDxfInteger(std::string_view(message).substr(at + kLineMention.size(),
                                                          end - at - kLineMention.size()),
                         line))
      continue;
    message.replace(at + 1, end - at - 1, ByteOf(static_cast<int>(line), tagOffsets));
  }
  return ByteOf(problem.line, tagOffsets) + ": " + message;
}

}  // namespace

std::optional<std::string> ReadDxfFile(std::string_view bytes, AcDbDatabase* database,
                                       std::vector<std::string>& repairs) {
  std::string binaryText;
  std::vector<std::size_t> tagOffsets;
  std::string_view source = bytes;
  if (IsBinaryDxf(bytes)) {
    if (auto problem = BinaryDxfAsText(bytes, binaryText, tagOffsets))
      return Placed(*problem, tagOffsets);
    source = binaryText;
  }
  Prepared prepared;
  DxfRepairs mended;
  if (auto strict = Prepare(source, prepared, nullptr)) {
    prepared = Prepared();
    if (auto failed = Prepare(source, prepared, &mended)) {
      // Text that had to be mended and still is no DXF was most likely never DXF text; a
      // recover road that got no further than the strict one has nothing better to say.
      bool strictSays = strict->stage == Stage::kText || failed->stage <= strict->stage;
      return Placed(strictSays ? strict->problem : failed->problem, tagOffsets);
    }
  }
  if (auto problem = BuildDxfDrawing(prepared.sections, prepared.handles, database, mended))
    return Placed(*problem, tagOffsets);
  // In the order of the file; mends of the drawing as a whole come last.
  std::stable_sort(mended.begin(), mended.end(), [](const DxfProblem& a, const DxfProblem& b) {
    return (a.line > 0 ? a.line : INT_MAX) < (b.line > 0 ? b.line : INT_MAX);
  });
  repairs.clear();
  for (const DxfProblem& repair : mended) repairs.push_back(Placed(repair, tagOffsets));
  return std::nullopt;
}

bool OpenDxfFile(const std::string& path, std::string_view bytes, AcDbDatabase* database,
                 std::string& error) {
  std::vector<std::string> repairs;
  if (auto problem = ReadDxfFile(bytes, database, repairs)) {
    error = path + ":" + *problem;
    return false;
  }
  if (repairs.empty()) return true;
  Transcript& transcript = Transcript::instance();
  for (const std::string& repair : repairs) transcript.write("\n" + path + ":" + repair);
  const std::string count = std::to_string(repairs.size());
  transcript.write("\n" + path + ": " + count + (repairs.size() == 1 ? " error" : " errors") +
                   " found, " + count + " fixed\n");
  return true;
}

}  // namespace tessera::files
