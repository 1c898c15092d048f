// Reshaping a dragged four-cornered outline: which corner counts as dragged, how a rectangle and
// a trapezoid give way, and when the reshape refuses.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "linkage/reshape.h"

namespace {

using area::ReshapeResult;

AcGePoint3dArray Corners(std::initializer_list<AcGePoint3d> points) {
  AcGePoint3dArray corners;
  for (const AcGePoint3d& p : points) corners.append(p);
  return corners;
}

void ExpectCorners(const AcGePoint3dArray& actual, const AcGePoint3dArray& expected,
                   const std::string& what) {
  ASSERT_EQ(actual.length(), expected.length()) << what;
  for (int i = 0; i < expected.length(); ++i) {
    EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << what << ", corner " << i;
    EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << what << ", corner " << i;
  }
}

// The rectangle p1 (0,0), p2 (0,3), p3 (4,3), p4 (4,0) in drawing units.
const AcGePoint3dArray kRectangle = Corners({{0, 0, 0}, {0, 3, 0}, {4, 3, 0}, {4, 0, 0}});

struct RectangleCase {
  const char* name;
  int dragged;
  AcGePoint3d to;
  AcGePoint3dArray expected;
};

TEST(ReshapeRectangleTest, TheOppositeCornerStaysAndTheOthersSlideAlongItsSides) {
  const RectangleCase cases[] = {
      {"p3 out diagonally", 2, {5, 4, 0}, Corners({{0, 0, 0}, {0, 4, 0}, {5, 4, 0}, {5, 0, 0}})},
      {"p1 in", 0, {1, 1, 0}, Corners({{1, 1, 0}, {1, 3, 0}, {4, 3, 0}, {4, 1, 0}})},
      {"p2 up only", 1, {0, 5, 0}, Corners({{0, 0, 0}, {0, 5, 0}, {4, 5, 0}, {4, 0, 0}})},
      {"p4 sideways", 3, {6, -1, 0}, Corners({{0, -1, 0}, {0, 3, 0}, {6, 3, 0}, {6, -1, 0}})},
  };
  for (const RectangleCase& c : cases) {
    AcGePoint3dArray dragged = kRectangle;
    dragged[c.dragged] = c.to;
    const area::Reshape reshape = area::ReshapeRectangle(kRectangle, dragged);
    ASSERT_EQ(reshape.result, ReshapeResult::kReshaped) << c.name;
    ExpectCorners(reshape.corners, c.expected, c.name);
  }
}

TEST(ReshapeRectangleTest, AWholeMoveKeepsTheMovedOutline) {
  AcGePoint3dArray moved = Corners({{10, 10, 0}, {10, 13, 0}, {14, 13, 0}, {14, 10, 0}});
  const area::Reshape reshape = area::ReshapeRectangle(kRectangle, moved);
  ASSERT_EQ(reshape.result, ReshapeResult::kReshaped);
  ExpectCorners(reshape.corners, moved, "moved whole");
}

TEST(ReshapeRectangleTest, RefusesWithoutFourCornersOrAMoveOrARightAngleAtP2) {
  EXPECT_EQ(area::ReshapeRectangle(kRectangle, kRectangle).result, ReshapeResult::kNothingMoved);
  AcGePoint3dArray five = kRectangle;
  five.append({2, -1, 0});
  EXPECT_EQ(area::ReshapeRectangle(kRectangle, five).result, ReshapeResult::kNothingMoved);
  EXPECT_EQ(area::ReshapeRectangle(five, kRectangle).result, ReshapeResult::kNothingMoved);
  // A stored outline whose corner at p2 is off a right angle refuses every drag.
  const AcGePoint3dArray skewed = Corners({{0, 0, 0}, {1, 3, 0}, {5, 3, 0}, {4, 0, 0}});
  AcGePoint3dArray dragged = skewed;
  dragged[2] = {6, 4, 0};
  EXPECT_EQ(area::ReshapeRectangle(skewed, dragged).result, ReshapeResult::kNotPerpendicular);
}

TEST(ReshapeRectangleTest, AMoveBelowTheCoincidenceDistanceIsNoMove) {
  AcGePoint3dArray nudged = kRectangle;
  nudged[2].x += 0.00005;
  EXPECT_EQ(area::ReshapeRectangle(kRectangle, nudged).result, ReshapeResult::kNothingMoved);
}

// The trapezoid p1 (1,3), p2 (3,3), p3 (4,0), p4 (0,0): upper base p1p2, lower base p4p3.
const AcGePoint3dArray kTrapezoid = Corners({{1, 3, 0}, {3, 3, 0}, {4, 0, 0}, {0, 0, 0}});

TEST(ReshapeTrapezoidTest, TheNeighbourSlidesAlongItsLegSoTheBasesStayParallel) {
  const RectangleCase cases[] = {
      // p1 raised to y 4.5: p2 slides up its leg p2p3 to y 4.5 as well.
      {"p1 up", 0, {1, 4.5, 0}, Corners({{1, 4.5, 0}, {2.5, 4.5, 0}, {4, 0, 0}, {0, 0, 0}})},
      {"p2 left", 1, {2, 3, 0}, Corners({{1, 3, 0}, {2, 3, 0}, {4, 0, 0}, {0, 0, 0}})},
      // p3 lowered to y -1: p4 slides down the leg p4p1 to y -1.
      {"p3 down", 2, {5, -1, 0}, Corners({{1, 3, 0}, {3, 3, 0}, {5, -1, 0}, {-1.0 / 3.0, -1, 0}})},
      {"p4 right", 3, {1, 0, 0}, Corners({{1, 3, 0}, {3, 3, 0}, {4, 0, 0}, {1, 0, 0}})},
  };
  for (const RectangleCase& c : cases) {
    AcGePoint3dArray dragged = kTrapezoid;
    dragged[c.dragged] = c.to;
    const area::Reshape reshape = area::ReshapeTrapezoid(kTrapezoid, dragged);
    ASSERT_EQ(reshape.result, ReshapeResult::kReshaped) << c.name;
    ExpectCorners(reshape.corners, c.expected, c.name);
  }
}

TEST(ReshapeTrapezoidTest, ACornerDraggedAcrossSoTheBasesOpposeIsRefused) {
  AcGePoint3dArray dragged = kTrapezoid;
  dragged[3] = {6, 0, 0};  // p4 beyond p3: p4→p3 now points against p1→p2
  EXPECT_EQ(area::ReshapeTrapezoid(kTrapezoid, dragged).result, ReshapeResult::kNotParallel);
}

TEST(ReshapeTrapezoidTest, AReferenceLineParallelToTheLegFindsNoCorner) {
  // An outline collapsed onto one line: the line through the dragged p1 along the lower base
  // runs beside the leg p2p3 and never meets it.
  const AcGePoint3dArray flat = Corners({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
  AcGePoint3dArray dragged = flat;
  dragged[0] = {0, 1, 0};
  EXPECT_EQ(area::ReshapeTrapezoid(flat, dragged).result, ReshapeResult::kNoIntersection);
}

}  // namespace
