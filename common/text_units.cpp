// UTF-16 code-unit semantics over UTF-8 texts: decoding, encoding and the unit-wise helpers.
#include "common/text_units.h"

namespace area {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSupplementary = 0x10000;  // first code point that needs two units
constexpr char16_t kHighSurrogateFirst = 0xD800;
constexpr char16_t kHighSurrogateLast = 0xDBFF;
constexpr char16_t kLowSurrogateFirst = 0xDC00;
constexpr char16_t kLowSurrogateLast = 0xDFFF;
constexpr char16_t kLastUnit = 0xFFFF;

struct DecodedCharacter {
  char32_t code;
  std::size_t size;  // bytes
};

constexpr DecodedCharacter kMalformedByte{kReplacementCharacter, 1};

bool IsHighSurrogate(char32_t unit) {
  return unit >= kHighSurrogateFirst && unit <= kHighSurrogateLast;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= kLowSurrogateFirst && unit <= kLowSurrogateLast;
}
bool IsContinuationByte(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// What a lead byte announces: the sequence length, its payload bits, and the smallest code point
// that length may carry (anything below is an overlong form). Size 0: the byte cannot lead.
struct LeadInfo {
  std::size_t size;
  char32_t payload;
  char32_t minimum;
};

LeadInfo ReadLeadByte(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return {2, lead & 0x1Fu, 0x80};
  if ((lead & 0xF0) == 0xE0) return {3, lead & 0x0Fu, 0x800};
  if ((lead & 0xF8) == 0xF0) return {4, lead & 0x07u, kFirstSupplementary};
  return {0, 0, 0};
}

bool IsScalarValue(char32_t code) {
  return code <= kLastCodePoint && !IsHighSurrogate(code) && !IsLowSurrogate(code);
}

// The character starting at pos (pos < text.size()).
DecodedCharacter DecodeAt(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1};
  const LeadInfo info = ReadLeadByte(lead);
  if (info.size == 0 || info.size > text.size() - pos) return kMalformedByte;
  char32_t code = info.payload;
  for (std::size_t i = 1; i < info.size; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuationByte(byte)) return kMalformedByte;
    code = (code << 6) | (byte & 0x3Fu);
  }
  if (code < info.minimum || !IsScalarValue(code)) return kMalformedByte;
  return {code, info.size};
}

std::size_t UnitCount(char32_t code) {
  return code >= kFirstSupplementary ? 2 : 1;
}

void AppendUtf16(std::u16string& units, char32_t code) {
  if (code < kFirstSupplementary) {
    units.push_back(static_cast<char16_t>(code));
    return;
  }
  const char32_t offset = code - kFirstSupplementary;
  units.push_back(static_cast<char16_t>(kHighSurrogateFirst + (offset >> 10)));
  units.push_back(static_cast<char16_t>(kLowSurrogateFirst + (offset & 0x3FF)));
}

void AppendUtf8(std::string& text, char32_t code) {
  auto put = [&text](char32_t byte) { text.push_back(static_cast<char>(byte)); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | (code >> 6));
    put(0x80 | (code & 0x3F));
  } else if (code < kFirstSupplementary) {
    put(0xE0 | (code >> 12));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | (code >> 18));
    put(0x80 | ((code >> 12) & 0x3F));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::u16string ToUtf16(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const DecodedCharacter character = DecodeAt(text, pos);
    AppendUtf16(units, character.code);
    pos += character.size;
  }
  return units;
}

std::string ToUtf8(std::u16string_view units) {
  std::string text;
  text.reserve(units.size() * 3);
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      const char32_t high = unit - kHighSurrogateFirst;
      const char32_t low = units[++i] - kLowSurrogateFirst;
      AppendUtf8(text, kFirstSupplementary + (high << 10) + low);
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(text, kReplacementCharacter);
    } else {
      AppendUtf8(text, unit);
    }
  }
  return text;
}

std::size_t Utf16Length(std::string_view text) {
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const DecodedCharacter character = DecodeAt(text, pos);
    length += UnitCount(character.code);
    pos += character.size;
  }
  return length;
}

int CompareUtf16(std::string_view a, std::string_view b) {
  const int order = ToUtf16(a).compare(ToUtf16(b));
  return (order > 0) - (order < 0);
}

std::string Utf16Prefix(std::string_view text, std::size_t units) {
  std::size_t pos = 0;
  std::size_t taken = 0;
  while (pos < text.size()) {
    const DecodedCharacter character = DecodeAt(text, pos);
    if (taken + UnitCount(character.code) > units) break;
    taken += UnitCount(character.code);
    pos += character.size;
  }
  return std::string(text.substr(0, pos));
}

std::size_t FirstCharacterSize(std::string_view text) {
  return text.empty() ? 0 : DecodeAt(text, 0).size;
}

std::string AdvanceFirstUnit(std::string_view text) {
  if (text.empty()) return {};
  const DecodedCharacter first = DecodeAt(text, 0);
  std::u16string units;
  AppendUtf16(units, first.code);
  if (units.front() == kLastUnit) return std::string(text);
  ++units.front();
  return ToUtf8(units) + std::string(text.substr(first.size));
}

char16_t FoldAsciiUpper(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

}  // namespace area
