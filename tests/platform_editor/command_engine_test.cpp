// Host commands driven by programs: answers across acedCommand calls, the editor reactors'
// notifications around each command, the current command, and undo steps and groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/document_state.h"
#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

class Recorder : public AcEditorReactor {
 public:
  void commandWillStart(const char* name) override {
    events.push_back(std::string("start ") + name);
  }
  void commandEnded(const char* name) override { events.push_back(std::string("end ") + name); }
  void commandCancelled(const char* name) override {
    events.push_back(std::string("cancel ") + name);
  }
  void commandFailed(const char* name) override { events.push_back(std::string("fail ") + name); }
  std::vector<std::string> events;
};

// Notes the document's current command whenever an object is added.
class CommandWitness : public AcDbDatabaseReactor {
 public:
  void objectAppended(const AcDbDatabase* database, const AcDbObject*) override {
    char* name = nullptr;
    acedGetCommandForDocument(acDocManagerPtr()->document(database), name);
    commands.push_back(name ? name : "");
    acutDelBuffer(name);
  }
  std::vector<std::string> commands;
};

class CommandEngineTest : public TestDrawing {
 protected:
  void SetUp() override {
    TestDrawing::SetUp();
    acedEditor->addReactor(&recorder);
  }
  void TearDown() override {
    acedEditor->removeReactor(&recorder);
    TestDrawing::TearDown();
  }
  bool pending() { return editor::CurrentState().commands().pending(); }

  std::vector<std::string> attributeTexts(AcDbObjectId referenceId) {
    std::vector<std::string> texts;
    AcDbBlockReference* reference = open<AcDbBlockReference>(referenceId);
    for (AcDbObjectId id : reference->attributeIds()) {
      AcDbAttribute* attribute = nullptr;
      EXPECT_EQ(reference->openAttribute(attribute, id, AcDb::kForRead), Acad::eOk);
      texts.push_back(attribute->tag() + "=" + attribute->textString());
      attribute->close();
    }
    reference->close();
    return texts;
  }

  Recorder recorder;
};

TEST_F(CommandEngineTest, InsertWaitsForItsAttributesAndTakesThemFromTheNextCall) {
  ASSERT_EQ(acedCommand(RTSTR, ".INSERT", RTSTR, "AREA1", RTSTR, "10,20", RTREAL, 1.0, RTREAL, 1.0,
                        RTREAL, 0.0, RTNONE),
            RTNORM);
  EXPECT_TRUE(pending());
  EXPECT_TRUE(entities().empty());
  ASSERT_EQ(acedCommand(RTSTR, "1", RTSTR, "", RTSHORT, 1, RTSTR, "( 3.00 4.00 6.00 )", RTSTR, "+",
                        RTNONE),
            RTNORM);
  EXPECT_FALSE(pending());
  ASSERT_EQ(entities().size(), 1u);
  AcDbBlockReference* reference = open<AcDbBlockReference>(entities()[0]);
  EXPECT_EQ(reference->position(), AcGePoint3d(10, 20, 0));
  EXPECT_EQ(reference->blockName(), "AREA1");
  reference->close();
  EXPECT_EQ(
      attributeTexts(entities()[0]),
      (std::vector<std::string>{"BANGO1=1", "BANGO2=", "KT=1", "SK=( 3.00 4.00 6.00 )", "PM=+"}));
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"start INSERT", "end INSERT"}));
}

