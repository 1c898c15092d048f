// Values as numbers and texts: rounding, formatting, reading numbers back, value lists, formulas.
#include "common/value_format.h"

#include "common/value_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "common/text_units.h"

namespace area {
namespace {

// Decimals of the text that the round-up and truncate modes cut; it rounds at the ninth decimal.
constexpr int kCutTextDigits = 9;

// Longest "%.*f" text of a double: 309 integer digits, sign, point and kMaxDigits+1 decimals.
constexpr std::size_t kFixedTextCapacity = 400;

// Exponents beyond this bound are out of the range of double whatever the digits before them.
constexpr long long kExponentBound = 100000;

int ClampDigits(int digits) {
  return std::clamp(digits, 0, kMaxDigits);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// White space of the "C" locale.
bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// "%.*f" of value in the "C" locale (std::to_chars is locale independent by definition).
std::string FixedText(int precision, double value) {
  std::array<char, kFixedTextCapacity> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, precision);
  return std::string(buffer.data(), result.ptr);
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

// End of the unsigned decimal number "digits[.digits][e[sign]digits]" at pos; pos when the
// mantissa has no digit. An exponent without digits is not part of the number.
std::size_t DecimalNumberEnd(std::string_view text, std::size_t pos) {
  std::size_t end = SkipDigits(text, pos);
  bool hasDigits = end > pos;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = SkipDigits(text, end + 1);
    hasDigits = hasDigits || fractionEnd > end + 1;
    end = fractionEnd;
  }
  if (!hasDigits) return pos;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t exponentEnd = SkipDigits(text, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }
  return end;
}

// Whether a decimal number that does not fit a double is too large rather than too small: the
// power of ten of its first significant digit is positive.
bool IsTooLarge(std::string_view number) {
  const std::size_t exponentAt = std::min(number.find_first_of("eE"), number.size());
  const std::string_view mantissa = number.substr(0, exponentAt);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;
  long long order = first < point ? static_cast<long long>(point - first - 1)
                                  : -static_cast<long long>(first - point);
  if (exponentAt < number.size()) {
    order +=
        std::clamp(ReadInteger(number.substr(exponentAt + 1)), -kExponentBound, kExponentBound);
  }
  return order > 0;
}

double ReadMagnitude(std::string_view number) {
  double magnitude = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), magnitude,
                                      std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    return IsTooLarge(number) ? std::numeric_limits<double>::max() : 0.0;
  }
  return magnitude;
}

double RoundHalfUp(int digits, double magnitude) {
  return ReadDecimal(FixedText(digits, magnitude + std::pow(10.0, -(digits + 2))));
}

// Cuts the nine-decimal text after the first dropped decimal, which decides a round-up.
double CutDecimals(int digits, bool roundUp, double magnitude) {
  std::string text = FixedText(kCutTextDigits, magnitude);
  text.resize(text.find('.') + 1 + digits + 1);
  const bool raise = roundUp && text.back() != '0';
  text.pop_back();
  return ReadDecimal(text) + (raise ? std::pow(10.0, -digits) : 0.0);
}

// Values a shape's value list must hold; 0 for an unknown shape code.
std::size_t ValuesNeeded(int shapeCode) {
  switch (shapeCode) {
    case kShapeTriangle:
      return 4;  // base, height, base x height, area
    case kShapeRectangle:
      return 3;  // two sides, area
    case kShapeTrapezoid:
      return 4;  // two parallel sides, height, area
    case kShapeSector:
      return 3;  // radius, angle, area
    case kShapeCircle:
      return 2;  // radius, area
    case kShapeLune:
      return 5;  // radius, angle, chord, height, area
    default:
      return 0;
  }
}

std::string FormulaText(int shapeCode, const std::vector<std::string>& t) {
  const std::string pi(kAreaPiText);
  switch (shapeCode) {
    case kShapeTriangle:
      return t[0] + "x" + t[1] + "x0.5";
    case kShapeRectangle:
      return t[0] + "x" + t[1];
    case kShapeTrapezoid:
      return "(" + t[0] + "+" + t[1] + ")x" + t[2] + "x0.5";
    case kShapeSector:
      return t[0] + "x" + t[0] + "x" + pi + "x" + t[1] + "/360";
    case kShapeCircle:
      return t[0] + "x" + t[0] + "x" + pi;
    default:
      return t[0] + "x" + t[0] + "x" + pi + "x" + t[1] + "/360-" + t[2] + "x" + t[3] + "x0.5";
  }
}

}  // namespace

void RoundValue(int digits, int rounding, double& value) {
  if (!std::isfinite(value)) return;
  // Mended: digits outside 0..8 are clamped; the nine-decimal cut cannot serve more.
  const int d = ClampDigits(digits);
  // Mended: the magnitude is rounded and the sign restored, so -1.234 rounds up to -1.24.
  const double magnitude = rounding == kRoundHalfUp
                               ? RoundHalfUp(d, std::fabs(value))
                               : CutDecimals(d, rounding == kRoundUp, std::fabs(value));
  value = (value < 0.0 && magnitude != 0.0) ? -magnitude : magnitude;
}

std::string FormatValue(int digits, double value) {
  return FixedText(ClampDigits(digits), value);
}

std::string_view AreaUnitText(int unitKind) {
  return unitKind < kMetreUnitKindLimit ? "m2" : "mm2";
}

double LengthInUnit(int unitKind, double millimetres) {
  return unitKind < kMetreUnitKindLimit ? millimetres / kMillimetresPerMetre : millimetres;
}

double ReadDecimal(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  const std::size_t end = DecimalNumberEnd(text, pos);
  if (end == pos) return 0.0;
  const double magnitude = ReadMagnitude(text.substr(pos, end - pos));
  return negative ? -magnitude : magnitude;
}

long long ReadInteger(std::string_view text) {
  constexpr long long kMax = std::numeric_limits<long long>::max();
  std::size_t pos = 0;
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  // Accumulated as a negative number, whose range reaches one further than the positive one.
  long long value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    const int digit = text[pos] - '0';
    if (value < (std::numeric_limits<long long>::min() + digit) / 10) {
      return negative ? std::numeric_limits<long long>::min() : kMax;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == std::numeric_limits<long long>::min() ? kMax : -value;
}

std::vector<std::string> SplitTokens(std::string_view text, char separator) {
  std::vector<std::string> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = text.find_first_not_of(separator, pos);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(text.find(separator, start), text.size());
    tokens.emplace_back(text.substr(start, end - start));
    pos = end;
  }
  return tokens;
}

bool FitsInNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  double value = 0.0;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range)
    return !IsTooLarge(text.substr(0, static_cast<std::size_t>(result.ptr - text.data())));
  return result.ec != std::errc() || std::isfinite(value);
}

bool AllFitInNumbers(const std::vector<std::string>& texts) {
  return std::all_of(texts.begin(), texts.end(),
                     [](const std::string& t) { return FitsInNumber(t); });
}

std::optional<Formula> ComposeFormula(int shapeCode, std::string_view valueList) {
  const std::size_t needed = ValuesNeeded(shapeCode);
  const std::vector<std::string> values = SplitValueList(valueList);
  if (needed == 0 || values.size() < needed || !AllFitInNumbers(values)) return std::nullopt;
  return Formula{FormulaText(shapeCode, values), values[needed - 1]};
}

}  // namespace area
