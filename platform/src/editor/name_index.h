// An index by name over a table that lives as long as the program, for tables looked up many
// times a command (host commands, system variables).
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessera::editor {

// Each item by its `name`; of two items with one name, the first is kept.
template <typename Item>
std::unordered_map<std::string_view, const Item*> IndexByName(const std::vector<Item>& items) {
  std::unordered_map<std::string_view, const Item*> index;
  for (const Item& item : items) index.emplace(item.name, &item);
  return index;
}

}  // namespace tessera::editor
