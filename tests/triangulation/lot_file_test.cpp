// Lots that another program wrote into a DXF file, opened with `tessera run --in` and split as a
// user would split them: each accepted lot becomes numbered triangle figures whose areas add up
// to the lot's and whose heights fall on their bases; a tilted lot, one with an arc and one of
// 257 vertices are refused with their messages and leave nothing behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "support/shell.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = TESSERA_SOURCE_DIR;
const std::string kProgram = std::string(TESSERA_BINARY_DIR) + "/bin/tessera";
const std::string kLotDrawing = kSource + "/tests/triangulation/fixtures/lot_drawing.py";

using tessera::testing::Shell;

std::string LotDrawing(const std::string& action, const fs::path& file) {
  return Shell("/usr/bin/python3 '" + kLotDrawing + "' " + action + " '" + file.string() + "'");
}

// Each lot is picked by its layer; every call starts its marks from 1.
constexpr const char* kScript = R"(; every lot of the file, one call each
(setq s "0|0|0|0|1|AREA1|1|2.5|1|2|0")
(autotri_draw s (ssname (ssget "X" '((8 . "LOT_SURVEY"))) 0))
!$dar_no11
(autotri_draw s (ssname (ssget "X" '((8 . "LOT_OLD"))) 0))
(autotri_draw s (ssname (ssget "X" '((8 . "LOT_3D"))) 0))
(autotri_draw s (ssname (ssget "X" '((8 . "LOT_TILTED"))) 0))
(autotri_draw s (ssname (ssget "X" '((8 . "LOT_ARC"))) 0))
(autotri_draw s (ssname (ssget "X" '((8 . "LOT_BIG"))) 0))
)";

TEST(LotFile, LotsFromAnotherProgramSplitIntoFiguresOrAreRefused) {
  if (Shell("/usr/bin/python3 -c 'import ezdxf'") != "") GTEST_SKIP() << "ezdxf is not installed";
  const fs::path folder =
      fs::temp_directory_path() / ("tessera_lot_file_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  ASSERT_EQ(LotDrawing("make", folder / "lots.dxf"), "");
  std::ofstream(folder / "lots.scr") << kScript;
  const std::string transcript =
      Shell("cd '" + folder.string() + "' && TESSERA_PATH='" + kSource + "/examples' '" + kProgram +
            "' run lots.scr --in lots.dxf --out out.dxf");
  const std::size_t survey = transcript.find("Command: !$dar_no11\n\"8\"");
  const std::size_t tilted = transcript.find("[Message box] XY平面に水平でありません [OK]");
  const std::size_t arc =
      transcript.find("[Message box] 閉領域を示す、多角形を指定してください [OK]");
  const std::size_t big =
      transcript.find("[Message box] この図形は、閉領域図形として指定できません [OK]");
  EXPECT_NE(survey, std::string::npos) << transcript;
  EXPECT_LT(survey, tilted) << transcript;
  EXPECT_LT(tilted, arc) << transcript;
  EXPECT_LT(arc, big) << transcript;
  EXPECT_NE(big, std::string::npos) << transcript;
  EXPECT_EQ(LotDrawing("check", folder / "out.dxf"), "ok\n");
  fs::remove_all(folder);
}

}  // namespace
