// The input functions an application calls: each asks the current input (the running script)
// and answers with the host's status codes.
#include <gtest/gtest.h>

#include <cstring>

#include "editor/input_source.h"
#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

class InputFunctionsTest : public TestDrawing {
 protected:
  // Lines that the next prompts read, as if they followed in a script.
  void answers(const std::string& lines) {
    m_scope.reset();
    m_source = std::make_unique<editor::InputSource>(lines, "answers.scr");
    m_scope = std::make_unique<editor::InputScope>(*m_source);
  }
  void TearDown() override {
    m_scope.reset();
    TestDrawing::TearDown();
  }
  editor::InputSource& source() { return *m_source; }

 private:
  std::unique_ptr<editor::InputSource> m_source;
  std::unique_ptr<editor::InputScope> m_scope;
};

TEST_F(InputFunctionsTest, PointFromTwoOrThreeCoordinates) {
  answers("1.5,2\n3,4,5\n");
  ads_point point;
  ASSERT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTNORM);
  EXPECT_DOUBLE_EQ(point[X], 1.5);
  EXPECT_DOUBLE_EQ(point[Y], 2.0);
  EXPECT_DOUBLE_EQ(point[Z], 0.0);
  ASSERT_EQ(acedGetPoint(point, "\nPoint: ", point), RTNORM);
  EXPECT_DOUBLE_EQ(point[Z], 5.0);
}

TEST_F(InputFunctionsTest, ReturnGivesNoneUnlessInitGetRefusesIt) {
  answers("\n\n7,8\n");
  ads_point point;
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTNONE);
  acedInitGet(RSG_NONULL, nullptr);
  clearTranscript();
  ASSERT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTNORM);
  EXPECT_DOUBLE_EQ(point[X], 7.0);
  EXPECT_NE(transcript().find("Point or option keyword required."), std::string::npos)
      << transcript();
}

TEST_F(InputFunctionsTest, InitGetAppliesToTheNextCallOnly) {
  answers("\n\n");
  ads_point point;
  acedInitGet(RSG_NONULL, nullptr);
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTCAN);  // refused, then input ran out
  answers("\n");
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTNONE);
}

TEST_F(InputFunctionsTest, KeywordsMatchByTheirCapitalsAndRefuseOthers) {
  answers("x\nb\n");
  acedInitGet(0, "A B");
  char keyword[8];
  ASSERT_EQ(acedGetKword("\nA or B: ", keyword, sizeof keyword), RTNORM);
  EXPECT_STREQ(keyword, "B");
  EXPECT_NE(transcript().find("Invalid option keyword."), std::string::npos) << transcript();
}

TEST_F(InputFunctionsTest, KeywordAtAPointPromptGivesKeywordStatusAndGetInputItsText) {
  answers("cl\nu\n");
  acedInitGet(0, "Close Undo");
  ads_point point;
  EXPECT_EQ(acedGetPoint(nullptr, "\nNext: ", point), RTKWORD);
  char keyword[16];
  ASSERT_EQ(acedGetInput(keyword, sizeof keyword), RTNORM);
  EXPECT_STREQ(keyword, "Close") << "the keyword as declared, not as typed";
  acedInitGet(0, "Close Undo");
  ads_real number = 0;
  EXPECT_EQ(acedGetReal("\nNumber: ", &number), RTKWORD);
  char small[3];
  ASSERT_EQ(acedGetInput(small, sizeof small), RTNORM);
  EXPECT_STREQ(small, "Un") << "cut to the buffer";
  EXPECT_EQ(acedGetInput(nullptr, 4), RTERROR);
}

TEST_F(InputFunctionsTest, EndOfInputAndCancelLineCancel) {
  answers("*CANCEL*\n");
  ads_point point;
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTCAN);
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTCAN);
  char text[8];
  EXPECT_EQ(acedGetString(0, "\nText: ", text, sizeof text), RTCAN);
}

TEST_F(InputFunctionsTest, LispExpressionAnswersWithItsValue) {
  answers("(list (* 2 3) 4)\n");
  ads_point point;
  ASSERT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTNORM);
  EXPECT_DOUBLE_EQ(point[X], 6.0);
  EXPECT_DOUBLE_EQ(point[Y], 4.0);
}

TEST_F(InputFunctionsTest, LongStringIsCutAtACharacterBoundary) {
  // Three-byte characters: a buffer of 8 holds two of them and the terminator, never a part.
  answers("イロハニ\n");
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  ASSERT_EQ(acedGetString(1, "\nText: ", buffer, sizeof buffer), RTNORM);
  EXPECT_STREQ(buffer, "イロ");
}

TEST_F(InputFunctionsTest, StringWithoutSpacesEndsAtTheFirstSpace) {
  answers("ab cd\nab cd\n");
  char buffer[16];
  ASSERT_EQ(acedGetString(0, "\nText: ", buffer, sizeof buffer), RTNORM);
  EXPECT_STREQ(buffer, "ab");
  ASSERT_EQ(acedGetString(1, "\nText: ", buffer, sizeof buffer), RTNORM);
  EXPECT_STREQ(buffer, "ab cd");
}

