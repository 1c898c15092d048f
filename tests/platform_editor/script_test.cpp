// Drawing scripts: what each kind of line does, the transcript they leave, and the lines that
// stop a script with "FILE:LINE: why".
#include <gtest/gtest.h>

#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

class ScriptTest : public TestDrawing {};

TEST_F(ScriptTest, LispSpanningLinesIsOneExpressionAndItsValueIsPrinted) {
  ScriptOutcome outcome = run("(setq total\n  (+ 1\n     2))\n!total\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_TRUE(HasLine(transcript(), "3")) << transcript();
  EXPECT_TRUE(HasLine(transcript(), "Command: !total")) << transcript();
}

// Where an expression ends is decided by its parentheses outside strings and comments.
TEST_F(ScriptTest, ParenthesesInStringsAndCommentsDoNotCount) {
  ScriptOutcome outcome =
      run("(setq a (strcat \"(\" ; )\n  \")\\\"(\"\n ;| ) ) |; \"x\"))\n!a\n(setq b 1) ; (\n!b\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message << "\n" << transcript();
  EXPECT_TRUE(HasLine(transcript(), "\"()\\\"(x\"")) << transcript();
  EXPECT_TRUE(HasLine(transcript(), "Command: !b")) << transcript();
}

TEST_F(ScriptTest, LongUnclosedExpressionStopsAtItsFirstLine) {
  std::string script = "(setq a 1)\n(progn\n";
  for (int i = 0; i < 20000; ++i) script += "(setq a 2)\n";
  ScriptOutcome outcome = run(script);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.message.rfind("test.scr:2: ", 0), 0u) << outcome.message.substr(0, 80);
}

TEST_F(ScriptTest, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
  ScriptOutcome outcome = run("\xEF\xBB\xBF(setq a 1)\n!a\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_TRUE(HasLine(transcript(), "Command: (setq a 1)")) << transcript();
}

TEST_F(ScriptTest, CommentsAnswerNothingAndVoidValuesPrintNothing) {
  ScriptOutcome outcome = run("; a comment\n(princ)\n(list 1 2.5 \"a\")\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  std::vector<std::string> lines = Lines(transcript());
  ASSERT_EQ(lines.size(), 3u) << transcript();
  EXPECT_EQ(lines[0], "Command: (princ)");
  EXPECT_EQ(lines[1], "Command: (list 1 2.5 \"a\")");
  EXPECT_EQ(lines[2], "(1 2.5 \"a\")");
}

TEST_F(ScriptTest, CommandTakesItsAnswersFromTheFollowingLines) {
  ScriptOutcome outcome = run("LINE\n0,0\n10,0\n\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  ASSERT_EQ(entities().size(), 1u);
  AcDbLine* line = open<AcDbLine>(entities()[0]);
  EXPECT_EQ(line->endPoint(), AcGePoint3d(10, 0, 0));
  line->close();
  EXPECT_TRUE(HasLine(transcript(), "Specify first point: 0,0")) << transcript();
}

TEST_F(ScriptTest, LispAtAPromptIsTheAnswer) {
  ScriptOutcome outcome = run("LINE\n(list 1 2)\n(list 3 (+ 2 2))\n\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  ASSERT_EQ(entities().size(), 1u);
  AcDbLine* line = open<AcDbLine>(entities()[0]);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(1, 2, 0));
  EXPECT_EQ(line->endPoint(), AcGePoint3d(3, 4, 0));
  line->close();
}

TEST_F(ScriptTest, CancelLineEndsTheWaitingCommandAndScriptGoesOn) {
  ScriptOutcome outcome = run("CIRCLE\n5,5\n*CANCEL*\n(+ 1 1)\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_TRUE(entities().empty());
  EXPECT_TRUE(HasLine(transcript(), "2")) << transcript();
}

TEST_F(ScriptTest, CommandStillAskingAtTheEndIsCancelled) {
  ScriptOutcome outcome = run("LINE\n0,0\n10,0\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_EQ(entities().size(), 1u);
  EXPECT_NE(transcript().find("*Cancel*"), std::string::npos) << transcript();
}

struct BadLine {
  const char* name;
  const char* script;
  const char* where;  // the start of the message
};

class BadLineTest : public TestDrawing, public ::testing::WithParamInterface<BadLine> {};

TEST_P(BadLineTest, StopsWithStatusOneNamingFileAndLine) {
  const BadLine& bad = GetParam();
  ScriptOutcome outcome = run(bad.script);
  EXPECT_EQ(outcome.status, 1) << bad.name;
  EXPECT_EQ(outcome.message.rfind(bad.where, 0), 0u) << bad.name << ": " << outcome.message;
  EXPECT_EQ(outcome.message.find('\n'), std::string::npos) << bad.name;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadLineTest,
    ::testing::Values(BadLine{"UnknownCommand", "(+ 1 2)\nNOSUCHCOMMAND\n(+ 3 4)\n",
                              "test.scr:2: unknown command"},
                      BadLine{"UnbalancedLisp", ";c\n(+ 1\n", "test.scr:2: "},
                      BadLine{"ExtraParenthesis", "(+ 1 2))\n", "test.scr:1: "},
                      BadLine{"ExtraParenthesisOnALaterLine", "(+ 1\n2))\n", "test.scr:2: "},
                      BadLine{"BadDotInAnOpenExpression", "(list\n(. 1)\n", "test.scr:2: "},
                      BadLine{"LispError", "\n(no-such-function 1)\n",
                              "test.scr:2: no function definition: NO-SUCH-FUNCTION"},
                      BadLine{"TextAtPointPrompt", "LINE\nhello\n", "test.scr:2: \"hello\""},
                      BadLine{"LispErrorAtPrompt", "CIRCLE\n(car 1)\n", "test.scr:2: "}),
    [](const ::testing::TestParamInfo<BadLine>& info) { return info.param.name; });

TEST_F(ScriptTest, NothingAfterAFailedLineRuns) {
  ScriptOutcome outcome = run("NOSUCHCOMMAND\n(setq ran T)\n");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(transcript().find("(setq ran T)"), std::string::npos) << transcript();
}

TEST_F(ScriptTest, SystemVariableNameTypedAsCommandSetsIt) {
  ScriptOutcome outcome = run("OSMODE\n32\n(getvar \"OSMODE\")\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_TRUE(HasLine(transcript(), "32")) << transcript();
}

TEST_F(ScriptTest, LispCommandFeedsAHostCommand) {
  ScriptOutcome outcome = run("(command \"_.LINE\" \"0,0\" \"5,5\" \"\")\n");
  EXPECT_EQ(outcome.status, 0) << outcome.message;
  EXPECT_EQ(entities().size(), 1u);
  EXPECT_TRUE(HasLine(transcript(), "nil")) << transcript();
}

}  // namespace
}  // namespace tessera::testing
