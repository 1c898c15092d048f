// Numbers stored least significant byte first, as the binary filer and the .tdb checksum keep
// them, read and written whatever the machine's own byte order.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessera::files {

// The number of kWidth bytes at `from`; on a little-endian machine one load.
template <std::size_t kWidth>
std::uint64_t LoadLittleEndian(const unsigned char* from) {
  static_assert(kWidth >= 1 && kWidth <= sizeof(std::uint64_t));
  std::uint64_t result = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&result, from, kWidth);
  } else {
    for (std::size_t i = kWidth; i-- > 0;) result = (result << 8) | from[i];
  }
  return result;
}

// The kWidth low bytes of `value` at `to`, least significant first; on a little-endian machine
// one store.
template <std::size_t kWidth>
void StoreLittleEndian(std::uint64_t value, unsigned char* to) {
  static_assert(kWidth >= 1 && kWidth <= sizeof(std::uint64_t));
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(to, &value, kWidth);
  } else {
    for (std::size_t i = 0; i < kWidth; ++i) to[i] = static_cast<unsigned char>(value >> (8 * i));
  }
}

}  // namespace tessera::files
