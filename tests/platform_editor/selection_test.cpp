// Selection: picks, windows, crossings, filters, and the "Select objects:" answers.
#include <gtest/gtest.h>

#include "editor/selection.h"
#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

class SelectionTest : public TestDrawing {
 protected:
  std::vector<AcDbObjectId> members(const ads_name set) {
    const editor::IdList* ids = editor::SelectionSetMembers(set);
    return ids ? *ids : std::vector<AcDbObjectId>();
  }
  std::vector<AcDbObjectId> selectWith(const char* mode, const AcGePoint3d& a, const AcGePoint3d& b,
                                       const resbuf* filter = nullptr) {
    ads_point p1 = {a.x, a.y, a.z}, p2 = {b.x, b.y, b.z};
    ads_name set;
    if (acedSSGet(mode, p1, p2, filter, set) != RTNORM) return {};
    std::vector<AcDbObjectId> ids = members(set);
    acedSSFree(set);
    return ids;
  }
};

TEST_F(SelectionTest, PickTakesTheLastDrawnEntityWithinPickbox) {
  AcDbObjectId first = addLine({0, 0, 0}, {100, 0, 0});
  AcDbObjectId second = addLine({0, 2, 0}, {100, 2, 0});
  addCircle({500, 500, 0}, 10);
  EXPECT_EQ(editor::PickAt(database(), {50, 1, 0}), second);
  EXPECT_EQ(editor::PickAt(database(), {50, -2.5, 0}), first);
  EXPECT_TRUE(editor::PickAt(database(), {50, -3.5, 0}).isNull()) << "beyond PICKBOX 3";
  EXPECT_FALSE(editor::PickAt(database(), {510, 501, 0}).isNull()) << "on the circle";
  EXPECT_TRUE(editor::PickAt(database(), {500, 500, 0}).isNull()) << "inside, far from it";
}

TEST_F(SelectionTest, WindowTakesWhatIsWhollyInsideCrossingAlsoWhatItTouches) {
  AcDbObjectId inside = addLine({1, 1, 0}, {2, 2, 0});
  AcDbObjectId across = addLine({5, 5, 0}, {50, 5, 0});
  AcDbObjectId circle = addCircle({20, 20, 0}, 15);  // passes through the window, centre out
  addLine({100, 100, 0}, {200, 200, 0});
  EXPECT_EQ(selectWith("W", {0, 0, 0}, {10, 10, 0}), (std::vector<AcDbObjectId>{inside}));
  EXPECT_EQ(selectWith("C", {10, 10, 0}, {0, 0, 0}),
            (std::vector<AcDbObjectId>{inside, across, circle}));
}

TEST_F(SelectionTest, FilterByTypeBlockNameAndApplication) {
  addLine({0, 0, 0}, {1, 0, 0});
  ScriptOutcome outcome =
      run("(command \"-INSERT\" \"AREA1\" \"5,5\" 1 1 0 \"1\" \"\" 1 \"( )\" \"+\")\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  AcDbObjectId mark = entities().back();
  resbuf* byBlock = acutBuildList(RTDXF0, "INSERT", 2, "AREA1", RTNONE);
  EXPECT_EQ(selectWith("X", {0, 0, 0}, {0, 0, 0}, byBlock), (std::vector<AcDbObjectId>{mark}));
  acutRelRb(byBlock);
  resbuf* other = acutBuildList(2, "AREA_TABLE", RTNONE);
  EXPECT_TRUE(selectWith("X", {0, 0, 0}, {0, 0, 0}, other).empty());
  acutRelRb(other);
  resbuf* lines = acutBuildList(RTDXF0, "LINE,CIRCLE", RTNONE);
  EXPECT_EQ(selectWith("X", {0, 0, 0}, {0, 0, 0}, lines).size(), 1u);
  acutRelRb(lines);
}

TEST_F(SelectionTest, WildcardsOfFilters) {
  EXPECT_TRUE(editor::MatchesWildcard("AREA1", "area#"));
  EXPECT_TRUE(editor::MatchesWildcard("AREA_TABLE", "AREA*"));
  EXPECT_FALSE(editor::MatchesWildcard("AREA_TABLE", "AREA?"));
  EXPECT_TRUE(editor::MatchesWildcard("LINE", "CIRCLE,LINE"));
  EXPECT_TRUE(editor::MatchesWildcard("LINE", "~CIRCLE"));
  EXPECT_FALSE(editor::MatchesWildcard("CIRCLE", "~CIRCLE"));
}

TEST_F(SelectionTest, SelectObjectsPromptTakesPicksWindowsLastAllAndPrevious) {
  AcDbObjectId a = addLine({0, 0, 0}, {10, 0, 0});
  AcDbObjectId b = addLine({0, 20, 0}, {10, 20, 0});
  AcDbObjectId c = addCircle({50, 50, 0}, 1);
  ScriptOutcome outcome =
      run("(setq s1 (ssget))\n5,0\nW\n-1,19\n11,21\n\n"
          "(setq s2 (ssget))\nL\n\n"
          "(setq s3 (ssget))\nP\n\n"
          "(setq s4 (ssget))\nALL\n\n"
          "(list (sslength s1) (sslength s2) (sslength s3) (sslength s4))\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_TRUE(HasLine(transcript(), "(2 1 1 3)")) << transcript();
  (void)a;
  (void)b;
  (void)c;
}

TEST_F(SelectionTest, EntityNamesFromLispAndNothingSelectedGivesNil) {
  addLine({0, 0, 0}, {10, 0, 0});
  ScriptOutcome outcome =
      run("(setq s (ssget))\n(entlast)\n\n(eq (ssname s 0) (entlast))\n"
          "(ssget \"W\" '(100 100) '(200 200))\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  std::vector<std::string> lines = Lines(transcript());
  EXPECT_EQ(lines[lines.size() - 3], "T") << transcript();
  EXPECT_EQ(lines.back(), "nil") << transcript();
}

TEST_F(SelectionTest, TextIsPickedOnItsLetters) {
  AcDbObjectId text = addText({0, 0, 0}, "ABCDEFGH", 10.0);
  // Far from the insertion point, but on the sixth letter.
  EXPECT_EQ(editor::PickAt(database(), {33, 5, 0}), text);
}

TEST_F(SelectionTest, AnEmptyTextIsNotPickedAlongItsLine) {
  AcDbObjectId text = addText({0, 0, 0}, "A", 10.0);
  AcDbText* empty = new AcDbText(AcGePoint3d(40, 0, 0), "", AcDbObjectId::kNull, 10.0, 0.0);
  append(empty);
  EXPECT_TRUE(editor::PickAt(database(), {40, 100000, 0}).isNull()) << "far along its line";
  EXPECT_EQ(editor::PickAt(database(), {2, 5, 0}), text) << "the text drawn before it";
}

}  // namespace
}  // namespace tessera::testing
