// The host's LISP functions for drawings: entity names and lists, system variables, and the
// setting commands that scripts use most.
#include <gtest/gtest.h>

#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

class LispHostFunctionsTest : public TestDrawing {
 protected:
  // The last line a script printed.
  std::string valueOf(const std::string& expression) {
    clearTranscript();
    ScriptOutcome outcome = run(expression + "\n");
    EXPECT_EQ(outcome.status, 0) << outcome.message;
    std::vector<std::string> lines = Lines(transcript());
    return lines.empty() ? "" : lines.back();
  }
};

TEST_F(LispHostFunctionsTest, EntityNamesPrintTheirHandle) {
  AcDbObjectId line = addLine({0, 0, 0}, {1, 0, 0});
  EXPECT_EQ(valueOf("(entlast)"), "<Entity name: " + handleText(line) + ">");
  EXPECT_EQ(valueOf("(eq (handent \"" + handleText(line) + "\") (entlast))"), "T");
}

TEST_F(LispHostFunctionsTest, HandentOfAnErasedOrUnknownHandleIsNil) {
  AcDbObjectId line = addLine({0, 0, 0}, {1, 0, 0});
  AcDbEntity* entity = open<AcDbEntity>(line, AcDb::kForWrite);
  entity->erase();
  entity->close();
  EXPECT_EQ(valueOf("(handent \"" + handleText(line) + "\")"), "nil");
  EXPECT_EQ(valueOf("(handent \"FFFFFF\")"), "nil");
  EXPECT_EQ(valueOf("(handent \"not hex\")"), "nil");
}

TEST_F(LispHostFunctionsTest, EntgetGivesTheGroupsAndAskedForExtendedData) {
  AcDbObjectId line = addLine({1, 2, 0}, {3, 4, 0});
  ASSERT_EQ(acdbRegApp("AREA_TRIANGLE"), RTNORM);
  EXPECT_EQ(acdbRegApp("AREA_TRIANGLE"), RTERROR) << "registered once";
  resbuf* data = acutBuildList(AcDb::kDxfRegAppName, "AREA_TRIANGLE", AcDb::kDxfXdAsciiString,
                               "TYPE_SUB", RTNONE);
  AcDbEntity* entity = open<AcDbEntity>(line, AcDb::kForWrite);
  ASSERT_EQ(entity->setXData(data), Acad::eOk);
  entity->close();
  acutRelRb(data);
  EXPECT_EQ(valueOf("(cdr (assoc 0 (entget (entlast))))"), "\"LINE\"");
  EXPECT_EQ(valueOf("(cdr (assoc 10 (entget (entlast))))"), "(1.0 2.0 0.0)");
  EXPECT_EQ(valueOf("(assoc -3 (entget (entlast)))"), "nil");
  EXPECT_EQ(valueOf("(assoc -3 (entget (entlast) '(\"AREA_*\")))"),
            "(-3 (\"AREA_TRIANGLE\" (1000 . \"TYPE_SUB\")))");
}

TEST_F(LispHostFunctionsTest, EntnextWalksIntoAttributesOfAReference) {
  ScriptOutcome outcome =
      run("(command \"-INSERT\" \"AREA1\" \"0,0\" 1 1 0 \"1\" \"\" 1 \"( )\" \"+\")\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_EQ(valueOf("(cdr (assoc 0 (entget (entnext (entlast)))))"), "\"ATTRIB\"");
  EXPECT_EQ(valueOf("(cdr (assoc 2 (entget (entnext (entlast)))))"), "\"BANGO1\"");
}

TEST_F(LispHostFunctionsTest, SetvarRefusesWrongValuesAsALispError) {
  EXPECT_EQ(valueOf("(setvar \"ORTHOMODE\" 1)"), "1");
  EXPECT_EQ(valueOf("(getvar \"orthomode\")"), "1");
  EXPECT_EQ(valueOf("(getvar \"NO_SUCH_VARIABLE\")"), "nil");
  ScriptOutcome outcome = run("(setvar \"ORTHOMODE\" \"on\")\n");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.message.find("variable setting rejected"), std::string::npos)
      << outcome.message;
}

TEST_F(LispHostFunctionsTest, LayerCommandMakesAndSetsLayersThatNewEntitiesUse) {
  ScriptOutcome outcome = run("-LAYER\nM\nWALLS\nC\n3\n\nS\n0\n\n(getvar \"CLAYER\")\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_TRUE(HasLine(transcript(), "\"0\"")) << transcript();
  outcome = run("-LAYER\nS\nWALLS\n\nLINE\n0,0\n1,1\n\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  AcDbEntity* entity = open<AcDbEntity>(entities().back());
  EXPECT_EQ(entity->layer(), "WALLS");
  entity->close();
}

TEST_F(LispHostFunctionsTest, PointsTypedAfterUcsOriginAreInThatUcs) {
  ScriptOutcome outcome = run("UCS\nO\n100,50\nLINE\n0,0\n10,0\n\nUCS\nW\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  AcDbLine* line = open<AcDbLine>(entities().back());
  EXPECT_EQ(line->startPoint(), AcGePoint3d(100, 50, 0));
  EXPECT_EQ(line->endPoint(), AcGePoint3d(110, 50, 0));
  line->close();
  EXPECT_EQ(database()->ucsorg(), AcGePoint3d::kOrigin);
}

}  // namespace
}  // namespace tessera::testing
