// Text for pictures: numbers written the same in every locale, XML-safe UTF-8, the drawing's
// special-character codes, and how wide a text is likely to be drawn.
#pragma once

#include <string>
#include <string_view>

namespace tessera::svg {

// A number with at most four decimals, no trailing zeros, "." as the decimal point whatever the
// locale, and "0" for minus zero and for values that are not finite.
std::string FormatNumber(double value);

// Text content or an attribute value: &, <, >, " and ' escaped; characters XML cannot hold
// (controls other than tab, line feed and return) dropped; bytes that are not UTF-8 replaced by
// U+FFFD, so the picture is always a well-formed document.
std::string EscapeXml(std::string_view text);

// The drawing's special-character codes made readable: %%d degree, %%p plus-minus, %%c diameter,
// %%% a percent sign; the underline and overline switches %%u and %%o are dropped.
std::string ExpandSpecialCodes(std::string_view text);

// The width a sans-serif font gives the text at this height: full-width characters (kana, kanji,
// full-width forms) take about one height, the others a little over half.
double EstimateTextWidth(std::string_view text, double height);

}  // namespace tessera::svg
