// Text entering a drawing by any road (a script, LISP, an entity's setter) is valid UTF-8, so a
// drawing saved with it opens again; bytes that are not become U+FFFD.
#include <gtest/gtest.h>

#include <string>

#include "db/text_check.h"
#include "files/dxf_encoding.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "lisp/value.h"
#include "support/test_drawing.h"

namespace tessera::testing {
namespace {

const std::string kReplacement(db::kReplacementCharacter);

std::string Replacements(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += kReplacement;
  return text;
}

struct TextCase {
  const char* name;
  std::string text;
  std::string valid;
};

TEST(TextCheckTest, InvalidBytesBecomeReplacementCharactersAndValidTextStays) {
  const TextCase cases[] = {
      {"ASCII and Japanese", "求積図 A&B", "求積図 A&B"},
      {"four-byte character", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"a byte that starts nothing",
       "A\xFF"
       "B",
       "A" + kReplacement + "B"},
      {"a lone continuation byte", "\x80", kReplacement},
      {"a sequence cut by the end", "A\xE6\xB1", "A" + Replacements(2)},
      {"overlong form of '/'", "\xC0\xAF", Replacements(2)},
      {"overlong three-byte form", "\xE0\x80\xAF", Replacements(3)},
      {"surrogate half (CESU)", "\xED\xA0\x80", Replacements(3)},
      {"above U+10FFFF", "\xF4\x90\x80\x80", Replacements(4)},
      {"NUL", std::string("A\0B", 3), "A" + kReplacement + "B"},
  };
  for (const TextCase& c : cases) {
    const std::string& expected = c.valid;
    EXPECT_EQ(db::ValidText(c.text), expected) << c.name;
    EXPECT_EQ(db::IsValidText(c.text), c.text == expected) << c.name;
    EXPECT_TRUE(db::IsValidText(db::ValidText(c.text))) << c.name;
    // Inside longer ASCII text, at every place in a word of eight bytes, the same answer.
    for (std::size_t before = 0; before < 10; ++before) {
      const std::string longer =
          std::string(before, 'a') + c.text + "\x01\x7F" + std::string(9, 'b');
      EXPECT_EQ(db::IsValidText(longer), c.text == expected) << c.name << " after " << before;
      // And at the end, where a text's last few bytes are checked together.
      EXPECT_EQ(db::IsValidText(std::string(before, 'a') + c.text), c.text == expected)
          << c.name << " ending after " << before;
    }
  }
}

class TextRoadsTest : public TestDrawing {
 protected:
  // The drawing written as DXF reads back; the texts of its model space, in order.
  std::vector<std::string> textsAfterDxfRoundTrip() {
    std::string text;
    EXPECT_FALSE(files::DxfTextAsUtf8(files::WriteDxfText(database()), text));
    AcDbDatabase again(false, true);
    EXPECT_FALSE(files::ReadDxfText(text, &again));
    acdbHostApplicationServices()->setWorkingDatabase(database());
    std::vector<std::string> texts;
    for (AcDbObjectId id : entities()) {
      AcDbText* entity = open<AcDbText>(id);
      texts.push_back(entity->textString());
      entity->close();
    }
    return texts;
  }
};

TEST_F(TextRoadsTest, ScriptLispAndSettersBringOnlyValidTextIntoTheDrawing) {
  ScriptOutcome outcome =
      run("TEXT\n0,0\n2.5\n0\nA\xFF"
          "B\n"
          "(command \"TEXT\" \"0,10\" 2.5 0 \"C\xC0\xAF\")\n");
  ASSERT_EQ(outcome.status, 0) << outcome.message;
  addText(AcGePoint3d(0, 20, 0), "D\xED\xA0\x80", 2.5);
  AcDbText* setter = open<AcDbText>(entities().back(), AcDb::kForWrite);
  setter->setTextString("E\xFE");
  setter->close();
  EXPECT_EQ(textsAfterDxfRoundTrip(),
            (std::vector<std::string>{"A" + kReplacement + "B", "C" + kReplacement + kReplacement,
                                      "E" + kReplacement}));
  EXPECT_EQ(lisp::Value::String("\xFF").string(), kReplacement);
}

}  // namespace
}  // namespace tessera::testing
