// Drawing commands: what each one puts into the drawing from typed answers.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

class DrawCommandsTest : public TestDrawing {
 protected:
  template <typename T>
  T* drawn(const std::string& script) {
    ScriptOutcome outcome = run(script);
    EXPECT_EQ(outcome.status, 0) << outcome.message << "\n" << transcript();
    if (entities().empty()) return nullptr;
    return open<T>(entities().back());
  }
};

TEST_F(DrawCommandsTest, PlineCloseMakesAClosedLightweightPolyline) {
  AcDbPolyline* polyline = drawn<AcDbPolyline>("PLINE\n0,0\n10,0\n10,10\nC\n");
  ASSERT_NE(polyline, nullptr);
  EXPECT_TRUE(polyline->isClosed());
  EXPECT_EQ(polyline->numVerts(), 3u);
  polyline->close();
  EXPECT_EQ(entities().size(), 1u);
}

TEST_F(DrawCommandsTest, PlineUndoTakesBackTheLastVertex) {
  AcDbPolyline* polyline = drawn<AcDbPolyline>("PLINE\n0,0\n10,0\n10,10\nU\n5,5\n\n");
  ASSERT_NE(polyline, nullptr);
  AcGePoint2d last;
  polyline->getPointAt(2, last);
  EXPECT_EQ(polyline->numVerts(), 3u);
  EXPECT_EQ(last, AcGePoint2d(5, 5));
  polyline->close();
}

TEST_F(DrawCommandsTest, ArcThroughThreePointsRunsTheWayThePointsGo) {
  // Clockwise through the top: the arc is the upper half, counter-clockwise from 0 to pi.
  AcDbArc* arc = drawn<AcDbArc>("ARC\n10,0\n0,10\n-10,0\n");
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->radius(), 10.0, 1e-9);
  EXPECT_NEAR(arc->startAngle(), 0.0, 1e-9);
  EXPECT_NEAR(arc->endAngle(), std::numbers::pi, 1e-9);
  arc->close();
  arc = drawn<AcDbArc>("ARC\n-10,0\n0,10\n10,0\n");
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->startAngle(), 0.0, 1e-9) << "the same upper half, given the other way";
  EXPECT_NEAR(arc->endAngle(), std::numbers::pi, 1e-9);
  arc->close();
}

TEST_F(DrawCommandsTest, ArcThroughCollinearPointsFails) {
  ScriptOutcome outcome = run("ARC\n0,0\n1,1\n2,2\n");
  EXPECT_EQ(outcome.status, 0) << "a failed command is no script error";
  EXPECT_TRUE(entities().empty());
  EXPECT_NE(transcript().find("collinear"), std::string::npos) << transcript();
}

TEST_F(DrawCommandsTest, CircleRadiusByNumberPointOrDiameter) {
  AcDbCircle* circle = drawn<AcDbCircle>("CIRCLE\n0,0\n3,4\n");
  ASSERT_NE(circle, nullptr);
  EXPECT_DOUBLE_EQ(circle->radius(), 5.0);
  circle->close();
  circle = drawn<AcDbCircle>("CIRCLE\n0,0\nD\n8\n");
  ASSERT_NE(circle, nullptr);
  EXPECT_DOUBLE_EQ(circle->radius(), 4.0);
  circle->close();
}

TEST_F(DrawCommandsTest, TextTakesHeightRotationAndSetsTheTextSize) {
  AcDbText* text = drawn<AcDbText>("TEXT\n1,2\n5\n90\n面積 表\n");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->textString(), "面積 表");
  EXPECT_DOUBLE_EQ(text->height(), 5.0);
  EXPECT_NEAR(text->rotation(), std::numbers::pi / 2, 1e-12);
  text->close();
  EXPECT_DOUBLE_EQ(database()->textsize(), 5.0);
  text = drawn<AcDbText>("TEXT\n1,2\n\n\nnext\n");
  ASSERT_NE(text, nullptr);
  EXPECT_DOUBLE_EQ(text->height(), 5.0) << "RETURN keeps the current text size";
  text->close();
}