TEST_F(InputFunctionsTest, TextAtAPointPromptWithoutKeywordsFailsTheScript) {
  answers("abc\n1,1\n");
  ads_point point;
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTCAN);
  EXPECT_TRUE(source().failed());
  EXPECT_EQ(source().failure().rfind("answers.scr:1: ", 0), 0u) << source().failure();
  // The run is over: later prompts find no input.
  EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", point), RTCAN);
}

TEST_F(InputFunctionsTest, IntegersAndRealsWithRangeFlags) {
  answers("1.5\n0\n-2\n4\n2.25\n");
  int number = 0;
  acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
  EXPECT_EQ(acedGetInt("\nInteger: ", &number), RTCAN);  // 1.5 is no integer: the run fails
  answers("0\n-2\n4\n2.25\n");
  acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
  ASSERT_EQ(acedGetInt("\nInteger: ", &number), RTNORM);
  EXPECT_EQ(number, 4);
  ads_real real = 0;
  ASSERT_EQ(acedGetReal("\nReal: ", &real), RTNORM);
  EXPECT_DOUBLE_EQ(real, 2.25);
}

TEST_F(InputFunctionsTest, PrintfAndAlertGoToTheTranscript) {
  acutPrintf("\n%s = %d", "count", 3);
  acedAlert("\nXY平面に水平でありません");
  EXPECT_TRUE(HasLine(transcript(), "count = 3")) << transcript();
  EXPECT_TRUE(HasLine(transcript(), "[Message box] XY平面に水平でありません [OK]")) << transcript();
}

TEST_F(InputFunctionsTest, SystemVariablesHaveTypesAndRefuseWrongOnes) {
  resbuf value;
  ASSERT_EQ(acedGetVar("PICKBOX", &value), RTNORM);
  EXPECT_EQ(value.restype, RTSHORT);
  EXPECT_EQ(value.resval.rint, 3);
  ASSERT_EQ(acedGetVar("CLAYER", &value), RTNORM);
  EXPECT_EQ(value.restype, RTSTR);
  std::free(value.resval.rstring);
  ASSERT_EQ(acedGetVar("TEXTSIZE", &value), RTNORM);
  EXPECT_DOUBLE_EQ(value.resval.rreal, database()->textsize());
  EXPECT_EQ(acedGetVar("NOSUCHVARIABLE", &value), RTERROR);

  resbuf setting{};
  setting.restype = RTREAL;
  setting.resval.rreal = 1.0;
  EXPECT_EQ(acedSetVar("OSMODE", &setting), RTERROR);
  setting.restype = RTSHORT;
  setting.resval.rint = 544;
  EXPECT_EQ(acedSetVar("OSMODE", &setting), RTNORM);
  ASSERT_EQ(acedGetVar("OSMODE", &value), RTNORM);
  EXPECT_EQ(value.resval.rint, 544);
}

TEST_F(InputFunctionsTest, SystemVariableNamesInAnyCaseNameOneValue) {
  resbuf setting{};
  setting.restype = RTSHORT;
  setting.resval.rint = 0;
  EXPECT_EQ(acedSetVar("cmdEcho", &setting), RTNORM);
  resbuf value;
  ASSERT_EQ(acedGetVar("CMDECHO", &value), RTNORM);
  EXPECT_EQ(value.resval.rint, 0);

  answers("12,34\n");
  ads_point picked;
  ASSERT_EQ(acedGetPoint(nullptr, "Point: ", picked), RTNORM);
  ASSERT_EQ(acedGetVar("lastpoint", &value), RTNORM);
  EXPECT_EQ(value.restype, RT3DPOINT);
  EXPECT_DOUBLE_EQ(value.resval.rpoint[0], 12.0);
  EXPECT_DOUBLE_EQ(value.resval.rpoint[1], 34.0);
  EXPECT_EQ(acedGetVar("nosuchvariable", &value), RTERROR);
}

TEST_F(InputFunctionsTest, TransBetweenWorldAndAMovedUcs) {
  database()->setUcs(AcGePoint3d(10, 20, 0), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0));
  resbuf world{}, ucs{};
  world.restype = ucs.restype = RTSHORT;
  world.resval.rint = 0;
  ucs.resval.rint = 1;
  ads_point in = {1, 0, 0}, out;
  ASSERT_EQ(acedTrans(in, &ucs, &world, 0, out), RTNORM);
  EXPECT_NEAR(out[X], 10.0, 1e-12);
  EXPECT_NEAR(out[Y], 21.0, 1e-12);
  ASSERT_EQ(acedTrans(in, &ucs, &world, 1, out), RTNORM);  // a displacement ignores the origin
  EXPECT_NEAR(out[X], 0.0, 1e-12);
  EXPECT_NEAR(out[Y], 1.0, 1e-12);
  ads_point back;
  ASSERT_EQ(acedTrans(out, &world, &ucs, 1, back), RTNORM);
  EXPECT_NEAR(back[X], 1.0, 1e-12);
}

}  // namespace
}  // namespace tessera::testing
