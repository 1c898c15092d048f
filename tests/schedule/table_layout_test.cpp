// Where a schedule's lines and texts go, for both forms: the two worked tables, the unit gap,
// the sign offset and the depth of the grid.
#include "schedule/table_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace area {
namespace {

// Layout points are sums of table units; this bounds their rounding, in drawing units.
constexpr double kCoordinateTolerance = 1e-9;

TableFrame UnitFrame(int unitKind, double textSize = 2.5) {
  TableFrame frame;
  frame.origin = AcGePoint3d(0, 0, 0);
  frame.unit = 1.0;
  frame.scale = 1.0;
  frame.textSize = textSize;
  frame.unitKind = unitKind;
  return frame;
}

struct PointCase {
  const char* name;
  int row;  // -1 for a footer point
  int index;
  double x;
  double y;
};

void ExpectPoints(const std::vector<AcGePoint3d>& layout, TableForm form, std::size_t rows,
                  const std::vector<PointCase>& cases) {
  for (const PointCase& c : cases) {
    const AcGePoint3d& p = c.row < 0
                               ? FooterPoint(layout, form, rows, c.index)
                               : RowPoint(layout, form, static_cast<std::size_t>(c.row), c.index);
    EXPECT_NEAR(p.x, c.x, kCoordinateTolerance) << c.name;
    EXPECT_NEAR(p.y, c.y, kCoordinateTolerance) << c.name;
  }
}

TEST(TableLayoutTest, GeneralFormWorkedExampleOfTwoRows) {
  const auto layout = TableLayout(TableForm::kGeneral, UnitFrame(0), 2);
  ASSERT_EQ(layout.size(), 2u * kGenRowPointCount + kGenFootPointCount);
  ExpectPoints(layout, TableForm::kGeneral, 2,
               {
                   {"row 0 left border top", 0, kGenRowLeftTop, 0, -1400},
                   {"row 0 left border bottom", 0, kGenRowLeftBottom, 0, -2000},
                   {"number column border", 0, kGenRowNumberEndBottom, 2000, -2000},
                   {"formula column border", 0, kGenRowFormulaEndTop, 15000, -1400},
                   {"right border", 1, kGenRowRightBottom, 18500, -2600},
                   {"row 1 top is row 0 bottom", 1, kGenRowLeftTop, 0, -2000},
                   {"number 0 centred", 0, kGenRowNumberText, 1000, -1850},
                   {"number 1 centred", 1, kGenRowNumberText, 1000, -2450},
                   {"formula 0 left end", 0, kGenRowFormulaText, 2300, -1850},
                   {"area 1 right end", 1, kGenRowAreaText, 18350, -2450},
                   {"footer top left", -1, kGenFootLeftTop, 0, -2600},
                   {"footer bottom left", -1, kGenFootLeftBottom, 0, -3200},
                   {"footer top right", -1, kGenFootRightTop, 18500, -2600},
                   {"footer bottom right", -1, kGenFootRightBottom, 18500, -3200},
                   {"total label", -1, kGenFootLabel, 1000, -3050},
                   {"total value without unit", -1, kGenFootTotalValue, 18350, -3050},
               });
}

TEST(TableLayoutTest, TriangleFormWorkedExampleOfOneRow) {
  const double t = 2.5;
  const auto layout = TableLayout(TableForm::kTriangle, UnitFrame(1, t), 1);
  ASSERT_EQ(layout.size(), 1u * kTriRowPointCount + kTriFootPointCount);
  ExpectPoints(layout, TableForm::kTriangle, 1,
               {
                   {"left border", 0, kTriRowLeftTop, 0, -1400},
                   {"left border bottom", 0, kTriRowLeftBottom, 0, -2000},
                   {"after number", 0, kTriRowNumberEndTop, 2000, -1400},
                   {"after base", 0, kTriRowBaseEndBottom, 4500, -2000},
                   {"after height", 0, kTriRowHeightEndTop, 7000, -1400},
                   {"right border", 0, kTriRowRightBottom, 10500, -2000},
                   {"number text", 0, kTriRowNumberText, 1000, -1850},
                   {"base text", 0, kTriRowBaseText, 4350, -1850},
                   {"height text", 0, kTriRowHeightText, 6850, -1850},
                   {"double area text", 0, kTriRowDoubleAreaText, 10350, -1850},
                   {"footer top", -1, kTriFootLeft0, 0, -2000},
                   {"sum row bottom", -1, kTriFootLeft1, 0, -2600},
                   {"half row bottom", -1, kTriFootRight2, 10500, -3200},
                   {"land row bottom", -1, kTriFootRight3, 10500, -3800},
                   {"divider top", -1, kTriFootDivider0, 2000, -2000},
                   {"divider ends above the land row", -1, kTriFootDivider2, 2000, -3200},
                   {"sum label", -1, kTriFootSumLabel, 1000, -2450},
                   {"land label", -1, kTriFootLandLabel, 1000, -3650},
                   {"sum value", -1, kTriFootSumValue, 10350, -2450},
                   {"half value", -1, kTriFootHalfValue, 10350, -3050},
                   {"unit text", -1, kTriFootUnitText, 10350, -3650},
                   {"land value left of m2", -1, kTriFootLandValue, 10500 - 150 - 3 * t, -3650},
               });
}

TEST(TableLayoutTest, LastValueLeavesRoomForTheUnitText) {
  struct Case {
    int unitKind;
    double gapInTextHeights;
  };
  const double t = 3.5;
  const Case cases[] = {{0, 0}, {1, 3}, {2, 0}, {3, 4}, {4, 0}, {-1, 0}};
  for (const Case& c : cases) {
    const auto triangle = TableLayout(TableForm::kTriangle, UnitFrame(c.unitKind, t), 2);
    const auto general = TableLayout(TableForm::kGeneral, UnitFrame(c.unitKind, t), 2);
    const double triangleGap = FooterPoint(triangle, TableForm::kTriangle, 2, kTriFootUnitText).x -
                               FooterPoint(triangle, TableForm::kTriangle, 2, kTriFootLandValue).x;
    const double generalGap = FooterPoint(general, TableForm::kGeneral, 2, kGenFootUnitText).x -
                              FooterPoint(general, TableForm::kGeneral, 2, kGenFootTotalValue).x;
    EXPECT_NEAR(triangleGap, c.gapInTextHeights * t, kCoordinateTolerance)
        << "triangle form, unit kind " << c.unitKind;
    EXPECT_NEAR(generalGap, c.gapInTextHeights * t, kCoordinateTolerance)
        << "general form, unit kind " << c.unitKind;
  }
  EXPECT_STREQ(TableUnitText(1), "m2");
  EXPECT_STREQ(TableUnitText(3), "mm2");
  EXPECT_STREQ(TableUnitText(2), "");
  EXPECT_STREQ(TableUnitText(0), "");
}

// The sign offset grows with the scale and the text size, not with the table unit.
TEST(TableLayoutTest, SignTextStartsLeftOfTheNumberByScaleAndTextSize) {
  TableFrame frame;
  frame.origin = AcGePoint3d(100, 50, 7);
  frame.unit = 2.0;
  frame.scale = 2.0;
  frame.textSize = 2.5;
  const double offset = 350 * 2.0 + 1.2 * 2.5;
  for (TableForm form : {TableForm::kTriangle, TableForm::kGeneral}) {
    const auto layout = TableLayout(form, frame, 3);
    const int sign = form == TableForm::kTriangle ? int{kTriRowSignText} : int{kGenRowSignText};
    const int number =
        form == TableForm::kTriangle ? int{kTriRowNumberText} : int{kGenRowNumberText};
    for (std::size_t row = 0; row < 3; ++row) {
      const AcGePoint3d& s = RowPoint(layout, form, row, sign);
      const AcGePoint3d& n = RowPoint(layout, form, row, number);
      EXPECT_NEAR(s.x, 100 + 1000 * 2.0 - offset, kCoordinateTolerance) << "row " << row;
      EXPECT_NEAR(s.y, n.y, kCoordinateTolerance) << "row " << row;
      EXPECT_NEAR(n.y, 50 - (1400 + 600 * (row + 1.0) - 150) * 2.0, kCoordinateTolerance);
    }
    for (const AcGePoint3d& p : layout) EXPECT_EQ(p.z, 7.0) << "every point at the insertion z";
  }
}

// The grid of n rows ends 1400u + 600nu + 1800u (triangle) or + 600u (general) below the point.
TEST(TableLayoutTest, GridDepthFollowsTheRowCount) {
  TableFrame frame;
  frame.origin = AcGePoint3d(-30, 20, 0);
  frame.unit = 2.5 / 3 * 2;
  frame.scale = 2;
  for (std::size_t rows : {0u, 1u, 7u}) {
    for (TableForm form : {TableForm::kTriangle, TableForm::kGeneral}) {
      const auto layout = TableLayout(form, frame, rows);
      ASSERT_EQ(layout.size(), rows * RowPointCount(form) + FooterPointCount(form));
      double lowest = layout.front().y;
      for (const AcGePoint3d& p : layout) lowest = std::min(lowest, p.y);
      const double footer = form == TableForm::kTriangle ? 1800 : 600;
      EXPECT_NEAR(lowest, 20 - (1400 + 600.0 * rows + footer) * frame.unit, 1e-6)
          << (form == TableForm::kTriangle ? "triangle" : "general") << " form, " << rows
          << " rows";
    }
  }
}

TEST(TableLayoutTest, FormOneIsTheTriangleForm) {
  EXPECT_EQ(TableFormOf(1), TableForm::kTriangle);
  for (int other : {0, 2, -1, 11}) EXPECT_EQ(TableFormOf(other), TableForm::kGeneral) << other;
}

}  // namespace
}  // namespace area
