// Where a schedule's lines and texts go, for both forms: the unit gap, the sign offset and the
// depth of the grid. The worked tables are checked entity by entity in plot_tally_test.
#include "schedule/table_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace area {
namespace {

// Layout points are sums of table units; this bounds their rounding, in drawing units.
constexpr double kCoordinateTolerance = 1e-9;

TableFrame UnitFrame(int unitKind, double textSize) {
  TableFrame frame;
  frame.unit = 1.0;
  frame.scale = 1.0;
  frame.textSize = textSize;
  frame.unitKind = unitKind;
  return frame;
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
