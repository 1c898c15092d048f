// Rounding, formatting and reading of values; value lists and formula texts.
#include "common/value_format.h"
#include "common/value_list.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace area {
namespace {

struct RoundCase {
  const char* name;
  int digits;
  int rounding;
  double value;
  const char* text;  // FormatValue of the rounded value with the same digits
};

constexpr int kTruncate = 2;

TEST(RoundValueTest, RoundsUnderEachMode) {
  const RoundCase cases[] = {
      {"half up keeps 1.234", 2, kRoundHalfUp, 1.234, "1.23"},
      {"round up raises 1.234", 2, kRoundUp, 1.234, "1.24"},
      {"truncate cuts 1.234", 2, kTruncate, 1.234, "1.23"},
      {"half up raises 1.235", 2, kRoundHalfUp, 1.235, "1.24"},
      {"round up raises 1.235", 2, kRoundUp, 1.235, "1.24"},
      {"truncate cuts 1.235", 2, kTruncate, 1.235, "1.23"},
      {"round up sees only the first dropped decimal", 2, kRoundUp, 1.2301, "1.23"},
      {"half up of 1.2301", 2, kRoundHalfUp, 1.2301, "1.23"},
      {"truncate of 1.2301", 2, kTruncate, 1.2301, "1.23"},
      {"nine decimals round 1.2399999999 first (half up)", 2, kRoundHalfUp, 1.2399999999, "1.24"},
      {"nine decimals round 1.2399999999 first (up)", 2, kRoundUp, 1.2399999999, "1.24"},
      {"nine decimals round 1.2399999999 first (cut)", 2, kTruncate, 1.2399999999, "1.24"},
      {"no digits, whole value stays", 0, kRoundUp, 3.0, "3"},
      {"no digits, round up", 0, kRoundUp, 3.2, "4"},
      {"no digits, truncate", 0, kTruncate, 3.9, "3"},
      {"one digit, half up of an exact tie", 1, kRoundHalfUp, 0.25, "0.3"},
      {"half up reaches a hundredth of a step down", 2, kRoundHalfUp, 1.004999999, "1.01"},
      {"rounding mode 7 truncates", 2, 7, 1.239, "1.23"},
      {"negative rounding mode truncates", 2, -1, 1.239, "1.23"},
      {"negative, round up away from zero", 2, kRoundUp, -1.234, "-1.24"},
      {"negative, half up on the magnitude", 2, kRoundHalfUp, -1.235, "-1.24"},
      {"negative, half up below the half", 2, kRoundHalfUp, -1.234, "-1.23"},
      {"negative, truncate towards zero", 2, kTruncate, -1.234, "-1.23"},
      {"negative rounding to zero is plain zero", 2, kTruncate, -0.001, "0.00"},
      {"digits above eight are clamped", 12, kRoundUp, 0.1234567891, "0.12345679"},
      {"eight digits keep the cut in range", 8, kTruncate, 0.123456789, "0.12345678"},
      {"negative digits are clamped to none", -3, kTruncate, 12.7, "12"},
      {"large lengths keep their digits", 3, kRoundHalfUp, 123456789.0125, "123456789.013"},
  };
  for (const RoundCase& c : cases) {
    double value = c.value;
    RoundValue(c.digits, c.rounding, value);
    EXPECT_EQ(FormatValue(c.digits, value), c.text)
        << c.name << ": d=" << c.digits << " r=" << c.rounding << " v=" << c.value;
  }
}

// Rounding up -1.234 to two decimals: the magnitude's nine-decimal text "1.234000000" is cut to
// "1.234"; its last character, 4, is not 0, so 0.01 is added to 1.23, and the sign comes back.
// Adding the increment to the signed value, as the text rule alone would, gives -1.22.
TEST(RoundValueTest, RoundsUpTheMagnitudeOfNegativeValues) {
  double value = -1.234;
  RoundValue(2, kRoundUp, value);
  EXPECT_DOUBLE_EQ(value, -1.24);
  double small = -0.001;
  RoundValue(2, kRoundUp, small);
  EXPECT_DOUBLE_EQ(small, -0.01) << "a small negative lune area rounds away from zero";
}

TEST(RoundValueTest, ResultIsTheNumberItsTextShows) {
  for (int rounding : {kRoundHalfUp, kRoundUp, kTruncate}) {
    double value = 1.234;
    RoundValue(2, rounding, value);
    EXPECT_NEAR(value, ReadDecimal(FormatValue(2, value)), 1e-12) << "rounding " << rounding;
  }
}

TEST(RoundValueTest, LeavesNonFiniteValues) {
  double infinite = std::numeric_limits<double>::infinity();
  RoundValue(2, kRoundUp, infinite);
  EXPECT_TRUE(std::isinf(infinite));
  double notANumber = std::numeric_limits<double>::quiet_NaN();
  RoundValue(2, kRoundHalfUp, notANumber);
  EXPECT_TRUE(std::isnan(notANumber));
}

TEST(FormatValueTest, WritesFixedDecimals) {
  EXPECT_EQ(FormatValue(2, 50.0), "50.00");
  EXPECT_EQ(FormatValue(0, 78.5), "78");  // ties go to even, as "%.0f" does
  EXPECT_EQ(FormatValue(3, -0.5), "-0.500");
  EXPECT_EQ(FormatValue(20, 1.0), "1.00000000");
  EXPECT_EQ(FormatValue(2, 1e300).size(), 304u);
}

// Sets a numeric locale with a decimal comma for the life of the object, where the system has one.
class CommaLocale {
 public:
  CommaLocale() : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
      if (std::setlocale(LC_NUMERIC, name)) {
        active_ = true;
        return;
      }
    }
  }
  ~CommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
  bool active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

