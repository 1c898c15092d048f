// The transcript: lines as the host's command line shows them, whatever mix of prompts,
// answers and printed texts made them.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/transcript.h"

namespace tessera {
namespace {

class TranscriptTest : public ::testing::Test {
 protected:
  void SetUp() override { Transcript::instance().setSink(&m_out); }
  void TearDown() override {
    Transcript::instance().finishLine();
    Transcript::instance().setSink(nullptr);
  }
  std::string text() const { return m_out.str(); }
  Transcript& out() { return Transcript::instance(); }

 private:
  std::ostringstream m_out;
};

TEST_F(TranscriptTest, AnswerEndsItsLineAndALeadingBreakDoesNotOpenAnother) {
  out().write("Command: ");
  out().answer("LINE");
  out().write("\nSpecify first point: ");
  out().answer("0,0");
  out().write("\n 面積 = 6.00m2");
  out().finishLine();
  EXPECT_EQ(text(), "Command: LINE\nSpecify first point: 0,0\n 面積 = 6.00m2\n");
}

TEST_F(TranscriptTest, TextWithoutABreakAfterAnAnswerStartsANewLine) {
  out().answer("(princ \"x\")");
  out().write("x");
  out().write("\"x\"");
  out().finishLine();
  EXPECT_EQ(text(), "(princ \"x\")\nx\"x\"\n");
}

TEST_F(TranscriptTest, PrintedBreaksAreKeptWhereNoAnswerWasGiven) {
  out().write("a\n\nb");
  out().finishLine();
  out().finishLine();
  EXPECT_EQ(text(), "a\n\nb\n");
}

TEST_F(TranscriptTest, MessageBoxIsALineOfItsOwnAnsweredOk) {
  out().write("\nPick: ");
  out().messageBox("\nXY平面に水平でありません");
  out().write("\nnext");
  out().finishLine();
  EXPECT_EQ(text(), "\nPick: \n[Message box] XY平面に水平でありません [OK]\nnext\n");
}

}  // namespace
}  // namespace tessera