TEST_F(DrawCommandsTest, ThreeDimensionalPolylineKeepsHeights) {
  AcDb3dPolyline* polyline = drawn<AcDb3dPolyline>("3DPOLY\n0,0,0\n10,0,5\n10,10,7\nC\n");
  ASSERT_NE(polyline, nullptr);
  EXPECT_TRUE(polyline->isClosed());
  polyline->close();
  polyline = open<AcDb3dPolyline>(entities().back());
  std::vector<AcGePoint3d> points = polyline->vertexPositions();
  std::vector<AcDbObjectId> vertices = polyline->vertexIds();
  polyline->close();
  EXPECT_EQ(points, (std::vector<AcGePoint3d>{{0, 0, 0}, {10, 0, 5}, {10, 10, 7}}));
  // The command closes every vertex it appends: each opens for write afterwards.
  for (AcDbObjectId id : vertices) {
    AcDbObject* vertex = nullptr;
    ASSERT_EQ(acdbOpenObject(vertex, id, AcDb::kForWrite), Acad::eOk) << id.handle().text();
    vertex->close();
  }
}

// A UCS turned a quarter round about the world point 1000,1000: rotation answers are in it, as
// points are, so the entities turn with it.
constexpr const char* kQuarterTurnedUcs = "UCS\n3point\n1000,1000\n1000,2000\n0,1000\n";

TEST_F(DrawCommandsTest, RotationAnswersInATurnedUcsAddItsAngle) {
  AcDbText* text = drawn<AcDbText>(std::string(kQuarterTurnedUcs) + "TEXT\n10,0\n2\n0\nabc\n");
  ASSERT_NE(text, nullptr);
  EXPECT_NEAR(text->rotation(), std::numbers::pi / 2, 1e-12);
  EXPECT_TRUE(text->position().isEqualTo(AcGePoint3d(1000, 1010, 0)));
  text->close();

  AcDbBlockReference* reference =
      drawn<AcDbBlockReference>("-INSERT\nAREA1\n0,0\n1\n1\n30\n1\n\n1\nx\n+\n");
  ASSERT_NE(reference, nullptr);
  EXPECT_NEAR(reference->rotation(), 120.0 * std::numbers::pi / 180.0, 1e-12);
  EXPECT_TRUE(reference->position().isEqualTo(AcGePoint3d(1000, 1000, 0)));
  std::vector<AcDbObjectId> attributes = reference->attributeIds();
  reference->close();
  ASSERT_FALSE(attributes.empty());
  for (AcDbObjectId id : attributes) {
    AcDbAttribute* attribute = open<AcDbAttribute>(id);
    EXPECT_NEAR(attribute->rotation(), 120.0 * std::numbers::pi / 180.0, 1e-12) << attribute->tag();
    attribute->close();
  }

  // Turned back by more than the UCS's angle: the world angle stays in [0, 2π).
  text = drawn<AcDbText>("TEXT\n0,0\n2\n-135\nabc\n");
  ASSERT_NE(text, nullptr);
  EXPECT_NEAR(text->rotation(), 315.0 * std::numbers::pi / 180.0, 1e-12);
  text->close();
}

TEST_F(DrawCommandsTest, RelativeAndPolarPoints) {
  AcDbLine* line = drawn<AcDbLine>("LINE\n10,10\n@5,0\n\n");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->endPoint(), AcGePoint3d(15, 10, 0));
  line->close();
  line = drawn<AcDbLine>("LINE\n0,0\n@10<90\n\n");
  ASSERT_NE(line, nullptr);
  EXPECT_NEAR(line->endPoint().x, 0.0, 1e-12);
  EXPECT_NEAR(line->endPoint().y, 10.0, 1e-12);
  line->close();
}

TEST_F(DrawCommandsTest, CommandsFedWithEchoOffLeaveNoPrompts) {
  ScriptOutcome outcome = run("(setvar \"CMDECHO\" 0)\n(command \"LINE\" \"0,0\" \"1,0\" \"\")\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_EQ(transcript().find("Specify"), std::string::npos) << transcript();
  EXPECT_EQ(entities().size(), 1u);
}

}  // namespace
}  // namespace tessera::testing
