// Polygon splitting: named shape fixtures checked for what every split must give, then the cases
// where a slip in the cutting rules shows.
#include "triangulation/polygon_split.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace triangulation {
namespace {

using Points = std::vector<PlanePoint>;

// Twice the signed area, positive for clockwise corners.
double TwiceClockwiseArea(const Points& p) {
  double sum = 0.0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const PlanePoint a = p[i];
    const PlanePoint b = p[(i + 1) % p.size()];
    sum += (b.x - a.x) * (b.y + a.y);
  }
  return sum;
}

Points Regular(std::size_t n, double radius) {  // clockwise from +X
  Points points;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = -2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
    points.push_back({radius * std::cos(t), radius * std::sin(t)});
  }
  return points;
}

double RegularArea(std::size_t n, double radius) {
  return n * radius * radius * std::sin(2.0 * std::numbers::pi / static_cast<double>(n)) / 2.0;
}

Points Reversed(Points p) {
  std::reverse(p.begin(), p.end());
  return p;
}

Points StartingAt(Points p, std::size_t first) {
  std::rotate(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(first), p.end());
  return p;
}

struct Fixture {
  const char* name;
  Points points;
  int orientation;
  std::size_t triangles;
  double area;
};

const Points kConvexLot{{0, 0}, {-800, 14200}, {9650, 15100}, {12400, 6300}, {10100, -300}};
const Points kLHexagon{{0, 0}, {0, 3000}, {1000, 3000}, {1000, 1500}, {3000, 1500}, {3000, 0}};
const Points kSpiral{{0, 0}, {0, 1}, {6, 1}, {6, 6}, {1, 6}, {1, 3}, {4, 3}, {4, 4},
                     {2, 4}, {2, 5}, {5, 5}, {5, 2}, {0, 2}, {0, 7}, {7, 7}, {7, 0}};
const Points kComb{{0, 0}, {0, 4}, {1, 4}, {1, 1}, {2, 1}, {2, 4}, {3, 4}, {3, 1}, {4, 1}, {4, 4},
                   {5, 4}, {5, 1}, {6, 1}, {6, 4}, {7, 4}, {7, 1}, {8, 1}, {8, 4}, {9, 4}, {9, 0}};
const Points kStar{{0, 5}, {1, 1}, {5, 0}, {1, -1}, {0, -5}, {-1, -1}, {-5, 0}, {-1, 1}};
// Corner 6's bisector runs down x = 10 through the tip of the left notch to vertex 10.
const Points kNotchOnCut{{0, 0},   {0, 2},     {10, 5},  {0, 8},  {0, 20}, {9.5, 20},
                         {10, 10}, {10.5, 20}, {20, 20}, {20, 0}, {10, 0}};
const Points kStraightPointFirst{{6000, 0}, {0, 0}, {-500, 9000}, {11000, 9500}, {12000, 0}};
// A cut from reflex corner 5 to vertex 7 would run along the straight side 5-6-7.
const Points kReflexBesideStraightSide{{5000, 0},     {6000, -8000}, {-2000, -7000}, {-3000, -1000},
                                       {-9000, 4000}, {0, 2000},     {1000, 2000},   {2000, 2000}};

constexpr int kCw = kPolygonClockwise;
const Fixture kFixtures[] = {
    {"triangle", {{0, 0}, {3000, 4000}, {6000, 500}}, kCw, 1, 11.25e6},
    {"square", {{0, 0}, {0, 10000}, {10000, 10000}, {10000, 0}}, kCw, 2, 1e8},
    {"convex_lot", kConvexLot, kCw, 3, 171452500},
    {"convex_lot_ccw", Reversed(kConvexLot), kPolygonCounterClockwise, 3, 171452500},
    {"l_hexagon", kLHexagon, kCw, 4, 6e6},
    {"l_hexagon_ccw", Reversed(kLHexagon), kPolygonCounterClockwise, 4, 6e6},
    {"spiral", kSpiral, kCw, 14, 31},
    {"comb", kComb, kCw, 18, 24},
    {"star", kStar, kCw, 6, 20},
    {"notch_on_cut", kNotchOnCut, kCw, 9, 365},
    {"straight_point_first", kStraightPointFirst, kCw, 3, 108875000},
    {"reflex_beside_straight_side", kReflexBesideStraightSide, kCw, 6, 85e6},
    {"regular_16", Regular(16, 10000), kCw, 14, RegularArea(16, 10000)},
    {"regular_64", Regular(64, 10000), kCw, 62, RegularArea(64, 10000)},
    {"regular_256", Regular(256, 10000), kCw, 254, RegularArea(256, 10000)},
};

