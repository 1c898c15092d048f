// The fuzz targets' bodies over chosen nasty inputs, so that the ordinary test run covers what
// the fuzzers (built with clang only) look for: deep nesting, unbalanced input, huge numbers,
// NUL bytes and invalid UTF-8 end in a message, never in a crash, a stack overflow or a hang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../../fuzz/dxf_fuzz_input.h"
#include "../../fuzz/fuzz_inputs.h"

namespace tessera::fuzz {
namespace {

constexpr std::size_t kDeep = 100000;

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

struct Case {
  const char* name;
  std::string bytes;
};

// Text with a NUL byte inside, which a C string would cut.
std::string WithNul(const char* before, const char* after) {
  return std::string(before) + std::string(1, '\0') + after;
}

std::vector<Case> LispCases() {
  return {
      {"open parentheses", Repeated("(", kDeep)},
      {"close parentheses", Repeated(")", kDeep)},
      {"balanced but too deep", Repeated("(", kDeep) + Repeated(")", kDeep)},
      {"deep just within the limit", Repeated("(", 9000) + Repeated(")", 9000)},
      {"quotes", Repeated("'", kDeep) + "x"},
      {"long flat list", "(" + Repeated("1 ", kDeep) + ")"},
      {"huge numbers", "(99999999999999999999999 1e999 -1e999 1e-999 .5e 1.e5 -.)"},
      {"nul bytes", WithNul("(a \"b", "c\" d)")},
      {"invalid utf-8", "(\xff\xfe \"\xe3\x81\" \xc3)"},
      {"open string", "(a \"b"},
      {"open block comment", ";| never closed"},
      {"dots", "(. . .) (a . b . c) (a .)"},
      {"escapes at the end", "\"\\"},
  };
}

TEST(FuzzInputsTest, LispReaderGivesFormsOrAMessage) {
  for (const Case& c : LispCases()) EXPECT_TRUE(ReadLispInput(c.bytes)) << c.name;
}

std::vector<Case> ScriptCases() {
  return {
      {"a long unclosed expression", "(progn\n" + Repeated("1\n", kDeep)},
      {"an open parenthesis on every line", Repeated("(\n", kDeep)},
      {"a string left open", "(strcat \"a\n" + Repeated("b\n", 1000)},
      {"a pending quote then blank lines", "(setq a 1)'\n" + Repeated("\n", kDeep)},
      {"huge numbers as answers", "1e999,1e999\n@1e308<1e308\n99999999999999999999\n-1e-999\n"},
      {"points of odd shape", ",\n,,\n,,,\n1,2,3,4\n@\n<\n@<\n1<\n"},
      {"nul bytes", WithNul("LINE\n0,0", "\n10,0\n")},
      {"invalid utf-8", "\xff\n\xc3\n(\xe3\x81\n"},
      {"line ends of every kind", "\r\n\r\r\n\n\r"},
      {"keyword junk", "_\n__\n_w\nclose\nCLOSEX\n*cancel*\n!\n!!\n"},
  };
}

TEST(FuzzInputsTest, ScriptLinesSplitAndReadAsAnswers) {
  for (const Case& c : ScriptCases()) EXPECT_TRUE(ReadScriptInput(c.bytes)) << c.name;
}

std::vector<Case> DxfCases() {
  const std::string line = "  0\nLINE\n  5\n2A\n  8\n0\n 10\n1.0\n 20\n2.0\n 11\n3.0\n 21\n4.0\n";
  return {
      {"empty", ""},
      {"one line", "0"},
      {"sections never ended", Repeated("  0\nSECTION\n  2\nENTITIES\n", 20000)},
      {"group code out of range", "99999999999999999999\nX\n  0\nEOF\n"},
      {"negative group code", "-5\nX\n  0\nEOF\n"},
      {"huge values", "  0\nSECTION\n  2\nENTITIES\n" +
                          std::string("  0\nCIRCLE\n 10\n1e999\n 20\n-1e999\n 40\n1e308\n") +
                          "  0\nENDSEC\n  0\nEOF\n"},
      {"nul bytes", WithNul("  0\nSECTION\n  2\nENT", "ITIES\n  0\nENDSEC\n  0\nEOF\n")},
      {"invalid utf-8", "  0\nSECTION\n  2\nENTITIES\n" + line + "  1\n\xff\xfe\n  0\nENDSEC\n"},
      {"entities without a section", Repeated(line, 1000) + "  0\nEOF\n"},
      {"handle of every size", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n" + Repeated("F", 64) +
                                   "\n  0\nENDSEC\n  0\nEOF\n"},
  };
}

TEST(FuzzInputsTest, DxfReaderGivesADrawingOrAMessage) {
  for (const Case& c : DxfCases()) {
    EXPECT_TRUE(ReadDxfInput(c.bytes)) << c.name;
    EXPECT_TRUE(ReadDxfOnBothRoads(c.bytes)) << c.name;
  }
}

std::vector<Case> TdbCases() {
  const std::string magic = "TSRADB\r\n";
  return {
      {"magic alone", magic},
      {"magic text cut", magic.substr(0, 5)},
      {"unknown version", magic + std::string("\x0a\x08\x00\x00\x00", 5)},
      {"version 1 and nothing", magic + std::string("\x0a\x01\x00\x00\x00", 5)},
      {"version 2 without a checksum", magic + std::string("\x0a\x02\x00\x00\x00", 5)},
      {"counts of every size",
       magic + std::string("\x0a\x01\x00\x00\x00", 5) + Repeated("\xff", 64)},
      {"text mode transfer", "TSRADB\n" + Repeated("\x0a\x01", 100)},
  };
}

TEST(FuzzInputsTest, TdbReaderGivesADrawingThatReadsBackOrAMessage) {
  for (const Case& c : TdbCases()) EXPECT_TRUE(ReadTdbInput(c.bytes)) << c.name;
}

std::vector<Case> SettingsCases() {
  return {
      {"empty", ""},
      {"separators only", Repeated("|", 1000)},
      {"scale zero", "L|L|L|0|1|AREA1|0|2.5|1|2|0"},
      {"huge scale and size", "L|L|L|0|1|AREA1|1e308|1e308|1|2|0"},
      {"negative scale and size", "0|TL|TT|HEAD|-100|-3.5|1|2|2|1"},
      {"digits beyond range", "L|L|L|0|1|AREA1|1|2.5|1|99999999999|7"},
      {"value list of infinities", "( inf inf inf inf inf )"},
      {"value list of huge numbers", "( 1e999 -1e999 1e308 1e308 1e308 )"},
      {"nul and invalid utf-8", WithNul("L|\xff|L|0|1|", "AREA1|1|2.5|1|2|0")},
  };
}

TEST(FuzzInputsTest, SettingsAreRefusedOrGiveAPositiveScale) {
  for (const Case& c : SettingsCases()) EXPECT_TRUE(ReadSettingsInput(c.bytes)) << c.name;
}

std::vector<Case> IniCases() {
  return {
      {"empty", ""},
      {"question only", "A|k"},
      {"long value", "A|k\n[A]\nk=" + Repeated("x", 10000) + "\n"},
      {"unclosed section", "A|k\n[A\nk=v\n"},
      {"quote alone", "A|k\n[A]\nk=\"\n"},
      {"nul bytes", WithNul("A|k\n[A]\nk=", "v\n")},
      {"many sections", "A|k\n" + Repeated("[A]\n", 10000)},
  };
}

TEST(FuzzInputsTest, IniValuesFitTheHostBuffer) {
  for (const Case& c : IniCases()) EXPECT_TRUE(ReadIniInput(c.bytes)) << c.name;
}

// Every input a fuzzer ever failed on (fuzz/regressions/TARGET/) and the seed corpus
// (fuzz/corpus/TARGET/) run through their target's body in the ordinary test run.
TEST(FuzzInputsTest, KeptInputsOfEveryTargetPass) {
  namespace fs = std::filesystem;
  const std::map<std::string, std::function<bool(std::string_view)>> bodies = {
      {"dxf_reader_fuzz", ReadDxfOnBothRoads},     {"lisp_reader_fuzz", ReadLispInput},
      {"script_reader_fuzz", ReadScriptInput},     {"tdb_reader_fuzz", ReadTdbInput},
      {"settings_reader_fuzz", ReadSettingsInput}, {"ini_reader_fuzz", ReadIniInput},
  };
  const fs::path fuzz = fs::path(TESSERA_SOURCE_DIR) / "fuzz";
  int inputs = 0;
  for (const char* kept : {"regressions", "corpus"}) {
    for (const auto& [target, body] : bodies) {
      const fs::path folder = fuzz / kept / target;
      if (!fs::is_directory(folder)) continue;
      for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), {});
        EXPECT_TRUE(body(bytes)) << entry.path();
        ++inputs;
      }
    }
  }
  EXPECT_GT(inputs, 0) << "no kept inputs under " << fuzz;
}

}  // namespace
}  // namespace tessera::fuzz
