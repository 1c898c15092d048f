// A reader of private-profile (INI) files, as the host platform reads its settings files:
// "[Section]" lines open a section, "key=value" lines give values, ";" starts a comment line.
// Section and key names compare without regard to ASCII case; a value loses the blanks around
// it and one pair of enclosing double or single quotes. The first matching key of the first
// matching section wins.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace area {

// Values are cut to this many bytes less one, as the host's 260-character buffer cuts them.
inline constexpr std::size_t kProfileBufferLength = 260;

// The value of `key` in `section` of the INI text, or `fallback` when there is none.
std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view fallback);

// The same from a file; `fallback` also when the file cannot be read.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback);

}  // namespace area
