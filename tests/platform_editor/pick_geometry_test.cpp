// The geometry picks and windows rest on, and the host's plane geometry helpers: each case
// states the contract it checks.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cad/ads.h"
#include "editor/pick_geometry.h"
#include "support/test_drawing.h"

namespace tessera::editor {
namespace {

constexpr double kPi = std::numbers::pi;

Shape QuarterArc() {
  Shape shape;
  shape.arcs.push_back({{0, 0}, 10, 0.0, kPi / 2});
  return shape;
}

Shape RightArc() {
  Shape shape;
  shape.arcs.push_back({{0, 0}, 10, -kPi / 4, kPi / 4});
  return shape;
}

struct DistanceCase {
  const char* name;
  Shape shape;
  AcGePoint2d point;
  double distance;
};

Shape Segment0to10() {
  Shape shape;
  shape.segments.push_back({{0, 0}, {10, 0}});
  return shape;
}

Shape UnitBox() {
  Shape shape;
  shape.boxes.push_back({{{0, 0}, {4, 0}, {4, 2}, {0, 2}}});
  return shape;
}

TEST(PickGeometryTest, DistanceToEachKindOfPiece) {
  const DistanceCase cases[] = {
      {"segment beside", Segment0to10(), {5, 3}, 3.0},
      {"segment past its end", Segment0to10(), {13, 4}, 5.0},
      {"arc within its sweep", QuarterArc(), {0, 12}, 2.0},
      {"arc centre", QuarterArc(), {0, 0}, 10.0},
      {"arc outside its sweep goes to the nearer end", QuarterArc(), {-10, -1}, std::hypot(10, 11)},
      {"inside a box", UnitBox(), {1, 1}, 0.0},
      {"beside a box", UnitBox(), {6, 1}, 2.0},
  };
  for (const DistanceCase& c : cases)
    EXPECT_NEAR(DistanceTo(c.shape, c.point), c.distance, 1e-12) << c.name;
  EXPECT_TRUE(std::isinf(DistanceTo(Shape(), {0, 0}))) << "no pieces";
}

struct WindowCase {
  const char* name;
  Shape shape;
  Window window;
  bool inside;
  bool crossing;
};

TEST(PickGeometryTest, WindowsAndCrossings) {
  const WindowCase cases[] = {
      {"segment wholly inside", Segment0to10(), Window({-1, -1}, {11, 1}), true, true},
      {"segment through, ends out", Segment0to10(), Window({4, -1}, {6, 1}), false, true},
      {"segment missed", Segment0to10(), Window({4, 1}, {6, 2}), false, false},
      // The arc from -45 to 45 degrees bulges to (10, 0) beyond a window holding its ends.
      {"arc with its bulge outside", RightArc(), Window({6, -8}, {9, 8}), false, true},
      {"arc wholly inside", QuarterArc(), Window({-1, -1}, {11, 11}), true, true},
      {"window inside the circle misses it", QuarterArc(), Window({1, 1}, {2, 2}), false, false},
      {"window inside a text box crosses it", UnitBox(), Window({1, 0.5}, {2, 1}), false, true},
      {"corners given in any order", Segment0to10(), Window({11, 1}, {-1, -1}), true, true},
  };
  for (const WindowCase& c : cases) {
    EXPECT_EQ(InsideWindow(c.shape, c.window), c.inside) << c.name;
    EXPECT_EQ(CrossesWindow(c.shape, c.window), c.crossing) << c.name;
  }
}

class EntityShapeTest : public testing::TestDrawing {};

TEST_F(EntityShapeTest, BulgedPolylineSegmentIsAnArc) {
  auto* polyline = new AcDbPolyline(2);
  polyline->addVertexAt(0, AcGePoint2d(10, 0), 1.0);  // a half circle, counter-clockwise
  polyline->addVertexAt(1, AcGePoint2d(-10, 0));
  AcDbObjectId id = append(polyline);
  AcDbEntity* entity = open<AcDbEntity>(id);
  Shape shape = ShapeOf(entity, database());
  entity->close();
  EXPECT_NEAR(DistanceTo(shape, {0, 10}), 0.0, 1e-9);
  EXPECT_NEAR(DistanceTo(shape, {0, -10}), std::hypot(10, 10), 1e-9);
}

TEST_F(EntityShapeTest, ShapesAreSeenInTheCurrentUcs) {
  AcDbObjectId id = addLine({100, 100, 0}, {110, 100, 0});
  database()->setUcs(AcGePoint3d(100, 100, 0), AcGeVector3d::kXAxis, AcGeVector3d::kYAxis);
  AcDbEntity* entity = open<AcDbEntity>(id);
  Shape shape = ShapeOf(entity, database());
  entity->close();
  EXPECT_NEAR(DistanceTo(shape, {5, 0}), 0.0, 1e-12);
}

struct AngleCase {
  ads_point from;
  ads_point to;
  double angle;
};

TEST(PlaneGeometryTest, AngleIsCounterClockwiseFromXInZeroToTwoPi) {
  const AngleCase cases[] = {
      {{0, 0, 0}, {1, 0, 0}, 0.0},        {{0, 0, 0}, {0, 1, 0}, kPi / 2},
      {{0, 0, 0}, {-1, 0, 0}, kPi},       {{0, 0, 0}, {0, -1, 5}, 1.5 * kPi},
      {{1, 1, 0}, {2, 0, 0}, 1.75 * kPi},
  };
  for (const AngleCase& c : cases) {
    double angle = acutAngle(c.from, c.to);
    EXPECT_NEAR(angle, c.angle, 1e-12);
    EXPECT_GE(angle, 0.0);
    EXPECT_LT(angle, 2 * kPi);
  }
}

TEST(PlaneGeometryTest, PolarAndDistanceAgree) {
  ads_point base = {1, 2, 3}, result;
  acutPolar(base, kPi / 3, 4.0, result);
  EXPECT_NEAR(acutDistance(base, result), 4.0, 1e-12);
  EXPECT_NEAR(acutAngle(base, result), kPi / 3, 1e-12);
  EXPECT_DOUBLE_EQ(result[Z], 3.0);
}

TEST(PlaneGeometryTest, IntersectionOfLinesAndOfSegments) {
  ads_point a = {0, 0, 0}, b = {2, 0, 0}, c = {1, -1, 0}, d = {1, 1, 0}, result;
  ASSERT_EQ(acdbInters(a, b, c, d, 1, result), RTNORM);
  EXPECT_DOUBLE_EQ(result[X], 1.0);
  EXPECT_DOUBLE_EQ(result[Y], 0.0);
  ads_point e = {5, -1, 0}, f = {5, 1, 0};
  EXPECT_EQ(acdbInters(a, b, e, f, 1, result), RTNONE) << "beyond the first segment";
  ASSERT_EQ(acdbInters(a, b, e, f, 0, result), RTNORM) << "the lines still meet";
  EXPECT_DOUBLE_EQ(result[X], 5.0);
  ads_point g = {0, 1, 0}, h = {2, 1, 0};
  EXPECT_EQ(acdbInters(a, b, g, h, 0, result), RTNONE) << "parallel";
}

}  // namespace
}  // namespace tessera::editor
