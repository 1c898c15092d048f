// The two checks every figure's picked points pass: no two coincide, all lie at one height.
#include "common/input.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace area {
namespace {

AcGePoint3dArray Points(std::initializer_list<AcGePoint3d> points) {
  AcGePoint3dArray list;
  for (const AcGePoint3d& p : points) list.append(p);
  return list;
}

TEST(PointsCoincideTest, ComparesEveryPairIn3d) {
  struct Case {
    const char* name;
    AcGePoint3dArray points;
    bool coincide;
  };
  const Case cases[] = {
      {"0.00005 apart", Points({{0, 0, 0}, {0.00005, 0, 0}}), true},
      {"0.0002 apart", Points({{0, 0, 0}, {0.0002, 0, 0}}), false},
      {"exactly the tolerance", Points({{0, 0, 0}, {0.0001, 0, 0}}), true},
      {"first and last of four", Points({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 0, 0.00001}}),
       true},
      {"apart only in height", Points({{0, 0, 0}, {0, 0, 1}}), false},
      {"a single point", Points({{0, 0, 0}}), false},
  };
  for (const Case& c : cases) EXPECT_EQ(PointsCoincide(c.points), c.coincide) << c.name;
}

TEST(PointsLevelTest, WalksConsecutivePairs) {
  struct Case {
    const char* name;
    AcGePoint3dArray points;
    bool level;
  };
  const Case cases[] = {
      {"0, 0, 0.0002", Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0.0002}}), false},
      {"creeping by 0.00005 then 0.00005", Points({{0, 0, 0}, {1, 0, 0.00005}, {0, 1, 0.0001}}),
       true},
      {"one point", Points({{0, 0, 5}}), true},
      {"none", Points({}), true},
      {"all high", Points({{0, 0, 100}, {1, 0, 100}}), true},
  };
  for (const Case& c : cases) EXPECT_EQ(PointsLevel(c.points), c.level) << c.name;
}

}  // namespace
}  // namespace area
