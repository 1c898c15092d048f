// Binary DXF: a drawing saved by ezdxf as text and as binary reads into the same drawing, for
// every release whose group encoding differs; a binary file cut short is refused at its byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "files/dxf_file.h"
#include "files/dxf_writer.h"
#include "platform/drawing_files.h"
#include "platform_files/sample_drawing.h"

namespace tessera::files::testing {
namespace {

std::string EzdxfTwins(const std::string& release) {
  std::string folder = TempPath("twins_" + release);
  std::filesystem::create_directories(folder);
  std::string script = std::string(TESSERA_SOURCE_DIR) + "/tests/platform_files/ezdxf_view.py";
  std::string command =
      "/usr/bin/python3 '" + script + "' twins " + release + " '" + folder + "' 2>/dev/null";
  return std::system(command.c_str()) == 0 ? folder : "";
}

// The drawing as the platform writes it back, which shows every field it read, without the
// times of saving that ezdxf writes into each file.
std::vector<std::string> AsWritten(const std::string& path) {
  std::string error;
  std::unique_ptr<AcDbDatabase> drawing = ReadDrawingFile(path, error);
  EXPECT_TRUE(drawing) << error;
  if (!drawing) return {};
  EXPECT_GE(ModelSpaceSummary(drawing.get()).size(), 7u) << path;
  std::vector<std::string> lines;
  std::istringstream text(WriteDxfText(drawing.get()));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  const std::set<std::string> timed = {"$TDUPDATE", "$TDUUPDATE", "$TDINDWG", "$VERSIONGUID"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (timed.count(lines[i]) && i + 2 < lines.size()) lines[i + 2] = "(time of saving)";
    if (lines[i].find(" @ 20") != std::string::npos) lines[i] = "(time of saving)";
  }
  return lines;
}

TEST(BinaryDxfTest, ReadsAsItsTextTwinInEveryRelease) {
  for (const char* release : {"R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"}) {
    std::string folder = EzdxfTwins(release);
    if (folder.empty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    std::vector<std::string> text = AsWritten(folder + "/text.dxf");
    std::vector<std::string> binary = AsWritten(folder + "/binary.dxf");
    ASSERT_EQ(binary.size(), text.size()) << release;
    for (std::size_t i = 0; i < text.size(); ++i)
      ASSERT_EQ(binary[i], text[i]) << release << " line " << i + 1;
  }
}

TEST(BinaryDxfTest, ACutFileIsRefusedAtTheByteOfItsLastTag) {
  std::string folder = EzdxfTwins("R2000");
  if (folder.empty()) GTEST_SKIP() << "python3-ezdxf is not installed";
  std::string bytes = ReadText(folder + "/binary.dxf");
  const std::size_t cut = bytes.size() / 2;
  AcDbDatabase drawing(false, true);
  std::vector<std::string> repairs;
  std::optional<std::string> problem = ReadDxfFile(bytes.substr(0, cut), &drawing, repairs);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->rfind("byte ", 0), 0u) << *problem;
  EXPECT_NE(problem->find("cut short"), std::string::npos) << *problem;
  std::size_t byte = std::stoul(problem->substr(5));
  EXPECT_LT(byte, cut);
  EXPECT_GT(byte + 300, cut);  // the last tag started shortly before the cut
}

// A release-12 binary file by hand: one-byte group codes, texts ended by NUL, reals in 8 bytes.
std::string Release12Binary(const std::vector<std::pair<int, std::string>>& tags) {
  std::string bytes("AutoCAD Binary DXF\r\n\x1a\0", 22);
  for (const auto& [code, value] : tags) {
    bytes += static_cast<char>(code);
    if (code >= 10 && code < 60) {
      double real = std::stod(value);
      bytes.append(reinterpret_cast<const char*>(&real), sizeof real);
    } else {
      bytes += value;
      bytes += '\0';
    }
  }
  return bytes;
}

TEST(BinaryDxfTest, MendsAreToldByTheBytesOfTheirTags) {
  std::vector<std::pair<int, std::string>> tags = {
      {0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}, {5, "2A"},     {8, "0"},  {10, "1"},
      {20, "2"},      {11, "3"},       {21, "4"},   {0, "CIRCLE"}, {5, "2A"}, {8, "0"},
      {10, "0"},      {20, "0"},       {40, "1"},   {0, "ENDSEC"}, {0, "EOF"}};
  AcDbDatabase drawing(false, true);
  std::vector<std::string> repairs;
  ASSERT_FALSE(ReadDxfFile(Release12Binary(tags), &drawing, repairs));
  // The LINE starts after the sentinel (22 bytes) and two tags (1 + 8 and 1 + 9 bytes); the
  // CIRCLE after its seven tags (6 + 4 + 3 + 4 * 9 bytes).
  EXPECT_EQ(repairs, std::vector<std::string>{"byte 90: handle 2A of this CIRCLE is used already "
                                              "(byte 41): the CIRCLE gets a new handle"});
  EXPECT_EQ(ModelSpaceSummary(&drawing).size(), 2u);
}

TEST(BinaryDxfTest, OnlyTheSentinelMakesAFileBinary) {
  AcDbDatabase drawing(false, true);
  std::vector<std::string> repairs;
  std::optional<std::string> problem =
      ReadDxfFile(std::string("AutoCAD Binary DXF\r\n\x1a", 21), &drawing, repairs);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->find("byte"), std::string::npos) << *problem;
}

}  // namespace
}  // namespace tessera::files::testing
