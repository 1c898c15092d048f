#include "cad/shared_name.h"

#include <array>
#include <unordered_map>

namespace tessera::db {
namespace {

// Never destroyed: names held by objects of static lifetime may outlive any static pool.
template <typename Node>
std::unordered_map<std::string_view, Node*>& Pool() {
  static auto* pool = new std::unordered_map<std::string_view, Node*>();
  return *pool;
}

// A drawing names the same few layers, linetypes and styles over and over: a slot per name,
// picked from its length and its ends, finds most of them again without hashing the whole text.
constexpr std::size_t kRecentSlots = 64;

template <typename Node>
std::array<Node*, kRecentSlots>& Recent() {
  static std::array<Node*, kRecentSlots> recent{};
  return recent;
}

std::size_t RecentSlot(std::string_view text) {
  if (text.empty()) return 0;
  const auto first = static_cast<unsigned char>(text.front());
  const auto last = static_cast<unsigned char>(text.back());
  return (text.size() * 31 + first * 7 + last) % kRecentSlots;
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
