#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "cad/db_object.h"

namespace tessera::db {

// Ids are copied as bytes into the block's room.
static_assert(std::is_trivially_copyable_v<AcDbObjectId>);
static_assert(alignof(AcDbObjectId) <= sizeof(std::uint64_t));

IdList& IdList::operator=(const IdList& other) {
  if (this != &other) assign(other.begin(), other.end());
  return *this;
}

IdList& IdList::operator=(IdList&& other) noexcept {
  if (this != &other) {
    clear();
    m_block = other.m_block;
    other.m_block = nullptr;
  }
  return *this;
}

// Sized, as the allocator frees fastest; most lists have no block at all.
void IdList::release(Block* block) {
  if (block != nullptr)
    ::operator delete(block, sizeof(Block) + block->capacity * sizeof(AcDbObjectId));
}

void IdList::reserve(std::size_t capacity) {
  if (capacity <= (m_block ? m_block->capacity : 0)) return;
  if (capacity > UINT32_MAX) throw std::length_error("too many ids for one list");
  void* room = ::operator new(sizeof(Block) + capacity * sizeof(AcDbObjectId));
  auto* block =
      new (room) Block{static_cast<std::uint32_t>(size()), static_cast<std::uint32_t>(capacity)};
  if (m_block != nullptr) std::memcpy(block + 1, data(), size() * sizeof(AcDbObjectId));
  release(m_block);
  m_block = block;
}

void IdList::assign(const AcDbObjectId* first, const AcDbObjectId* last) {
  const auto count = static_cast<std::size_t>(last - first);
  if (count == 0) {
    clear();
    return;
  }
  if (m_block != nullptr) m_block->size = 0;
  reserve(count);
  std::memcpy(data(), first, count * sizeof(AcDbObjectId));
  m_block->size = static_cast<std::uint32_t>(count);
}

void IdList::push_back(AcDbObjectId id) {
  const std::size_t count = size();
  if (m_block == nullptr || count == m_block->capacity) reserve(count == 0 ? 1 : 2 * count);
  std::memcpy(data() + count, &id, sizeof id);
  m_block->size = static_cast<std::uint32_t>(count + 1);
}

IdList::iterator IdList::erase(const_iterator first, const_iterator last) {
  AcDbObjectId* from = data() + (first - data());
  if (first == last) return from;
  const auto tail = static_cast<std::size_t>(end() - last);
  std::memmove(from, last, tail * sizeof(AcDbObjectId));
  m_block->size -= static_cast<std::uint32_t>(last - first);
  return from;
}

void IdList::clear() {
  release(m_block);
  m_block = nullptr;
}

}  // namespace tessera::db
