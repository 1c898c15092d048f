// Pictures of drawings: every entity kind where the drawing has it (Y turned down), texts with
// their alignment, turn and content, block references with their attributes, colours per layer.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <tuple>

#include "drawing_builder.h"
#include "files/dxf_reader.h"
#include "platform/svg.h"

namespace tessera {
namespace {

using testing::DrawingBuilder;
using testing::ElementsOf;
using testing::SvgElement;

constexpr double kDegree = std::numbers::pi / 180.0;

AcDbPolyline* Polyline(std::initializer_list<std::pair<AcGePoint2d, double>> vertices,
                       bool closed) {
  auto* polyline = new AcDbPolyline;
  unsigned int index = 0;
  for (const auto& [point, bulge] : vertices) polyline->addVertexAt(index++, point, bulge);
  polyline->setClosed(closed);
  return polyline;
}

AcDbText* Text(const char* content, const AcGePoint3d& at, AcDb::TextHorzMode horizontal,
               AcDb::TextVertMode vertical, double rotation = 0.0) {
  auto* text = new AcDbText(at, content, AcDbObjectId::kNull, 2.5, rotation);
  text->setHorizontalMode(horizontal);
  text->setVerticalMode(vertical);
  text->setAlignmentPoint(at);
  return text;
}

SvgElement Only(const std::string& svg, const std::string& tag) {
  const std::vector<SvgElement> found = ElementsOf(svg, tag);
  EXPECT_EQ(found.size(), 1u) << "elements <" << tag << "> in\n" << svg;
  return found.empty() ? SvgElement{} : found.front();
}

TEST(SvgGeometryTest, LinesAndCirclesStandWhereTheDrawingHasThemWithYTurnedDown) {
  DrawingBuilder drawing;
  drawing.add(new AcDbLine(AcGePoint3d(10, 20, 0), AcGePoint3d(30, -40, 0)));
  drawing.add(new AcDbCircle(AcGePoint3d(5, -5, 0), AcGeVector3d::kZAxis, 2.5));
  const std::string svg = RenderSvgText(drawing.database());

  const SvgElement line = Only(svg, "line");
  EXPECT_EQ(line["x1"], "10");
  EXPECT_EQ(line["y1"], "-20");
  EXPECT_EQ(line["x2"], "30");
  EXPECT_EQ(line["y2"], "40");
  const SvgElement circle = Only(svg, "circle");
  EXPECT_EQ(circle["cx"], "5");
  EXPECT_EQ(circle["cy"], "5");
  EXPECT_EQ(circle["r"], "2.5");
}

TEST(SvgGeometryTest, HugeCoordinatesAreWrittenInFull) {
  DrawingBuilder drawing;
  drawing.add(new AcDbLine(AcGePoint3d(1e60, 0, 0), AcGePoint3d(-1e300, 0, 0)));
  const SvgElement line = Only(RenderSvgText(drawing.database()), "line");
  EXPECT_EQ(std::stod(line["x1"]), 1e60) << line["x1"];
  EXPECT_EQ(std::stod(line["x2"]), -1e300) << line["x2"];
}

TEST(SvgGeometryTest, ArcsRunCounterClockwiseFromStartToEndAngle) {
  struct Case {
    const char* name;
    double start, end;  // degrees
    const char* path;
  };
  const Case cases[] = {
      {"quarter", 0, 90, "M 10 0 A 10 10 0 0 0 0 -10"},
      {"three quarters the long way", 90, 0, "M 0 -10 A 10 10 0 1 0 10 0"},
      {"across the zero angle", 270, 90, "M 0 10 A 10 10 0 0 0 0 -10"},
  };
  for (const Case& c : cases) {
    DrawingBuilder drawing;
    drawing.add(new AcDbArc(AcGePoint3d::kOrigin, 10, c.start * kDegree, c.end * kDegree));
    EXPECT_EQ(Only(RenderSvgText(drawing.database()), "path")["d"], c.path) << c.name;
  }
}

TEST(SvgGeometryTest, PolylineBulgesBecomeArcsTurningTheirWay) {
  struct Case {
    const char* name;
    double bulge;
    const char* path;
  };
  // From (0,0) to (10,0), then straight to (10,10) and closed.
  const Case cases[] = {
      {"half circle counter-clockwise", 1.0, "M 0 0 A 5 5 0 0 0 10 0 L 10 -10 L 0 0 Z"},
      {"half circle clockwise", -1.0, "M 0 0 A 5 5 0 0 1 10 0 L 10 -10 L 0 0 Z"},
      {"more than half a circle", 2.0, "M 0 0 A 6.25 6.25 0 1 0 10 0 L 10 -10 L 0 0 Z"},
      {"straight", 0.0, "M 0 0 L 10 0 L 10 -10 L 0 0 Z"},
  };
  for (const Case& c : cases) {
    DrawingBuilder drawing;
    drawing.add(Polyline({{{0, 0}, c.bulge}, {{10, 0}, 0.0}, {{10, 10}, 0.0}}, true));
    EXPECT_EQ(Only(RenderSvgText(drawing.database()), "path")["d"], c.path) << c.name;
  }
}

TEST(SvgGeometryTest, PolylinesWithVertexObjectsAreDrawnThroughTheirVertices) {
  DrawingBuilder drawing;
  AcGePoint3dArray points;
  points.append(AcGePoint3d(0, 0, 0));
  points.append(AcGePoint3d(100, 0, 0));
  points.append(AcGePoint3d(100, 50, 0));
  drawing.add(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0.0, true));
  drawing.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, points, false));
  const std::vector<SvgElement> paths = ElementsOf(RenderSvgText(drawing.database()), "path");
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0]["d"], "M 0 0 L 100 0 L 100 -50 L 0 0 Z");
  EXPECT_EQ(paths[1]["d"], "M 0 0 L 100 0 L 100 -50");
}