TEST(LocaleTest, TextsUseThePointWhateverTheEnvironment) {
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(FormatValue(2, 2.5), "2.50");
  EXPECT_DOUBLE_EQ(ReadDecimal("2.5"), 2.5);
  EXPECT_DOUBLE_EQ(ReadDecimal("2,5"), 2.0);
  double value = 1.235;
  RoundValue(2, kRoundUp, value);
  EXPECT_EQ(FormatValue(2, value), "1.24");
}

struct ReadCase {
  const char* name;
  std::string text;
  double value;
};

TEST(ReadDecimalTest, ReadsTheLeadingDecimalNumber) {
  const double largest = std::numeric_limits<double>::max();
  const ReadCase cases[] = {
      {"value text", "10.00", 10.0},
      {"negative", "-1.25", -1.25},
      {"blanks and plus sign", " \t+3.5", 3.5},
      {"trailing point", "3.", 3.0},
      {"leading point", ".25", 0.25},
      {"exponent", "2.5e2", 250.0},
      {"exponent without digits stops", "2e", 2.0},
      {"exponent sign without digits stops", "2e+x", 2.0},
      {"point alone", ".", 0.0},
      {"empty", "", 0.0},
      {"unit after the number", "12.5m2", 12.5},
      {"hexadecimal reads its leading zero", "0x1p3", 0.0},
      {"nan is not a number", "nan", 0.0},
      {"overflow gives the largest double", "1e400", largest},
      {"negative overflow", "-1e400", -largest},
      {"overflow by its digits", std::string(400, '9'), largest},
      {"underflow gives zero", "1e-400", 0.0},
      {"underflow by its zeros", "0." + std::string(400, '0') + "1", 0.0},
      {"huge exponent", "1e99999999999999999999999", largest},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(ReadDecimal(c.text), c.value) << c.name << ": '" << c.text << "'";
  }
}

TEST(ReadIntegerTest, ClampsInsteadOfOverflowing) {
  EXPECT_EQ(ReadInteger("  -42abc"), -42);
  EXPECT_EQ(ReadInteger("9223372036854775807"), std::numeric_limits<long long>::max());
  EXPECT_EQ(ReadInteger("9223372036854775808"), std::numeric_limits<long long>::max());
  EXPECT_EQ(ReadInteger("-9223372036854775808"), std::numeric_limits<long long>::min());
  EXPECT_EQ(ReadInteger("-9223372036854775809"), std::numeric_limits<long long>::min());
  EXPECT_EQ(ReadInteger(std::string(500, '7')), std::numeric_limits<long long>::max());
  EXPECT_EQ(ReadInteger("x1"), 0);
}

TEST(UnitTest, MetresBelowUnitKindTwo) {
  EXPECT_EQ(AreaUnitText(0), "m2");
  EXPECT_EQ(AreaUnitText(1), "m2");
  EXPECT_EQ(AreaUnitText(2), "mm2");
  EXPECT_EQ(AreaUnitText(-1), "m2");
  EXPECT_DOUBLE_EQ(LengthInUnit(0, 10000.0), 10.0);
  EXPECT_DOUBLE_EQ(LengthInUnit(2, 10000.0), 10000.0);
}

TEST(FigureValuesTest, RectangleOfTenByFiveMetres) {
  double side1 = LengthInUnit(0, 10000.0);
  double side2 = LengthInUnit(0, 5000.0);
  RoundValue(2, kRoundHalfUp, side1);
  RoundValue(2, kRoundHalfUp, side2);
  double area = side1 * side2;
  RoundValue(2, kRoundHalfUp, area);
  EXPECT_EQ(FormatValue(2, side1) + " " + FormatValue(2, side2), "10.00 5.00");
  EXPECT_EQ(FormatValue(2, area) + std::string(AreaUnitText(0)), "50.00m2");
}

