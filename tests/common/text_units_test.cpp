// UTF-16 code-unit semantics over UTF-8 texts, malformed input included.
#include "common/text_units.h"

#include <gtest/gtest.h>

#include <string>

namespace area {
namespace {

// Characters used below: "𠮷" U+20BB7 is a surrogate pair, "ｱ" U+FF71 a single unit above the
// surrogates, so the two orders of code points and of UTF-16 units disagree on them.
constexpr const char* kPair = "\U00020BB7";
constexpr const char* kHalfwidthA = "\uFF71";
const std::string kReplacement = "\uFFFD";

struct LengthCase {
  const char* name;
  std::string text;
  std::size_t units;
};

TEST(Utf16LengthTest, CountsCodeUnits) {
  const LengthCase cases[] = {
      {"empty", "", 0},
      {"ascii", "ABC", 3},
      {"katakana and digit", "イ1", 2},
      {"surrogate pair", kPair, 2},
      {"pair between letters", std::string("a") + kPair + "b", 4},
      {"stray continuation byte", "\x80", 1},
      {"byte that cannot lead", "\xFF", 1},
      {"truncated three-byte sequence", "\xE3\x81", 2},
      {"overlong slash", "\xC0\xAF", 2},
      {"encoded surrogate", "\xED\xA0\x80", 3},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", 4},
      {"bad byte before good character", "\xFFイ", 2},
  };
  for (const LengthCase& c : cases) {
    EXPECT_EQ(Utf16Length(c.text), c.units) << c.name;
  }
}

TEST(Utf16ConversionTest, MalformedBytesBecomeOneReplacementEach) {
  EXPECT_EQ(ToUtf16("a\xE3\x81"
                    "b"),
            std::u16string(u"a\uFFFD\uFFFDb"));
  EXPECT_EQ(ToUtf16("\xED\xA0\x80"), std::u16string(u"\uFFFD\uFFFD\uFFFD"));
}

TEST(Utf16ConversionTest, WellFormedTextSurvivesTheRoundTrip) {
  const std::string text = std::string("記号A1") + kPair + kHalfwidthA;
  EXPECT_EQ(ToUtf8(ToUtf16(text)), text);
}

TEST(Utf16ConversionTest, UnpairedSurrogatesBecomeReplacement) {
  EXPECT_EQ(ToUtf8(u"\xD842x"), kReplacement + "x");
  EXPECT_EQ(ToUtf8(u"x\xDFB7"), "x" + kReplacement);
  EXPECT_EQ(ToUtf8(u"\xDFB7\xD842"), kReplacement + kReplacement);
}

TEST(CompareUtf16Test, OrdersByCodeUnitsWithPrefixFirst) {
  EXPECT_LT(CompareUtf16("A", "B"), 0);
  EXPECT_GT(CompareUtf16("AB", "A"), 0);
  EXPECT_EQ(CompareUtf16("イ1", "イ1"), 0);
  EXPECT_LT(CompareUtf16("", "A"), 0);
  // U+20BB7 is after U+FF71 as a code point, but its high surrogate 0xD842 is before 0xFF71.
  EXPECT_LT(CompareUtf16(kPair, kHalfwidthA), 0);
  EXPECT_GT(CompareUtf16(kHalfwidthA, kPair), 0);
}

struct PrefixCase {
  const char* name;
  std::string text;
  std::size_t units;
  std::string prefix;
};

TEST(Utf16PrefixTest, NeverSplitsACharacter) {
  const std::string aPair = std::string("a") + kPair;
  const PrefixCase cases[] = {
      {"first unit of katakana label", "イ1", 1, "イ"},
      {"pair at the limit is dropped", aPair, 2, "a"},
      {"pair within the limit is kept", aPair, 3, aPair},
      {"zero units", "abc", 0, ""},
      {"limit beyond the text", "abc", 10, "abc"},
      {"malformed bytes are kept as they are",
       "\xFF\xFE"
       "a",
       2, "\xFF\xFE"},
      {"truncated sequence at the end", "ab\xE3\x81", 3, "ab\xE3"},
  };
  for (const PrefixCase& c : cases) {
    EXPECT_EQ(Utf16Prefix(c.text, c.units), c.prefix) << c.name << " limit " << c.units;
  }
}

struct AdvanceCase {
  const char* name;
  std::string text;
  std::string advanced;
};

TEST(AdvanceFirstUnitTest, RaisesTheFirstCodeUnit) {
  const AdvanceCase cases[] = {
      {"letter", "A", "B"},
      {"letter before digits", "A12", "B12"},
      {"past z", "z", "{"},
      {"katakana a to small i", "ア", "ィ"},
      {"katakana i to small u", "イ", "ゥ"},
      {"empty stays empty", "", ""},
      {"last unit has no next",
       "\uFFFF"
       "x",
       "\uFFFF"
       "x"},
      {"high surrogate stays paired", "\U00020BB7", "\U00020FB7"},
      {"last high surrogate loses its pair", "\U0010FC00", kReplacement + kReplacement},
      {"unit before the surrogates becomes one", "\uD7FF", kReplacement},
      {"malformed first byte reads as U+FFFD",
       "\xFF"
       "ab",
       "\uFFFE"
       "ab"},
      {"truncated sequence alone", "\xE3", "\uFFFE"},
      {"only the first character changes", "a\xFF", "b\xFF"},
  };
  for (const AdvanceCase& c : cases) {
    EXPECT_EQ(AdvanceFirstUnit(c.text), c.advanced) << c.name;
  }
}

TEST(FoldAsciiUpperTest, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(FoldAsciiUpper(u'a'), u'A');
  EXPECT_EQ(FoldAsciiUpper(u'z'), u'Z');
  EXPECT_EQ(FoldAsciiUpper(u'A'), u'A');
  EXPECT_EQ(FoldAsciiUpper(u'{'), u'{');
  EXPECT_EQ(FoldAsciiUpper(u'`'), u'`');
  EXPECT_EQ(FoldAsciiUpper(u'\uFF41'), u'\uFF41');  // full-width a
}

}  // namespace
}  // namespace area
