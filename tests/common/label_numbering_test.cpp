// Label answers and the default label of the next figure, for the three numbering kinds.
#include "common/label_numbering.h"

#include <gtest/gtest.h>

#include <string>

namespace area {
namespace {

struct AnswerCase {
  const char* name;
  int kind;
  std::string currentDefault;
  std::string answer;
  std::string label;
  std::string nextDefault;
};

TEST(ChooseLabelTest, FollowsTheNumberingKind) {
  const AnswerCase cases[] = {
      {"decimal, default taken", 0, "7", "", "7", "8"},
      {"decimal, digits restart", 0, "7", "12", "12", "13"},
      {"decimal, other answer keeps default", 0, "7", "12a", "12a", "7"},
      {"decimal, leading zeros read as a number", 0, "7", "007", "007", "8"},
      {"decimal, signed answer is not digits only", 0, "7", "-3", "-3", "7"},
      {"decimal, full-width digits are not digits", 0, "7", "１２", "１２", "7"},
      {"decimal, non-numeric default restarts at 1", 0, "A", "", "A", "1"},
      {"decimal, default with trailing text", 0, "5b", "", "5b", "6"},
      {"decimal, empty default", 0, "", "", "", "1"},
      {"upper, default taken", 1, "C", "", "C", "D"},
      {"upper, Z wraps to A", 1, "Z", "", "Z", "A"},
      {"upper, Z with more text steps its first unit", 1, "ZZ", "", "ZZ", "[Z"},
      {"upper, letter answer restarts", 1, "C", "F", "F", "G"},
      {"upper, Z answer restarts at A", 1, "C", "Z", "Z", "A"},
      {"upper, letter answer replaces only the first character", 1, "C3", "F", "F", "G3"},
      {"upper, letter answer over a katakana default", 1, "イ3", "F", "F", "G3"},
      {"upper, two letters keep default", 1, "C", "AB", "AB", "C"},
      {"upper, lower-case letter keeps default", 1, "C", "f", "f", "C"},
      {"upper, katakana default steps its unit", 1, "イ", "", "イ", "ゥ"},
      {"upper, empty default stays empty", 1, "", "", "", ""},
      {"lower, default taken", 2, "c", "", "c", "d"},
      {"lower, z wraps to a", 2, "z", "", "z", "a"},
      {"lower, z answer restarts at a", 2, "c", "z", "z", "a"},
      {"lower, upper-case letter keeps default", 2, "c", "F", "F", "c"},
  };
  for (const AnswerCase& c : cases) {
    const auto choice = ChooseLabel(c.kind, c.currentDefault, c.answer);
    ASSERT_TRUE(choice) << c.name;
    EXPECT_EQ(choice->label, c.label) << c.name << ": kind " << c.kind << " default '"
                                      << c.currentDefault << "' answer '" << c.answer << "'";
    EXPECT_EQ(choice->nextDefault, c.nextDefault)
        << c.name << ": kind " << c.kind << " default '" << c.currentDefault << "' answer '"
        << c.answer << "'";
  }
}

TEST(ChooseLabelTest, RefusesOtherKinds) {
  EXPECT_FALSE(ChooseLabel(3, "1", ""));
  EXPECT_FALSE(ChooseLabel(-1, "1", "5"));
}

TEST(ChooseLabelTest, LongAnswersAreKeptWholeAndCountersSaturate) {
  const std::string longDigits(300, '9');
  const auto choice = ChooseLabel(0, "1", longDigits);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->label, longDigits);
  EXPECT_EQ(choice->nextDefault, "9223372036854775807");
  const auto last = ChooseLabel(0, "9223372036854775807", "");
  ASSERT_TRUE(last);
  EXPECT_EQ(last->nextDefault, "9223372036854775807");
  EXPECT_EQ(ChooseLabel(0, "1", "2147483647")->nextDefault, "2147483648");
}

struct AdvanceCase {
  const char* name;
  int kind;
  std::string mark;
  std::string next;
};

TEST(AdvanceMarkBufferTest, StepsTheAutomaticNumbering) {
  const AdvanceCase cases[] = {
      {"decimal", 0, "5", "6"},
      {"decimal from text", 0, "abc", "1"},
      {"decimal negative", 0, "-1", "0"},
      {"upper", 1, "A", "B"},
      {"upper Z wraps", 1, "Z", "A"},
      {"upper ZZ steps its first unit", 1, "ZZ", "[Z"},
      {"lower z wraps", 2, "z", "a"},
      {"lower Z is not the wrap letter", 2, "Z", "["},
      {"lower katakana", 2, "ア", "ィ"},
      {"lower malformed first byte", 2, "\xFF", "\uFFFE"},
      {"empty upper stays empty", 1, "", ""},
      {"other kind unchanged", 5, "Z", "Z"},
  };
  for (const AdvanceCase& c : cases) {
    EXPECT_EQ(AdvanceMarkBuffer(c.kind, c.mark), c.next)
        << c.name << ": kind " << c.kind << " mark '" << c.mark << "'";
  }
}

TEST(AdvanceMarkBufferTest, PentagonAndLetterRuns) {
  std::string mark = "5";
  std::string run;
  for (int triangle = 0; triangle < 3; ++triangle) {
    run += mark + " ";
    mark = AdvanceMarkBuffer(0, mark);
  }
  EXPECT_EQ(run + mark, "5 6 7 8");
  mark = "Z";
  run.clear();
  for (int triangle = 0; triangle < 3; ++triangle) {
    run += mark + " ";
    mark = AdvanceMarkBuffer(1, mark);
  }
  EXPECT_EQ(run, "Z A B ");
}

}  // namespace
}  // namespace area
