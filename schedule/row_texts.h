// What a schedule row shows of a figure's sign: drawing a table and refreshing a row both write
// their sign column and signed values through these, so the two always agree.
#pragma once

#include <string>

namespace area {

// The sign column: "-" for a deducted figure, else empty.
std::string RowSignText(bool negative);
// An area (or double area) as the row shows it: "-" in front for a deducted figure.
std::string SignedRowValue(bool negative, const std::string& value);

}  // namespace area
