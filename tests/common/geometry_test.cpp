// Contracts of the plane geometry helpers: text placements, the circle through three points, the
// arc's orientation, sweeps across direction 0, moved corners and perpendicular feet.
#include "common/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace area {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNear = 1e-9;

AcGePoint3d P(double x, double y, double z = 0.0) {
  return {x, y, z};
}
AcGePoint3d AtDegrees(double degrees, double radius = 1000.0) {
  return {radius * std::cos(degrees * kPi / 180.0), radius * std::sin(degrees * kPi / 180.0), 0.0};
}

void ExpectPoint(const AcGePoint3d& actual, const AcGePoint3d& expected, const char* what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-6) << what;
  EXPECT_NEAR(actual.y, expected.y, 1e-6) << what;
  EXPECT_NEAR(actual.z, expected.z, 1e-6) << what;
}

TEST(TextPlacementTest, AlongTextSitsLeftOfTheSegmentAtAThirdOfTheTextSize) {
  struct Case {
    const char* name;
    AcGePoint3d p, q;
    double rotation;
    AcGePoint3d position;
  };
  const Case cases[] = {
      {"east", P(0, 0), P(10, 0), 0.0, P(5, 1)},
      {"west turns the text and moves it below", P(10, 0), P(0, 0), kPi, P(5, -1)},
      {"north", P(0, 0), P(0, 10), kPi / 2, P(-1, 5)},
      {"south reads along 270 degrees", P(0, 10), P(0, 0), 3 * kPi / 2, P(1, 5)},
      {"keeps the height of the first point", P(0, 0, 7), P(10, 0, 7), 0.0, P(5, 1, 7)},
  };
  for (const Case& c : cases) {
    const TextPlacement placed = PlaceAlongText(c.p, c.q, 3.0);
    EXPECT_NEAR(placed.rotation, c.rotation, kNear) << c.name;
    ExpectPoint(placed.position, c.position, c.name);
  }
}

TEST(TextPlacementTest, BesideTextLiesOnTheBisectorJustOutsideTheAngleArc) {
  // Centre (0,0), start (2000,0), end (0,2000): rotation along end→start is 315°, and the text
  // sits at TEXTSIZE/3 + a tenth of the radius on the 45° bisector.
  const TextPlacement placed = PlaceBesideText(P(0, 0), P(2000, 0), P(0, 2000), 3.0);
  EXPECT_NEAR(placed.rotation, 7 * kPi / 4, kNear);
  const double distance = 1.0 + 200.0;
  ExpectPoint(placed.position, P(distance / std::sqrt(2.0), distance / std::sqrt(2.0)), "beside");
}

TEST(CircleCentre3Test, FindsTheCentreOrNothingForALine) {
  const std::optional<AcGePoint3d> centre = CircleCentre3(P(0, 0), P(10, 0), P(0, 10));
  ASSERT_TRUE(centre.has_value());
  ExpectPoint(*centre, P(5, 5), "right triangle");
  EXPECT_FALSE(CircleCentre3(P(0, 0), P(5, 5), P(10, 10)).has_value());
  const std::optional<AcGePoint3d> far =
      CircleCentre3(AtDegrees(10), AtDegrees(100), AtDegrees(200));
  ASSERT_TRUE(far.has_value());
  ExpectPoint(*far, P(0, 0), "points on a circle about the origin");
}

TEST(ArcFrom3Test, OrdersThePointsSoTheArcRunsCounterClockwiseThroughTheMiddle) {
  struct Case {
    const char* name;
    double start, middle, end;  // degrees of the picked points
    bool swapped;
    double startAngle, endAngle;  // degrees of the resulting arc
  };
  const Case cases[] = {
      {"0 → 90 → 180 keeps the order", 0, 90, 180, false, 0, 180},
      {"0 → 270 → 180 swaps the ends", 0, 270, 180, true, 180, 0},
      {"a clockwise pick is turned round", 90, 45, 0, true, 0, 90},
      {"a sweep across 0 keeps its order", 350, 0.5, 10, false, 350, 10},
      {"270 degrees from 90 to 0 through 225", 90, 225, 0, false, 90, 0},
  };
  for (const Case& c : cases) {
    AcGePoint3dArray points;
    points.append(AtDegrees(c.start));
    points.append(AtDegrees(c.middle));
    points.append(AtDegrees(c.end));
    const ArcGeometry arc = ArcFrom3(P(0, 0), points);
    ExpectPoint(points[0], AtDegrees(c.swapped ? c.end : c.start), c.name);
    EXPECT_NEAR(arc.startAngle, c.startAngle * kPi / 180.0, 1e-9) << c.name;
    EXPECT_NEAR(std::fmod(arc.endAngle, 2 * kPi), std::fmod(c.endAngle * kPi / 180.0, 2 * kPi),
                1e-9)
        << c.name;
    EXPECT_NEAR(arc.radius, 1000.0, 1e-9) << c.name;
  }
}

