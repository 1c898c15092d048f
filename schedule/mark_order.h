// Row order of area schedules: how the numbers of selected marks compare, and the sort.
//
// Plain order compares UTF-16 code units ("10" before "9"). Natural order puts numbers of digits
// by length ("9" before "10") and folds a-z to A-Z before comparing letters ("A2" before "a2").
// Natural order is not transitive ("1AA" > "10X" > "20" > "1AA"), so a sort's result depends on
// its exact steps; schedules therefore keep the order of one fixed algorithm, a bubble sort, and a
// faster sort stands in for it only where it provably gives the same order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text_units.h"

namespace area {

// Sort modes of the table settings; any other mode is natural order, kSortNatural among them.
inline constexpr int kSortSelectionOrder = 0;
inline constexpr int kSortNatural = 1;
inline constexpr int kSortPlain = 2;

// Whether mark number a sorts after b under `sortMode`; lengths and characters are UTF-16 code
// units. Never true both ways and never true for equal numbers.
bool MarkNumberGreater(std::u16string_view a, std::u16string_view b, int sortMode);
bool MarkNumberGreater(std::string_view a, std::string_view b, int sortMode);

// The order a bubble sort gives the numbers (positions into `numbers`): passes over adjacent
// pairs from the start, swapping a pair whose first is greater, until a pass swaps nothing.
// Equal numbers keep their order. Natural order is not transitive, so the result depends on
// those exact steps: the numbers are sorted in O(n log n) only when they are of a kind on which
// the order is transitive, where every stable sort gives the same result, and by the bubble sort
// itself otherwise.
std::vector<std::size_t> MarkSortOrder(const std::vector<std::u16string>& numbers, int sortMode);

// Sorts items by the mark number keyOf(item) (anything a std::string_view is made from), in the
// order of MarkSortOrder; kSortSelectionOrder leaves the items as they are.
template <typename Item, typename KeyOf>
void SortMarks(std::vector<Item>& items, int sortMode, KeyOf keyOf) {
  if (sortMode == kSortSelectionOrder) return;
  std::vector<std::u16string> keys;
  keys.reserve(items.size());
  for (const Item& item : items) keys.push_back(ToUtf16(std::string_view(keyOf(item))));
  std::vector<Item> sorted;
  sorted.reserve(items.size());
  for (std::size_t position : MarkSortOrder(keys, sortMode))
    sorted.push_back(std::move(items[position]));
  items = std::move(sorted);
}

}  // namespace area
