// Finding a handle in a list sorted by handle.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

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

}  // namespace tessera::db
