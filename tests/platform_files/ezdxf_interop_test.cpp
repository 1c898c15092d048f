// DXF exchanged with ezdxf, an independent DXF library: what the platform writes passes its
// audit, and a drawing ezdxf made (with kinds the platform does not model) comes back from the
// platform with nothing lost, as ezdxf sees it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#include "platform/drawing_files.h"
#include "platform_files/sample_drawing.h"

namespace tessera::files::testing {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

// Runs the ezdxf helper script; its standard output, or "" when it could not run.
std::string Ezdxf(const std::string& command, const std::string& path) {
  std::string script = std::string(TESSERA_SOURCE_DIR) + "/tests/platform_files/ezdxf_view.py";
  std::string line = std::string(kPython) + " '" + script + "' " + command + " '" + path + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
  if (!pipe) return "";
  std::string output;
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get()))
    output.append(buffer.data(), n);
  return output;
}

bool EzdxfAvailable() {
  return Ezdxf("audit", "/nonexistent").find("No module named") == std::string::npos;
}

class EzdxfInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!EzdxfAvailable()) GTEST_SKIP() << "python3-ezdxf is not installed";
  }
  void TearDown() override {
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    TestRecord::Unregister();
  }
};

TEST_F(EzdxfInteropTest, WhatThePlatformWritesPassesTheAuditWithItsHandles) {
  Sample sample = SampleDrawing();
  std::string path = TempPath("for_ezdxf.dxf");
  std::string error;
  ASSERT_TRUE(WriteDrawingFile(sample.database.get(), path, error)) << error;
  std::string audit = Ezdxf("audit", path);
  EXPECT_EQ(audit.rfind("errors 0 ", 0), 0u) << audit;
  std::string view = Ezdxf("view", path);
  for (AcDbObjectId id : {sample.line, sample.arc, sample.polyline2d, sample.insert})
    EXPECT_NE(view.find("\"" + id.handle().text() + "\""), std::string::npos)
        << "handle " << id.handle().text() << " not seen by ezdxf:\n"
        << view;
  EXPECT_NE(view.find("\"AREA_TRIANGLE\""), std::string::npos) << view;
  EXPECT_NE(view.find("\"TEST_RECORD " + sample.record.handle().text() + "\""), std::string::npos);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  sample.database.reset();
}

TEST_F(EzdxfInteropTest, AnEzdxfDrawingComesBackWithNothingLost) {
  std::string original = TempPath("made_by_ezdxf.dxf");
  ASSERT_EQ(Ezdxf("make", original), "");
  std::string error;
  std::unique_ptr<AcDbDatabase> drawing = ReadDrawingFile(original, error);
  ASSERT_TRUE(drawing) << error;
  std::vector<std::string> model = ModelSpaceSummary(drawing.get());
  ASSERT_GE(model.size(), 7u);
  int unknown = 0;
  for (const std::string& entity : model) unknown += entity.rfind("AcDbUnknownEntity", 0) == 0;
  EXPECT_EQ(unknown, 2) << "the hatch and the multi-line text are kept as read";
  std::string written = TempPath("written_back.dxf");
  ASSERT_TRUE(WriteDrawingFile(drawing.get(), written, error)) << error;
  EXPECT_EQ(Ezdxf("view", written), Ezdxf("view", original));
  std::string audit = Ezdxf("audit", written);
  EXPECT_EQ(audit.rfind("errors 0 ", 0), 0u) << audit;
}

}  // namespace
}  // namespace tessera::files::testing
