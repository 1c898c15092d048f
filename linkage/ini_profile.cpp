// The private-profile reader.
#include "linkage/ini_profile.h"

#include <fstream>
#include <iterator>

namespace area {
namespace {

// A settings file is small; a larger one is read only this far (bytes).
constexpr std::size_t kProfileReadLimit = 1 << 20;

constexpr std::string_view kBlanks = " \t\r\f\v";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// The section name of a "[name]" line, or nothing when the line is not a section line.
bool SectionName(std::string_view line, std::string_view& name) {
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  name = Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
  return true;
}

}  // namespace

std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view fallback) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    std::string_view name;
    if (SectionName(line, name)) {
      inSection = SameName(name, section);
      continue;
    }
    if (!inSection || line.empty() || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !SameName(Trim(line.substr(0, equals)), key)) continue;
    const std::string_view value = Unquote(Trim(line.substr(equals + 1)));
    return std::string(value.substr(0, kProfileBufferLength - 1));
  }
  return std::string(fallback.substr(0, kProfileBufferLength - 1));
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::string(fallback);
  std::string text(kProfileReadLimit, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  return ProfileValue(text, section, key, fallback);
}

}  // namespace area
