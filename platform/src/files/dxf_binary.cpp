#include "files/dxf_binary.h"

#include <cstdint>
#include <cstring>

namespace tessera::files {
namespace {

constexpr std::string_view kSentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};
// The last release whose binary files give group codes in one byte.
constexpr std::string_view kLastOneByteCodeRelease = "AC1009";
// A one-byte group code of this value is followed by the real code in two bytes.
constexpr unsigned char kEscapedCode = 255;
// $ACADVER is looked for this far into the file, where the header starts.
constexpr std::size_t kReleaseSearchBytes = 1024;
constexpr std::size_t kReleaseLength = 6;

enum class ValueKind { kText, kInt16, kInt32, kInt64, kReal, kBool, kChunk };

bool In(int code, int first, int last) {
  return code >= first && code <= last;
}

ValueKind KindOf(int code) {
  if (In(code, 310, 319) || code == 1004) return ValueKind::kChunk;
  if (In(code, 290, 299)) return ValueKind::kBool;
  if (In(code, 60, 79) || In(code, 170, 179) || In(code, 270, 289) || In(code, 370, 389) ||
      In(code, 400, 409) || In(code, 1060, 1070))
    return ValueKind::kInt16;
  if (In(code, 90, 99) || In(code, 420, 429) || In(code, 440, 459) || code == 1071)
    return ValueKind::kInt32;
  if (In(code, 160, 169)) return ValueKind::kInt64;
  if (In(code, 10, 59) || In(code, 110, 149) || In(code, 210, 239) || In(code, 460, 469) ||
      In(code, 1010, 1059))
    return ValueKind::kReal;
  return ValueKind::kText;
}

// Whether group codes take one byte: files of release 12 and before, and files that do not say.
bool OneByteCodes(std::string_view bytes) {
  std::size_t at = bytes.substr(0, kReleaseSearchBytes).find("$ACADVER");
  if (at == std::string_view::npos) return true;
  at += std::strlen("$ACADVER") + 1;  // the name and its NUL
  // The group code 1 before the value: one byte, or two.
  for (std::size_t codeBytes = 1; codeBytes <= 2; ++codeBytes) {
    std::string_view release = bytes.substr(std::min(bytes.size(), at + codeBytes), kReleaseLength);
    if (!release.empty() && release.front() == 'A') return release <= kLastOneByteCodeRelease;
  }
  return true;
}

template <typename T>
T LittleEndian(const unsigned char* at) {
  std::uint64_t value = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) value = (value << 8) | at[i];
  T result;
  std::memcpy(&result, &value, sizeof(T));
  return result;
}

std::string Hex(std::string_view data) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(data.size() * 2);
  for (unsigned char c : data) {
    text += kDigits[c >> 4];
    text += kDigits[c & 0xF];
  }
  return text;
}

class BinaryTagReader {
 public:
  BinaryTagReader(std::string_view bytes, bool oneByteCodes)
      : m_data(reinterpret_cast<const unsigned char*>(bytes.data())),
        m_size(bytes.size()),
        m_oneByteCodes(oneByteCodes) {}

  bool atEnd() const { return m_at >= m_size; }
  std::size_t offset() const { return m_at; }
  // The next tag's code and its value in DXF text form; false when the file ends inside it.
  bool next(int& code, std::string& value);

 private:
  bool take(std::size_t count, const unsigned char*& at) {
    if (m_size - m_at < count) return false;
    at = m_data + m_at;
    m_at += count;
    return true;
  }
  bool code(int& code);
  bool value(ValueKind kind, std::string& value);

  const unsigned char* m_data;
  std::size_t m_size;
  std::size_t m_at = kSentinel.size();
  bool m_oneByteCodes;
};

bool BinaryTagReader::code(int& code) {
  const unsigned char* at = nullptr;
  if (!m_oneByteCodes) {
    if (!take(2, at)) return false;
    code = LittleEndian<std::int16_t>(at);
    return true;
  }
  if (!take(1, at)) return false;
  code = *at;
  if (code != kEscapedCode) return true;
  if (!take(2, at)) return false;
  code = LittleEndian<std::int16_t>(at);
  return true;
}

bool BinaryTagReader::value(ValueKind kind, std::string& value) {
  const unsigned char* at = nullptr;
  switch (kind) {
    case ValueKind::kText: {
      const void* end = std::memchr(m_data + m_at, '\0', m_size - m_at);
      if (end == nullptr) return false;
      std::size_t length = static_cast<const unsigned char*>(end) - (m_data + m_at);
      value.assign(reinterpret_cast<const char*>(m_data + m_at), length);
      m_at += length + 1;
      return true;
    }
    case ValueKind::kChunk: {
      if (!take(1, at)) return false;
      std::size_t length = *at;
      if (!take(length, at)) return false;
      value = Hex({reinterpret_cast<const char*>(at), length});
      return true;
    }
    case ValueKind::kBool:
      if (!take(1, at)) return false;
      value = std::to_string(*at);
      return true;
    case ValueKind::kInt16:
      if (!take(2, at)) return false;
      value = std::to_string(LittleEndian<std::int16_t>(at));
      return true;
    case ValueKind::kInt32:
      if (!take(4, at)) return false;
      value = std::to_string(LittleEndian<std::int32_t>(at));
      return true;
    case ValueKind::kInt64:
      if (!take(8, at)) return false;
      value = std::to_string(LittleEndian<std::int64_t>(at));
      return true;
    case ValueKind::kReal:
      if (!take(8, at)) return false;
      value = FormatDxfReal(LittleEndian<double>(at));
      return true;
  }
  return false;
}

bool BinaryTagReader::next(int& code, std::string& value) {
  return this->code(code) && this->value(KindOf(code), value);
}

}  // namespace

bool IsBinaryDxf(std::string_view bytes) {
  return bytes.substr(0, kSentinel.size()) == kSentinel;
}

std::optional<DxfProblem> BinaryDxfAsText(std::string_view bytes, std::string& text,
                                          std::vector<std::size_t>& tagOffsets) {
  BinaryTagReader reader(bytes, OneByteCodes(bytes));
  text.clear();
  text.reserve(bytes.size() * 2);
  tagOffsets.clear();
  int code = 0;
  std::string value;
  while (!reader.atEnd()) {
    tagOffsets.push_back(reader.offset());
    const int line = static_cast<int>(tagOffsets.size()) * 2 - 1;
    if (!reader.next(code, value))
      return DxfProblem{line, "the binary file ends inside a tag: it is cut short"};
    AppendDxfTag(text, code, value);
    if (code == 0 && value == "EOF") break;
  }
  return std::nullopt;
}

}  // namespace tessera::files
