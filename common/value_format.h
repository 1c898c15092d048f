// Values as numbers and texts: rounding, formatting, reading numbers back, value lists and the
// formula texts of area schedules.
//
// Every number written into the drawing is rounded with RoundValue and written with FormatValue
// under the same digits, so a figure, its linkage updates and its schedule rows agree digit for
// digit. Texts are made and read in the "C" numeric locale whatever the environment says.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace area {

// Shape codes, written into the mark and selecting the formula of a figure.
inline constexpr int kShapeTriangle = 1;
inline constexpr int kShapeRectangle = 2;
inline constexpr int kShapeTrapezoid = 3;
inline constexpr int kShapeSector = 4;
inline constexpr int kShapeCircle = 5;
inline constexpr int kShapeLune = 6;

// π of every area and formula text (dimensionless); deliberately 3.14, not the full value, so
// that areas agree with the land documents they are attached to.
inline constexpr double kAreaPi = 3.14;
inline constexpr std::string_view kAreaPiText = "3.14";

// Drawing units are millimetres; unit kinds below kMetreUnitKindLimit show lengths in metres.
inline constexpr double kMillimetresPerMetre = 1000.0;
inline constexpr int kMetreUnitKindLimit = 2;

// Rounding modes; any other value truncates.
inline constexpr int kRoundHalfUp = 0;
inline constexpr int kRoundUp = 1;

// Decimals of a value text; more cannot be cut from the nine-decimal text that rounding reads.
inline constexpr int kMaxDigits = 8;

// A value list is read up to this many UTF-16 code units; the rest is ignored.
inline constexpr std::size_t kValueListLimit = 255;

// Rounds value in place to `digits` decimals (clamped to 0..kMaxDigits) under `rounding`:
// kRoundHalfUp adds 10^-(digits+2) first so values stored a hair below a half round up;
// kRoundUp raises the magnitude when the first dropped decimal (after rounding to nine decimals)
// is not 0; other modes truncate. Negative values round their magnitude, like positive ones; a
// result of zero is +0. Non-finite values are left as they are.
void RoundValue(int digits, int rounding, double& value);

// value written as "%.*f" with `digits` (clamped to 0..kMaxDigits) decimals.
std::string FormatValue(int digits, double value);

// "m2" for unit kinds below kMetreUnitKindLimit, else "mm2".
std::string_view AreaUnitText(int unitKind);

// A drawn length (millimetres) in the unit of `unitKind`: metres below kMetreUnitKindLimit.
double LengthInUnit(int unitKind, double millimetres);

// The decimal number at the start of text, after white space, like C's atof in the "C" locale:
// sign, digits, optional fraction and exponent; 0 when there is none. Hexadecimal, "inf" and
// "nan" forms are not numbers here. Values beyond the range of double give the largest finite
// double of their sign; values too small to hold give 0.
double ReadDecimal(std::string_view text);

// The optionally signed decimal integer at the start of text, after white space, like C's atoi;
// 0 when there is none. Values beyond the range of long long are clamped to it.
long long ReadInteger(std::string_view text);

// The pieces of text between separators: runs of separators count as one and separators at
// either end are ignored, so no piece is empty.
std::vector<std::string> SplitTokens(std::string_view text, char separator);

// Whether a value text holds a number a double can carry: false for "inf", "nan" and numbers
// beyond the range of double, which no value text may show; true for any other text.
bool FitsInNumber(std::string_view text);
// Whether every text fits in a number.
bool AllFitInNumbers(const std::vector<std::string>& texts);

// Formula text of a schedule row ("3.00x4.00x0.5") and the figure's area text.
struct Formula {
  std::string formula;
  std::string area;
};

// The formula and area of a figure of shape `shapeCode` from its value list; nothing when the
// shape code is unknown, the list has fewer values than the shape needs or a value that does not
// fit in a number.
std::optional<Formula> ComposeFormula(int shapeCode, std::string_view valueList);

}  // namespace area
