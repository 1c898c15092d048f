// The exact values of each shape from its key entity: the worked cases of every kind, rounding
// half up to eight decimals, sweeps across direction 0, the triangle's unrounded area, and the
// entities that give no values.
#include "figures/exact_values.h"

#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "records/figure_kinds.h"
#include "support/test_drawing.h"

namespace area {
namespace {

constexpr double kPi = std::numbers::pi;

AcGePoint3d P(double x, double y) {
  return {x, y, 0.0};
}

class ExactValuesTest : public tessera::testing::TestDrawing {
 protected:
  AcDbObjectId polyline(const std::vector<AcGePoint3d>& points) {
    return add2dPolyline(points, true);
  }
  AcDbObjectId arc(double start, double end) { return addArc(P(100, 100), 10.0, start, end); }
};

struct ValueCase {
  const char* name;
  const FigureKindInfo& kind;
  std::function<AcDbObjectId()> make;
  std::optional<std::string> expected;
};

TEST_F(ExactValuesTest, ShapesGiveTheirValuesInValueListOrder) {
  const ValueCase cases[] = {
      {"triangle: base p2-p3, height from p1", TriangleKindInfo(),
       [this] {
         return polyline({P(0, 2), P(0, 0), P(3, 0)});
       },
       "(3.00000000 2.00000000 6.00000000 3.00000000)"},
      // 3 x 0.33333333 x 0.5 = 0.499999995: written, not rounded half up to 0.50000000.
      {"triangle: the area keeps its eight decimals unrounded", TriangleKindInfo(),
       [this] {
         return polyline({P(1, 0.33333333), P(0, 0), P(3, 0)});
       },
       "(3.00000000 0.33333333 0.99999999 0.49999999)"},
      {"triangle: values rounded half up to eight decimals", TriangleKindInfo(),
       [this] {
         return polyline({P(0, 1.000000005), P(0, 0), P(2.0000000049, 0)});
       },
       "(2.00000000 1.00000001 2.00000002 1.00000001)"},
      {"rectangle: base p2-p3 and height p1-p2", RectangleKindInfo(),
       [this] {
         return polyline({P(0, 0), P(0, 3), P(2, 3), P(2, 0)});
       },
       "(2.00000000 3.00000000 6.00000000)"},
      {"trapezoid: lower p4-p3, upper p1-p2, height from p4", TrapezoidKindInfo(),
       [this] {
         return polyline({P(0, 2), P(4, 2), P(5, 0), P(-1, 0)});
       },
       "(6.00000000 4.00000000 2.00000000 10.00000000)"},
      {"circle: the full pi", CircleKindInfo(), [this] { return addCircle(P(5, 5), 10.0); },
       "(10.00000000 314.15926536)"},
      {"sector: a quarter turn", SectorKindInfo(), [this] { return arc(0.0, kPi / 2); },
       "(10.00000000 90.00000000 78.53981634)"},
      {"sector: across direction 0, a half turn", SectorKindInfo(),
       [this] { return arc(3 * kPi / 2, kPi / 2); }, "(10.00000000 180.00000000 157.07963268)"},
      {"lune: chord and its distance from the centre", LuneKindInfo(),
       [this] { return arc(0.0, kPi / 2); },
       "(10.00000000 90.00000000 14.14213562 7.07106781 28.53981634)"},
      {"lune: across direction 0", LuneKindInfo(), [this] { return arc(7 * kPi / 4, kPi / 4); },
       "(10.00000000 90.00000000 14.14213562 7.07106781 28.53981634)"},
  };
  for (const ValueCase& c : cases)
    EXPECT_EQ(ExactValueText(c.kind, c.make()), c.expected) << c.name;
}

TEST_F(ExactValuesTest, EntitiesThatAreNoKeyOfTheKindGiveNothing) {
  const AcDbObjectId erased = polyline({P(0, 2), P(0, 0), P(3, 0)});
  AcDbEntity* entity = open<AcDbEntity>(erased, AcDb::kForWrite);
  ASSERT_NE(entity, nullptr);
  entity->erase();
  entity->close();
  const ValueCase cases[] = {
      {"triangle of a lightweight polyline", TriangleKindInfo(),
       [this] {
         return addLightPolyline({{0, 2}, {0, 0}, {3, 0}}, true);
       },
       std::nullopt},
      {"triangle of two vertices", TriangleKindInfo(),
       [this] {
         return polyline({P(0, 2), P(0, 0)});
       },
       std::nullopt},
      {"trapezoid of three vertices", TrapezoidKindInfo(),
       [this] {
         return polyline({P(0, 2), P(4, 2), P(5, 0)});
       },
       std::nullopt},
      {"rectangle with two vertices at one point", RectangleKindInfo(),
       [this] {
         return polyline({P(0, 0), P(0, 3), P(0.00005, 3)});
       },
       std::nullopt},
      {"triangle whose base is shorter than 0.001", TriangleKindInfo(),
       [this] {
         return polyline({P(0, 2), P(0, 0), P(0.0005, 0)});
       },
       std::nullopt},
      {"trapezoid whose upper base is shorter than 0.001", TrapezoidKindInfo(),
       [this] {
         return polyline({P(0, 2), P(0.0005, 2), P(5, 0), P(-1, 0)});
       },
       std::nullopt},
      {"circle of an arc", CircleKindInfo(), [this] { return arc(0, 1); }, std::nullopt},
      {"sector of a circle", SectorKindInfo(), [this] { return addCircle(P(0, 0), 10); },
       std::nullopt},
      {"lune of a line", LuneKindInfo(), [this] { return addLine(P(0, 0), P(1, 1)); },
       std::nullopt},
      {"triangle of a text", TriangleKindInfo(), [this] { return addText(P(0, 0), "1", 2.5); },
       std::nullopt},
      {"an erased outline", TriangleKindInfo(), [&] { return erased; }, std::nullopt},
      {"no entity", CircleKindInfo(), [] { return AcDbObjectId(); }, std::nullopt},
  };
  for (const ValueCase& c : cases)
    EXPECT_EQ(ExactValueText(c.kind, c.make()), c.expected) << c.name;
}

}  // namespace
}  // namespace area
