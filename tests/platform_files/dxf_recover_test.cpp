// Damaged DXF files, each small and written by hand: the recover road mends each kind of damage,
// tells every mend in one line, keeps the entities, and the drawing it gives saves as a file
// that a strict reader (ezdxf) opens and audits without an error.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "../../fuzz/dxf_fuzz_input.h"
#include "files/dxf_encoding.h"
#include "files/dxf_file.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "files/saved_objects.h"
#include "platform/drawing_files.h"
#include "platform/transcript.h"
#include "platform_files/sample_drawing.h"

namespace tessera::files::testing {
namespace {

const std::string kHeader = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1021\n  0\nENDSEC\n";
const std::string kLine = "  0\nLINE\n  5\n2A\n  8\n0\n 10\n1.0\n 20\n2.0\n 11\n3.0\n 21\n4.0\n";
const std::string kCircle = "  0\nCIRCLE\n  5\n2B\n  8\n0\n 10\n0.0\n 20\n0.0\n 40\n1.0\n";

std::string Entities(const std::string& records) {
  return "  0\nSECTION\n  2\nENTITIES\n" + records + "  0\nENDSEC\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

struct Recovered {
  std::unique_ptr<AcDbDatabase> drawing = std::make_unique<AcDbDatabase>(false, true);
  std::vector<std::string> repairs;
  std::vector<std::string> model;
};

Recovered Recover(const std::string& bytes) {
  Recovered result;
  std::optional<std::string> problem = ReadDxfFile(bytes, result.drawing.get(), result.repairs);
  EXPECT_FALSE(problem) << *problem;
  if (!problem) result.model = ModelSpaceSummary(result.drawing.get());
  return result;
}

// What ezdxf's reader and auditor say of the drawing saved: "errors 0 ..." when all is well.
std::string StrictAudit(AcDbDatabase* drawing, const std::string& name) {
  std::string path = TempPath(name + "_saved.dxf");
  WriteText(path, WriteDxfText(drawing));
  std::string script = std::string(TESSERA_SOURCE_DIR) + "/tests/platform_files/ezdxf_view.py";
  std::string line = "/usr/bin/python3 '" + script + "' audit '" + path + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, n);
  if (output.find("No module named") != std::string::npos) return "errors 0 (no ezdxf)";
  return output;
}

struct Case {
  const char* name;
  std::string text;
  std::vector<std::string> repairs;
  std::vector<std::string> model;
};

class DxfRecoverTest : public ::testing::TestWithParam<Case> {};

TEST_P(DxfRecoverTest, MendsTellsAndSavesWhatAStrictReaderOpens) {
  const Case& c = GetParam();
  Recovered recovered = Recover(c.text);
  EXPECT_EQ(recovered.repairs, c.repairs);
  EXPECT_EQ(recovered.model, c.model);
  std::string audit = StrictAudit(recovered.drawing.get(), c.name);
  EXPECT_EQ(audit.rfind("errors 0 ", 0), 0u) << audit;
  EXPECT_TRUE(fuzz::ReadDxfOnBothRoads(c.text)) << "what was saved needs mending again";
}

const std::vector<std::string> kLineKept = {"AcDbLine 2A 0"};
const std::string kWhole = kHeader + Entities(kLine) + "  0\nEOF\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, DxfRecoverTest,
    ::testing::Values(
        Case{"missing_eof",
             kHeader + Entities(kLine),
             {"31: the file ends without EOF: the drawing ends there"},
             kLineKept},
        Case{"cut_in_a_section",
             kHeader + "  0\nSECTION\n  2\nENTITIES\n" + kLine,
             {"29: section ENTITIES (line 11) has no ENDSEC: closed at the end of the file",
              "29: the file ends without EOF: the drawing ends there"},
             kLineKept},
        Case{"cut_inside_a_tag",
             kWhole.substr(0, kWhole.size() - 4),
             {"31: the file ends inside a tag: the tag is dropped",
              "31: the file ends without EOF: the drawing ends there"},
             kLineKept},
        Case{"section_without_endsec",
             Replace(kWhole, "  0\nENDSEC\n  0\nSECTION", "  0\nSECTION"),
             {"9: section HEADER (line 1) has no ENDSEC: closed where the next starts"},
             kLineKept},
        Case{"handle_twice",
             kHeader + Entities(kLine + Replace(kCircle, "2B", "2a")) + "  0\nEOF\n",
             {"29: handle 2A of this CIRCLE is used already (line 15): the CIRCLE gets a new "
              "handle"},
             {"AcDbLine 2A 0", "AcDbCircle 32 0"}},
        Case{"handles_empty_and_wrong",
             kHeader + Entities(Replace(kLine, "2A", "") + Replace(kCircle, "2B", "ZZ")) +
                 "  0\nEOF\n",
             {"17: \"\" is not a handle: the LINE gets a new handle",
              "31: \"ZZ\" is not a handle: the CIRCLE gets a new handle"},
             {"AcDbLine 8 0", "AcDbCircle 9 0"}},
        Case{"header_variable_outside",
             kHeader + "  9\n$TEXTSIZE\n 40\n5.0\n" + Entities(kLine) + "  0\nEOF\n",
             {"11: header variable $TEXTSIZE is outside the HEADER section: moved there"},
             kLineKept},
        Case{"entity_outside",
             kHeader + kCircle + Entities(kLine) + "  0\nEOF\n",
             {"11: group 0 \"CIRCLE\" is outside any section: 6 tags dropped"},
             kLineKept},
        Case{"layer_not_in_table",
             kHeader +
                 "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\n0\n"
                 " 70\n0\n  0\nENDTAB\n  0\nENDSEC\n" +
                 Entities(Replace(kLine, "  8\n0\n", "  8\nWALLS\n")) + "  0\nEOF\n",
             {" layer \"WALLS\" is not in the LAYER table: added"},
             {"AcDbLine 2A WALLS"}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Objects that name objects the file does not have: the dictionary entry is dropped, the
// orphan re-owned, the reference kept as read cleared, the group's missing member dropped.
TEST(DxfRecoverReferencesTest, DanglingReferencesAreMendedAsAnAuditDoes) {
  const std::string objects =
      "  0\nSECTION\n  2\nOBJECTS\n"
      "  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n  3\nACAD_GROUP\n350\nD\n"
      "  3\nGONE\n350\nFF\n  3\nNOTES\n350\nE\n"
      "  0\nDICTIONARY\n  5\nD\n330\nC\n100\nAcDbDictionary\n  3\nPAIR\n350\n10\n"
      "  0\nDICTIONARY\n  5\nE\n330\nEE\n100\nAcDbDictionary\n"
      "  0\nXRECORD\n  5\nF\n330\nC\n100\nAcDbXrecord\n340\nDD\n  1\nkept\n"
      "  0\nGROUP\n  5\n10\n330\nD\n100\nAcDbGroup\n300\n\n 70\n0\n 71\n1\n340\n2A\n340\nAA\n"
      "  0\nENDSEC\n";
  Recovered recovered = Recover(kHeader + Entities(kLine) + objects + "  0\nEOF\n");
  EXPECT_EQ(recovered.repairs,
            (std::vector<std::string>{
                " the DICTIONARY C names FF under \"GONE\", which the drawing does not have: the "
                "entry is dropped",
                " the DICTIONARY E is owned by EE, which the drawing does not have: re-owned by C",
                " the XRECORD F refers to DD, which the drawing does not have: the reference is "
                "cleared",
                " the GROUP 10 has member AA, which is not an entity of the drawing: dropped"}));
  EXPECT_EQ(recovered.model, kLineKept);
  std::string audit = StrictAudit(recovered.drawing.get(), "dangling");
  EXPECT_EQ(audit.rfind("errors 0 ", 0), 0u) << audit;
}

// An object and an entity of kinds the platform keeps as read, owned by what the drawing does
// not have, are re-owned, each told once; saved, they name their new owners, so the file needs
// no mending again.
TEST(DxfRecoverReferencesTest, KeptObjectsAreSavedWithTheOwnersTheyWereGiven) {
  const std::string widget = "  0\nWIDGET\n  5\n2C\n330\n77\n100\nAcDbEntity\n  8\n0\n";
  const std::string objects =
      "  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n"
      "  0\nGADGET\n  5\nF\n330\nEE\n100\nAcDbGadget\n  1\nkept\n  0\nENDSEC\n";
  const std::string text = kHeader + Entities(kLine + widget) + objects + "  0\nEOF\n";
  Recovered recovered = Recover(text);
  ASSERT_EQ(recovered.repairs.size(), 2u);
  EXPECT_NE(recovered.repairs[0].find("owned by 77, which the drawing does not have"),
            std::string::npos)
      << recovered.repairs[0];
  EXPECT_NE(recovered.repairs[1].find("owned by EE, which the drawing does not have"),
            std::string::npos)
      << recovered.repairs[1];
  EXPECT_TRUE(fuzz::ReadDxfOnBothRoads(text)) << "what was saved needs mending again";
}

// A table the platform keeps as read (text styles) is no object of the drawing, but what it owns
// or names is not dangling; and a second table of that kind adds to the first.
TEST(DxfRecoverReferencesTest, RecordsKeptAsReadAreNoMissingObjects) {
  const std::string styles =
      "  0\nTABLE\n  2\nSTYLE\n  5\n5\n  0\nSTYLE\n  5\n29\n330\n5\n  2\nStandard\n"
      "  0\nENDTAB\n";
  const std::string tables = "  0\nSECTION\n  2\nTABLES\n" + styles +
                             Replace(Replace(styles, "  5\n5\n", "  5\n6\n"), "29", "2F") +
                             "  0\nENDSEC\n";
  const std::string objects =
      "  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n"
      "  0\nXRECORD\n  5\nF\n330\n29\n100\nAcDbXrecord\n340\n2F\n  0\nENDSEC\n";
  Recovered recovered = Recover(kHeader + tables + Entities(kLine) + objects + "  0\nEOF\n");
  EXPECT_TRUE(recovered.repairs.empty()) << recovered.repairs.front();
  EXPECT_NE(WriteDxfText(recovered.drawing.get()).find("  5\n2F\n"), std::string::npos);
}

TEST(DxfRecoverTextTest, TextNotInItsCodePageIsReadWithTheHostsPageElseAsReplacement) {
  const std::string release12 =
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_1252\n"
      "  0\nENDSEC\n";
  const std::string shiftJis = "\x83\x66\x81\x5B\x83\x5E";  // "データ", 0x81 is not of 1252
  const std::string text = "  0\nTEXT\n  8\n0\n 10\n1.0\n 20\n2.0\n 40\n2.5\n  1\n";
  Recovered japanese = Recover(release12 + Entities(text + shiftJis + "\n") + "  0\nEOF\n");
  EXPECT_EQ(japanese.repairs, std::vector<std::string>{"30: the text is not code page "
                                                       "ANSI_1252: read as code page ANSI_932"});
  EXPECT_NE(WriteDxfText(japanese.drawing.get()).find("\n  1\nデータ\n"), std::string::npos);
  Recovered broken = Recover(kHeader + Entities(text + "caf\xC3 \xFF\n") + "  0\nEOF\n");
  EXPECT_EQ(broken.repairs,
            std::vector<std::string>{"26: 2 bytes that are not text of UTF-8 read as U+FFFD"});
  EXPECT_NE(WriteDxfText(broken.drawing.get()).find("\n  1\ncaf\uFFFD \uFFFD\n"),
            std::string::npos);
  // A four-byte sequence beyond U+10FFFF is no UTF-8 either, each of its bytes replaced, and the
  // drawing saves as text a strict reader takes.
  const std::string beyond = kHeader + Entities(text + "x\xF5\xBE\x9C\xBBy\n") + "  0\nEOF\n";
  Recovered above = Recover(beyond);
  EXPECT_EQ(above.repairs,
            std::vector<std::string>{"26: 4 bytes that are not text of UTF-8 read as U+FFFD"});
  EXPECT_TRUE(fuzz::ReadDxfOnBothRoads(beyond));
}

// A NUL or a surrogate half (CESU) in a text: the strict road refuses the text, the recover
// road reads U+FFFD in its place and tells it; nothing of the text is cut.
TEST(DxfRecoverTextTest, ANulOrASurrogateHalfIsToldAndReadAsReplacement) {
  const std::string text = "  0\nTEXT\n  8\n0\n 10\n1.0\n 20\n2.0\n 40\n2.5\n  1\n";
  const std::string withNul = kHeader + Entities(text + std::string("ab\0cd\n", 6)) + "  0\nEOF\n";
  const std::string withHalf = kHeader + Entities(text + "ab\xED\xA0\x80" + "cd\n") + "  0\nEOF\n";
  std::string decoded;
  AcDbDatabase strict(false, true);
  ASSERT_FALSE(DxfTextAsUtf8(withNul, decoded));
  EXPECT_EQ(ReadDxfText(decoded, &strict)->message, "the value holds a NUL character");
  EXPECT_EQ(DxfTextAsUtf8(withHalf, decoded)->line, 26);
  Recovered nul = Recover(withNul);
  EXPECT_EQ(nul.repairs,
            std::vector<std::string>{"26: a NUL character in the value is read as U+FFFD"});
  EXPECT_NE(WriteDxfText(nul.drawing.get()).find("\n  1\nab\uFFFDcd\n"), std::string::npos);
  Recovered half = Recover(withHalf);
  EXPECT_EQ(half.repairs,
            std::vector<std::string>{"26: 3 bytes that are not text of UTF-8 read as U+FFFD"});
  EXPECT_NE(WriteDxfText(half.drawing.get()).find("\n  1\nab\uFFFD\uFFFD\uFFFDcd\n"),
            std::string::npos);
}

TEST(DxfRecoverTextTest, EachMendGoesToTheTranscriptWithACount) {
  std::ostringstream shown;
  Transcript::instance().setSink(&shown);
  std::string path = TempPath("told.dxf");
  WriteText(path, kHeader + Entities(kLine + Replace(kCircle, "2B", "2A")));
  std::string error;
  std::unique_ptr<AcDbDatabase> drawing = ReadDrawingFile(path, error);
  Transcript::instance().setSink(nullptr);
  ASSERT_TRUE(drawing) << error;
  EXPECT_EQ(shown.str(), "\n" + path +
                             ":29: handle 2A of this CIRCLE is used already (line 15): the CIRCLE "
                             "gets a new handle\n" +
                             path + ":43: the file ends without EOF: the drawing ends there\n" +
                             path + ": 2 errors found, 2 fixed\n");
}

// So does one whose end of file has blanks around it; inside a section left open, such an end
// ends the file as well, and the drawing saved from it needs no mending.
TEST(DxfRecoverTextTest, AWellFormedFileTakesTheStrictRoadAndTellsNothing) {
  Recovered recovered = Recover(kWhole);
  EXPECT_TRUE(recovered.repairs.empty());
  EXPECT_EQ(recovered.model, kLineKept);
  Recovered blanks = Recover(kHeader + Entities(kLine) + "  0\n EOF ");
  EXPECT_TRUE(blanks.repairs.empty()) << blanks.repairs.front();
  EXPECT_EQ(blanks.model, kLineKept);
  const std::string open = kHeader + "  0\nSECTION\n  2\nNOTES\n  0\nNOTE\n  1\nx\n  0\nEOF ";
  EXPECT_TRUE(fuzz::ReadDxfOnBothRoads(open));
}

}  // namespace
}  // namespace tessera::files::testing

namespace tessera::files::testing {
namespace {

std::string Block(const std::string& name, const std::string& records) {
  return "  0\nBLOCK\n  8\n0\n  2\n" + name + "\n 70\n0\n 10\n0.0\n 20\n0.0\n" + records +
         "  0\nENDBLK\n  8\n0\n";
}

std::string Insert(const std::string& block) {
  return "  0\nINSERT\n  8\n0\n  2\n" + block + "\n 10\n5.0\n 20\n5.0\n";
}

// A release-12 drawing (no handles, no block records) with the given blocks and entities.
std::string Release12(const std::string& blocks, const std::string& entities) {
  return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n"
         "  0\nSECTION\n  2\nBLOCKS\n" +
         blocks + "  0\nENDSEC\n" + Entities(entities) + "  0\nEOF\n";
}

std::optional<std::string> Refusal(const std::string& text) {
  AcDbDatabase drawing(false, true);
  std::vector<std::string> repairs;
  return ReadDxfFile(text, &drawing, repairs);
}

TEST(DxfBlockReferenceTest, ABlockInsertedBeforeItsDefinitionIsFound) {
  const std::string circle = "  0\nCIRCLE\n  8\n0\n 10\n0.0\n 20\n0.0\n 40\n1.0\n";
  Recovered recovered =
      Recover(Release12(Block("OUTER", Insert("INNER")) + Block("INNER", circle), Insert("OUTER")));
  EXPECT_TRUE(recovered.repairs.empty());
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(recovered.drawing->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbObjectId outer, inner;
  table->getAt("OUTER", outer);
  table->getAt("INNER", inner);
  table->close();
  auto* block = AcDbBlockTableRecord::cast(Peek(outer));
  ASSERT_TRUE(block);
  ASSERT_EQ(block->entityIds().size(), 1u);
  auto* reference = AcDbBlockReference::cast(Peek(block->entityIds().front()));
  ASSERT_TRUE(reference) << "kept as read, so not drawn";
  EXPECT_EQ(reference->blockTableRecord(), inner);
}

TEST(DxfBlockReferenceTest, AnInsertionOfAMissingBlockIsRemovedAndTold) {
  Recovered recovered = Recover(kHeader + Entities(Insert("NOWHERE") + kLine) + "  0\nEOF\n");
  EXPECT_EQ(
      recovered.repairs,
      std::vector<std::string>{
          "15: the INSERT of block \"NOWHERE\", which the drawing does not have, is removed"});
  EXPECT_EQ(recovered.model, kLineKept);
}

TEST(DxfBlockReferenceTest, BlocksThatContainThemselvesAreRefusedByName) {
  EXPECT_EQ(Refusal(Release12(Block("SELF", Insert("SELF")), "")),
            " block \"SELF\" inserts itself: a block cannot contain itself");
  EXPECT_EQ(
      Refusal(Release12(Block("A", Insert("B")) + Block("B", Insert("C")) + Block("C", Insert("A")),
                        Insert("A"))),
      " blocks \"A\", \"B\" and \"C\" insert one another: a block cannot contain itself");
  EXPECT_FALSE(
      Refusal(Release12(Block("A", Insert("B")) + Block("B", ""), Insert("A") + Insert("B"))));
}

}  // namespace
}  // namespace tessera::files::testing
