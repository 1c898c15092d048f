// A lot read from a polyline and made ready for splitting: which polylines are lots, the
// vertex limit, the repeated closing vertex, orientation, and what every triangle of a split
// must be for its figure (widest corner first, so the height's foot lies on the base).
#include "triangulation/lot_polygon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "records/drawing_fixture.h"

namespace area {
namespace {

using Corners = std::vector<AcGePoint3d>;

AcGePoint3dArray ArrayOf(const Corners& corners) {
  AcGePoint3dArray points;
  for (const AcGePoint3d& p : corners) points.append(p);
  return points;
}

Corners Regular(int n, double radius) {
  Corners corners;
  for (int i = 0; i < n; ++i) {
    const double t = 2.0 * std::numbers::pi * i / n;
    corners.push_back({radius * std::cos(t), radius * std::sin(t), 0.0});
  }
  return corners;
}

AcDbPolyline* Lightweight(const Corners& corners, int arcAt = -1) {
  auto* polyline = new AcDbPolyline();
  for (unsigned int i = 0; i < corners.size(); ++i)
    polyline->addVertexAt(i, {corners[i].x, corners[i].y}, static_cast<int>(i) == arcAt ? 0.5 : 0);
  return polyline;
}

const Corners kSquare{{0, 0, 0}, {10000, 0, 0}, {10000, 10000, 0}, {0, 10000, 0}};

class LotPolygonTest : public RecordDrawingTest {};

TEST_F(LotPolygonTest, OnlyStraightPolylinesOfAtMost256VerticesAreLots) {
  AcGeDoubleArray bulges;
  for (double b : {0.0, 0.3, 0.0, 0.0}) bulges.append(b);
  struct Case {
    const char* name;
    AcDbEntity* entity;
    const char* refusal;
  };
  const Case cases[] = {
      {"lightweight", Lightweight(kSquare), nullptr},
      {"lightweight with an arc", Lightweight(kSquare, 2), kNotPolygonMessage},
      {"2D simple", new AcDb2dPolyline(AcDb::k2dSimplePoly, ArrayOf(kSquare)), nullptr},
      {"2D fit curve", new AcDb2dPolyline(AcDb::k2dFitCurvePoly, ArrayOf(kSquare)),
       kNotPolygonMessage},
      {"2D simple with a bulge",
       new AcDb2dPolyline(AcDb::k2dSimplePoly, ArrayOf(kSquare), 0, true, 0, 0, &bulges),
       kNotPolygonMessage},
      {"3D simple", new AcDb3dPolyline(AcDb::k3dSimplePoly, ArrayOf(kSquare)), nullptr},
      {"3D spline", new AcDb3dPolyline(AcDb::k3dCubicSplinePoly, ArrayOf(kSquare)),
       kNotPolygonMessage},
      {"line", new AcDbLine({0, 0, 0}, {1, 1, 0}), kNotPolygonMessage},
      {"256 vertices", Lightweight(Regular(256, 1e5)), nullptr},
      {"257 vertices", Lightweight(Regular(257, 1e5)), kUnusableMessage},
      {"257 vertices, 2D", new AcDb2dPolyline(AcDb::k2dSimplePoly, ArrayOf(Regular(257, 1e5))),
       kUnusableMessage},
  };
  for (const Case& c : cases) {
    LotVertices lot;
    EXPECT_STREQ(ReadLotVertices(Append(c.entity), lot), c.refusal) << c.name;
    if (c.refusal == nullptr) {
      EXPECT_GE(lot.points.length(), 4) << c.name;
    } else {
      EXPECT_TRUE(lot.points.isEmpty()) << c.name << ": read anyway";
    }
  }
  LotVertices lot;
  EXPECT_STREQ(ReadLotVertices(AcDbObjectId(), lot), kNotPolygonMessage);
}

TEST_F(LotPolygonTest, OnlyARepeatedClosingVertexMayCoincide) {
  Corners drawnBack = kSquare;
  drawnBack.push_back({0.00005, 0, 0});
  Corners pinched = kSquare;
  pinched.insert(pinched.begin() + 2, {10000, 0.00005, 0});
  Corners pinchedAndBack = pinched;
  pinchedAndBack.push_back(kSquare[0]);
  struct Case {
    const char* name;
    Corners corners;
    const char* refusal;
    int left;
  };
  const Case cases[] = {{"drawn back to its start", drawnBack, nullptr, 4},
                        {"two vertices in one", pinched, kNotClosedRegionMessage, 5},
                        {"both", pinchedAndBack, kNotClosedRegionMessage, 5}};
  for (const Case& c : cases) {
    LotVertices lot;
    ASSERT_EQ(ReadLotVertices(Append(Lightweight(c.corners)), lot), nullptr) << c.name;
    EXPECT_STREQ(DropClosingVertex(lot), c.refusal) << c.name;
    EXPECT_EQ(lot.points.length(), c.left) << c.name;
  }
}

TEST(LotOrientation, TurnsClockwiseOrRefusesWithTheMessageOfTheFault) {
  AcGePoint3dArray square = ArrayOf(kSquare);
  EXPECT_EQ(MakeClockwise(square), nullptr);
  EXPECT_EQ(square.first(), kSquare.back()) << "counter-clockwise lots are reversed";
  AcGePoint3dArray eight = ArrayOf({{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 20, 0}});
  EXPECT_STREQ(MakeClockwise(eight), kTwistedMessage);
  AcGePoint3dArray flat = ArrayOf({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
  EXPECT_STREQ(MakeClockwise(flat), kUnusableMessage);
}

double Angle(const AcGePoint3d& at, const AcGePoint3d& a, const AcGePoint3d& b) {
  return (a - at).angleTo(b - at);
}

// Every triangle of a concave lot goes counter-clockwise from its widest corner, lies at the
// lot's first height, and the triangles cover the lot.
TEST(SplitLot, EachTriangleHasItsWidestCornerFirstSoTheFootLiesOnTheBase) {
  const Corners comb{{0, 0, 7},       {0, 4000, 7},    {1000, 4000, 7}, {1000, 1000, 7},
                     {2000, 1000, 7}, {2000, 4000, 7}, {3000, 4000, 7}, {3000, 0, 7}};
  AcGePoint3dArray points = ArrayOf(comb);
  ASSERT_EQ(MakeClockwise(points), nullptr);
  const auto triangles = SplitLot(points);
  ASSERT_TRUE(triangles);
  ASSERT_EQ(triangles->size(), comb.size() - 2);
  double total = 0.0;
  for (const LotTriangle& t : *triangles) {
    const double apex = Angle(t[0], t[1], t[2]);
    EXPECT_GE(apex, Angle(t[1], t[2], t[0]));
    EXPECT_GE(apex, Angle(t[2], t[0], t[1]));
    const double twice = (t[1] - t[0]).crossProduct(t[2] - t[0]).z;
    EXPECT_GT(twice, 0.0) << "not counter-clockwise";
    total += twice / 2.0;
    for (const AcGePoint3d& p : t) EXPECT_EQ(p.z, 7.0);
  }
  EXPECT_NEAR(total, 9e6, 1e-3);
}

}  // namespace
}  // namespace area
