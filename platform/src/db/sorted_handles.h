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

// Merges the ascending runs between `bounds` neighbour by neighbour until one is left.
template <typename T, typename Less>
void MergeRuns(std::vector<T>& items, std::vector<std::size_t> bounds, Less less) {
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

// A stable counting sort of items whose handles lie from `lowest` to `lowest + spread`.
template <typename T, typename HandleOf>
void CountIntoPlace(std::vector<T>& items, std::uint64_t lowest, std::uint64_t spread,
                    HandleOf handleOf) {
  std::vector<std::size_t> start(static_cast<std::size_t>(spread) + 2, 0);
  for (const T& item : items) ++start[static_cast<std::size_t>(handleOf(item) - lowest) + 1];
  for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
  std::vector<T> sorted(items.size());
  for (const T& item : items)
    sorted[start[static_cast<std::size_t>(handleOf(item) - lowest)]++] = item;
  items = std::move(sorted);
}

// More ascending runs than this and the runs are not merged.
constexpr std::size_t kMaxMergedRuns = 64;
// Handles spread over at most this many times as many numbers as there are items are counted
// into place; a wider spread is sorted outright.
constexpr std::uint64_t kMaxCountedSpread = 4;

// Sorts `items` by handle, stably (equal handles keep their order). A file's handles mostly lie
// in a few ascending runs (the tables, each block's entities, the other objects), merged here
// neighbour by neighbour; or in many short runs (a figure's parts made out of order) over a dense
// range of handles, counted into place: both without a whole sort.
template <typename T, typename HandleOf>
void SortByHandle(std::vector<T>& items, HandleOf handleOf) {
  const auto byHandle = [&](const T& a, const T& b) { return handleOf(a) < handleOf(b); };
  std::vector<std::size_t> bounds = {0};
  for (std::size_t i = 1; i < items.size(); ++i)
    if (byHandle(items[i], items[i - 1])) bounds.push_back(i);
  bounds.push_back(items.size());
  if (bounds.size() - 1 <= kMaxMergedRuns) {
    MergeRuns(items, bounds, byHandle);
    return;
  }
  const auto [lowest, highest] = std::minmax_element(items.begin(), items.end(), byHandle);
  const std::uint64_t spread = handleOf(*highest) - handleOf(*lowest);
  if (spread / kMaxCountedSpread < items.size())
    CountIntoPlace(items, handleOf(*lowest), spread, handleOf);
  else
    std::stable_sort(items.begin(), items.end(), byHandle);
}

}  // namespace tessera::db
