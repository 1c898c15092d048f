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

}  // namespace tessera::files
