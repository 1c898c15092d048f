// UTF-16 code-unit semantics over UTF-8 texts.
//
// Texts are UTF-8 std::strings in the plug-in, but the host counts, compares and steps characters
// in UTF-16 code units: "イ1" is two units, a character outside the Basic Multilingual Plane is
// two. Every length limit, text order and "next character" of a label goes through these helpers.
// Malformed UTF-8 never fails: each byte that is not part of a well-formed sequence reads as one
// U+FFFD, and nothing is read outside the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace area {

// Stands for each byte that does not belong to a well-formed UTF-8 sequence, and for each
// unpaired surrogate unit written back to UTF-8.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The UTF-16 code units of text.
std::u16string ToUtf16(std::string_view text);

// UTF-8 text of UTF-16 code units; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view units);

// Number of UTF-16 code units of text.
std::size_t Utf16Length(std::string_view text);

// Negative, zero or positive as a is before, equal to or after b in UTF-16 code-unit order; a
// proper prefix is before the longer text.
int CompareUtf16(std::string_view a, std::string_view b);

// The longest leading part of text of at most `units` UTF-16 code units that ends on a character
// boundary: a character that would be cut (a surrogate pair at the limit) is left out whole. The
// bytes are copied unchanged.
std::string Utf16Prefix(std::string_view text, std::size_t units);

// Size in bytes of the first character of text: 0 for an empty text, 1 for a malformed byte.
std::size_t FirstCharacterSize(std::string_view text);

// text with its first UTF-16 code unit raised by one ("A" -> "B", "ア" -> "ィ"); the rest of the
// text is copied unchanged. An empty text stays empty, and a first unit of 0xFFFF, which has no
// next unit, leaves the text unchanged. A raised high surrogate keeps its pair where the result is
// still a pair, else the unpaired units become U+FFFD.
std::string AdvanceFirstUnit(std::string_view text);

// unit with a to z folded to A to Z; every other unit unchanged.
char16_t FoldAsciiUpper(char16_t unit);

}  // namespace area
