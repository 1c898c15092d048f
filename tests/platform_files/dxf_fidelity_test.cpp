// Open and save of an unchanged drawing gives the same bytes, with the plug-in loaded (whose
// records make their rows again on every open) and without it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform_files/sample_drawing.h"

namespace tessera::files::testing {
namespace {

// Runs an empty script over `in`, saving to `out`; true when the program succeeded.
bool OpenAndSave(const std::string& in, const std::string& out, bool plugin,
                 const std::string& script = "") {
  std::string run = script;
  if (run.empty()) {
    run = TempPath("nothing.scr");
    WriteText(run, "");
  }
  std::string command = std::string(TESSERA_BINARY_DIR) + "/bin/tessera run '" + run + "'" +
                        (in.empty() ? "" : " --in '" + in + "'") + " --out '" + out + "'" +
                        (plugin ? "" : " --no-plugin") + " > /dev/null";
  return std::system(command.c_str()) == 0;
}

TEST(DxfFidelityTest, AnUnchangedDrawingSavesToTheSameBytesWithAndWithoutThePlugIn) {
  const std::string made = TempPath("demo_made.dxf");
  ASSERT_TRUE(OpenAndSave("", made, true, std::string(TESSERA_SOURCE_DIR) + "/examples/demo.scr"));
  const std::string once = TempPath("saved_once.dxf");
  const std::string twice = TempPath("saved_twice.dxf");
  const std::string bare = TempPath("saved_bare.dxf");
  ASSERT_TRUE(OpenAndSave(made, once, true));
  ASSERT_TRUE(OpenAndSave(once, twice, true));
  ASSERT_TRUE(OpenAndSave(once, bare, false));
  EXPECT_EQ(ReadText(once), ReadText(made));
  EXPECT_EQ(ReadText(twice), ReadText(once));
  EXPECT_EQ(ReadText(bare), ReadText(once));
}

}  // namespace
}  // namespace tessera::files::testing
