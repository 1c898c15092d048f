// Applications: their life-cycle messages, LISP functions per drawing, the calls that reach
// them, and libraries that cannot be loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor/document_state.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

std::vector<std::string>& Messages() {
  static std::vector<std::string> messages;
  return messages;
}

// What an application sees of the drawing a message is for: the document manager's current
// document, as a plug-in asks for it, must be the one whose database is the working database.
std::string DocumentTag() {
  AcApDocument* current = acDocManagerPtr()->curDocument();
  AcDbDatabase* working = acdbHostApplicationServices()->workingDatabase();
  if (current != editor::CurrentDocument()) return " (the editor works elsewhere)";
  return current && current->database() == working ? "" : " (working database elsewhere)";
}

// Code 0 "echo_args" returns its arguments as a list, code 1 "fail_call" reports an error,
// code 2 "void_call" sets nothing.
AcRx::AppRetCode TestApplication(AcRx::AppMsgCode message, void* packet) {
  switch (message) {
    case AcRx::kInitAppMsg:
      Messages().push_back("init");
      break;
    case AcRx::kLoadDwgMsg:
      Messages().push_back("load drawing" + DocumentTag());
      acedDefun("echo_args", 0);
      acedDefun("fail_call", 1);
      acedDefun("void_call", 2);
      break;
    case AcRx::kUnloadDwgMsg:
      Messages().push_back("unload drawing");
      acedUndef("echo_args", 0);
      acedUndef("fail_call", 1);
      acedUndef("void_call", 2);
      break;
    case AcRx::kUnloadAppMsg:
      Messages().push_back("unload");
      break;
    case AcRx::kInvkSubrMsg:
      acedRetVoid();
      if (acedGetFunCode() == 0) acedRetList(acedGetArgs());
      if (acedGetFunCode() == 1) return static_cast<AcRx::AppRetCode>(RSERR);
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

class DestroyWatcher : public AcApDocManagerReactor {
 public:
  void documentToBeDestroyed(AcApDocument*) override { Messages().push_back("destroyed"); }
};

class ApplicationsTest : public TestDrawing {
 protected:
  void SetUp() override {
    TestDrawing::SetUp();
    Messages().clear();
  }
  void load() {
    std::string error;
    ASSERT_TRUE(LoadLinkedApplication("test_app", TestApplication, error)) << error;
  }
};

TEST_F(ApplicationsTest, LoadSendsInitThenALoadForEveryDrawingWithItsDatabaseWorking) {
  std::string error;
  ASSERT_NE(NewDrawing(error), nullptr);
  AcApDocument* second = acDocManagerPtr()->curDocument();
  load();
  EXPECT_EQ(Messages(), (std::vector<std::string>{"init", "load drawing", "load drawing"}));
  EXPECT_EQ(acDocManagerPtr()->curDocument(), second) << "the current document comes back";
}

TEST_F(ApplicationsTest, FunctionCallReachesTheApplicationWithItsArguments) {
  load();
  ScriptOutcome outcome =
      run("(echo_args 1 2.5 \"a\" '(3 4))\n(fail_call)\n(void_call)\n(+ 1 1)\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  std::vector<std::string> lines = Lines(transcript());
  ASSERT_EQ(lines.size(), 7u) << transcript();
  // A list of two numbers reaches the application as a point, so it comes back as reals.
  EXPECT_EQ(lines[1], "(1 2.5 \"a\" (3.0 4.0))");
  EXPECT_EQ(lines[3], "nil") << "an error reported by the function is a nil result";
  EXPECT_EQ(lines[4], "Command: (void_call)") << "a void result prints nothing";
}

TEST_F(ApplicationsTest, FunctionsBelongToTheDrawingTheyWereDefinedIn) {
  load();
  AcApDocument* first = document();
  std::string error;
  AcApDocument* second = NewDrawing(error);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(run("(void_call)\n").status, 0) << "defined in a drawing opened after the load too";
  acDocManagerPtr()->activateDocument(first);
  ASSERT_TRUE(UnloadApplication("test_app", error)) << error;
  ScriptOutcome outcome = run("(void_call)\n");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.message.find("no function definition: VOID_CALL"), std::string::npos)
      << outcome.message;
}

TEST_F(ApplicationsTest, ClosingADrawingUnloadsItFromApplicationsBeforeItGoes) {
  load();
  DestroyWatcher watcher;
  acDocManagerPtr()->addReactor(&watcher);
  Messages().clear();
  CloseDrawing(document());
  acDocManagerPtr()->removeReactor(&watcher);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"unload drawing", "destroyed"}));
}

TEST_F(ApplicationsTest, UnloadSendsDrawingUnloadsThenTheUnload) {
  load();
  Messages().clear();
  std::string error;
  ASSERT_TRUE(UnloadApplication("test_app", error)) << error;
  EXPECT_EQ(Messages(), (std::vector<std::string>{"unload drawing", "unload"}));
  EXPECT_FALSE(UnloadApplication("test_app", error));
  EXPECT_NE(error.find("test_app"), std::string::npos);
}

TEST_F(ApplicationsTest, LibrariesThatCannotBeLoadedGiveAMessage) {
  std::string error;
  EXPECT_FALSE(LoadApplication("/no/such/folder/libnothing.so", error));
  EXPECT_NE(error.find("libnothing"), std::string::npos) << error;

  std::filesystem::path bogus = std::filesystem::temp_directory_path() / "tessera_not_a_library.so";
  std::ofstream(bogus) << "not a library";
  error.clear();
  EXPECT_FALSE(LoadApplication(bogus.string(), error));
  EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
  std::filesystem::remove(bogus);

  ScriptOutcome outcome = run("(arxload \"/no/such/app\" \"fallback\")\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_TRUE(HasLine(transcript(), "\"fallback\"")) << transcript();
}

}  // namespace
}  // namespace tessera::testing