TEST(SvgTextTest, AlignmentBecomesAnchorAndBaselineShiftAtTheAlignmentPoint) {
  struct Case {
    const char* name;
    AcDb::TextHorzMode horizontal;
    AcDb::TextVertMode vertical;
    const char* anchor;  // "" for the default, start
    const char* shift;   // how far down the base line lies, for a text 2.5 tall; "" for none
  };
  const Case cases[] = {
      {"left on the base line", AcDb::kTextLeft, AcDb::kTextBase, "", ""},
      {"centre at the bottom", AcDb::kTextCenter, AcDb::kTextBottom, "middle", "-0.3"},
      {"right in the middle", AcDb::kTextRight, AcDb::kTextVertMid, "end", "0.95"},
      {"left at the top", AcDb::kTextLeft, AcDb::kTextTop, "", "2.2"},
      {"middle", AcDb::kTextMid, AcDb::kTextBase, "middle", "0.95"},
  };
  for (const Case& c : cases) {
    DrawingBuilder drawing;
    AcDbText* text = Text("A", AcGePoint3d(0, 0, 0), c.horizontal, c.vertical);
    const bool atAlignment = c.horizontal != AcDb::kTextLeft || c.vertical != AcDb::kTextBase;
    if (atAlignment) text->setAlignmentPoint(AcGePoint3d(50, 60, 0));
    drawing.add(text);
    const SvgElement element = Only(RenderSvgText(drawing.database()), "text");
    EXPECT_EQ(element["text-anchor"], c.anchor) << c.name;
    EXPECT_EQ(element["dy"], c.shift) << c.name;
    EXPECT_EQ(element["x"], atAlignment ? "50" : "0") << c.name;
    EXPECT_EQ(element["y"], atAlignment ? "-60" : "0") << c.name;
  }
}

TEST(SvgTextTest, RotationTurnsTheOtherWayWithYDownAndHeightIsTheFontSize) {
  DrawingBuilder drawing;
  drawing.add(Text("A", AcGePoint3d(10, 20, 0), AcDb::kTextLeft, AcDb::kTextBase, 30 * kDegree));
  const SvgElement text = Only(RenderSvgText(drawing.database()), "text");
  EXPECT_EQ(text["transform"], "rotate(-30 10 -20)");
  EXPECT_EQ(text["font-size"], "2.5");
}