TEST(PointOnArcSweepTest, EndsAreOutsideAndWrappedSweepsWork) {
  EXPECT_TRUE(PointOnArcSweep(P(0, 0), AtDegrees(0), AtDegrees(45), AtDegrees(90)));
  EXPECT_FALSE(PointOnArcSweep(P(0, 0), AtDegrees(0), AtDegrees(135), AtDegrees(90)));
  EXPECT_FALSE(PointOnArcSweep(P(0, 0), AtDegrees(0), AtDegrees(90), AtDegrees(90)));
  EXPECT_TRUE(PointOnArcSweep(P(0, 0), AtDegrees(350), AtDegrees(5), AtDegrees(10)));
  EXPECT_FALSE(PointOnArcSweep(P(0, 0), AtDegrees(350), AtDegrees(180), AtDegrees(10)));
}

TEST(ArcSweepTest, MeasuresCounterClockwiseAcrossDirectionZero) {
  EXPECT_NEAR(SweepDegrees(ArcSweep(0.0, kPi / 2)), 90.0, 1e-9);
  EXPECT_NEAR(SweepDegrees(ArcSweep(350 * kPi / 180, 10 * kPi / 180)), 20.0, 1e-9);
  EXPECT_NEAR(SweepDegrees(ArcSweep(kPi / 2, 0.0)), 270.0, 1e-9);
}

TEST(MovedVertexTest, NamesTheFirstCornerThatMovedBeyondTheTolerance) {
  AcGePoint3dArray before;
  for (const AcGePoint3d& p : {P(0, 0), P(10, 0), P(10, 5), P(0, 5)}) before.append(p);
  AcGePoint3dArray same = before;
  EXPECT_EQ(MovedVertex(before, same), -1);
  AcGePoint3dArray third = before;
  third[2].x += 0.001;
  EXPECT_EQ(MovedVertex(before, third), 2);
  AcGePoint3dArray barely = before;
  barely[1].y += kCoincidentDistance / 2;
  EXPECT_EQ(MovedVertex(before, barely), -1);
  AcGePoint3dArray three = before;
  three.removeLast();
  EXPECT_EQ(MovedVertex(three, three), -1);
}

TEST(PerpendicularFootTest, DropsOntoTheUnboundedLine) {
  struct Case {
    const char* name;
    AcGePoint3d p, a, b;
    AcGePoint3d foot;
    double distance;
  };
  const Case cases[] = {
      {"foot inside the base", P(0, 0), P(-1000, -2000), P(3000, -2000), P(0, -2000), 2000},
      {"foot beyond the base (obtuse)", P(5000, 1000), P(0, 0), P(3000, 0), P(5000, 0), 1000},
      {"slanted base", P(0, 10), P(0, 0), P(10, 10), P(5, 5), std::sqrt(50.0)},
      {"takes the height of the point", P(0, 3, 4), P(0, 0, 0), P(10, 0, 0), P(0, 0, 4), 3},
  };
  for (const Case& c : cases) {
    const std::optional<PlaneLine> line = LineThrough(c.a, c.b, 0.001);
    ASSERT_TRUE(line.has_value()) << c.name;
    const std::optional<Foot> foot = PerpendicularFoot(c.p, *line);
    ASSERT_TRUE(foot.has_value()) << c.name;
    ExpectPoint(foot->point, c.foot, c.name);
    EXPECT_NEAR(foot->distance, c.distance, 1e-9) << c.name;
  }
}

TEST(LineThroughTest, RefusesPointsCloserThanTheMinimumInThePlane) {
  EXPECT_FALSE(LineThrough(P(0, 0), P(0.0005, 0), 0.001).has_value());
  EXPECT_TRUE(LineThrough(P(0, 0), P(0.001, 0), 0.001).has_value());
  // Only the XY distance counts: a vertical pair is no line.
  EXPECT_FALSE(LineThrough(P(0, 0, 0), P(0, 0, 50), 0.001).has_value());
  const PlaneLine degenerate{0.0, 0.0, 0.0};
  EXPECT_FALSE(PerpendicularFoot(P(1, 1), degenerate).has_value());
}

TEST(GeometryTest, MidpointAndIntersection) {
  ExpectPoint(Midpoint(P(0, 0), P(2000, 2000)), P(1000, 1000), "midpoint");
  const std::optional<AcGePoint3d> crossing =
      LineIntersection(P(0, 0), P(1, 0), P(5, 5), P(5, 6), false);
  ASSERT_TRUE(crossing.has_value());
  ExpectPoint(*crossing, P(5, 0), "unbounded lines");
  EXPECT_FALSE(LineIntersection(P(0, 0), P(1, 0), P(5, 5), P(5, 6), true).has_value());
  EXPECT_FALSE(LineIntersection(P(0, 0), P(1, 0), P(0, 1), P(1, 1), false).has_value());
}

TEST(GeometryTest, HandlesCompareByBothHalves) {
  EXPECT_TRUE(SameHandle(AcDbHandle(0x2A, 1), AcDbHandle(0x2A, 1)));
  EXPECT_FALSE(SameHandle(AcDbHandle(0x2A, 1), AcDbHandle(0x2A, 2)));
  EXPECT_NEAR(RadiansToDegrees(3.14159265), 180.0, 1e-12);
}

}  // namespace
}  // namespace area
