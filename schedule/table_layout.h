// Where everything of a linked area schedule goes: the points of its grid lines and texts, all
// computed before anything is drawn.
//
// The table hangs below its insertion point (X0, Y0, Z0, world coordinates): a band of
// kHeaderBand table units for the header block, one row per figure, then the footer. Lengths
// are in table units u (`table height` / 3 x `table scale`); every point has z = Z0. The
// layout is a flat list: the points of row 0, of row 1, ..., then the footer's points, each
// block in the order of the RowPoint and FooterPoint enumerations of its form.
#pragma once

#include <cstddef>
#include <vector>

#include "cad/arx.h"

namespace area {

// The two forms of a schedule: the triangle form lists triangles with base, height and double
// area; the general form lists any figure with its formula and area.
enum class TableForm { kTriangle, kGeneral };

// The `table form` value that selects the triangle form; any other value is the general form.
inline constexpr int kTriangleTableForm = 1;

TableForm TableFormOf(int tableFormSetting);

// Row height, header band and column borders, in table units.
inline constexpr double kRowHeight = 600.0;
inline constexpr double kHeaderBand = 800.0 + 600.0;
inline constexpr double kNumberColumnEnd = 2000.0;
inline constexpr double kTriangleBaseColumnEnd = 4500.0;
inline constexpr double kTriangleHeightColumnEnd = 7000.0;
inline constexpr double kTriangleTableWidth = 10500.0;
inline constexpr double kGeneralFormulaColumnEnd = 15000.0;
inline constexpr double kGeneralTableWidth = 18500.0;
// Texts sit this far above their row's bottom line; right-aligned texts end this far before the
// column's right border, and the formula starts this far after the number column.
inline constexpr double kTextLift = 150.0;
inline constexpr double kTextInset = 150.0;
inline constexpr double kFormulaIndent = 300.0;

// The sign text starts left of the number column's centre by kSignOffsetPerScale x `table
// scale` plus kSignOffsetPerTextSize x TEXTSIZE, so that it clears a centred number.
inline constexpr double kSignOffsetPerScale = 350.0;
inline constexpr double kSignOffsetPerTextSize = 1.2;

// The total's value ends this many text heights before the unit text's end, leaving room for
// "m2" (unit kind 1) or "mm2" (unit kind 3); other unit kinds show no unit.
inline constexpr int kSquareMetreUnitKind = 1;
inline constexpr int kSquareMillimetreUnitKind = 3;
inline constexpr double kSquareMetreUnitGap = 3.0;
inline constexpr double kSquareMillimetreUnitGap = 4.0;

// What the layout depends on.
struct TableFrame {
  AcGePoint3d origin;     // the insertion point, world coordinates
  double unit = 1.0;      // u, drawing units per table unit
  double scale = 1.0;     // `table scale`
  double textSize = 0.0;  // the drawing's TEXTSIZE
  int unitKind = 0;       // `table unit kind`
};

// Points of one row of the triangle form.
enum TriangleRowPoint {
  kTriRowLeftTop,
  kTriRowLeftBottom,
  kTriRowNumberEndTop,
  kTriRowNumberEndBottom,
  kTriRowBaseEndTop,
  kTriRowBaseEndBottom,
  kTriRowHeightEndTop,
  kTriRowHeightEndBottom,
  kTriRowRightTop,
  kTriRowRightBottom,
  kTriRowNumberText,      // centred
  kTriRowBaseText,        // right end
  kTriRowHeightText,      // right end
  kTriRowDoubleAreaText,  // right end
  kTriRowSignText,        // left end
  kTriRowPointCount
};

// Points of the triangle form's footer: the sum, half and land-area rows.
enum TriangleFooterPoint {
  kTriFootLeft0,  // left border at the footer's top, then one row lower each
  kTriFootLeft1,
  kTriFootLeft2,
  kTriFootLeft3,
  kTriFootDivider0,  // the number column's border, through the first two footer rows only
  kTriFootDivider1,
  kTriFootDivider2,
  kTriFootRight0,  // right border at the footer's top, then one row lower each
  kTriFootRight1,
  kTriFootRight2,
  kTriFootRight3,
  kTriFootSumLabel,  // centred labels
  kTriFootHalfLabel,
  kTriFootLandLabel,
  kTriFootSumValue,  // right ends
  kTriFootHalfValue,
  kTriFootUnitText,
  kTriFootLandValue,  // right end, left of the unit text
  kTriFootPointCount
};

// Points of one row of the general form.
enum GeneralRowPoint {
  kGenRowLeftTop,
  kGenRowLeftBottom,
  kGenRowNumberEndTop,
  kGenRowNumberEndBottom,
  kGenRowFormulaEndTop,
  kGenRowFormulaEndBottom,
  kGenRowRightTop,
  kGenRowRightBottom,
  kGenRowNumberText,   // centred
  kGenRowFormulaText,  // left end
  kGenRowAreaText,     // right end
  kGenRowSignText,     // left end
  kGenRowPointCount
};

// Points of the general form's footer: the total row.
enum GeneralFooterPoint {
  kGenFootLeftTop,
  kGenFootLeftBottom,
  kGenFootRightTop,
  kGenFootRightBottom,
  kGenFootLabel,       // centred
  kGenFootUnitText,    // right end
  kGenFootTotalValue,  // right end, left of the unit text
  kGenFootPointCount
};

std::size_t RowPointCount(TableForm form);
std::size_t FooterPointCount(TableForm form);

// The whole table's points for `rowCount` rows.
std::vector<AcGePoint3d> TableLayout(TableForm form, const TableFrame& frame, std::size_t rowCount);

// Point `index` of row `row`, and of the footer, in a layout of `rowCount` rows.
const AcGePoint3d& RowPoint(const std::vector<AcGePoint3d>& layout, TableForm form, std::size_t row,
                            int index);
const AcGePoint3d& FooterPoint(const std::vector<AcGePoint3d>& layout, TableForm form,
                               std::size_t rowCount, int index);

// "m2" for unit kind 1, "mm2" for 3, empty (no unit text) otherwise.
const char* TableUnitText(int unitKind);

}  // namespace area