void PrintTo(const Fixture& f, std::ostream* os) {
  *os << f.name;
}

class ShapeFixture : public testing::TestWithParam<Fixture> {};

TEST_P(ShapeFixture, CheckGivesTheSameOrientationFromEveryStart) {
  const Fixture& f = GetParam();
  const std::size_t step = std::max<std::size_t>(1, f.points.size() / 16);  // keeps 256 quick
  for (std::size_t first = 0; first < f.points.size(); first += step) {
    EXPECT_EQ(CheckPolygon(StartingAt(f.points, first)), f.orientation) << "start " << first;
  }
}

// A counter-clockwise polygon is reversed first, as the command does; indices are mapped back.
TEST_P(ShapeFixture, SplitsIntoTrianglesOfItsVerticesThatAddUpToItsArea) {
  const Fixture& f = GetParam();
  const std::size_t n = f.points.size();
  const bool reverse = f.orientation == kPolygonCounterClockwise;
  const SplitResult split = Triangulate(reverse ? Reversed(f.points) : f.points);
  ASSERT_EQ(split.code, kSplitDone);
  ASSERT_EQ(split.triangles.size(), f.triangles);
  ASSERT_EQ(f.triangles, n - 2);
  double total = 0.0;
  for (IndexTriangle t : split.triangles) {
    if (reverse) std::transform(t.begin(), t.end(), t.begin(), [&](auto i) { return n - 1 - i; });
    ASSERT_TRUE(t[0] < n && t[1] < n && t[2] < n);
    ASSERT_TRUE(t[0] != t[1] && t[1] != t[2] && t[0] != t[2]);
    const double twice = TwiceClockwiseArea({f.points[t[0]], f.points[t[1]], f.points[t[2]]});
    EXPECT_GT(twice, 1e-9 * f.area) << "flat or counter-clockwise triangle";
    total += std::abs(twice) / 2.0;
  }
  EXPECT_NEAR(total, f.area, 1e-9 * f.area);
  EXPECT_NEAR(std::abs(TwiceClockwiseArea(f.points)) / 2.0, f.area, 1e-9 * f.area);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ShapeFixture, testing::ValuesIn(kFixtures),
                         [](const auto& info) { return std::string(info.param.name); });

// Reflex corner 3 cuts first: its bisector meets the left side 0-1 nearer vertex 0, so slot 1
// holds the piece 3, 0, 1, 2 (a cut to vertex 1 would leave the triangle 3, 1, 2 there).
TEST(Triangulate, LHexagonCutsFirstFromTheReflexCornerToTheNearerEnd) {
  const SplitResult split = Triangulate(kLHexagon);
  ASSERT_EQ(split.code, kSplitDone);
  const std::vector<IndexTriangle> expected{{3, 4, 5}, {3, 0, 1}, {3, 5, 0}, {3, 1, 2}};
  EXPECT_EQ(split.triangles, expected);
}

TEST(Triangulate, DiagonalThroughAThirdVertexIsRefused) {
  EXPECT_EQ(BoundaryCount(kNotchOnCut, kNotchOnCut[10], kNotchOnCut[6]), 3);
  EXPECT_EQ(BoundaryCount(kNotchOnCut, kNotchOnCut[2], kNotchOnCut[6]), 2);
  const SplitResult split = Triangulate(kNotchOnCut);
  ASSERT_EQ(split.code, kSplitDone);
  for (const IndexTriangle& t : split.triangles) {
    EXPECT_FALSE(std::count(t.begin(), t.end(), 6) && std::count(t.begin(), t.end(), 10));
  }
}

TEST(Triangulate, RefusesWhatItCannotCut) {
  const Points figure_eight{{0, 0}, {4, 4}, {4, 0}, {0, 2}};
  EXPECT_EQ(CheckPolygon(figure_eight), kPolygonSelfCrossing);
  EXPECT_EQ(Triangulate(figure_eight).code, kSplitSelfCrossing);
  const Points close_pair{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0.0001, 0}};
  EXPECT_EQ(CheckPolygon(close_pair), kPolygonDegenerate);
  EXPECT_EQ(Triangulate(close_pair).code, kSplitDegenerate);
  EXPECT_EQ(CheckPolygon(Points{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0.0002, 0}}),
            kPolygonClockwise);
  const Points short_side{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0.005, 0}};
  EXPECT_EQ(Triangulate(short_side).code, kSplitAngleUnmeasurable);
  EXPECT_EQ(Triangulate(Reversed(kConvexLot)).code, kSplitDegenerate);
  EXPECT_EQ(Triangulate(Regular(kMaxPolygonPoints + 1, 10000)).code, kSplitDegenerate);
}

