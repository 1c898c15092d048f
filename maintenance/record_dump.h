// The record dump: every figure record of the drawing printed on the command line, one block per
// shape, for checking the stored handles and settings by hand. It changes nothing.
#pragma once

namespace area {

// Lines of the dump around each shape's title and after each record.
inline constexpr const char* kDumpBanner = "\n/////////////////////////////////////////////////";
inline constexpr const char* kDumpEntryKey = "\nハンドル：%s";
inline constexpr const char* kDumpEntryEnd = "\n-------------------------------------";

// "area_dicchk": prints the triangle, rectangle, trapezoid, circle, sector and lune dumps in this
// order; a shape without a dictionary prints nothing, a record that does not open is passed
// over. Returns RTNORM without setting a value.
int RunAreaDicChk();

}  // namespace area