TEST(SvgTextTest, ContentIsEscapedAndJapaneseStaysUtf8) {
  struct Case {
    const char* name;
    const char* content;
    const char* shown;
  };
  const Case cases[] = {
      {"markup characters", "a<b & \"c\" 'd'>", "a&lt;b &amp; &quot;c&quot; &apos;d&apos;&gt;"},
      {"Japanese", "求積図 イ1", "求積図 イ1"},
      {"half-width kana", "ｲﾛﾊ", "ｲﾛﾊ"},
      {"bytes that are no UTF-8",
       "a\xff"
       "b",
       "a\xEF\xBF\xBD"
       "b"},
      {"control characters XML cannot hold",
       "a\x01"
       "b",
       "ab"},
      {"the degree code", "90.00%%d", "90.00\xC2\xB0"},
  };
  for (const Case& c : cases) {
    DrawingBuilder drawing;
    drawing.add(Text(c.content, AcGePoint3d::kOrigin, AcDb::kTextLeft, AcDb::kTextBase));
    EXPECT_EQ(Only(RenderSvgText(drawing.database()), "text").content, c.shown) << c.name;
  }
}

TEST(SvgTextTest, TextWithoutHeightTakesTheDrawingsTextSize) {
  DrawingBuilder drawing;
  drawing.database()->setTextsize(3.5);
  drawing.add(new AcDbText(AcGePoint3d::kOrigin, "A", AcDbObjectId::kNull, 0.0));
  EXPECT_EQ(Only(RenderSvgText(drawing.database()), "text")["font-size"], "3.5");
}

// A text of height 0 read from a file is not repaired on the way in (the file keeps what it
// had); the picture still draws it at the drawing's text size, or at the default size when the
// file gives none.
TEST(SvgTextTest, TextOfHeightZeroReadFromAFileIsDrawnReadably) {
  const std::string withSize =
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1021\n  9\n$TEXTSIZE\n 40\n4.0\n"
      "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
      "  0\nTEXT\n  5\n2A\n  8\n0\n 10\n1.0\n 20\n2.0\n 40\n0.0\n  1\n面積\n"
      "  0\nENDSEC\n  0\nEOF\n";
  const std::string withoutSize = withSize.substr(0, withSize.find("  9\n$TEXTSIZE")) +
                                  withSize.substr(withSize.find("  0\nENDSEC"));
  for (const auto& [name, text, size] : {std::tuple{"with $TEXTSIZE", withSize, "4"},
                                         std::tuple{"without $TEXTSIZE", withoutSize, "2.5"}}) {
    AcDbDatabase drawing(false, true);
    ASSERT_FALSE(files::ReadDxfText(text, &drawing).has_value()) << name;
    const SvgElement shown = Only(RenderSvgText(&drawing), "text");
    EXPECT_EQ(shown.content, "面積") << name;
    EXPECT_EQ(shown["font-size"], size) << name;
  }
}

// A block with a line from (0,0) to (10,0) and a unit circle at (5,0).
AcDbObjectId AddSampleBlock(DrawingBuilder& drawing, const std::string& name) {
  const AcDbObjectId block = drawing.addBlock(name);
  drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), "", name);
  drawing.add(new AcDbCircle(AcGePoint3d(5, 0, 0), AcGeVector3d::kZAxis, 1), "", name);
  return block;
}

AcDbBlockReference* Reference(AcDbObjectId block, const AcGePoint3d& at, double sx, double sy,
                              double rotation) {
  auto* reference = new AcDbBlockReference(at, block);
  reference->setScaleFactors(AcGeScale3d(sx, sy, 1));
  reference->setRotation(rotation);
  return reference;
}

