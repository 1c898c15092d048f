// The maintenance functions as LISP calls them: what each returns and whether it reports an
// error, records held open by others, dictionary entries that are no records, and the export
// rows of a drawing's marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "maintenance/figure_export.h"
#include "records/figure_dictionaries.h"
#include "schedule/schedule_drawing.h"

namespace area::testing {
namespace {

// What the application reported for the last LISP call: RSRSLT or RSERR.
int& LastReport() {
  static int report = 0;
  return report;
}

AcRx::AppRetCode RecordingEntryPoint(AcRx::AppMsgCode message, void* packet) {
  const AcRx::AppRetCode result = acrxEntryPoint(message, packet);
  if (message == AcRx::kInvkSubrMsg) LastReport() = static_cast<int>(result);
  return result;
}

// What a call printed as its value ("" for none) and whether it reported an error.
struct Answer {
  std::string value;
  bool error = false;
};

class MaintenanceFunctionsTest : public ScheduleDrawing {
 protected:
  void SetUp() override {
    TestDrawing::SetUp();
    std::string error;
    ASSERT_TRUE(tessera::LoadLinkedApplication("tessera_area", RecordingEntryPoint, error))
        << error;
  }

  // Runs one expression and the lines that answer its prompts.
  Answer ask(const std::string& expression, const std::vector<std::string>& answers = {}) {
    std::string script = expression + "\n";
    for (const std::string& answer : answers) script += answer + "\n";
    LastReport() = 0;
    const std::size_t start = transcript().size();
    EXPECT_EQ(run(script).status, 0) << transcript();
    const std::vector<std::string> lines = tessera::testing::Lines(transcript().substr(start));
    Answer answer;
    answer.error = LastReport() == RSERR;
    // The value stands on the last line unless that line is a prompt of the call.
    if (!lines.empty() && lines.back().rfind("Command: ", 0) != 0 &&
        lines.back().find("Select objects:") == std::string::npos)
      answer.value = lines.back();
    return answer;
  }

  // A figure drawn by `function` from its points, in millimetres; gives its mark.
  AcDbObjectId drawFigureWith(const std::string& function, const std::vector<std::string>& points) {
    std::string script =
        "(" + function + " \"AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|3|2|0\")\n";
    for (const std::string& point : points) script += point + "\n";
    EXPECT_EQ(run(script + "\n\n").status, 0) << transcript();
    return lastMark();
  }

  static std::string Name(AcDbObjectId id) { return "(handent \"" + id.handle().text() + "\")"; }

  void appendAttribute(AcDbObjectId mark, const char* tag) {
    AcDbBlockReference* reference = open<AcDbBlockReference>(mark, AcDb::kForWrite);
    ASSERT_NE(reference, nullptr);
    auto* attribute = new AcDbAttribute();
    attribute->setTag(tag);
    AcDbObjectId id;
    EXPECT_EQ(reference->appendAttribute(id, attribute), Acad::eOk);
    attribute->close();
    reference->close();
  }

