#include "files/dxf_tags.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace tessera::files {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD
// Group codes are written right-aligned in this many columns.
constexpr std::size_t kCodeColumns = 3;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Words of eight bytes for finding line feeds a word at a time.
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;   // 1 in every byte
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;  // the high bit of every byte
constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7FULL;
constexpr std::uint64_t kLineFeeds = kOnes * '\n';

// The first LF in [from, last), or last. A word at a time where the first byte of a word is
// its lowest: DXF lines are short, too short for a call to be worth it, too long for bytes.
const char* FindLineFeed(const char* from, const char* last) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; last - from >= static_cast<std::ptrdiff_t>(sizeof(std::uint64_t));
         from += sizeof(std::uint64_t)) {
      std::uint64_t word;
      std::memcpy(&word, from, sizeof word);
      const std::uint64_t zeroWhereLf = word ^ kLineFeeds;
      // Set in the first zero byte (and maybe in later ones, through a borrow): the lowest is
      // right.
      const std::uint64_t zeroBytes = (zeroWhereLf - kOnes) & ~zeroWhereLf & kHighs;
      if (zeroBytes != 0) return from + std::countr_zero(zeroBytes) / CHAR_BIT;
    }
  }
  while (from != last && *from != '\n') ++from;
  return from;
}

// Splits off the next line (without its LF or CRLF end); false at the end of the text.
bool NextLine(std::string_view& rest, std::string_view& line) {
  if (rest.empty()) return false;
  const char* const first = rest.data();
  const char* const last = first + rest.size();
  const char* const end = FindLineFeed(first, last);
  line = std::string_view(first, static_cast<std::size_t>(end - first));
  rest.remove_prefix(end == last ? rest.size() : line.size() + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

// A code line's group code. Most are blanks and then a few digits, read here directly; anything
// else (a sign, tabs, trailing blanks) is read as any DXF integer.
bool ParseGroupCode(std::string_view line, std::int64_t& code) {
  constexpr std::size_t kMostDigits = 4;  // the largest group code, 1071, has four
  constexpr std::int64_t kBase = 10;
  std::size_t at = 0;
  while (at < line.size() && line[at] == ' ') ++at;
  const std::size_t digitsFrom = at;
  std::int64_t value = 0;
  while (at < line.size() && at - digitsFrom < kMostDigits && line[at] >= '0' && line[at] <= '9')
    value = value * kBase + (line[at++] - '0');
  if (at > digitsFrom && at == line.size()) {
    code = value;
    return true;
  }
  return ParseDxfInteger(line, code);
}

// The number of LFs in `text`, counted a word at a time: a drawing's whole text is counted
// before its tags are read.
std::size_t LineFeeds(std::string_view text) {
  std::size_t count = 0;
  std::size_t at = 0;
  for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, sizeof word);
    const std::uint64_t zeroWhereLf = word ^ kLineFeeds;
    // The high bit set exactly in the bytes that are zero, with no borrow between bytes.
    const std::uint64_t zeroBytes = ~(((zeroWhereLf & kLows) + kLows) | zeroWhereLf | kLows);
    count += static_cast<std::size_t>(std::popcount(zeroBytes & kHighs));
  }
  return count + static_cast<std::size_t>(std::count(text.begin() + at, text.end(), '\n'));
}

std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  return "\"" + shown + "\"";
}

}  // namespace

std::optional<DxfProblem> ReadDxfTags(std::string_view text, std::vector<DxfTag>& tags,
                                      DxfRepairs* nulRepairs, DxfTagTexts* mended) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  std::string_view rest = text;
  tags.reserve(tags.size() + LineFeeds(text) / 2 + 1);
  std::string_view codeLine;
  std::string_view valueLine;
  int line = 0;
  while (NextLine(rest, codeLine)) {
    ++line;
    std::int64_t code = 0;
    if (rest.empty() && Trim(codeLine).empty()) break;  // a blank last line is no tag
    if (!ParseGroupCode(codeLine, code))
      return DxfProblem{line, "group code " + Quoted(codeLine) + " is not a number"};
    // A number that is no group code is a value line out of step.
    if (!IsDxfGroupCode(code))
      return DxfProblem{line, "there is no group code " + std::to_string(code)};
    if (!NextLine(rest, valueLine))
      return DxfProblem{line, "group code " + std::to_string(code) + " has no value line"};
    ++line;
    tags.push_back(DxfTag{static_cast<int>(code), valueLine, line - 1});
    // A NUL would end the text wherever a C string carries it.
    if (valueLine.find('\0') != std::string_view::npos) {
      if (nulRepairs == nullptr || mended == nullptr)
        return DxfProblem{line, "the value holds a NUL character"};
      std::string& value = mended->emplace_back(valueLine);
      for (std::size_t at = value.find('\0'); at != std::string::npos; at = value.find('\0', at))
        value.replace(at, 1, kReplacementCharacter);
      tags.back().value = value;
      nulRepairs->push_back({line, "a NUL character in the value is read as U+FFFD"});
    }
    // What follows the end of file (blank lines, a Ctrl-Z, padding) is not read, as other
    // readers do not read it; the end is the end with blanks around it too, for every stage.
    if (code == 0 && Trim(valueLine) == "EOF") {
      tags.back().value = "EOF";
      break;
    }
  }
  return std::nullopt;
}

