// printf-style formatting into a std::string.
#include "common/messages.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace area {

std::string StringPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int size = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string text;
  if (size > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    text.assign(buffer.data(), static_cast<std::size_t>(size));
  }
  va_end(args);
  return text;
}

}  // namespace area
