// plot_tally as a user meets it: figures drawn on the command line, picked by their marks and
// tabulated; the grid, texts and totals of both forms, the rows the records gain, the old-form
// list, the choices of a mixed selection, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/handles.h"
#include "platform/documents.h"
#include "schedule/schedule_drawing.h"

namespace area::testing {
namespace {

using tessera::testing::HasLine;

class PlotTallyTest : public ScheduleDrawing {};

// The general form's worked table: two rows, table unit 1 at (0, 0), no unit text. The sign
// text starts 350 + 1.2 x 2.5 left of the number's centre.
TEST_F(PlotTallyTest, GeneralFormDrawsTheWorkedTableInOrder) {
  const AcDbObjectId ten = drawRectangle("10", 30000, 0);
  const AcDbObjectId nine = drawTriangle("9", 20000, 10000);
  const TallyResult result = plotTally(kGeneralSettings, {ten, nine});
  EXPECT_FALSE(result.error) << transcript();
  EXPECT_TRUE(result.list.empty());
  const std::vector<std::string> expected = {
      "INSERT T TABLE_LINE AREA_TABLE (0,0) scale 1 rotation 0",
      "TEXT TEXT TABLE_TEXT R (18350,-3050) \"6.00\"",
      "LINE L TABLE_LINE (0,-1400)-(0,-2000)",
      "LINE L TABLE_LINE (2000,-1400)-(2000,-2000)",
      "LINE L TABLE_LINE (15000,-1400)-(15000,-2000)",
      "LINE L TABLE_LINE (18500,-1400)-(18500,-2000)",
      "LINE L TABLE_LINE (0,-2000)-(18500,-2000)",
      "TEXT TEXT TABLE_TEXT L (647,-1850) \"\"",
      "TEXT TEXT TABLE_TEXT C (1000,-1850) \"9\"",
      "TEXT TEXT TABLE_TEXT L (2300,-1850) \"4.00x2.00x0.5\"",
      "TEXT TEXT TABLE_TEXT R (18350,-1850) \"4.00\"",
      "LINE L TABLE_LINE (0,-2000)-(0,-2600)",
      "LINE L TABLE_LINE (2000,-2000)-(2000,-2600)",
      "LINE L TABLE_LINE (15000,-2000)-(15000,-2600)",
      "LINE L TABLE_LINE (18500,-2000)-(18500,-2600)",
      "LINE L TABLE_LINE (0,-2600)-(18500,-2600)",
      "TEXT TEXT TABLE_TEXT L (647,-2450) \"\"",
      "TEXT TEXT TABLE_TEXT C (1000,-2450) \"10\"",
      "TEXT TEXT TABLE_TEXT L (2300,-2450) \"2.00x1.00\"",
      "TEXT TEXT TABLE_TEXT R (18350,-2450) \"2.00\"",
      "LINE L TABLE_LINE (0,-2600)-(0,-3200)",
      "LINE L TABLE_LINE (18500,-2600)-(18500,-3200)",
      "LINE L TABLE_LINE (0,-3200)-(18500,-3200)",
      "TEXT TEXT TABLE_TEXT C (1000,-3050) \"計\"",
  };
  EXPECT_EQ(tableEntities(), expected);
  EXPECT_EQ(tableRowCount(nine), 1);
  EXPECT_EQ(tableRowCount(ten), 1);
}

// The triangle form's worked table: one row, "m2", the land area 3 text heights left of it.
TEST_F(PlotTallyTest, TriangleFormDrawsTheWorkedTableInOrder) {
  const AcDbObjectId mark = drawTriangle("1", 0, 10000);
  ASSERT_FALSE(plotTally(kTriangleSettings, {mark}).error) << transcript();
  const std::vector<std::string> expected = {
      "INSERT T TABLE_LINE AREA_TABLE (0,0) scale 1 rotation 0",
      "TEXT TEXT TABLE_TEXT R (10350,-2450) \"8.00\"",
      "TEXT TEXT TABLE_TEXT R (10350,-3050) \"4.00\"",
      "TEXT TEXT TABLE_TEXT R (10342.5,-3650) \"4.00\"",
      "LINE L TABLE_LINE (0,-1400)-(0,-2000)",
      "LINE L TABLE_LINE (2000,-1400)-(2000,-2000)",
      "LINE L TABLE_LINE (4500,-1400)-(4500,-2000)",
      "LINE L TABLE_LINE (7000,-1400)-(7000,-2000)",
      "LINE L TABLE_LINE (10500,-1400)-(10500,-2000)",
      "LINE L TABLE_LINE (0,-2000)-(10500,-2000)",
      "TEXT TEXT TABLE_TEXT L (647,-1850) \"\"",
      "TEXT TEXT TABLE_TEXT C (1000,-1850) \"1\"",
      "TEXT TEXT TABLE_TEXT R (4350,-1850) \"4.00\"",
      "TEXT TEXT TABLE_TEXT R (6850,-1850) \"2.00\"",
      "TEXT TEXT TABLE_TEXT R (10350,-1850) \"8.00\"",
      "LINE L TABLE_LINE (0,-2000)-(0,-3800)",
      "LINE L TABLE_LINE (2000,-2000)-(2000,-3200)",
      "LINE L TABLE_LINE (10500,-2000)-(10500,-3800)",
      "LINE L TABLE_LINE (0,-2600)-(10500,-2600)",
      "LINE L TABLE_LINE (0,-3200)-(10500,-3200)",
      "LINE L TABLE_LINE (0,-3800)-(10500,-3800)",
      "TEXT TEXT TABLE_TEXT C (1000,-2450) \"計\"",
      "TEXT TEXT TABLE_TEXT C (1000,-3050) \"１／２\"",
      "TEXT TEXT TABLE_TEXT C (1000,-3650) \"地積\"",
      "TEXT TEXT TABLE_TEXT R (10350,-3650) \"m2\"",
  };
  EXPECT_EQ(tableEntities(), expected);
  EXPECT_EQ(triangleRowCount(mark), 1);
  EXPECT_EQ(tableRowCount(mark), 0);
}

// A deducted figure shows "-" as its sign and before its value, and counts against the total.
TEST_F(PlotTallyTest, DeductedFigureIsSubtracted) {
  const AcDbObjectId added = drawTriangle("1", 0, 10000);
  const AcDbObjectId deducted = drawRectangle("2", 10000, 10000);
  setAttribute(deducted, "PM", "-");
  ASSERT_FALSE(plotTally(kGeneralSettings, {added, deducted}).error) << transcript();
  const std::vector<std::string> entities = tableEntities();
  const auto has = [&](const std::string& line) {
    return std::find(entities.begin(), entities.end(), line) != entities.end();
  };
  EXPECT_TRUE(has("TEXT TEXT TABLE_TEXT L (647,-2450) \"-\""));
  EXPECT_TRUE(has("TEXT TEXT TABLE_TEXT R (18350,-2450) \"-2.00\""));
  EXPECT_TRUE(has("TEXT TEXT TABLE_TEXT R (18350,-3050) \"2.00\"")) << "4.00 - 2.00";
}

TEST_F(PlotTallyTest, DeductedTriangleHalvesTheRoundedSum) {
  const AcDbObjectId first = drawTriangle("1", 0, 10000);
  const AcDbObjectId second = drawTriangle("2", 10000, 10000);
  const AcDbObjectId third = drawTriangle("3", 20000, 10000);
  setAttribute(third, "PM", "-");
  setAttribute(second, "SK", "( 4.00 2.00 8.01 4.01 )");
  // One decimal, rounding up: the sum 8.01 shows as 8.1, whose half 4.05 shows as 4.1; half of
  // the raw sum would have shown 4.0.
  ASSERT_FALSE(
      plotTally("1|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|1|1|1|1", {first, second, third}).error)
      << transcript();
  EXPECT_EQ(tableTexts("-8.00").size(), 1u) << "the deducted double area";
  EXPECT_EQ(tableTexts("8.01").size(), 1u) << "the second row";
  EXPECT_EQ(tableTexts("8.1").size(), 1u) << "the sum 8 + 8.01 - 8";
  EXPECT_EQ(tableTexts("4.1").size(), 2u) << "the half and the land area";
}

// In triangle form a rectangle's mark is dropped without a word; alone, nothing is left.
TEST_F(PlotTallyTest, TriangleFormDropsOtherShapes) {
  const AcDbObjectId triangle = drawTriangle("1", 0, 10000);
  const AcDbObjectId rectangle = drawRectangle("2", 10000, 10000);
  ASSERT_FALSE(plotTally(kTriangleSettings, {rectangle, triangle}).error) << transcript();
  EXPECT_EQ(triangleRowCount(triangle), 1);
  EXPECT_EQ(tableTexts("2").size(), 0u);
  EXPECT_EQ(tableRowCount(rectangle), 0);
  clearTranscript();
  EXPECT_TRUE(plotTally(kTriangleSettings, {rectangle}, {}).error);
  EXPECT_TRUE(shows("\n有効な求積図が選択されていません")) << transcript();
}

// Unlinked marks alone give the old-form list, with no prompt for a point.
TEST_F(PlotTallyTest, UnlinkedMarksGiveTheOldFormList) {
  const AcDbObjectId a = insertMark("7", 2, "( 2.00 1.00 2.00 )", "+", 0, 0);
  const AcDbObjectId b = insertMark("3", 1, "( 4.00 2.00 8.00 4.00 )", "-", 100, 0);
  const TallyResult result = plotTally(kGeneralSettings, {a, b}, {});
  EXPECT_EQ(result.list,
            "((\"3\" 1 \"( 4.00 2.00 8.00 4.00 )\" \"-\") (\"7\" 2 \"( 2.00 1.00 2.00 )\" \"+\"))")
      << transcript();
  EXPECT_TRUE(HasLine(transcript(),
                      "連動機能を持たないの求積図が選択されました 旧形式の面積表を作成します"))
      << transcript();
  EXPECT_TRUE(shows("\n2個の求積図が選択されました"));
  EXPECT_EQ(transcript().find("挿入点"), std::string::npos);
  EXPECT_TRUE(tableEntities().empty());
}

// Texts longer than the original's buffers are handed on whole.
TEST_F(PlotTallyTest, OverLongValueListAndSignArePassedOnAsStored) {
  std::string list = "(";
  for (int i = 0; i < 60; ++i) list += " 12.34";
  list += " )";
  const std::string sign(40, '+');
  const AcDbObjectId mark = insertMark("1", 2, list, sign, 0, 0);
  const TallyResult result = plotTally(kGeneralSettings, {mark}, {});
  EXPECT_EQ(result.list, "((\"1\" 2 \"" + list + "\" \"" + sign + "\"))");
}

struct OrderCase {
  const char* name;
  int sortMode;
  std::vector<std::string> selected;
  std::vector<std::string> rows;
};

TEST_F(PlotTallyTest, RowsFollowTheSortMode) {
  const std::vector<OrderCase> cases = {
      {"natural: 9 before 10, A2 before a2", 1, {"a2", "10", "A2", "9"}, {"9", "10", "A2", "a2"}},
      {"plain: 10 before 9", 2, {"9", "a2", "10", "A2"}, {"10", "9", "A2", "a2"}},
      {"selection order kept", 0, {"b", "10", "a", "9"}, {"b", "10", "a", "9"}},
      {"equal numbers keep their order", 1, {"5", "1", "5"}, {"1", "5", "5"}},
  };
  double x = 0;
  for (const OrderCase& c : cases) {
    std::vector<AcDbObjectId> marks;
    for (const std::string& label : c.selected)
      marks.push_back(insertMark(label, 2, "( " + label + " )", "+", x += 100, 0));
    const std::string settings =
        "0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|0|2|" + std::to_string(c.sortMode) + "|0";
    std::string expected = "(";
    for (const std::string& label : c.rows)
      expected += std::string(expected.size() > 1 ? " " : "") + "(\"" + label + "\" 2 \"( " +
                  label + " )\" \"+\")";
    EXPECT_EQ(plotTally(settings, marks, {}).list, expected + ")") << c.name;
  }
}

TEST_F(PlotTallyTest, MixedSelectionAsksAndReturnMeansLinked) {
  const AcDbObjectId linked = drawTriangle("1", 0, 10000);
  const AcDbObjectId unlinked = insertMark("2", 1, "( 4.00 2.00 8.00 4.00 )", "+", 100, 0);
  const TallyResult result = plotTally(kGeneralSettings, {unlinked, linked}, {"", "0,0"});
  EXPECT_FALSE(result.error);
  EXPECT_TRUE(HasLine(transcript(), "連動機能を持たないの求積図が含まれています")) << transcript();
  EXPECT_TRUE(HasLine(transcript(), "作表対象の求積図ﾀｲﾌﾟを選択 (A=連動のみ/B=非連動のみ)<A>:"));
  EXPECT_TRUE(HasLine(transcript(), "1つの、連動機能を持たない求積図はﾌｨﾙﾀｱｳﾄ"));
  EXPECT_EQ(tableRowCount(linked), 1);
  EXPECT_EQ(tableTexts("2").size(), 0u);
}

TEST_F(PlotTallyTest, MixedSelectionAnsweredBListsTheUnlinked) {
  const AcDbObjectId linked = drawTriangle("1", 0, 10000);
  const AcDbObjectId unlinked = insertMark("2", 1, "( 4.00 2.00 8.00 4.00 )", "+", 100, 0);
  const TallyResult result = plotTally(kGeneralSettings, {linked, unlinked}, {"B"});
  EXPECT_EQ(result.list, "((\"2\" 1 \"( 4.00 2.00 8.00 4.00 )\" \"+\"))");
  EXPECT_TRUE(shows("\n1個の求積図が選択されました")) << transcript();
  EXPECT_TRUE(shows("\n1つの、連動機能を持つ求積図はﾌｨﾙﾀｱｳﾄ"));
  EXPECT_TRUE(tableEntities().empty());
  EXPECT_EQ(tableRowCount(linked), 0);
}

TEST_F(PlotTallyTest, CancelAndReturnEndQuietly) {
  const AcDbObjectId linked = drawTriangle("1", 0, 10000);
  const AcDbObjectId unlinked = insertMark("2", 1, "( 4.00 2.00 8.00 4.00 )", "+", 100, 0);
  const TallyResult cancelled = plotTally(kGeneralSettings, {linked, unlinked}, {"*CANCEL*"});
  EXPECT_FALSE(cancelled.error);
  EXPECT_TRUE(cancelled.list.empty());
  const TallyResult noPoint = plotTally(kGeneralSettings, {linked}, {""});
  EXPECT_FALSE(noPoint.error);
  const TallyResult nothingPicked = plotTally(kGeneralSettings, {}, {});
  EXPECT_FALSE(nothingPicked.error);
  EXPECT_TRUE(tableEntities().empty());
  EXPECT_EQ(tableRowCount(linked), 0);
}

TEST_F(PlotTallyTest, ArgumentsAreChecked) {
  EXPECT_TRUE(call("(plot_tally)").error);
  EXPECT_TRUE(shows("\n引き数(1)がありません")) << transcript();
  EXPECT_TRUE(call("(plot_tally 5)").error);
  EXPECT_TRUE(shows("\n引き数(1)の型が異なっています")) << transcript();
  clearTranscript();
  EXPECT_TRUE(call("(plot_tally \"0|A|B|C|1|3|0|2\")").error) << "two fields short";
  const std::vector<std::string> lines = tessera::testing::Lines(transcript());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "nil") << "no message, no prompt\n" << transcript();
}

// A refused header insertion must not take the user's last entity for the header.
TEST_F(PlotTallyTest, MissingHeaderBlockFailsAndTouchesNothing) {
  const AcDbObjectId mark = drawTriangle("1", 0, 10000);
  const std::size_t before = modelSpace().size();
  const TallyResult result =
      plotTally("0|TABLE_LINE|TABLE_TEXT|NO_SUCH_HEADER|1|3|0|2|1|0", {mark});
  EXPECT_TRUE(result.error) << transcript();
  EXPECT_EQ(modelSpace().size(), before);
  EXPECT_TRUE(tableEntities().empty());
  AcDbEntity* entity = open<AcDbEntity>(mark);
  ASSERT_NE(entity, nullptr);
  EXPECT_EQ(entity->layer(), "AREA_MARK");
  entity->close();
  EXPECT_EQ(tableRowCount(mark), 0);
}

// A mark whose KT was edited to another shape must not put its row into the wrong record.
TEST_F(PlotTallyTest, RecordOfAnotherShapeFailsTheTable) {
  const AcDbObjectId mark = drawTriangle("1", 0, 10000);
  setAttribute(mark, "KT", "2");
  EXPECT_TRUE(plotTally(kGeneralSettings, {mark}).error) << transcript();
  EXPECT_EQ(tableRowCount(mark), 0);
}

// A value list with too few values stops the table after the rows already drawn.
TEST_F(PlotTallyTest, ShortTriangleListStopsTheTable) {
  const AcDbObjectId first = drawTriangle("1", 0, 10000);
  const AcDbObjectId second = drawTriangle("2", 10000, 10000);
  setAttribute(second, "SK", "( 4.00 2.00 )");
  EXPECT_TRUE(plotTally(kTriangleSettings, {first, second}).error) << transcript();
  EXPECT_EQ(triangleRowCount(first), 1);
  EXPECT_EQ(triangleRowCount(second), 0);
  EXPECT_EQ(tableTexts("0.0").size(), 3u) << "the footer totals were never written";
}

TEST_F(PlotTallyTest, MissingLayersFallBackToTheCurrentLayer) {
  const AcDbObjectId mark = drawTriangle("1", 0, 10000);
  ASSERT_FALSE(plotTally("0|NO_LINES|NO_TEXTS|AREA_TABLE|1|3|0|2|1|0", {mark}).error);
  EXPECT_TRUE(
      HasLine(transcript(), "面積表線分作図ﾚｲﾔｰ \"NO_LINES\"は存在しません。現在層で作図します"))
      << transcript();
  for (const std::string& line : tableEntities())
    EXPECT_NE(line.find(" 0 "), std::string::npos) << line;
}

// Saved and opened again, the table's texts keep their tags and each record its row.
TEST_F(PlotTallyTest, TableSurvivesDxfWithItsRows) {
  const AcDbObjectId triangle = drawTriangle("1", 0, 10000);
  const AcDbObjectId rectangle = drawRectangle("2", 10000, 10000);
  ASSERT_FALSE(plotTally(kGeneralSettings, {triangle, rectangle}).error) << transcript();
  ASSERT_FALSE(plotTally(kTriangleSettings, {triangle}, {"0,-10000"}).error) << transcript();
  const std::vector<std::string> drawn = tableEntities();
  const std::string path =
      (std::filesystem::temp_directory_path() / "plot_tally_round_trip.dxf").string();
  std::string error;
  ASSERT_TRUE(tessera::SaveDrawing(database(), path, error)) << error;
  AcApDocument* reopened = tessera::OpenDrawing(path, error);
  std::filesystem::remove(path);
  ASSERT_NE(reopened, nullptr) << error;
  EXPECT_EQ(tableEntities(), drawn);
  const AcDbObjectId triangleAgain = idOf(triangle.handle());
  const AcDbObjectId rectangleAgain = idOf(rectangle.handle());
  EXPECT_EQ(tableRowCount(triangleAgain), 1);
  EXPECT_EQ(triangleRowCount(triangleAgain), 1);
  EXPECT_EQ(tableRowCount(rectangleAgain), 1);
  FigureRecord* record = openRecordOf(rectangleAgain);
  ASSERT_NE(record, nullptr);
  AreaDic_Table::Row row{};
  EXPECT_EQ(record->tableRowAt(0, row), Acad::eOk);
  record->close();
  AcDbHandle formula = row[AreaDic_Table::kFormula];
  AcDbObjectId formulaId;
  ASSERT_EQ(HandleToId(formula, formulaId), 1);
  AcDbText* text = open<AcDbText>(formulaId);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->textString(), "2.00x1.00");
  text->close();
}

}  // namespace
}  // namespace area::testing
