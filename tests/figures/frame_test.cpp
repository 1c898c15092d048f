// The figure frame in a drawing with the application loaded: a figure whose record cannot be
// stored, which no drawing script can bring about, leaves nothing behind.
#include <gtest/gtest.h>

#include <string>

#include "cad/arx.h"
#include "platform/applications.h"
#include "records/figure_records.h"
#include "support/test_drawing.h"

namespace area {
namespace {

using tessera::testing::HasLine;

constexpr const char* kRectangleCall =
    "(area_rectangle \"AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0\")\n"
    "0,1000\n0,0\n2000,0\n\n";
constexpr const char* kCircleCall =
    "(area_circle \"AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0\")\n"
    "5000,0\n6000,0\n\n\n";

class FigureFrameTest : public tessera::testing::TestDrawing {
 protected:
  void SetUp() override {
    TestDrawing::SetUp();
    std::string error;
    ASSERT_TRUE(tessera::LoadLinkedApplication("tessera_area", acrxEntryPoint, error)) << error;
  }

  // Puts a record, which is no dictionary, under `name` in the named-object dictionary, as a
  // damaged drawing might hold it: no figure can be stored under that name.
  void occupyName(const char* name) {
    AcDbDictionary* named = nullptr;
    ASSERT_EQ(database()->getNamedObjectsDictionary(named, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    auto* stranger = new AreaDic_Circle();
    ASSERT_EQ(named->setAt(name, stranger, id), Acad::eOk);
    stranger->close();
    named->close();
  }

  // The groups the group dictionary lists.
  std::size_t groupCount() {
    AcDbDictionary* groups = nullptr;
    EXPECT_EQ(database()->getGroupDictionary(groups, AcDb::kForRead), Acad::eOk);
    const std::size_t count = groups->entries().size();
    groups->close();
    return count;
  }
};

TEST_F(FigureFrameTest, RecordThatCannotBeStoredTakesItsFigureAndGroupAlong) {
  occupyName("DICT_RECTANGLE");
  ASSERT_EQ(run(kRectangleCall).status, 0) << transcript();
  EXPECT_TRUE(HasLine(transcript(), "nil")) << "the call fails:\n" << transcript();
  EXPECT_EQ(transcript().find("面積 ="), std::string::npos) << "no area is reported";
  EXPECT_TRUE(entities().empty()) << "the figure and its mark are erased";
  EXPECT_EQ(groupCount(), 0u) << "no group of erased entities stays";

  // Other shapes are stored as before.
  clearTranscript();
  ASSERT_EQ(run(kCircleCall).status, 0) << transcript();
  EXPECT_FALSE(HasLine(transcript(), "nil")) << transcript();
  EXPECT_EQ(entities().size(), 4u);
  EXPECT_EQ(groupCount(), 1u);
}

}  // namespace
}  // namespace area