  void erase(AcDbObjectId id) {
    AcDbEntity* entity = open<AcDbEntity>(id, AcDb::kForWrite);
    ASSERT_NE(entity, nullptr);
    entity->erase();
    entity->close();
  }
};

struct CallCase {
  const char* name;
  std::string expression;
  Answer expected;
};

TEST_F(MaintenanceFunctionsTest, IsDictTellsLinkedMarksAndRefusesWhatIsNoMark) {
  const AcDbObjectId linked = drawTriangle("1", 0, 10000);
  const AcDbObjectId unlinked = insertMark("2", 1, "( 1 )", "+", 10000, 0);
  const AcDbObjectId foreign = insertMark("3", 1, "( 1 )", "+", 20000, 0);
  appendAttribute(foreign, "NOTE");
  const AcDbObjectId line = addLine({0, 0, 0}, {1, 1, 0});
  const AcDbObjectId erased = drawRectangle("4", 30000, 0);
  ASSERT_EQ(run("ERASE\n" + Name(erased) + "\n\nOOPS\n").status, 0) << transcript();
  const CallCase cases[] = {
      {"a linked figure's mark", "(area_isdict " + Name(linked) + ")", {"T", false}},
      {"a mark no record lists", "(area_isdict " + Name(unlinked) + ")", {"nil", false}},
      {"a mark whose record went with its erase",
       "(area_isdict " + Name(erased) + ")",
       {"nil", false}},
      {"a reference with another attribute", "(area_isdict " + Name(foreign) + ")", {"nil", true}},
      {"a line", "(area_isdict " + Name(line) + ")", {"nil", true}},
      {"no argument", "(area_isdict)", {"nil", true}},
      {"a string", "(area_isdict \"1\")", {"nil", true}},
  };
  for (const CallCase& c : cases) {
    const Answer answer = ask(c.expression);
    EXPECT_EQ(answer.value, c.expected.value) << c.name;
    EXPECT_EQ(answer.error, c.expected.error) << c.name;
  }
}

TEST_F(MaintenanceFunctionsTest, ExcelReportsErrorsOnlyForBadInputAndNothingUsable) {
  const AcDbObjectId triangle = drawTriangle("1", 0, 10000);
  const AcDbObjectId unlinked = insertMark("2", 2, "( 2.00 1.00 2.00 )", "+", 10000, 0);
  struct ExcelCase {
    const char* name;
    std::string settings;
    std::vector<std::string> answers;
    Answer expected;
  };
  const std::string general = "\"" + std::string(kGeneralSettings) + "\"";
  const ExcelCase cases[] = {
      {"linked marks",
       general,
       {Name(triangle), ""},
       {"(0 ((\"1\" 1 \"( 4.00 2.00 8.00 4.00 )\" \"+\")))", false}},
      {"an empty selection: no value", general, {""}, {"", false}},
      {"a cancelled choice: nil",
       general,
       {Name(triangle), Name(unlinked), "", "*CANCEL*"},
       {"nil", false}},
      {"only rectangles in the triangle form",
       "\"" + std::string(kTriangleSettings) + "\"",
       {Name(unlinked), ""},
       {"有効な求積図が選択されていませんnil", true}},
      {"too few settings", "\"0|TABLE_LINE\"", {}, {"nil", true}},
      {"no argument", "", {}, {"引き数(1)がありませんnil", true}},
  };
  for (const ExcelCase& c : cases) {
    const Answer answer = ask("(area_excel " + c.settings + ")", c.answers);
    EXPECT_EQ(answer.value, c.expected.value) << c.name;
    EXPECT_EQ(answer.error, c.expected.error) << c.name;
  }
}

// The conversion only reads: every record held open for read by someone else still converts
// (opening one for write would fail), and no object is opened for a change.
TEST_F(MaintenanceFunctionsTest, ConvertReadsRecordsWithoutChangingAnything) {
  const AcDbObjectId circle = drawFigureWith("area_circle", {"0,0", "1500,0"});
  const AcDbObjectId sector = drawFigureWith("area_sector", {"1000,0", "0,1000", "-1000,0"});
  struct Counter : AcDbDatabaseReactor {
    int changes = 0;
    void objectOpenedForModify(const AcDbDatabase*, const AcDbObject*) override { ++changes; }
    void objectModified(const AcDbDatabase*, const AcDbObject*) override { ++changes; }
  } counter;
  database()->addReactor(&counter);
  std::vector<AcDbObject*> held;
  for (AcDbObjectId mark : {circle, sector}) held.push_back(openRecordOf(mark));
  EXPECT_EQ(ask("(area_convert30 " + Name(circle) + ")").value,
            "\"(1500.00000000 7068583.47057703)\"");
  EXPECT_EQ(ask("(area_convert30 " + Name(sector) + ")").value,
            "\"(1000.00000000 180.00000000 1570796.32679490)\"");
  for (AcDbObject* record : held)
    if (record != nullptr) record->close();
  database()->removeReactor(&counter);
  EXPECT_EQ(counter.changes, 0);
  const Answer text = ask("(area_convert30 " + Name(addText({0, 0, 0}, "1", 2.5)) + ")");
  EXPECT_EQ(text.value, "nil");
  EXPECT_TRUE(text.error);
}

// A dictionary entry that is no figure record is passed over without a word.
TEST_F(MaintenanceFunctionsTest, DumpPassesOverEntriesThatAreNoRecords) {
  drawTriangle("1", 0, 10000);
  AcDbDictionary* named = nullptr;
  ASSERT_EQ(database()->getNamedObjectsDictionary(named, AcDb::kForRead), Acad::eOk);
  AcDbObject* found = nullptr;
  ASSERT_EQ(named->getAt(kDictTriangle, found, AcDb::kForWrite), Acad::eOk);
  named->close();
  AcDbObjectId stranger;
  ASSERT_EQ(AcDbDictionary::cast(found)->setAt("FFFF", new AcDbDictionary, stranger), Acad::eOk);
  found->close();
  clearTranscript();
  const Answer answer = ask("(area_dicchk)");
  EXPECT_FALSE(answer.error);
  const std::string dump = transcript();
  EXPECT_NE(dump.find("三角形求積図"), std::string::npos) << dump;
  EXPECT_EQ(dump.find("ハンドル："), dump.rfind("\nハンドル：") + 1) << "one entry: " << dump;
  EXPECT_EQ(dump.find("FFFF"), std::string::npos) << dump;
}

// Every mark of the drawing, the schedule's rejects left out, in natural order; kinds without a
// shape keep their code, values beyond the usual number stay values, the area is the last one.
TEST_F(MaintenanceFunctionsTest, ExportRowsListEveryMarkInNaturalOrder) {
  const AcDbObjectId linked = drawTriangle("10", 0, 10000);
  insertMark("9", 9, "( 1 2 3 4 5 6 )", "-", 10000, 0);
  const AcDbObjectId noKind = insertMark("A2", 1, "( 7 )", "", 20000, 0);
  setAttribute(noKind, "KT", "");
  appendAttribute(insertMark("1", 1, "( 1 )", "+", 30000, 0), "NOTE");
  const std::optional<std::vector<FigureExportRow>> rows = FigureExportRows();
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(rows->size(), 3u);
  const FigureExportRow& nine = (*rows)[0];
  EXPECT_EQ(nine.label, "9");
  EXPECT_EQ(nine.shape, "9");
  EXPECT_FALSE(nine.linked);
  EXPECT_EQ(nine.sign, "-");
  EXPECT_EQ(nine.values, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(nine.area, "6");
  const FigureExportRow& ten = (*rows)[1];
  EXPECT_EQ(ten.label, "10");
  EXPECT_EQ(ten.shape, "triangle");
  EXPECT_TRUE(ten.linked);
  EXPECT_EQ(ten.values, (std::vector<std::string>{"4.00", "2.00", "8.00"}));
  EXPECT_EQ(ten.area, "4.00");
  EXPECT_EQ(ten.layer, "AREA_MARK");
  EXPECT_EQ(ten.handle, linked.handle().text());
  EXPECT_EQ((*rows)[2].label, "A2");
  EXPECT_EQ((*rows)[2].shape, "");
  EXPECT_TRUE((*rows)[2].values.empty());
  EXPECT_EQ((*rows)[2].area, "7");
}

}  // namespace
}  // namespace area::testing
