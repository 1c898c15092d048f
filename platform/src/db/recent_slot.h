// A drawing names the same few layers, linetypes and styles over and over: a cache of a slot per
// text, picked from its length and its ends, finds most of them again without hashing the whole
// text.
#pragma once

#include <cstddef>
#include <string_view>

namespace tessera::db {

constexpr std::size_t kRecentSlots = 64;

inline std::size_t RecentSlot(std::string_view text) {
  if (text.empty()) return 0;
  const auto first = static_cast<unsigned char>(text.front());
  const auto last = static_cast<unsigned char>(text.back());
  return (text.size() * 31 + first * 7 + last) % kRecentSlots;
}

}  // namespace tessera::db