TEST_F(CommandEngineTest, AttributesArePlacedByTheReferenceTransformation) {
  ASSERT_EQ(acedCommand(RTSTR, "-INSERT", RTSTR, "AREA1", RTSTR, "100,0", RTREAL, 2.0, RTREAL, 2.0,
                        RTREAL, 90.0, RTSTR, "A", RTSTR, "", RTSHORT, 2, RTSTR, "( )", RTSTR, "+",
                        RTNONE),
            RTNORM);
  // Each attribute sits where its definition sits, scaled by 2 and turned a quarter.
  AcDbBlockTable* table = nullptr;
  database()->getBlockTable(table, AcDb::kForRead);
  AcDbBlockTableRecord* block = nullptr;
  ASSERT_EQ(table->getAt("AREA1", block, AcDb::kForRead), Acad::eOk);
  table->close();
  AcGePoint3d definitionPosition;
  for (AcDbObjectId id : block->entityIds()) {
    AcDbAttributeDefinition* definition = nullptr;
    if (acdbOpenObject(definition, id, AcDb::kForRead) != Acad::eOk) continue;
    if (definition->tag() == "KT") definitionPosition = definition->position();
    definition->close();
  }
  block->close();
  AcDbBlockReference* reference = open<AcDbBlockReference>(entities()[0]);
  for (AcDbObjectId id : reference->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    reference->openAttribute(attribute, id, AcDb::kForRead);
    if (attribute->tag() == "KT") {
      EXPECT_NEAR(attribute->position().x, 100.0 - 2.0 * definitionPosition.y, 1e-9);
      EXPECT_NEAR(attribute->position().y, 2.0 * definitionPosition.x, 1e-9);
    }
    attribute->close();
  }
  reference->close();
}

TEST_F(CommandEngineTest, MissingBlockFailsTheCommandWithAMessage) {
  EXPECT_EQ(acedCommand(RTSTR, ".INSERT", RTSTR, "NO_SUCH_BLOCK", RTSTR, "0,0", RTNONE), RTERROR);
  EXPECT_FALSE(pending());
  EXPECT_NE(transcript().find("NO_SUCH_BLOCK"), std::string::npos) << transcript();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"start INSERT", "fail INSERT"}));
}

TEST_F(CommandEngineTest, CurrentCommandIsSetWhileTheCommandRuns) {
  CommandWitness witness;
  database()->addReactor(&witness);
  acedCommand(RTSTR, "_LINE", RTSTR, "0,0", RTSTR, "1,1", RTSTR, "", RTNONE);
  database()->removeReactor(&witness);
  EXPECT_EQ(witness.commands, (std::vector<std::string>{"LINE"}));
  EXPECT_EQ(document()->currentCommand(), "");
}

TEST_F(CommandEngineTest, CancelledCommandIsReportedCancelled) {
  ScriptOutcome outcome = run("CIRCLE\n*CANCEL*\nLINE\n0,0\n1,0\n\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"start CIRCLE", "cancel CIRCLE", "start LINE", "end LINE"}));
}

TEST_F(CommandEngineTest, ReactorMayRemoveItselfWhileNotified) {
  struct OneShot : AcEditorReactor {
    void commandWillStart(const char*) override {
      ++calls;
      acedEditor->removeReactor(this);
    }
    int calls = 0;
  } oneShot;
  acedEditor->addReactor(&oneShot);
  acedCommand(RTSTR, "REDRAW", RTNONE);
  acedCommand(RTSTR, "REDRAW", RTNONE);
  EXPECT_EQ(oneShot.calls, 1);
}

TEST_F(CommandEngineTest, UndoGroupIsOneStepForU) {
  ScriptOutcome outcome =
      run("LINE\n0,0\n1,0\n\n"
          "UNDO\nBE\n"
          "LINE\n0,1\n1,1\n\nLINE\n0,2\n1,2\n\n"
          "UNDO\nE\n"
          "U\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  ASSERT_EQ(entities().size(), 1u) << "the group's two lines go together";
  outcome = run("U\n");
  EXPECT_TRUE(entities().empty());
}

TEST_F(CommandEngineTest, UndoNumberTakesBackThatManyCommands) {
  ScriptOutcome outcome = run("LINE\n0,0\n1,0\n\nCIRCLE\n5,5\n1\nCIRCLE\n9,9\n2\nUNDO\n2\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  ASSERT_EQ(entities().size(), 1u);
  AcDbEntity* entity = open<AcDbEntity>(entities()[0]);
  EXPECT_TRUE(AcDbLine::cast(entity) != nullptr);
  entity->close();
}

TEST_F(CommandEngineTest, EveryCommandOfACmdListRunsInTurn) {
  resbuf* list = acutBuildList(RTSTR, "UNDO", RTSTR, "E", RTSTR, "UNDO", RTSTR, "G", RTNONE);
  EXPECT_EQ(acedCmd(list), RTNORM);
  acutRelRb(list);
  EXPECT_FALSE(pending());
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"start UNDO", "end UNDO", "start UNDO", "end UNDO"}));
}

