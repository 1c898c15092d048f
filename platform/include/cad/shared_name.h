// A short text that many objects carry alike (layer, linetype and text style names, attribute
// tags): one counted copy per distinct text, each holder keeping a pointer to it. The drawing
// core runs on one thread, so the counts are plain integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessera::db {

class SharedName {
 public:
  SharedName();
  // Not explicit: names are set from text everywhere, as the strings they replace were.
  SharedName(std::string_view text);
  SharedName(const char* text) : SharedName(std::string_view(text)) {}
  SharedName(const std::string& text) : SharedName(std::string_view(text)) {}
  SharedName(const SharedName& other) noexcept : m_node(other.m_node) { ++m_node->uses; }
  SharedName& operator=(const SharedName& other) noexcept;
  ~SharedName() { release(); }

  const std::string& str() const { return m_node->text; }
  operator const std::string&() const { return m_node->text; }
  const char* c_str() const { return m_node->text.c_str(); }
  bool empty() const { return m_node->text.empty(); }
  // One copy per text: the same text is the same copy.
  friend bool operator==(const SharedName& a, const SharedName& b) { return a.m_node == b.m_node; }

  // How many distinct texts are held, for tests.
  static std::size_t distinctCount();

 private:
  struct Node {
    std::string text;
    std::uint32_t uses = 0;
  };
  void release() noexcept;

  Node* m_node;
};

}  // namespace tessera::db