TEST(SvgBlockTest, ReferenceMovesScalesAndTurnsTheBlocksEntities) {
  DrawingBuilder drawing;
  const AcDbObjectId block = AddSampleBlock(drawing, "B");
  drawing.add(Reference(block, AcGePoint3d(100, 50, 0), 2, 2, 90 * kDegree));
  const std::string svg = RenderSvgText(drawing.database());
  const SvgElement line = Only(svg, "line");
  EXPECT_EQ(line["x1"], "100");
  EXPECT_EQ(line["y1"], "-50");
  EXPECT_EQ(line["x2"], "100");
  EXPECT_EQ(line["y2"], "-70");
  const SvgElement circle = Only(svg, "circle");
  EXPECT_EQ(circle["cx"], "100");
  EXPECT_EQ(circle["cy"], "-60");
  EXPECT_EQ(circle["r"], "2");
}

TEST(SvgBlockTest, UnequalScalingDrawsCirclesAsEllipses) {
  DrawingBuilder drawing;
  const AcDbObjectId block = AddSampleBlock(drawing, "B");
  drawing.add(Reference(block, AcGePoint3d::kOrigin, 3, 1, 0));
  const std::string svg = RenderSvgText(drawing.database());
  EXPECT_TRUE(ElementsOf(svg, "circle").empty());
  const std::string d = Only(svg, "path")["d"];
  EXPECT_EQ(d.rfind("M 18 0 ", 0), 0u) << d;  // the circle's point at 0 degrees, stretched
  EXPECT_NE(d.find(" L 15 -1 "), std::string::npos) << d;  // its top, not stretched
}

TEST(SvgBlockTest, VisibleAttributesAreDrawnAndInvisibleOnesAndDefinitionsAreNot) {
  DrawingBuilder drawing;
  const AcDbObjectId block = drawing.addBlock("MARK");
  auto* definition = new AcDbAttributeDefinition(AcGePoint3d::kOrigin, "", "TAG", "prompt");
  definition->setHeight(2.0);
  drawing.add(definition, "", "MARK");
  const AcDbObjectId reference = drawing.add(new AcDbBlockReference(AcGePoint3d(10, 10, 0), block));
  drawing.addAttribute(reference, "BANGO1", "イ1", AcGePoint3d(10, 10, 0), false);
  drawing.addAttribute(reference, "SK", "( 3.00 4.00 6.00 )", AcGePoint3d(10, 5, 0), true);
  const std::string svg = RenderSvgText(drawing.database());
  const SvgElement text = Only(svg, "text");
  EXPECT_EQ(text.content, "イ1");
  EXPECT_EQ(text["x"], "10");
  EXPECT_EQ(text["y"], "-10");
}

TEST(SvgBlockTest, BlockThatHoldsItsOwnReferenceIsDrawnOnce) {
  DrawingBuilder drawing;
  const AcDbObjectId block = AddSampleBlock(drawing, "LOOP");
  drawing.add(new AcDbBlockReference(AcGePoint3d(1, 1, 0), block), "", "LOOP");
  drawing.add(new AcDbBlockReference(AcGePoint3d::kOrigin, block));
  EXPECT_EQ(ElementsOf(RenderSvgText(drawing.database()), "line").size(), 1u);
}

TEST(SvgColorTest, EntitiesTakeTheColourOfTheirLayerOrTheirOwn) {
  DrawingBuilder drawing;
  drawing.addLayer("RED", 1);
  drawing.addLayer("WHITE", 7);
  drawing.addLayer("HIDDEN", 3, true);
  drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), "RED");
  drawing.add(new AcDbLine(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)), "WHITE");
  auto* blue = new AcDbLine(AcGePoint3d(0, 2, 0), AcGePoint3d(1, 2, 0));
  blue->setColorIndex(5);
  drawing.add(blue, "RED");
  drawing.add(new AcDbLine(AcGePoint3d(0, 3, 0), AcGePoint3d(1, 3, 0)), "HIDDEN");
  const std::vector<SvgElement> lines = ElementsOf(RenderSvgText(drawing.database()), "line");
  ASSERT_EQ(lines.size(), 3u) << "the line on the layer that is off is not drawn";
  EXPECT_EQ(lines[0]["stroke"], "#ff0000");
  EXPECT_EQ(lines[1]["stroke"], "#000000") << "white is drawn dark on the light sheet";
  EXPECT_EQ(lines[2]["stroke"], "#0000ff");
}

