#include "files/dxf_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "db/text_check.h"

namespace tessera::files {
namespace {

// The first release whose DXF files are UTF-8.
constexpr std::string_view kFirstUtf8Release = "AC1021";
// The host's own code page, which files that name a wrong one are most often in.
constexpr const char* kDefaultCodePage = "ANSI_932";
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

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

// Converts from the code page; false when the bytes are not text of it. With `replace`, each
// byte that is not is read as U+FFFD and counted in `replaced`, and the conversion goes on.
bool Convert(std::string_view content, const std::string& codePage, std::string& text,
             bool replace = false, std::size_t* replaced = nullptr) {
  iconv_t converter = iconv_open("UTF-8", codePage.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  text.assign(content.size() * 3 + 16, '\0');
  char* in = const_cast<char*>(content.data());
  std::size_t inLeft = content.size();
  char* out = text.data();
  std::size_t outLeft = text.size();
  bool ok = true;
  while (inLeft > 0) {
    if (iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (!replace || outLeft < kReplacement.size()) {
      ok = false;
      break;
    }
    std::memcpy(out, kReplacement.data(), kReplacement.size());
    out += kReplacement.size();
    outLeft -= kReplacement.size();
    ++in;
    --inLeft;
    if (replaced) ++*replaced;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  }
  iconv_close(converter);
  text.resize(text.size() - outLeft);
  return ok && inLeft == 0;
}

// UTF-8 with each byte that starts no character of it read as U+FFFD, counted in `replaced`:
// by the same test as FirstInvalidUtf8, so that nothing it would refuse is left (the C library's
// converter lets through sequences beyond U+10FFFF).
void ReplaceInvalidUtf8(std::string_view content, std::string& text, std::size_t& replaced) {
  text.clear();
  text.reserve(content.size() + 16);
  std::size_t i = 0;
  while (i < content.size()) {
    const std::size_t length = db::Utf8CharacterAt(content, i);
    if (length == 0) {
      text += kReplacement;
      ++replaced;
      ++i;
    } else {
      text.append(content.substr(i, length));
      i += length;
    }
  }
}

// The iconv name of a DXF code page name ("ANSI_932" is "CP932"), or "" for none.
std::string ConverterOf(const std::string& codePage) {
  std::string upper = codePage;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper.rfind("ANSI_", 0) == 0) return "CP" + upper.substr(5);
  if (upper.rfind("DOS", 0) == 0) return "CP" + upper.substr(3);
  return "";
}

}  // namespace

std::size_t FirstInvalidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    // Eight ASCII bytes at a time: most of a drawing is.
    std::uint64_t word = 0;
    if (i + sizeof word <= text.size()) {
      std::memcpy(&word, text.data() + i, sizeof word);
      if ((word & kHighBits) == 0) {
        i += sizeof word;
        continue;
      }
    }
    const std::size_t length = db::Utf8CharacterAt(text, i);
    if (length == 0) return i;
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
  std::string converter = old ? ConverterOf(codePage) : "";
  if (converter.empty() || !Convert(content, converter, text))
    return DxfProblem{LineOf(content, invalid),
                      "the text is not UTF-8" +
                          (codePage.empty() ? std::string() : " nor code page " + codePage)};
  text = DecodeUnicodeEscapes(text);
  return std::nullopt;
}

void RecoverDxfText(std::string_view content, std::string& text, std::vector<DxfProblem>& repairs) {
  std::string release = HeaderValue(content, "$ACADVER");
  bool old = release.empty() || release < kFirstUtf8Release;
  std::string codePage = old ? HeaderValue(content, "$DWGCODEPAGE") : "";
  const int line = LineOf(content, std::min(FirstInvalidUtf8(content), content.size()));
  const std::string declared = codePage.empty() ? "UTF-8" : "code page " + codePage;
  // Files of releases that are UTF-8 are not read in a code page: their good text would suffer.
  if (old && Convert(content, ConverterOf(kDefaultCodePage), text)) {
    repairs.push_back({line, "the text is not " + declared + ": read as code page " +
                                 std::string(kDefaultCodePage)});
  } else {
    std::string page = ConverterOf(codePage);
    std::size_t replaced = 0;
    if (page.empty() || !Convert(content, page, text, true, &replaced)) {
      replaced = 0;
      ReplaceInvalidUtf8(content, text, replaced);
    }
    repairs.push_back({line, std::to_string(replaced) + " bytes that are not text of " + declared +
                                 " read as U+FFFD"});
  }
  text = DecodeUnicodeEscapes(text);
}

}  // namespace tessera::files
