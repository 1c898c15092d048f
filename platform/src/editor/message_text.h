// Filling the placeholders of message constants ("%s", "%d") with texts, in order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tessera::editor {

// Each "%s" or "%d" of the format takes the next value; extra placeholders stay as they are.
std::string Substitute(std::string_view format, std::initializer_list<std::string_view> values);

}  // namespace tessera::editor
