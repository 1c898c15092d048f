// printf-style formatting into strings, at every length.
#include "common/messages.h"

#include <gtest/gtest.h>

#include <string>

namespace area {
namespace {

TEST(StringPrintfTest, FormatsTextsOfEveryLengthWhole) {
  EXPECT_EQ(StringPrintf("%lf,%lf", 990000.0, -2000.125), "990000.000000,-2000.125000");
  EXPECT_EQ(StringPrintf("%s", ""), "");
  for (std::size_t length : {254u, 255u, 256u, 257u, 5000u}) {
    const std::string text(length, 'x');
    EXPECT_EQ(StringPrintf("%s|%d", text.c_str(), 7), text + "|7") << length;
  }
}

}  // namespace
}  // namespace area
