// Settings strings: splitting at "|", field counts and the reading of numeric fields.
#include "common/settings.h"

#include <gtest/gtest.h>

#include <climits>

namespace area {
namespace {

TEST(ParseFigureSettingsTest, ReadsAllElevenFields) {
  const auto settings = ParseFigureSettings("L1|L2|L3|0|1|AREA1|1|2.5|1|2|0");
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->lineLayer, "L1");
  EXPECT_EQ(settings->markLayer, "L2");
  EXPECT_EQ(settings->valueLayer, "L3");
  EXPECT_EQ(settings->markKind, 0);
  EXPECT_EQ(settings->firstMark, "1");
  EXPECT_EQ(settings->markBlock, "AREA1");
  EXPECT_DOUBLE_EQ(settings->markScale, 1.0);
  EXPECT_DOUBLE_EQ(settings->markHeight, 2.5);
  EXPECT_EQ(settings->unitKind, 1);
  EXPECT_EQ(settings->digits, 2);
  EXPECT_EQ(settings->rounding, 0);
  EXPECT_DOUBLE_EQ(MarkInsertScale(*settings), 2.5 / 3.0);
}

TEST(ParseFigureSettingsTest, EmptyFieldCollapsesAndLeavesTooFewTokens) {
  EXPECT_FALSE(ParseFigureSettings("L1||L3|0|1|AREA1|1|2.5|1|2|0"));
  EXPECT_FALSE(ParseFigureSettings(""));
  EXPECT_FALSE(ParseFigureSettings("||||||||||"));
}

TEST(ParseFigureSettingsTest, SeparatorsAtTheEndsAndExtraFieldsAreIgnored) {
  const auto settings = ParseFigureSettings("||L1|L2||L3|2|ア|AREA1|1|2.5|1|2|0|extra|");
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->valueLayer, "L3");
  EXPECT_EQ(settings->markKind, 2);
  EXPECT_EQ(settings->firstMark, "ア");
  EXPECT_EQ(settings->rounding, 0);
}

TEST(ParseTableSettingsTest, ReadsAllTenFieldsAndNeedsThemAll) {
  const auto settings = ParseTableSettings("1|TL|TT|HEAD|100|3.5|1|2|2|1");
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->tableForm, 1);
  EXPECT_EQ(settings->tableLineLayer, "TL");
  EXPECT_EQ(settings->tableTextLayer, "TT");
  EXPECT_EQ(settings->tableBlock, "HEAD");
  EXPECT_DOUBLE_EQ(settings->tableScale, 100.0);
  EXPECT_DOUBLE_EQ(settings->tableHeight, 3.5);
  EXPECT_EQ(settings->tableUnitKind, 1);
  EXPECT_EQ(settings->tableDigits, 2);
  EXPECT_EQ(settings->tableSort, 2);
  EXPECT_EQ(settings->tableRounding, 1);
  EXPECT_DOUBLE_EQ(TableInsertScale(*settings), 3.5 / 3.0 * 100.0);
  EXPECT_FALSE(ParseTableSettings("1|TL|TT|HEAD|100|3.5|1|2|2"));
}

TEST(ParseSeparatedFieldsTest, ServesTheEightFieldUpdateString) {
  const auto fields = ParseSeparatedFields("A|B||C|x|y|0|3|1", 8);
  ASSERT_TRUE(fields);
  EXPECT_EQ(*fields, (std::vector<std::string>{"A", "B", "C", "x", "y", "0", "3", "1"}));
  EXPECT_FALSE(ParseSeparatedFields("A|B|C|x|y|0|3", 8));
}

struct NumericFieldCase {
  const char* name;
  const char* field;
  int integer;
  double real;  // 0 when a scale read from the field is refused
};

// Integer fields read the number at their start or 0; a scale field must give a positive, finite
// scale, or the settings are refused.
TEST(NumericFieldTest, ReadsTheNumberAtTheStartAndRefusesScalesThatAreNotPositive) {
  const NumericFieldCase cases[] = {
      {"plain", "12", 12, 12.0},
      {"signed", "-3", -3, 0.0},
      {"plus sign", "+4", 4, 4.0},
      {"leading blanks", "  7", 7, 7.0},
      {"trailing text", "2mm", 2, 2.0},
      {"fraction", "2.75", 2, 2.75},
      {"leading point", ".5", 0, 0.5},
      {"exponent", "1e3", 1, 1000.0},
      {"not a number", "abc", 0, 0.0},
      {"zero", "0", 0, 0.0},
      {"sign alone", "-", 0, 0.0},
      {"hexadecimal reads its leading zero", "0x10", 0, 0.0},
      {"infinity is not a number", "inf", 0, 0.0},
      {"huge integer clamps", "99999999999999999999999", INT_MAX, 1e23},
      {"huge negative integer clamps", "-99999999999999999999999", INT_MIN, 0.0},
  };
  for (const NumericFieldCase& c : cases) {
    const auto integer = ParseFigureSettings(std::string("L|L|L|") + c.field + "|1|B|1|1|1|2|0");
    ASSERT_TRUE(integer) << c.name;
    EXPECT_EQ(integer->markKind, c.integer) << c.name << " field '" << c.field << "'";
    const auto scale = ParseFigureSettings(std::string("L|L|L|0|1|B|") + c.field + "|1|1|2|0");
    const auto size = ParseFigureSettings(std::string("L|L|L|0|1|B|1|") + c.field + "|1|2|0");
    const auto table = ParseTableSettings(std::string("1|TL|TT|HEAD|") + c.field + "|3|1|2|2|1");
    if (c.real == 0.0) {
      EXPECT_FALSE(scale || size || table) << c.name << " field '" << c.field << "'";
      continue;
    }
    ASSERT_TRUE(scale && size && table) << c.name;
    EXPECT_DOUBLE_EQ(scale->markScale, c.real) << c.name << " field '" << c.field << "'";
    EXPECT_DOUBLE_EQ(size->markHeight, c.real) << c.name;
    EXPECT_DOUBLE_EQ(table->tableScale, c.real) << c.name;
  }
}

TEST(NumericFieldTest, AScaleTooLargeToHoldIsRefused) {
  EXPECT_FALSE(ParseFigureSettings("L|L|L|0|1|B|1e300|1e300|1|2|0"));
  EXPECT_FALSE(ParseTableSettings("1|TL|TT|HEAD|1e300|1e300|1|2|2|1"));
}

}  // namespace
}  // namespace area