namespace {

// Whole numbers below this are written from their integer: all exactly representable.
constexpr double kWholeLimit = 1e15;
constexpr std::string_view kPoint = ".0";

// A whole number's text as the shortest-form formatter would give it, when that is its fixed
// form: its digits and ".0". Coordinates in drawing units are often whole, and their digits
// cost a fraction of the shortest-form search. Null when the shortest form is another.
std::optional<std::string_view> WholeDxfReal(double value, DxfRealText& buffer) {
  if (!(std::fabs(value) < kWholeLimit) || value != std::trunc(value)) return std::nullopt;
  const auto whole = static_cast<std::int64_t>(value);
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), whole);
  const std::size_t sign = whole < 0 ? 1 : 0;
  const auto digits = static_cast<std::size_t>(end - buffer.data()) - sign;
  const char* first = buffer.data() + sign;
  std::size_t significant = digits;
  while (significant > 1 && first[significant - 1] == '0') --significant;
  // The scientific form: the significant digits, a point when more than one, "e+" and at least
  // two exponent digits (the exponent of a whole number below 1e15 has two).
  constexpr std::size_t kExponentColumns = 4;
  const std::size_t scientific = significant + (significant > 1 ? 1 : 0) + kExponentColumns;
  if (digits > scientific) return std::nullopt;  // on a tie the fixed form is taken
  std::copy(kPoint.begin(), kPoint.end(), end);
  return std::string_view(buffer.data(), sign + digits + kPoint.size());
}

}  // namespace

std::string_view FormatDxfReal(double value, DxfRealText& buffer) {
  if (!std::isfinite(value)) value = 0.0;  // no DXF reader takes "nan" or "inf"
  if (value == 0.0) value = 0.0;           // no "-0.0"
  if (auto whole = WholeDxfReal(value, buffer)) return *whole;
  auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size() - kPoint.size(), value);
  if (error != std::errc()) return "0.0";
  std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  if (text.find_first_of(".e") != std::string_view::npos) return text;
  std::copy(kPoint.begin(), kPoint.end(), end);
  return {buffer.data(), text.size() + kPoint.size()};
}

std::string FormatDxfReal(double value) {
  DxfRealText buffer;
  return std::string(FormatDxfReal(value, buffer));
}

bool ParseDxfReal(std::string_view text, double& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool ParseDxfInteger(std::string_view text, std::int64_t& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

namespace {

// Whether the bytes hold a line break, eight at a time (the last few in a word padded with
// zeros): a byte equal to one makes a zero byte of the word xor-ed with it, which the borrow of
// subtracting one from each byte shows.
bool HasLineBreak(const char* text, std::size_t size) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  const auto breaks = [](std::uint64_t word) {
    const std::uint64_t lf = word ^ (kOnes * '\n');
    const std::uint64_t cr = word ^ (kOnes * '\r');
    return (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighBits;
  };
  for (std::size_t i = 0; i < size; i += sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, text + i, std::min(sizeof word, size - i));
    if (breaks(word) != 0) return true;
  }
  return false;
}

// Line breaks in a value would end its line early: they are written as spaces.
void BlankLineBreaks(char* text, std::size_t size) {
  if (!HasLineBreak(text, size)) return;  // nearly every value
  for (std::size_t i = 0; i < size; ++i)
    if (text[i] == '\n' || text[i] == '\r') text[i] = ' ';
}

// Room for any group code's line: an int's digits and sign, right-aligned, and the line break.
constexpr std::size_t kCodeLineBytes = kCodeColumns + 12 + 1;

// Puts the code's line, right-aligned in its columns, at `line`; returns its length.
std::size_t FormatCodeLine(int code, char* line) {
  char* end = std::to_chars(line, line + kCodeLineBytes - 1, code).ptr;
  auto size = static_cast<std::size_t>(end - line);
  if (size < kCodeColumns) {
    std::memmove(line + kCodeColumns - size, line, size);
    std::memset(line, ' ', kCodeColumns - size);
    size = kCodeColumns;
  }
  line[size] = '\n';
  return size + 1;
}

// Every group code's line, made once: a save writes millions.
struct CodeLine {
  std::array<char, kCodeLineBytes> text{};
  std::size_t size = 0;
};
const auto kCodeLines = [] {
  std::array<CodeLine, kMaxGroupCode + 1> lines{};
  for (std::size_t code = 0; code < lines.size(); ++code)
    lines[code].size = FormatCodeLine(static_cast<int>(code), lines[code].text.data());
  return lines;
}();

std::size_t PutCodeLine(int code, char* line) {
  if (code < 0 || code > kMaxGroupCode) return FormatCodeLine(code, line);
  const CodeLine& known = kCodeLines[static_cast<std::size_t>(code)];
  std::memcpy(line, known.text.data(), known.text.size());
  return known.size;
}

// Values up to this many bytes, nearly all, go out with their code in one append.
constexpr std::size_t kShortValueBytes = 64;

}  // namespace

void AppendDxfTag(std::string& out, int code, std::string_view value) {
  // The tag is put together on the stack and appended at once: a save appends every tag here.
  char line[kCodeLineBytes + kShortValueBytes + 1];
  std::size_t size = PutCodeLine(code, line);
  if (value.size() <= kShortValueBytes) {
    std::memcpy(line + size, value.data(), value.size());
    BlankLineBreaks(line + size, value.size());
    size += value.size();
    line[size++] = '\n';
    out.append(line, size);
    return;
  }
  out.append(line, size);
  const std::size_t start = out.size();
  out += value;
  BlankLineBreaks(out.data() + start, value.size());
  out += '\n';
}

}  // namespace tessera::files
