// printf-style formatting into a std::string.
#include "common/messages.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace area {

std::string StringPrintf(const char* format, ...) {
  // Most texts fit the first buffer: only a longer one is formatted twice.
  constexpr std::size_t kFirstBufferBytes = 256;
  va_list args;
  va_start(args, format);
  va_list retry;
  va_copy(retry, args);
  char first[kFirstBufferBytes];
  const int size = std::vsnprintf(first, sizeof first, format, args);
  std::string text;
  if (size > 0 && static_cast<std::size_t>(size) < sizeof first) {
    text.assign(first, static_cast<std::size_t>(size));
  } else if (size > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, retry);
    text.assign(buffer.data(), static_cast<std::size_t>(size));
  }
  va_end(retry);
  va_end(args);
  return text;
}

}  // namespace area
