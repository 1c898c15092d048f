// The worked examples of the six figure kinds: values, construction points and mark points, to
// the digit, and the shape checks that refuse a figure.
#include "figures/measures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/value_format.h"
#include "figures/frame.h"

namespace area {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr ValueRules kMetres{1, 2, kRoundHalfUp};
constexpr ValueRules kMillimetres{2, 2, kRoundHalfUp};

AcGePoint3d P(double x, double y) {
  return {x, y, 0.0};
}
AcGePoint3d AtDegrees(double degrees, double radius = 2000.0) {
  return P(radius * std::cos(degrees * kPi / 180.0), radius * std::sin(degrees * kPi / 180.0));
}
std::string Text(double value) {
  return FormatValue(2, value);
}

void ExpectPoint(const AcGePoint3d& actual, const AcGePoint3d& expected, double tolerance,
                 const char* what) {
  EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
  EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
}

TEST(TriangleMeasureTest, WorkedExampleInMetresAndMillimetres) {
  const AcGePoint3d p1 = P(0, 0), p2 = P(-1000, -2000), p3 = P(3000, -2000);
  const std::optional<TriangleMeasure> metres = MeasureTriangle(kMetres, p1, p2, p3);
  ASSERT_TRUE(metres.has_value());
  EXPECT_EQ(Text(metres->base), "4.00");
  EXPECT_EQ(Text(metres->height), "2.00");
  EXPECT_EQ(Text(metres->product), "8.00");
  EXPECT_EQ(TriangleAreaText(kMetres, "4.00", "2.00"), "4.00");
  ExpectPoint(metres->foot, P(0, -2000), 1e-9, "height line ends below the apex");

  const std::optional<TriangleMeasure> mm = MeasureTriangle(kMillimetres, p1, p2, p3);
  ASSERT_TRUE(mm.has_value());
  EXPECT_EQ(Text(mm->base), "4000.00");
  EXPECT_EQ(Text(mm->height), "2000.00");
  EXPECT_EQ(TriangleAreaText(kMillimetres, "4000.00", "2000.00"), "4000000.00");
}

TEST(TriangleMeasureTest, AreaComesFromTheRoundedTextsNotFromTheHalvedProduct) {
  const std::optional<TriangleMeasure> m =
      MeasureTriangle(kMetres, P(0, 3330), P(0, 0), P(3330, 0));
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(Text(m->product), "11.09");
  EXPECT_EQ(TriangleAreaText(kMetres, Text(m->base), Text(m->height)), "5.54");
}

TEST(TriangleMeasureTest, ObtuseFootLiesOnTheExtendedBaseAndShortBasesFail) {
  const std::optional<TriangleMeasure> m =
      MeasureTriangle(kMetres, P(5000, 1000), P(0, 0), P(3000, 0));
  ASSERT_TRUE(m.has_value());
  ExpectPoint(m->foot, P(5000, 0), 1e-9, "foot beyond p3");
  EXPECT_FALSE(MeasureTriangle(kMetres, P(0, 1000), P(0, 0), P(0.0005, 0)).has_value());
}

TEST(RectangleTest, RightAngleWithinATolerance) {
  struct Case {
    const char* name;
    AcGePoint3d p1, p2, p3;
    bool right;
  };
  const Case cases[] = {
      {"counter-clockwise", P(0, 1000), P(0, 0), P(2000, 0), true},
      {"clockwise", P(2000, 0), P(0, 0), P(0, 1000), true},
      {"three quarters of a turn apart", P(0, -1000), P(0, 0), P(1000, 0), true},
      {"90.5 degrees", AtDegrees(90.5, 1000), P(0, 0), P(1000, 0), true},
      {"90.8 degrees", AtDegrees(90.8, 1000), P(0, 0), P(1000, 0), false},
      {"45 degrees", P(1000, 1000), P(0, 0), P(1000, 0), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsRightAngle(c.p1, c.p2, c.p3), c.right) << c.name;
}

TEST(RectangleTest, WorkedExample) {
  const AcGePoint3d p1 = P(0, 1000), p2 = P(0, 0), p3 = P(2000, 0);
  ExpectPoint(FourthCorner(p1, p2, p3), P(2000, 1000), 1e-9, "fourth corner");
  const RectangleMeasure m = MeasureRectangle(kMetres, p1, p2, p3);
  EXPECT_EQ(Text(m.base), "2.00");
  EXPECT_EQ(Text(m.height), "1.00");
  EXPECT_EQ(Text(m.area), "2.00");
  // The height text reads down the side p1→p2 (270°) and sits inside the rectangle.
  const TextPlacement height = PlaceAlongText(p1, p2, 3.0);
  EXPECT_NEAR(height.rotation, 3 * kPi / 2, 1e-12);
  ExpectPoint(height.position, P(1, 500), 1e-9, "height text inside");
  const RectangleMeasure tenByFive = MeasureRectangle(kMetres, P(0, 5000), P(0, 0), P(10000, 0));
  EXPECT_EQ(Text(tenByFive.area), "50.00");
}

TEST(TrapezoidTest, CornerChecks) {
  const AcGePoint3d p1 = P(0, 0), p2 = P(4000, 0), p3 = P(3000, 2000), p4 = P(1000, 2000);
  EXPECT_EQ(CheckTrapezoidCorners(p1, p2, p3, p4), TrapezoidCorners::kParallel);
  EXPECT_EQ(CheckTrapezoidCorners(p1, p2, p4, p3), TrapezoidCorners::kOutOfOrder);
  EXPECT_EQ(CheckTrapezoidCorners(p1, p2, p3, P(1000, 2100)), TrapezoidCorners::kNotParallel);
  // Bases pointing either side of direction 0 are still parallel.
  EXPECT_EQ(CheckTrapezoidCorners(P(0, 0), AtDegrees(-0.2), P(1500, 1500), P(0, 1500)),
            TrapezoidCorners::kParallel);
}

TEST(TrapezoidTest, WorkedExample) {
  const AcGePoint3d p1 = P(0, 0), p2 = P(4000, 0), p3 = P(3000, 2000), p4 = P(1000, 2000);
  const std::optional<TrapezoidMeasure> m = MeasureTrapezoid(kMetres, p1, p2, p3, p4);
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(ComposeValueList({Text(m->lower), Text(m->upper), Text(m->height)}, Text(m->area)),
            "( 2.00 4.00 2.00 6.00 )");
  ExpectPoint(m->foot, P(1000, 0), 1e-9, "foot");
  ExpectPoint(TrapezoidMarkPoint(p1, p2, p3, p4), P(2000, 1000), 1e-9, "mark");
}

TEST(TrapezoidTest, MarkFollowsThePerpendicularEvenBeyondTheUpperBase) {
  // The lower base's middle is at x = 6000, beyond the upper base's end at 4000.
  const AcGePoint3d mark = TrapezoidMarkPoint(P(0, 0), P(4000, 0), P(7000, 2000), P(5000, 2000));
  ExpectPoint(mark, P(6000, 1000), 1e-9, "mark");
  EXPECT_FALSE(MeasureTrapezoid(kMetres, P(0, 0), P(0.0005, 0), P(1, 1), P(0, 1)).has_value());
}

TEST(CircleMeasureTest, RoundsTheRadiusBeforeSquaringIt) {
  struct Case {
    const char* name;
    ValueRules rules;
    double radius;
    const char* radiusText;
    const char* areaText;
  };
  const Case cases[] = {
      {"metres", kMetres, 1000, "1.00", "3.14"},
      {"millimetres", kMillimetres, 1000, "1000.00", "3140000.00"},
      {"rounded radius", kMetres, 1234, "1.23", "4.75"},
  };
  for (const Case& c : cases) {
    const CircleMeasure m = MeasureCircle(c.rules, c.radius);
    EXPECT_EQ(Text(m.radius), c.radiusText) << c.name;
    EXPECT_EQ(Text(m.area), c.areaText) << c.name;
  }
}

AcGePoint3dArray Picks(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c) {
  AcGePoint3dArray points;
  points.append(a);
  points.append(b);
  points.append(c);
  return points;
}

TEST(SectorTest, WorkedExample) {
  AcGePoint3dArray points = Picks(P(2000, 0), P(1200, 1600), P(0, 2000));
  const std::optional<ArcFigure> figure = ArcThroughPoints(points);
  ASSERT_TRUE(figure.has_value());
  ExpectPoint(figure->arc.centre, P(0, 0), 1e-6, "centre");
  const SectorMeasure m = MeasureSector(kMetres, figure->arc.radius, figure->angle);
  EXPECT_EQ(Text(m.radius), "2.00");
  EXPECT_EQ(Text(m.angle), "90.00");
  EXPECT_EQ(Text(m.area), "3.14");
  ExpectPoint(SectorMarkPoint(figure->arc, points[0], points[2]), P(707.1068, 707.1068), 1e-3,
              "mark on the bisector");
}

TEST(SectorTest, PickedInReverseGivesTheSameFigure) {
  AcGePoint3dArray points = Picks(P(0, 2000), P(1200, 1600), P(2000, 0));
  const std::optional<ArcFigure> figure = ArcThroughPoints(points);
  ASSERT_TRUE(figure.has_value());
  ExpectPoint(points[0], P(2000, 0), 1e-9, "start");
  EXPECT_NEAR(figure->angle, 90.0, 1e-9);
}

TEST(SectorTest, LargeSweepPutsTheMarkBeyondTheCentre) {
  AcGePoint3dArray points = Picks(P(2000, 0), P(-1600, -1200), P(0, 2000));
  const std::optional<ArcFigure> figure = ArcThroughPoints(points);
  ASSERT_TRUE(figure.has_value());
  const SectorMeasure m = MeasureSector(kMetres, figure->arc.radius, figure->angle);
  EXPECT_EQ(Text(m.angle), "270.00");
  ExpectPoint(SectorMarkPoint(figure->arc, points[0], points[2]), P(-707.1068, -707.1068), 1e-3,
              "inside the large sector");
}

TEST(SectorTest, AngleIsRoundedBeforeTheArea) {
  const SectorMeasure m = MeasureSector({1, 0, kRoundHalfUp}, 10000, 89.6);
  EXPECT_EQ(FormatValue(0, m.angle), "90");
  EXPECT_EQ(FormatValue(0, m.area), "79");  // 10 × 10 × 3.14 × 90 / 360 = 78.5
  AcGePoint3dArray line = Picks(P(0, 0), P(1, 1), P(2, 2));
  EXPECT_FALSE(ArcThroughPoints(line).has_value());
}

TEST(LuneTest, WorkedExample) {
  AcGePoint3dArray points = Picks(P(2000, 0), P(1200, 1600), P(0, 2000));
  const std::optional<ArcFigure> figure = ArcThroughPoints(points);
  ASSERT_TRUE(figure.has_value());
  const LuneMeasure m = MeasureLune(kMetres, figure->arc, figure->angle, points[0], points[2]);
  EXPECT_EQ(ComposeValueList({Text(m.radius), Text(m.angle), Text(m.chord), Text(m.height)},
                             Text(m.area)),
            "( 2.00 90.00 2.83 1.41 1.14 )");
  const AcGePoint3d mark = LuneMarkPoint(figure->arc, m.chordMidpoint);
  EXPECT_NEAR(mark.distanceTo(P(0, 0)), 1333.3333, 1e-3);
  EXPECT_NEAR(mark.x, mark.y, 1e-9);
}

// Arcs picked either way round, and one across direction 0: the arc runs counter-clockwise, and
// the texts of a sector or lune go where the figure's worked examples put them.
TEST(ArcTextsTest, PlacementsFollowTheCounterClockwiseArc) {
  struct Case {
    const char* name;
    AcGePoint3d p1, p2, p3;
    double angle;              // degrees, before rounding
    double angleTextRotation;  // degrees
    AcGePoint3d angleText;     // on the bisector at TEXTSIZE/3 + a tenth of the radius
    double chordTextRotation;  // degrees
    AcGePoint3d chordText;
  };
  const double onBisector = 201.0 / std::sqrt(2.0);
  const double chordMiddle = 2000.0 * std::cos(10.0 * kPi / 180.0);
  const Case cases[] = {
      {"worked, counter-clockwise", P(2000, 0), P(1200, 1600), P(0, 2000), 90.0, 315.0,
       P(onBisector, onBisector), 315.0, P(1000.7071, 1000.7071)},
      {"worked, picked clockwise", P(0, 2000), P(1200, 1600), P(2000, 0), 90.0, 315.0,
       P(onBisector, onBisector), 315.0, P(1000.7071, 1000.7071)},
      {"across direction 0, 350 to 10 degrees", AtDegrees(350), AtDegrees(0), AtDegrees(10), 20.0,
       270.0, P(201, 0), 270.0, P(chordMiddle + 1.0, 0)},
  };
  constexpr double kTextSize = 3.0;
  for (const Case& c : cases) {
    AcGePoint3dArray points = Picks(c.p1, c.p2, c.p3);
    const std::optional<ArcFigure> figure = ArcThroughPoints(points);
    ASSERT_TRUE(figure.has_value()) << c.name;
    EXPECT_NEAR(figure->angle, c.angle, 1e-6) << c.name;
    const AcGePoint3d& centre = figure->arc.centre;
    const TextPlacement angleText = PlaceBesideText(centre, points[0], points[2], kTextSize);
    EXPECT_NEAR(angleText.rotation * 180.0 / kPi, c.angleTextRotation, 1e-9) << c.name;
    ExpectPoint(angleText.position, c.angleText, 1e-4, c.name);
    const TextPlacement chordText = PlaceAlongText(points[2], points[0], kTextSize);
    EXPECT_NEAR(chordText.rotation * 180.0 / kPi, c.chordTextRotation, 1e-9) << c.name;
    ExpectPoint(chordText.position, c.chordText, 1e-4, c.name);
    EXPECT_GT(centre.distanceTo(chordText.position),
              centre.distanceTo(Midpoint(points[0], points[2])))
        << c.name << ": the chord text lies on the side of the chord away from the centre";
  }
}

TEST(LuneTest, SweepsOfHalfATurnOrMoreAreRefused) {
  struct Case {
    const char* name;
    double degrees;
    bool allowed;
  };
  const Case cases[] = {
      {"half circle", 180.0, false}, {"179.5 degrees", 179.5, false}, {"179 degrees", 179.0, true},
      {"a small arc", 10.0, true},   {"beyond half", 200.0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LuneSweepAllowed(c.degrees * kPi / 180.0), c.allowed) << c.name;
}

}  // namespace
}  // namespace area
