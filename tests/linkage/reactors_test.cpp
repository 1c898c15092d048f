// The linkage's reactors as the host drives them: a set per document from load, creation or
// activation to the document's end or the unload, and the stretch flag set and cleared by the
// command names, a failed stretch included.
#include <gtest/gtest.h>

#include <string>

#include "cad/arx.h"
#include "linkage/area_react.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "support/test_drawing.h"

namespace {

class LinkageReactorTest : public tessera::testing::TestDrawing {
 protected:
  void load() {
    std::string error;
    ASSERT_TRUE(tessera::LoadLinkedApplication("tessera_area", acrxEntryPoint, error)) << error;
  }
  void TearDown() override {
    area::g_nStretch = 0;
    TestDrawing::TearDown();
  }
};

TEST_F(LinkageReactorTest, EachDocumentHasItsSetFromLoadOrCreationToItsEnd) {
  EXPECT_EQ(area::AreaReactorSetCount(), 0);
  load();
  ASSERT_NE(area::AreaReactOf(document()), nullptr) << "the current document at load";
  std::string error;
  AcApDocument* second = tessera::NewDrawing(error);
  ASSERT_NE(second, nullptr) << error;
  ASSERT_NE(area::AreaReactOf(second), nullptr) << "a document created later";
  EXPECT_NE(area::AreaReactOf(second), area::AreaReactOf(document()));
  EXPECT_EQ(area::AreaReactorSetCount(), 2);
  acDocManagerPtr()->activateDocument(second);
  EXPECT_EQ(area::AreaReactorSetCount(), 2) << "activation of a document with a set adds none";
  tessera::CloseDrawing(second);
  EXPECT_EQ(area::AreaReactOf(second), nullptr);
  EXPECT_EQ(area::AreaReactorSetCount(), 1);
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(area::AreaReactorSetCount(), 0) << "the unload removes every set";
}

TEST_F(LinkageReactorTest, AFreshReactorIsNotArmed) {
  load();
  const area::AreaReact* react = area::AreaReactOf(document());
  ASSERT_NE(react, nullptr);
  EXPECT_EQ(react->mode(), area::kModeIdle);
  EXPECT_EQ(react->pendingEvent(), 0);
}

struct CommandCase {
  const char* start;
  void (area::AreaReactCmd::*end)(const char*);
  int whileRunning;
};

TEST(StretchFlagTest, OnlyTheTwoStretchCommandsSetItAndEveryEndingClearsIt) {
  area::AreaReactCmd command;
  const CommandCase cases[] = {
      {"GRIP_STRETCH", &area::AreaReactCmd::commandEnded, 1},
      {"STRETCH", &area::AreaReactCmd::commandCancelled, 1},
      {"STRETCH", &area::AreaReactCmd::commandFailed, 1},
      {"stretch", &area::AreaReactCmd::commandEnded, 0},
      {"STRETCHX", &area::AreaReactCmd::commandEnded, 0},
      {"MOVE", &area::AreaReactCmd::commandEnded, 0},
  };
  for (const CommandCase& c : cases) {
    area::g_nStretch = 0;
    command.commandWillStart(c.start);
    EXPECT_EQ(area::g_nStretch, c.whileRunning) << c.start;
    (command.*c.end)(c.start);
    EXPECT_EQ(area::g_nStretch, 0) << c.start << " ended";
  }
  area::g_nStretch = 1;
  command.commandEnded("MOVE");
  EXPECT_EQ(area::g_nStretch, 1) << "another command's end leaves a running stretch alone";
  area::g_nStretch = 0;
}

}  // namespace
