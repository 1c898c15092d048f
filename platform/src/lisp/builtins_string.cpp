// String functions and conversions between numbers and text. Lengths and positions count UTF-16
// code units, as the host counts characters, so "イ1" has length 2.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "lisp/builtins.h"

namespace tessera::lisp {

namespace {

using Args = std::vector<Value>;

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr int kDefaultRtosMode = 2;
constexpr int kDefaultRtosPrecision = 4;
constexpr int kMaxRtosPrecision = 16;
constexpr int kScientificMode = 1;
constexpr int kDecimalMode = 2;

// Decodes UTF-8; a byte that does not start a valid sequence becomes U+FFFD.
std::u16string ToUtf16(std::string_view text) {
  std::u16string units;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80           ? 0
                : (lead >> 5) == 0x6  ? 1
                : (lead >> 4) == 0xE  ? 2
                : (lead >> 3) == 0x1E ? 3
                                      : -1;
    char32_t code = extra == 0   ? lead
                    : extra == 1 ? lead & 0x1F
                    : extra == 2 ? lead & 0x0F
                                 : lead & 0x07;
    bool valid = extra >= 0 && i + extra < text.size();
    for (int k = 1; valid && k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid || code > 0x10FFFF) {
      units.push_back(static_cast<char16_t>(kReplacementCharacter));
      ++i;
      continue;
    }
    i += extra + 1;
    if (code < kFirstSupplementary) {
      units.push_back(static_cast<char16_t>(code));
    } else {
      code -= kFirstSupplementary;
      units.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
  }
  return units;
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < kFirstSupplementary) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Encodes UTF-16 as UTF-8; half of a pair cut off by substr becomes U+FFFD.
std::string ToUtf8(std::u16string_view units) {
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char16_t unit = units[i];
    if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      AppendUtf8(kFirstSupplementary + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00), out);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(kReplacementCharacter, out);
    } else {
      AppendUtf8(unit, out);
    }
  }
  return out;
}

Value Strcat(Interpreter&, Args& args) {
  std::string text;
  for (const Value& arg : args) text += StringArgument(arg);
  return Value::String(std::move(text));
}

Value Strlen(Interpreter&, Args& args) {
  std::size_t length = 0;
  for (const Value& arg : args) length += ToUtf16(StringArgument(arg)).size();
  return Value::Integer(static_cast<std::int32_t>(length));
}

// (substr text start [length]): start counts from 1; without a length, to the end.
Value Substr(Interpreter&, Args& args) {
  CheckArgumentCount(args, 2, 3);
  std::u16string units = ToUtf16(StringArgument(args[0]));
  std::int32_t start = IntegerArgument(args[1]);
  if (start < 1) throw Error(std::string(kBadArgumentValue) + "positive " + std::to_string(start));
  std::size_t count = std::u16string::npos;
  if (args.size() == 3) {
    std::int32_t length = IntegerArgument(args[2]);
    if (length < 0) {
      throw Error(std::string(kBadArgumentValue) + "non-negative " + std::to_string(length));
    }
    count = static_cast<std::size_t>(length);
  }
  std::size_t first = static_cast<std::size_t>(start) - 1;
  if (first >= units.size()) return Value::String("");
  return Value::String(ToUtf8(std::u16string_view(units).substr(first, count)));
}

// (strcase text [lower]): ASCII letters to upper case, or to lower case when `lower` is not nil.
Value Strcase(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 2);
  const std::string& text = StringArgument(args[0]);
  if (args.size() == 1 || args[1].isNil()) return Value::String(ToUpperAscii(text));
  std::string lower = text;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return Value::String(std::move(lower));
}

Value Itoa(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  return Value::String(std::to_string(IntegerArgument(args[0])));
}

std::size_t SkipBlanks(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  return i;
}

// The leading decimal integer of the text (0 when there is none), clamped to 32 bits.
Value Atoi(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  const std::string& text = StringArgument(args[0]);
  std::size_t i = SkipBlanks(text);
  bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(kLimit, magnitude * 10 + (text[i] - '0'));
  }
  std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return Value::Integer(static_cast<std::int32_t>(value));
}

// Length of the decimal number (sign, digits, fraction, exponent) at the start of `text`.
std::size_t DecimalPrefix(std::string_view text) {
  std::size_t i = 0;
  auto digits = [&] {
    std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - start;
  };
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::size_t mantissa = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return 0;
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (digits() > 0) end = i;
  }
  return end;
}

// The leading decimal number of the text as a real; 0.0 when there is none.
Value Atof(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  const std::string& text = StringArgument(args[0]);
  std::string_view rest = std::string_view(text).substr(SkipBlanks(text));
  std::string number(rest.substr(0, DecimalPrefix(rest)));
  return Value::Real(number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr));
}

// (rtos number [mode [precision]]): mode 1 scientific, mode 2 decimal.
Value Rtos(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 3);
  double value = NumberArgument(args[0]);
  int mode = args.size() > 1 ? IntegerArgument(args[1]) : kDefaultRtosMode;
  int precision = args.size() > 2 ? IntegerArgument(args[2]) : kDefaultRtosPrecision;
  if (mode != kScientificMode && mode != kDecimalMode) {
    throw Error(std::string(kBadArgumentValue) + "rtos mode " + std::to_string(mode));
  }
  if (precision < 0 || precision > kMaxRtosPrecision) {
    throw Error(std::string(kBadArgumentValue) + "rtos precision " + std::to_string(precision));
  }
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, mode == kScientificMode ? "%.*E" : "%.*f", precision, value);
  return Value::String(buffer);
}

}  // namespace

void InstallStringBuiltins(Interpreter& lisp) {
  lisp.define("strcat", Strcat);
  lisp.define("strlen", Strlen);
  lisp.define("substr", Substr);
  lisp.define("strcase", Strcase);
  lisp.define("itoa", Itoa);
  lisp.define("atoi", Atoi);
  lisp.define("atof", Atof);
  lisp.define("rtos", Rtos);
}

}  // namespace tessera::lisp
