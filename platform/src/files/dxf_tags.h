// DXF text as tags: a group code line, then a value line. Reading splits a file into tags and
// refuses text that is not DXF with the line that is wrong; writing formats values the way
// every DXF reader accepts them.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessera::files {

// One tag as read, with the line number of its group code (1-based) for messages. The value
// points into the text the tags were read from (or into DxfTagTexts), which must outlive it.
struct DxfTag {
  DxfTag() = default;
  DxfTag(int code, std::string_view value, int line) : value(value), code(code), line(line) {}

  // The value first: with both numbers after it a tag takes 24 bytes instead of 32, and a
  // large drawing's file has millions of tags.
  std::string_view value;
  int code = 0;
  int line = 0;
};

// Values of tags that are not in the file's text as they are (mended values).
using DxfTagTexts = std::deque<std::string>;

// Tags kept as they were read, for the parts of a file the platform does not model.
using RawTags = std::vector<std::pair<int, std::string>>;

// Whether a number is a DXF group code: one outside -5 to 1071 is none, and no reader takes it.
constexpr std::int64_t kMinGroupCode = -5;
constexpr std::int64_t kMaxGroupCode = 1071;
constexpr bool IsDxfGroupCode(std::int64_t code) {
  return code >= kMinGroupCode && code <= kMaxGroupCode;
}
// Whether a group code's value names another object by its handle.
constexpr bool IsDxfPointerCode(int code) {
  constexpr int kFirstPointerCode = 330;
  constexpr int kLastPointerCode = 369;
  return code >= kFirstPointerCode && code <= kLastPointerCode;
}

// Where a file is wrong and why.
struct DxfProblem {
  int line = 0;
  std::string message;
};

// What the reader mended, one line each (line 0: not at one line of the file).
using DxfRepairs = std::vector<DxfProblem>;

// Stage one of reading: every tag of the text. Accepts LF or CRLF line ends and a UTF-8 byte
// order mark. Stops at the first problem (a group code that is not a number, a code without a
// value line, a value that holds a NUL character); the tags up to there are kept. With
// `nulRepairs`, a NUL is read as U+FFFD and told there instead.
std::optional<DxfProblem> ReadDxfTags(std::string_view text, std::vector<DxfTag>& tags,
                                      DxfRepairs* nulRepairs = nullptr,
                                      DxfTagTexts* mended = nullptr);

// Numbers as DXF values: reals in the shortest form that reads back to the same double,
// always with a decimal point; integers in decimal.
std::string FormatDxfReal(double value);
// The same into `buffer`, without a string of its own.
using DxfRealText = std::array<char, 48>;
std::string_view FormatDxfReal(double value, DxfRealText& buffer);
// Parses a whole value line as a number; false when it is not one (surrounding blanks allowed).
bool ParseDxfReal(std::string_view text, double& value);
bool ParseDxfInteger(std::string_view text, std::int64_t& value);

// Appends "code\nvalue\n" with the code right-aligned in three columns, as DXF writers do. Line
// breaks inside a value would split the tag, so they become blanks.
void AppendDxfTag(std::string& out, int code, std::string_view value);

}  // namespace tessera::files
