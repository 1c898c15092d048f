// An object's extended data, its items packed one after another in one block: most objects of a
// drawing carry an item or two, which a chain of result buffers would hold in an allocation an
// item and another a text. Each item is its group code, then its value: a text as its length,
// its bytes and a terminating zero; a point, real, 16- or 32-bit number as its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

struct resbuf;

namespace tessera::db {

class XDataItems {
 public:
  bool empty() const { return m_block == nullptr; }
  // The packed items, and how many they are.
  std::string_view packed() const;
  std::uint32_t count() const;
  void assign(std::string_view packed, std::uint32_t count);
  void assign(std::string_view packed);

  // The items in order, each as a result buffer on the caller's side: a text item's string
  // points into the packed items, stays valid while they are unchanged, and is not to be freed.
  class Reader {
   public:
    explicit Reader(std::string_view packed) : m_packed(packed) {}
    bool next(resbuf& item);
    // Where the next item starts in the packed items.
    std::size_t offset() const { return m_at; }

   private:
    std::string_view m_packed;
    std::size_t m_at = 0;
  };
  Reader reader() const { return Reader(packed()); }

 private:
  // The size of the packed items and their count, then the items; null when there are none.
  std::unique_ptr<char[]> m_block;
};

}  // namespace tessera::db
