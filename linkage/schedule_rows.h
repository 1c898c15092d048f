// The schedule rows that list a figure, brought into agreement with its mark or taken out when
// its mark goes. Each row object holds the handles of its texts and of its table's totals; a text
// whose handle no longer resolves is skipped, and a total moves only by the change of the area
// that was actually rewritten or removed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "records/table_rows.h"

namespace area {

// What a general-form row shows of a figure's mark, as a fresh row would; formula and area are
// missing when the value list has too few values for the shape. The area carries the sign.
struct FreshTableRow {
  std::string sign, number;
  std::optional<std::string> formula, area;
};
FreshTableRow FreshTableRowTexts(int shapeCode, const std::string& label,
                                 const std::string& valueList, bool negative);

// What a triangle-form row shows, from the first three values; nothing with fewer. The double
// area carries the sign.
struct FreshTriRow {
  std::string sign, number, base, height, doubleArea;
};
std::optional<FreshTriRow> FreshTriRowTexts(const std::string& label,
                                            const std::vector<std::string>& values, bool negative);

// The footer's half of a triangle-form sum text, rounded.
std::string HalfOfSum(const std::string& sumText, int digits, int rounding);

// A general-form row: sign, number, formula and area from the mark, the total corrected by the
// area's change. Stops after the number when the value list has too few values for the shape.
void RefreshTableRow(int shapeCode, const AreaDic_Table::Row& row, const std::string& label,
                     const std::string& valueList, bool negative, int digits, int rounding);

// A triangle-form row from the first three values (base, height, double area); the footer sum
// follows the double area's change and its half is written into the half and land-area texts.
void RefreshTriTableRow(const AreaDic_STable::Row& row, const std::string& label,
                        const std::vector<std::string>& values, bool negative, int digits,
                        int rounding);

// Erases the row's texts (with the flag) and takes its area out of the total.
void RemoveTableRow(const AreaDic_Table::Row& row, bool erasing, int digits, int rounding);

// Erases the triangle-form row's texts and takes its double area out of the footer sum and its
// half out of the half and land-area texts.
void RemoveTriTableRow(const AreaDic_STable::Row& row, bool erasing, int digits, int rounding);

}  // namespace area
