// The DXF filer as classes' dxfInFields see it: typed items, points that take their Y and Z
// groups, pushing back, subclass markers, and the end at extended data.
#include "files/dxf_filer.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "cad/arx.h"

namespace tessera::files {
namespace {

std::vector<DxfTag> Tags(const std::string& text) {
  static std::deque<std::string> texts;  // tags point into the text they were read from
  std::vector<DxfTag> tags;
  EXPECT_FALSE(ReadDxfTags(texts.emplace_back(text), tags));
  return tags;
}

TEST(DxfFilerTest, YieldsTypedItemsAndStopsAtExtendedData) {
  std::vector<DxfTag> tags = Tags(
      "100\nAcDbLine\n 10\n1.5\n 20\n-2\n 11\n4.0\n 21\n5.0\n 31\n6.0\n 70\n-3\n 90\n70000\n"
      "  1\nイ1\n1001\nAPP\n1000\nx\n");
  DxfFiler filer(tags.data(), tags.data() + tags.size(), nullptr);
  EXPECT_FALSE(filer.atSubclassData("AcDbText"));
  EXPECT_TRUE(filer.atSubclassData("AcDbLine"));
  resbuf item{};
  ASSERT_EQ(filer.readItem(&item), Acad::eOk);
  EXPECT_EQ(item.restype, 10);
  EXPECT_EQ(item.resval.rpoint[1], -2.0);
  EXPECT_EQ(item.resval.rpoint[2], 0.0);  // a point without its Z group
  ASSERT_EQ(filer.readItem(&item), Acad::eOk);
  EXPECT_EQ(item.resval.rpoint[2], 6.0);
  ASSERT_EQ(filer.pushBackItem(), Acad::eOk);
  ASSERT_EQ(filer.readItem(&item), Acad::eOk);
  EXPECT_EQ(item.restype, 11);  // the pushed-back point again, whole
  ASSERT_EQ(filer.readItem(&item), Acad::eOk);
  EXPECT_EQ(item.resval.rint, -3);
  ASSERT_EQ(filer.readItem(&item), Acad::eOk);
  EXPECT_EQ(item.resval.rlong, 70000);
  ASSERT_EQ(filer.readItem(&item), Acad::eOk);
  EXPECT_STREQ(item.resval.rstring, "イ1");
  EXPECT_TRUE(filer.atExtendedData());
  EXPECT_EQ(filer.readItem(&item), Acad::eEndOfFile);
  EXPECT_EQ(filer.filerStatus(), Acad::eOk);  // the end is no failure of the filer
}

TEST(DxfFilerTest, ANonNumberWhereANumberBelongsFailsNamingTheLine) {
  std::vector<DxfTag> tags = Tags("  8\n0\n 40\n2,5\n");
  DxfFiler filer(tags.data(), tags.data() + tags.size(), nullptr);
  resbuf item{};
  ASSERT_EQ(filer.readItem(&item), Acad::eOk);
  EXPECT_EQ(filer.readItem(&item), Acad::eBadDxfSequence);
  EXPECT_EQ(filer.lastLine(), 3);
  EXPECT_EQ(filer.problem(), "group 40 wants a number, not \"2,5\"");
  EXPECT_EQ(filer.readItem(&item), Acad::eBadDxfSequence);  // and stays failed
}

TEST(DxfFilerTest, WritesPointsAsThreeGroupsAndRealsThatReadBackExactly) {
  RawTags out;
  AcDbDatabase drawing(true);
  DxfFiler filer(&out, &drawing);
  filer.writePoint3d(10, AcGePoint3d(0.1, 1e-300, -0.0));
  filer.writeObjectId(330, drawing.clayer());
  filer.writeObjectId(330, AcDbObjectId());
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[0], (std::pair<int, std::string>{10, "0.1"}));
  double back = 0;
  ASSERT_TRUE(ParseDxfReal(out[1].second, back));
  EXPECT_EQ(back, 1e-300);
  EXPECT_EQ(out[2].second, "0.0");
  EXPECT_EQ(out[3].second, drawing.clayer().handle().text());
  EXPECT_EQ(out[4].second, "0");
}

// Reals the filer wrote a moment ago are written again from its memory of them: each still reads
// as the shortest text of its own value, through repeats, values pushed out of that memory, and
// the two zeros and the values the format cannot hold.
TEST(DxfFilerTest, RepeatedRealsAreWrittenAsTheirOwnText) {
  const std::vector<double> values = {2.5,
                                      1.0 / 3,
                                      2.5,
                                      -0.0,
                                      0.0,
                                      1e-300,
                                      1.0 / 3,
                                      7.25,
                                      1e22,
                                      123456.789,
                                      2.5,
                                      -0.0,
                                      1.0 / 3,
                                      1e22,
                                      0.1,
                                      0.2,
                                      0.30000000000000004,
                                      std::numeric_limits<double>::infinity(),
                                      std::nan(""),
                                      0.1,
                                      7.25,
                                      123456.789};
  RawTags out;
  AcDbDatabase drawing(true);
  DxfFiler filer(&out, &drawing);
  for (double value : values) filer.writeDouble(40, value);
  ASSERT_EQ(out.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    DxfRealText buffer;
    EXPECT_EQ(out[i].second, std::string(FormatDxfReal(values[i], buffer))) << i;
  }
}

// The shortest text of a real, as the format wants it (a point in every real), computed the
// general way: whole numbers take a quicker road that must give exactly this.
std::string GeneralDxfReal(double value) {
  if (value == 0.0) value = 0.0;  // no "-0.0"
  char text[64];
  auto [end, error] = std::to_chars(text, text + sizeof text, value);
  std::string result(text, end);
  if (result.find_first_of(".e") == std::string::npos) result += ".0";
  return result;
}

TEST(DxfFilerTest, WholeRealsAreWrittenAsTheGeneralShortestFormWouldWriteThem) {
  std::vector<double> values = {
      1,       -1,       10,      100,       1000, 5000,  10000,           100000,
      1000000, -1000000, 1200000, 123456789, 1e14, -9e14, 999999999999999, 120000000000000,
      0.5,     2.5e7};
  std::mt19937_64 random(15);
  for (int i = 0; i < 20000; ++i) {
    const int digits = static_cast<int>(random() % 16);
    const auto scale = static_cast<std::int64_t>(std::pow(10.0, digits));
    double whole = static_cast<double>(static_cast<std::int64_t>(random() % 1000) * scale);
    values.push_back(random() % 2 ? whole : -whole);
  }
  for (double value : values) {
    DxfRealText buffer;
    EXPECT_EQ(std::string(FormatDxfReal(value, buffer)), GeneralDxfReal(value)) << value;
  }
}

// Code lines as writers put them and as they should not: read as the general integer reading
// reads them, a group code or a refusal, whichever road the reader takes.
TEST(DxfFilerTest, CodeLinesReadAsDxfIntegers) {
  const std::vector<std::string> lines = {
      "  0",  "0",    " 10", "330", "1071", "1072", "00010", "12345", "-5",  "-6",
      "+5",   " 10 ", "\t5", "5\t", "",     " ",    "1 0",   "x",     "10x", "99999999999999999999",
      "  0\r"};
  for (const std::string& line : lines) {
    std::int64_t expected = 0;
    const bool integer = ParseDxfInteger(line.substr(0, line.find('\r')), expected);
    const bool code = integer && expected >= -5 && expected <= 1071;
    std::vector<DxfTag> tags;
    const std::string text = line + "\nvalue\n";
    const std::optional<DxfProblem> problem = ReadDxfTags(text, tags);
    EXPECT_EQ(!problem, code) << "\"" << line << "\"";
    if (!problem && code) {
      EXPECT_EQ(tags.at(0).code, expected) << "\"" << line << "\"";
    }
  }
}

// Codes right-aligned in three columns, and a value's line breaks written as spaces, whatever the
// value's length (short values go out in one step with their code, long ones in several).
TEST(DxfFilerTest, TagsAreWrittenAsOneCodeLineAndOneValueLine) {
  const std::string longValue = std::string(70, 'a') + "\r\n" + std::string(30, 'b');
  const std::string longWritten = std::string(70, 'a') + "  " + std::string(30, 'b');
  const std::vector<std::tuple<int, std::string, std::string>> cases = {
      {0, "EOF", "  0\nEOF\n"},
      {10, "1.5", " 10\n1.5\n"},
      {330, "1F", "330\n1F\n"},
      {1071, "7", "1071\n7\n"},
      {-5, "x", " -5\nx\n"},
      {1, "", "  1\n\n"},
      {1, "two\nlines\rand", "  1\ntwo lines and\n"},
      {1, "面積面積\n", "  1\n面積面積 \n"},
      {1, "面積 abcdefghijk", "  1\n面積 abcdefghijk\n"},
      {1, std::string(64, 'c'), "  1\n" + std::string(64, 'c') + "\n"},
      {1, longValue, "  1\n" + longWritten + "\n"},
  };
  for (const auto& [code, value, written] : cases) {
    std::string out = "before\n";
    AppendDxfTag(out, code, value);
    EXPECT_EQ(out, "before\n" + written) << code << " " << value;
  }
}

// Lines of every length up to a few words, ended by LF or CRLF, the last one by neither: each
// tag comes back with its code, its value and its line.
TEST(DxfFilerTest, TagsOfEveryLineLengthReadBack) {
  std::mt19937 random(8);
  std::string text;
  std::vector<std::pair<int, std::string>> written;
  for (int i = 0; i < 400; ++i) {
    const int code = static_cast<int>(random() % 1072);
    std::string value(random() % 40, 'a');
    for (char& c : value) c = static_cast<char>('a' + random() % 26);
    if (random() % 4 == 0) value += "面積";  // bytes with the high bit set
    const char* end = random() % 2 ? "\r\n" : "\n";
    text += std::string(random() % 3, ' ') + std::to_string(code) + end + value;
    if (i + 1 < 400) text += end;
    written.emplace_back(code, value);
  }
  const std::vector<DxfTag> tags = Tags(text);
  ASSERT_EQ(tags.size(), written.size());
  for (std::size_t i = 0; i < tags.size(); ++i) {
    EXPECT_EQ(tags[i].code, written[i].first) << i;
    EXPECT_EQ(tags[i].value, written[i].second) << i;
    EXPECT_EQ(tags[i].line, static_cast<int>(2 * i + 1)) << i;
  }
}

}  // namespace
}  // namespace tessera::files