// A program cannot read a prompt that asks again: an answer the command refuses cancels it and
// fails the call, and the program's later answers reach no prompt they were not meant for.
TEST_F(CommandEngineTest, AProgramAnswerThatIsRefusedCancelsTheCommandAndFailsTheCall) {
  EXPECT_EQ(acedCommand(RTSTR, ".INSERT", RTSTR, "AREA1", RTSTR, "10,20", RTREAL, 0.0, RTREAL, 1.0,
                        RTREAL, 0.0, RTSTR, "1", RTSTR, "", RTSHORT, 1, RTSTR, "UNDO", RTSTR, "E",
                        RTNONE),
            RTREJ);
  EXPECT_FALSE(pending());
  EXPECT_TRUE(entities().empty());
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"start INSERT", "cancel INSERT"}));
  // The same through LISP: an error, and the script goes on at the command prompt.
  recorder.events.clear();
  ScriptOutcome outcome = run("(command \"CIRCLE\" \"5,5\" \"abc\" \"2\")\nLINE\n0,0\n1,0\n\n");
  EXPECT_EQ(outcome.status, 1) << transcript();
  EXPECT_FALSE(pending());
  EXPECT_TRUE(entities().empty()) << transcript();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"start CIRCLE", "cancel CIRCLE"}));
}

// A command a program leaves waiting is cancelled when the program is done, so the script's
// next line is a command again and not the waiting command's answer.
TEST_F(CommandEngineTest, ACommandLeftWaitingByAProgramTakesNoScriptLine) {
  ScriptOutcome outcome = run("(command \"LINE\" \"0,0\")\nCIRCLE\n5,5\n1\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_NE(transcript().find("LINE was left waiting by a program and is cancelled"),
            std::string::npos)
      << transcript();
  ASSERT_EQ(entities().size(), 1u) << transcript();
  AcDbCircle* circle = open<AcDbCircle>(entities()[0]);
  EXPECT_EQ(circle->center(), AcGePoint3d(5, 5, 0));
  circle->close();
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"start LINE", "cancel LINE", "start CIRCLE", "end CIRCLE"}));
}

// What a program leaves to the user it asks for with PAUSE: that answer alone comes from the
// script, and a line it refuses is followed by the next. (command) with nothing cancels.
TEST_F(CommandEngineTest, PauseTakesItsAnswerFromTheScriptAndAnEmptyCommandCancels) {
  ScriptOutcome outcome =
      run("(command \"-INSERT\" \"AREA1\" \"0,0\" pause 1 0 \"1\" \"\" 1 \"( )\" \"+\")\n0\n2\n"
          "(command \"LINE\" \"0,0\" \"1,1\" pause)\n\n"
          "(progn (command \"LINE\" \"0,0\") (command))\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  ASSERT_EQ(entities().size(), 2u) << transcript();
  AcDbBlockReference* reference = open<AcDbBlockReference>(entities()[0]);
  EXPECT_EQ(reference->scaleFactors().sx, 2.0) << "the refused scale 0 was followed by 2";
  reference->close();
  EXPECT_FALSE(pending());
  EXPECT_EQ(transcript().find("left waiting"), std::string::npos) << transcript();
  EXPECT_EQ(acedCommand(RTSTR, "LINE", RTSTR, "0,0", RTNONE), RTNORM);
  EXPECT_TRUE(pending());
  EXPECT_EQ(acedCommand(RTNONE), RTCAN);
  EXPECT_FALSE(pending());
}

}  // namespace
}  // namespace tessera::testing
