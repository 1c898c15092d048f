// The one check of text entering a drawing, whichever road it takes (a script, LISP, a .tdb
// file, an entity's setter): what a drawing holds is valid UTF-8 without NUL, so that every
// file written from it can be read again.
#pragma once

#include <string>
#include <string_view>

namespace tessera::db {

// The character that stands in for each byte that is not part of valid UTF-8 (U+FFFD).
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Whether the text is UTF-8 as the standard defines it (no overlong forms, no surrogate halves,
// nothing above U+10FFFF) and holds no NUL.
bool IsValidText(std::string_view text);

// The text with every byte that breaks IsValidText, and every NUL, replaced by U+FFFD; valid
// text comes back unchanged.
std::string ValidText(std::string_view text);

// ValidText in place; true when the text was already valid.
bool RepairText(std::string& text);

}  // namespace tessera::db
