// Finding a handle in a list sorted by handle.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace tessera::db {

// The element of sorted [first, last) with the handle, or last. Handles are handed out one
// after another, so an element sits at most its handle's distance from the first, exactly there
// when no handle in between went unused: that place is tried before a binary search below it.
template <typename Iterator, typename HandleOf>
Iterator FindSortedHandle(Iterator first, Iterator last, std::uint64_t handle, HandleOf handleOf) {
  if (first == last || handle < handleOf(*first)) return last;
  const std::uint64_t distance = handle - handleOf(*first);
  const auto size = static_cast<std::uint64_t>(std::distance(first, last));
  const Iterator end = distance < size ? first + static_cast<std::ptrdiff_t>(distance) + 1 : last;
  if (handleOf(*(end - 1)) == handle) return end - 1;
  const Iterator found =
      std::lower_bound(first, end, handle,
                       [&](const auto& element, std::uint64_t h) { return handleOf(element) < h; });
  return found != end && handleOf(*found) == handle ? found : last;
}

// More ascending runs than this and the list is sorted outright.
constexpr std::size_t kMaxMergedRuns = 64;

// Sorts `items`, stably, when they mostly lie in a few ascending runs, as a file's handles do
// (the tables, each block's entities, the other objects): neighbouring runs are merged until
// one is left, a pass over the list per halving of the runs instead of a whole sort.
template <typename T, typename Less>
void SortAscendingRuns(std::vector<T>& items, Less less) {
  std::vector<std::size_t> bounds = {0};
  for (std::size_t i = 1; i < items.size(); ++i)
    if (less(items[i], items[i - 1])) bounds.push_back(i);
  bounds.push_back(items.size());
  if (bounds.size() - 1 > kMaxMergedRuns) {
    std::stable_sort(items.begin(), items.end(), less);
    return;
  }
  const auto at = [&](std::size_t index) {
    return items.begin() + static_cast<std::ptrdiff_t>(index);
  };
  while (bounds.size() > 2) {
    std::vector<std::size_t> merged = {0};
    for (std::size_t run = 0; run + 2 < bounds.size(); run += 2) {
      std::inplace_merge(at(bounds[run]), at(bounds[run + 1]), at(bounds[run + 2]), less);
      merged.push_back(bounds[run + 2]);
    }
    if (merged.back() != bounds.back()) merged.push_back(bounds.back());
    bounds = std::move(merged);
  }
}

}  // namespace tessera::db