TEST(SplitValueListTest, DropsTheParentheses) {
  using Tokens = std::vector<std::string>;
  EXPECT_EQ(SplitValueList("( 3.00 4.00 12.00 6.00 )"), (Tokens{"3.00", "4.00", "12.00", "6.00"}));
  EXPECT_EQ(SplitValueList("(  3.00   4.00 )"), (Tokens{"3.00", "4.00"}));
  EXPECT_EQ(SplitValueList("( 3.00"), (Tokens{"3.00"}));  // one kept token stays
  EXPECT_EQ(SplitValueList("("), Tokens{});
  EXPECT_EQ(SplitValueList(""), Tokens{});
  EXPECT_EQ(SplitValueList("   "), Tokens{});
}

TEST(SplitValueListTest, ReadsOnlyTheFirst255Units) {
  std::string list = "(";
  for (int i = 0; i < 49; ++i) list += " 1.00";  // 246 characters
  list += " 2.00 3.00 )";                        // the limit falls inside "3.00"
  const auto values = SplitValueList(list);
  ASSERT_EQ(values.size(), 50u);
  EXPECT_EQ(values.back(), "2.00");
  EXPECT_EQ(SplitValueList(list + std::string(100000, '9')), values);
}

struct FormulaCase {
  const char* name;
  int shapeCode;
  const char* valueList;
  const char* formula;
  const char* area;
};

TEST(ComposeFormulaTest, WritesEachShapesFormula) {
  const FormulaCase cases[] = {
      {"triangle", kShapeTriangle, "( 3.00 4.00 12.00 6.00 )", "3.00x4.00x0.5", "6.00"},
      {"rectangle", kShapeRectangle, "( 10.00 5.00 50.00 )", "10.00x5.00", "50.00"},
      {"trapezoid", kShapeTrapezoid, "( 3.00 5.00 2.00 8.00 )", "(3.00+5.00)x2.00x0.5", "8.00"},
      {"sector", kShapeSector, "( 10.00 90.00 78.50 )", "10.00x10.00x3.14x90.00/360", "78.50"},
      {"circle", kShapeCircle, "( 2.00 12.56 )", "2.00x2.00x3.14", "12.56"},
      {"lune", kShapeLune, "( 10.00 90.00 14.14 7.07 28.51 )",
       "10.00x10.00x3.14x90.00/360-14.14x7.07x0.5", "28.51"},
      {"extra values are ignored", kShapeCircle, "( 2.00 12.56 9.99 )", "2.00x2.00x3.14", "12.56"},
  };
  for (const FormulaCase& c : cases) {
    const auto result = ComposeFormula(c.shapeCode, c.valueList);
    ASSERT_TRUE(result) << c.name << ": shape " << c.shapeCode << " list " << c.valueList;
    EXPECT_EQ(result->formula, c.formula) << c.name << ": list " << c.valueList;
    EXPECT_EQ(result->area, c.area) << c.name << ": list " << c.valueList;
  }
}

TEST(ComposeFormulaTest, FailsOnShortListsAndUnknownShapes) {
  const FormulaCase cases[] = {
      {"triangle without area", kShapeTriangle, "( 3.00 4.00 )", "", ""},
      {"triangle one short", kShapeTriangle, "( 3.00 4.00 12.00 )", "", ""},
      {"lune one short", kShapeLune, "( 10.00 90.00 14.14 28.51 )", "", ""},
      {"circle from empty list", kShapeCircle, "", "", ""},
      {"shape code 0", 0, "( 1 2 3 4 5 6 )", "", ""},
      {"shape code 7", 7, "( 1 2 3 4 5 6 )", "", ""},
      {"infinite area", kShapeRectangle, "( 1e200 1e200 inf )", "", ""},
      {"value beyond a double", kShapeCircle, "( 1e999 3.14 )", "", ""},
      {"not a number", kShapeCircle, "( nan -nan )", "", ""},
  };
  for (const FormulaCase& c : cases) {
    EXPECT_FALSE(ComposeFormula(c.shapeCode, c.valueList))
        << c.name << ": shape " << c.shapeCode << " list '" << c.valueList << "'";
  }
}

// What FormatValue writes for values no double holds is never taken for a number; every other
// text is left to the readers, which read its leading number.
TEST(FitsInNumberTest, RefusesInfinityNanAndValuesBeyondADouble) {
  for (const char* unfit : {"inf", "-inf", "INF", "nan", "-nan", "1e999", "-1e400"})
    EXPECT_FALSE(FitsInNumber(unfit)) << unfit;
  for (const char* fit : {"0.00", "-12.5", "1e300", "1e-999", "", "abc", "( 1.00", "3.14"})
    EXPECT_TRUE(FitsInNumber(fit)) << fit;
  EXPECT_FALSE(FitsInNumber(FormatValue(2, 1e308 * 10)));
}

}  // namespace
}  // namespace area
