#include "files/dxf_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace tessera::files {
namespace {

// The first release whose DXF files are UTF-8.
constexpr std::string_view kFirstUtf8Release = "AC1021";

// The value of a header variable, found in the raw text (the tags are not read yet).
std::string HeaderValue(std::string_view content, std::string_view variable) {
  std::size_t at = content.find(variable);
  if (at == std::string_view::npos) return "";
  // Skip the variable's line and the group code line after it.
  for (int skip = 0; skip < 2; ++skip) {
    at = content.find('\n', at);
    if (at == std::string_view::npos) return "";
    ++at;
  }
  std::size_t end = content.find_first_of("\r\n", at);
  std::string value(content.substr(at, end == std::string_view::npos ? end : end - at));
  value.erase(0, value.find_first_not_of(" \t"));
  value.erase(value.find_last_not_of(" \t") + 1);
  return value;
}

int LineOf(std::string_view content, std::size_t offset) {
  return 1 + static_cast<int>(std::count(
                 content.begin(), content.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// "\U+30A4" becomes the character it names.
std::string DecodeUnicodeEscapes(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "\\U+") == 0 && i + 7 <= text.size() &&
        std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i + 3),
                    text.begin() + static_cast<std::ptrdiff_t>(i + 7),
                    [](unsigned char c) { return std::isxdigit(c); })) {
      std::uint32_t c = static_cast<std::uint32_t>(std::stoul(text.substr(i + 3, 4), nullptr, 16));
      if (c != 0 && (c < 0xD800 || c > 0xDFFF)) {
        AppendUtf8(out, c);
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// Converts from the code page; false when the bytes are not text of it.
bool Convert(std::string_view content, const std::string& codePage, std::string& text) {
  iconv_t converter = iconv_open("UTF-8", codePage.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  text.assign(content.size() * 3 + 16, '\0');
  char* in = const_cast<char*>(content.data());
  std::size_t inLeft = content.size();
  char* out = text.data();
  std::size_t outLeft = text.size();
  bool ok = iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(converter);
  text.resize(text.size() - outLeft);
  return ok && inLeft == 0;
}

}  // namespace

std::size_t FirstInvalidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80           ? 1
                         : (c >> 5) == 0x6  ? 2
                         : (c >> 4) == 0xE  ? 3
                         : (c >> 3) == 0x1E ? 4
                                            : 0;
    if (length == 0 || i + length > text.size()) return i;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return i;
    if ((length == 2 && c < 0xC2) ||
        (length == 3 && c == 0xE0 && static_cast<unsigned char>(text[i + 1]) < 0xA0))
      return i;  // overlong forms
    i += length;
  }
  return std::string_view::npos;
}

std::optional<DxfProblem> DxfTextAsUtf8(std::string_view content, std::string& text) {
  std::string release = HeaderValue(content, "$ACADVER");
  bool old = !release.empty() && release < kFirstUtf8Release;
  std::size_t invalid = FirstInvalidUtf8(content);
  if (invalid == std::string_view::npos) {
    text = old ? DecodeUnicodeEscapes(std::string(content)) : std::string(content);
    return std::nullopt;
  }
  std::string codePage = HeaderValue(content, "$DWGCODEPAGE");
  std::string upper = codePage;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string converter;
  if (old && upper.rfind("ANSI_", 0) == 0) converter = "CP" + upper.substr(5);
  if (old && upper.rfind("DOS", 0) == 0) converter = "CP" + upper.substr(3);
  if (converter.empty() || !Convert(content, converter, text))
    return DxfProblem{LineOf(content, invalid),
                      "the text is not UTF-8" +
                          (codePage.empty() ? std::string() : " nor code page " + codePage)};
  text = DecodeUnicodeEscapes(text);
  return std::nullopt;
}

}  // namespace tessera::files
