#include "cad/shared_name.h"

#include <array>
#include <unordered_map>

#include "db/recent_slot.h"

namespace tessera::db {
namespace {

// Never destroyed: names held by objects of static lifetime may outlive any static pool.
template <typename Node>
std::unordered_map<std::string_view, Node*>& Pool() {
  static auto* pool = new std::unordered_map<std::string_view, Node*>();
  return *pool;
}

template <typename Node>
std::array<Node*, kRecentSlots>& Recent() {
  static std::array<Node*, kRecentSlots> recent{};
  return recent;
}

}  // namespace

SharedName::SharedName() {
  static const SharedName empty{std::string_view()};
  m_node = empty.m_node;
  ++m_node->uses;
}

SharedName::SharedName(std::string_view text) {
  Node*& recent = Recent<Node>()[RecentSlot(text)];
  if (recent == nullptr || recent->text != text) {
    auto& pool = Pool<Node>();
    auto found = pool.find(text);
    if (found == pool.end()) {
      auto* node = new Node{std::string(text)};
      found = pool.emplace(node->text, node).first;
    }
    recent = found->second;
  }
  m_node = recent;
  ++m_node->uses;
}

SharedName& SharedName::operator=(const SharedName& other) noexcept {
  ++other.m_node->uses;  // first, so that assigning a name to itself keeps its copy
  release();
  m_node = other.m_node;
  return *this;
}

void SharedName::release() noexcept {
  if (--m_node->uses != 0) return;
  Node*& recent = Recent<Node>()[RecentSlot(m_node->text)];
  if (recent == m_node) recent = nullptr;
  Pool<Node>().erase(m_node->text);
  delete m_node;
}

std::size_t SharedName::distinctCount() {
  return Pool<Node>().size();
}

}  // namespace tessera::db
