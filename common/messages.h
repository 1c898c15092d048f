// printf-style formatting into a std::string, for prompts and texts whose arguments may be long.
#pragma once

#include <string>

namespace area {

// The text printf would write for format and its arguments, whatever its length.
std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace area