TEST(CheckPolygon, StraightBoundaryPointFirstPassesFromBothStarts) {
  EXPECT_EQ(CheckPolygon(kStraightPointFirst), kPolygonClockwise);
  EXPECT_EQ(CheckPolygon(StartingAt(kStraightPointFirst, 1)), kPolygonClockwise);
}

// Edge 1 runs back over point 0: a spike that must not slip through because point 0 is first.
TEST(CheckPolygon, SpikeBackOverTheFirstPointCrossesFromEveryStart) {
  const Points spike{{0, 0}, {10, 0}, {-5, 0}, {-5, 10}, {0, 10}};
  for (std::size_t first = 0; first < spike.size(); ++first) {
    EXPECT_EQ(CheckPolygon(StartingAt(spike, first)), kPolygonSelfCrossing) << "start " << first;
  }
}

TEST(OrderTriangle, PutsTheWidestCornerFirstCounterClockwiseFromAnyOrder) {
  std::array<PlanePoint, 3> corners{{{0, 0}, {10, 0}, {3, 2}}};  // widest at (3, 2)
  std::sort(corners.begin(), corners.end(), [](auto p, auto q) { return p.x < q.x; });
  do {
    const auto ordered = OrderTriangle(corners);
    EXPECT_TRUE(ordered[0].x == 3 && ordered[1].x == 0 && ordered[2].x == 10)
        << corners[0].x << " " << corners[1].x << " " << corners[2].x;
  } while (std::next_permutation(corners.begin(), corners.end(),
                                 [](auto p, auto q) { return p.x < q.x; }));
}

TEST(Helpers, ClassifyOnSegmentAgainstZeroToTen) {
  const struct {
    PlanePoint r;
    SegmentPosition expected;
  } cases[] = {
      {{0.0009, 0}, SegmentPosition::kAtStart}, {{10, 0.0009}, SegmentPosition::kAtEnd},
      {{5, 0.0009}, SegmentPosition::kBetween}, {{-3, 0}, SegmentPosition::kBeforeStart},
      {{12, 0}, SegmentPosition::kAfterEnd},    {{5, 0.001}, SegmentPosition::kOffLine},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyOnSegment(c.r, {0, 0}, {10, 0}, 0.001), c.expected) << c.r.x << "," << c.r.y;
  }
}

TEST(Helpers, LinesAnglesAndLocation) {
  const auto line = MakeLine({0, 0}, {10, 0}, 0.001);
  ASSERT_TRUE(line);
  EXPECT_LT(SignedValue(*line, {5, 1}), 0.0);  // left of the direction
  EXPECT_GT(SignedValue(*line, {5, -1}), 0.0);
  EXPECT_FALSE(MakeLine({0, 0}, {0.0005, 0}, 0.001));
  EXPECT_FALSE(CrossLines(*line, *MakeLine({10, 1}, {0, 1.005}, 0.001), 0.001));  // antiparallel
  const auto x = CrossLines(*line, *MakeLine({3, -1}, {4, 1}, 0.001), 0.001);
  ASSERT_TRUE(x);
  EXPECT_NEAR(x->x, 3.5, 1e-12);
  EXPECT_NEAR(x->y, 0.0, 1e-12);
  // The L's convex corner 1 and reflex corner 3, walked clockwise.
  EXPECT_NEAR(*InteriorAngle(kLHexagon[0], kLHexagon[1], kLHexagon[2]), std::numbers::pi / 2, 1e-9);
  EXPECT_NEAR(*InteriorAngle(kLHexagon[2], kLHexagon[3], kLHexagon[4]), 4.712388, 1e-6);
  EXPECT_FALSE(InteriorAngle({0, 0}, {0, 0.009}, {5, 5}));
  EXPECT_EQ(LocatePoint(kLHexagon, {500, 500}), PointLocation::kInside);
  EXPECT_EQ(LocatePoint(Reversed(kLHexagon), {500, 500}), PointLocation::kInside);
  EXPECT_EQ(LocatePoint(kLHexagon, {2000, 2000}), PointLocation::kOutside);  // in the notch
  EXPECT_EQ(LocatePoint(kLHexagon, {2000, 1500.0005}), PointLocation::kOnBoundary);
}

}  // namespace
}  // namespace triangulation
