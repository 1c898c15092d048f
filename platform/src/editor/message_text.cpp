// Placeholder filling for messages.
#include "editor/message_text.h"

namespace tessera::editor {

std::string Substitute(std::string_view format, std::initializer_list<std::string_view> values) {
  std::string result;
  const std::string_view* next = values.begin();
  std::size_t position = 0;
  while (position < format.size()) {
    std::size_t at = format.find('%', position);
    bool placeholder = at != std::string_view::npos && at + 1 < format.size() &&
                       (format[at + 1] == 's' || format[at + 1] == 'd') && next != values.end();
    if (!placeholder) {
      std::size_t end = at == std::string_view::npos ? format.size() : at + 1;
      result.append(format.substr(position, end - position));
      position = end;
      continue;
    }
    result.append(format.substr(position, at - position));
    result.append(*next++);
    position = at + 2;
  }
  return result;
}

}  // namespace tessera::editor