TEST(SvgColorTest, BlockEntitiesOnLayerZeroOrByBlockTakeTheReferencesLook) {
  DrawingBuilder drawing;
  drawing.addLayer("MARKS", 1);
  drawing.addLayer("GREEN", 3);
  const AcDbObjectId block = drawing.addBlock("B");
  drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), "", "B");
  auto* byBlock = new AcDbLine(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0));
  byBlock->setColorIndex(0);
  drawing.add(byBlock, "GREEN", "B");
  auto* reference = new AcDbBlockReference(AcGePoint3d::kOrigin, block);
  reference->setColorIndex(5);
  drawing.add(reference, "MARKS");
  const std::vector<SvgElement> lines = ElementsOf(RenderSvgText(drawing.database()), "line");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["stroke"], "#ff0000") << "layer 0, by layer: the reference's layer's colour";
  EXPECT_EQ(lines[1]["stroke"], "#0000ff") << "by block: the reference's own colour";
}

// The view box as four numbers: x, y, width, height.
std::vector<double> ViewBox(const std::string& svg) {
  std::istringstream numbers(Only(svg, "svg")["viewBox"]);
  std::vector<double> box(4);
  for (double& value : box) numbers >> value;
  return box;
}

TEST(SvgDocumentTest, ViewBoxHoldsTheWholeDrawingWithAMargin) {
  DrawingBuilder drawing;
  drawing.add(new AcDbLine(AcGePoint3d(-1000, 200, 0), AcGePoint3d(3000, 5000, 0)));
  drawing.add(new AcDbCircle(AcGePoint3d(4000, 0, 0), AcGeVector3d::kZAxis, 500));
  const std::vector<double> box = ViewBox(RenderSvgText(drawing.database()));
  EXPECT_LT(box[0], -1000);
  EXPECT_GT(box[0] + box[2], 4500);
  EXPECT_LT(box[1], -5000);
  EXPECT_GT(box[1] + box[3], 500);
  EXPECT_LT(box[2], 5500 * 1.5) << "the margin stays small";
}

TEST(SvgDocumentTest, EmptyDrawingIsAnEmptySheet) {
  DrawingBuilder drawing;
  const std::string svg = RenderSvgText(drawing.database());
  EXPECT_EQ(ViewBox(svg).size(), 4u);
  EXPECT_TRUE(ElementsOf(svg, "line").empty());
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST(SvgDocumentTest, UnknownEntitiesAreLeftOut) {
  DrawingBuilder drawing;
  drawing.add(new AcDbUnknownEntity);
  drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  EXPECT_EQ(ElementsOf(RenderSvgText(drawing.database()), "line").size(), 1u);
}

class SvgFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() /
               ("tessera_svg_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_folder);
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }
  std::filesystem::path m_folder;
};

TEST_F(SvgFileTest, PictureIsWrittenWholeAndNothingElseIsLeft) {
  DrawingBuilder drawing;
  drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  const std::string path = (m_folder / "picture.svg").string();
  std::string error;
  ASSERT_TRUE(RenderSvg(drawing.database(), path, error)) << error;
  std::ifstream file(path, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(file)), {});
  EXPECT_EQ(written, RenderSvgText(drawing.database()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), {}), 1);
}

TEST_F(SvgFileTest, UnwritablePlaceFailsWithTheFileNamedAndLeavesNoFile) {
  DrawingBuilder drawing;
  const std::string path = (m_folder / "missing" / "picture.svg").string();
  std::string error;
  EXPECT_FALSE(RenderSvg(drawing.database(), path, error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(m_folder / "missing"));
}

}  // namespace
}  // namespace tessera
