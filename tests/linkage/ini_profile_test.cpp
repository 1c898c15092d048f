// The settings-file reader: sections and keys without regard to case, the first match winning,
// comments, quotes, blanks, a byte-order mark, the 259-byte cut, and files that are not there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "linkage/ini_profile.h"

namespace {

using area::ProfileValue;

struct ProfileCase {
  const char* name;
  const char* text;
  const char* expected;  // of [REGISTRY] ACADVER, fallback "none"
};

const ProfileCase kCases[] = {
    {"plain", "[REGISTRY]\nACADVER=R16.1\n", "R16.1"},
    {"case of names", "[registry]\nacadver=R16.0\n", "R16.0"},
    {"value keeps its case", "[REGISTRY]\nACADVER=r16.1\n", "r16.1"},
    {"blanks around", "  [ REGISTRY ]  \r\n  ACADVER  =  R10  \r\n", "R10"},
    {"quoted", "[REGISTRY]\nACADVER=\"R9\"\n", "R9"},
    {"single quotes", "[REGISTRY]\nACADVER='R9'\n", "R9"},
    {"other section", "[OTHER]\nACADVER=R10\n", "none"},
    {"section closes", "[REGISTRY]\n[OTHER]\nACADVER=R10\n", "none"},
    {"first key wins", "[REGISTRY]\nACADVER=R10\nACADVER=R9\n", "R10"},
    {"first section wins", "[REGISTRY]\nACADVER=R10\n[REGISTRY]\nACADVER=R9\n", "R10"},
    {"comment", "[REGISTRY]\n;ACADVER=R10\nACADVER=R17\n", "R17"},
    {"empty value", "[REGISTRY]\nACADVER=\n", ""},
    {"no equals sign", "[REGISTRY]\nACADVER\n", "none"},
    {"longer key", "[REGISTRY]\nACADVERSION=R10\n", "none"},
    {"byte-order mark", "\xEF\xBB\xBF[REGISTRY]\nACADVER=R16.1\n", "R16.1"},
    {"no final newline", "[REGISTRY]\nACADVER=R16.1", "R16.1"},
    {"unclosed section", "[REGISTRY\nACADVER=R16.1\n", "R16.1"},
    {"empty text", "", "none"},
};

TEST(ProfileValueTest, ReadsTheTableOfCases) {
  for (const ProfileCase& c : kCases)
    EXPECT_EQ(ProfileValue(c.text, "REGISTRY", "ACADVER", "none"), c.expected)
        << c.name << ": " << c.text;
}

TEST(ProfileValueTest, ValuesAreCutAsTheHostsBufferCutsThem) {
  const std::string longValue(1000, 'x');
  const std::string value = ProfileValue("[S]\nK=" + longValue + "\n", "S", "K", "");
  EXPECT_EQ(value.size(), area::kProfileBufferLength - 1);
}

TEST(ProfileValueTest, BinaryGarbageGivesTheFallback) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>(i * 37));
  EXPECT_EQ(ProfileValue(garbage, "REGISTRY", "ACADVER", "none"), "none");
}

TEST(ReadProfileStringTest, ReadsAFileAndFallsBackWhenThereIsNone) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "tessera_profile_test.ini";
  {
    std::ofstream file(path);
    file << "[REGISTRY]\nACADVER=R16.1\n";
  }
  EXPECT_EQ(area::ReadProfileString(path.string(), "REGISTRY", "ACADVER", ""), "R16.1");
  std::filesystem::remove(path);
  EXPECT_EQ(area::ReadProfileString(path.string(), "REGISTRY", "ACADVER", "none"), "none");
}

}  // namespace
