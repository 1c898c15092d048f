// Text for pictures.
#include "svg/svg_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace tessera::svg {
namespace {

// A ten-thousandth of a drawing unit: far below what a picture of a land drawing can show.
constexpr int kNumberDecimals = 4;
constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD
// Widths relative to the text height, for a sans-serif Japanese font.
constexpr double kFullWidthAdvance = 1.0;
constexpr double kHalfWidthAdvance = 0.6;

// What the first byte of a UTF-8 sequence says: the sequence's length (0 for a byte that starts
// none), the code bits it holds, and the smallest code a sequence of that length may carry.
struct SequenceStart {
  std::size_t length;
  std::uint32_t bits;
  std::uint32_t minimum;
};

SequenceStart ReadLead(unsigned char lead) {
  if (lead < 0x80) return {1, lead, 0};
  if ((lead & 0xE0) == 0xC0) return {2, lead & 0x1Fu, 0x80};
  if ((lead & 0xF0) == 0xE0) return {3, lead & 0x0Fu, 0x800};
  if ((lead & 0xF8) == 0xF0) return {4, lead & 0x07u, 0x10000};
  return {0, 0, 0};
}

// Decodes the UTF-8 character at `pos` and sets its size; nothing (size 1) for a byte that does
// not start a valid one, so decoding resumes at the next byte.
std::optional<std::uint32_t> DecodeUtf8(std::string_view text, std::size_t pos, std::size_t& size) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  size = 1;
  const SequenceStart start = ReadLead(byte(pos));
  const std::size_t length = start.length;
  std::uint32_t code = start.bits;
  if (length == 0 || pos + length > text.size()) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (byte(pos + i) & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (code < start.minimum || code > 0x10FFFF || surrogate) return std::nullopt;
  size = length;
  return code;
}

bool AllowedInXml(std::uint32_t code) {
  if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
  return code != 0xFFFE && code != 0xFFFF;
}

const char* XmlEntity(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&apos;";
    default:
      return nullptr;
  }
}

bool IsFullWidth(std::uint32_t code) {
  const bool halfWidthKana = code >= 0xFF61 && code <= 0xFF9F;
  return code >= 0x1100 && !halfWidthKana;
}

// The character a special code stands for; nothing for an unknown code (left as typed).
std::optional<std::string_view> SpecialCode(char letter) {
  switch (letter) {
    case 'd':
    case 'D':
      return "\xC2\xB0";  // °
    case 'p':
    case 'P':
      return "\xC2\xB1";  // ±
    case 'c':
    case 'C':
      return "\xE2\x8C\x80";  // ⌀
    case '%':
      return "%";
    case 'u':
    case 'U':
    case 'o':
    case 'O':
      return "";
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string FormatNumber(double value) {
  if (!std::isfinite(value)) return "0";
  // The largest double written out in full: 309 digits, the point, the decimals and a sign.
  char buffer[std::numeric_limits<double>::max_exponent10 + kNumberDecimals + 8];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                    kNumberDecimals);
  if (result.ec != std::errc()) return "0";
  std::string text(buffer, result.ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t size = 1;
    const std::optional<std::uint32_t> code = DecodeUtf8(text, pos, size);
    if (!code) {
      out += kReplacementCharacter;
    } else if (const char* entity = XmlEntity(text[pos])) {
      out += entity;
    } else if (AllowedInXml(*code)) {
      out.append(text.substr(pos, size));
    }
    pos += size;
  }
  return out;
}

std::string ExpandSpecialCodes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text.substr(pos, 2) == "%%" && pos + 2 < text.size()) {
      if (const auto replacement = SpecialCode(text[pos + 2])) {
        out.append(*replacement);
        pos += 2;
        continue;
      }
    }
    out += text[pos];
  }
  return out;
}

double EstimateTextWidth(std::string_view text, double height) {
  double width = 0.0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t size = 1;
    const std::optional<std::uint32_t> code = DecodeUtf8(text, pos, size);
    width += (code && IsFullWidth(*code) ? kFullWidthAdvance : kHalfWidthAdvance) * height;
    pos += size;
  }
  return width;
}

}  // namespace tessera::svg
