// The one check of text entering a drawing, whichever road it takes (a script, LISP, a .tdb
// file, an entity's setter): what a drawing holds is valid UTF-8 without NUL, so that every
// file written from it can be read again.
#pragma once

#include <string>
#include <string_view>

namespace tessera::db {

// The character that stands in for each byte that is not part of valid UTF-8 (U+FFFD).
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Bytes of the well-formed UTF-8 character at `at` (1 for any ASCII byte, NUL included), or 0
// when the bytes there start none: no overlong forms, surrogate halves or values above U+10FFFF.
// The DXF reader checks whole files with it; drawing text adds the NUL rule below.
std::size_t Utf8CharacterAt(std::string_view text, std::size_t at);

// Whether the text is UTF-8 as the standard defines it (no overlong forms, no surrogate halves,
// nothing above U+10FFFF) and holds no NUL.
bool IsValidText(std::string_view text);

// The text with every byte that breaks IsValidText, and every NUL, replaced by U+FFFD; valid
// text comes back unchanged.
std::string ValidText(std::string_view text);

// ValidText in place; true when the text was already valid.
bool RepairText(std::string& text);

}  // namespace tessera::db
