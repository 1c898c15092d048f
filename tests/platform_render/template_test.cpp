// The built-in template: the layers and text size of a new drawing, the mark block whose
// attributes the figure commands answer in order, the schedule's header block, and the block
// files under examples/ that must hold the same entities as the template's blocks.
//
// To make the block files anew after a change of the template:
//   TESSERA_UPDATE_BLOCK_FILES=1 build/bin/test_platform_render --gtest_filter='*ShippedBlockFile*'
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cad/db_database.h"
#include "host/template_blocks.h"
#include "platform/documents.h"
#include "platform/drawing_files.h"

namespace tessera {
namespace {

namespace fs = std::filesystem;

class TemplateTest : public ::testing::Test {
 protected:
  void SetUp() override { FillTemplate(m_database.get()); }

  // The entities of a block, each opened for read; the caller closes them.
  std::vector<AcDbEntity*> openBlock(const char* name) {
    AcDbBlockTable* table = nullptr;
    m_database->getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* block = nullptr;
    const Acad::ErrorStatus status = table->getAt(name, block, AcDb::kForRead);
    table->close();
    std::vector<AcDbEntity*> entities;
    if (status != Acad::eOk) return entities;
    for (AcDbObjectId id : block->entityIds()) {
      AcDbEntity* entity = nullptr;
      if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) == Acad::eOk) entities.push_back(entity);
    }
    block->close();
    return entities;
  }

  static void close(const std::vector<AcDbEntity*>& entities) {
    for (AcDbEntity* entity : entities) entity->close();
  }

  std::unique_ptr<AcDbDatabase> m_database = std::make_unique<AcDbDatabase>(true, true);
};

TEST_F(TemplateTest, HasTheLayersOfFiguresAndSchedulesAndTheTextSize) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(m_database->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  for (const char* name : {"0", "AREA_LINE", "AREA_MARK", "AREA_VALUE", "TABLE_LINE", "TABLE_TEXT"})
    EXPECT_TRUE(layers->has(name)) << name;
  layers->close();
  EXPECT_DOUBLE_EQ(m_database->textsize(), 2.5);
}

TEST_F(TemplateTest, MarkAttributesComeInPromptOrderWithOnlyTheLabelsVisible) {
  const std::vector<AcDbEntity*> entities = openBlock("AREA1");
  std::vector<std::string> tags;
  std::vector<bool> invisible;
  double radius = 0.0;
  for (AcDbEntity* entity : entities) {
    if (auto* definition = AcDbAttributeDefinition::cast(entity)) {
      tags.push_back(definition->tag());
      invisible.push_back(definition->isInvisible());
    } else if (auto* circle = AcDbCircle::cast(entity)) {
      radius = circle->radius();
      EXPECT_TRUE(circle->center().isEqualTo(AcGePoint3d::kOrigin));
    }
  }
  close(entities);
  EXPECT_EQ(tags, (std::vector<std::string>{"BANGO1", "BANGO2", "KT", "SK", "PM"}));
  EXPECT_EQ(invisible, (std::vector<bool>{false, false, true, true, true}));
  EXPECT_GT(radius, 0.0);
}

TEST_F(TemplateTest, MarkLabelIsCentredInTheCircleAndReadsAtTheMarkHeight) {
  const std::vector<AcDbEntity*> entities = openBlock("AREA1");
  bool found = false;
  for (AcDbEntity* entity : entities) {
    auto* definition = AcDbAttributeDefinition::cast(entity);
    if (definition == nullptr || definition->tag() != "BANGO1") continue;
    found = true;
    EXPECT_TRUE(definition->alignmentPoint().isEqualTo(AcGePoint3d::kOrigin));
    EXPECT_EQ(definition->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(definition->verticalMode(), AcDb::kTextVertMid);
    // Inserted at `mark height` / 3, the label comes out `mark height` tall.
    EXPECT_DOUBLE_EQ(definition->height(), 3.0);
  }
  close(entities);
  EXPECT_TRUE(found);
}

TEST_F(TemplateTest, TableHeaderIsTheBandAboveTheFirstRowWithItsCaptions) {
  const std::vector<AcDbEntity*> entities = openBlock("AREA_TABLE");
  double left = 1e300, right = -1e300, bottom = 1e300, top = -1e300;
  std::vector<std::string> captions;
  for (AcDbEntity* entity : entities) {
    if (auto* line = AcDbLine::cast(entity)) {
      for (const AcGePoint3d& p : {line->startPoint(), line->endPoint()}) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        bottom = std::min(bottom, p.y), top = std::max(top, p.y);
      }
    } else if (auto* text = AcDbText::cast(entity)) {
      captions.push_back(text->textString());
      EXPECT_LT(text->alignmentPoint().y, 0.0);
      EXPECT_GT(text->alignmentPoint().y, -1400.0);
    }
  }
  close(entities);
  EXPECT_DOUBLE_EQ(left, 0.0);
  EXPECT_DOUBLE_EQ(right, 18500.0);
  EXPECT_DOUBLE_EQ(top, 0.0);
  EXPECT_DOUBLE_EQ(bottom, -1400.0);
  EXPECT_EQ(captions, (std::vector<std::string>{"番号", "求積式", "面積"}));
}

// One line per entity of a drawing's model space: kind, layer, colour and geometry, so that two
// files compare by what they draw rather than by their handles.
std::string Describe(AcDbEntity* entity) {
  char text[512];
  std::string line = std::string(entity->isA()->name()) + " " + entity->layer() + " " +
                     std::to_string(entity->colorIndex());
  if (auto* l = AcDbLine::cast(entity)) {
    std::snprintf(text, sizeof text, " %.6f,%.6f %.6f,%.6f", l->startPoint().x, l->startPoint().y,
                  l->endPoint().x, l->endPoint().y);
  } else if (auto* c = AcDbCircle::cast(entity)) {
    std::snprintf(text, sizeof text, " %.6f,%.6f r%.6f", c->center().x, c->center().y, c->radius());
  } else if (auto* t = AcDbText::cast(entity)) {
    std::snprintf(text, sizeof text, " %.6f,%.6f h%.6f m%d,%d \"%s\"", t->alignmentPoint().x,
                  t->alignmentPoint().y, t->height(), t->horizontalMode(), t->verticalMode(),
                  t->textStringConst());
  } else {
    text[0] = '\0';
  }
  line += text;
  if (auto* d = AcDbAttributeDefinition::cast(entity))
    line += " tag " + d->tag() + " prompt " + d->prompt() + " flags " + std::to_string(d->flags());
  return line;
}

std::vector<std::string> DescribeModelSpace(AcDbDatabase* database) {
  std::vector<std::string> lines;
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return lines;
  AcDbBlockTableRecord* modelSpace = nullptr;
  const Acad::ErrorStatus status = table->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForRead);
  table->close();
  if (status != Acad::eOk) return lines;
  for (AcDbObjectId id : modelSpace->entityIds()) {
    AcDbEntity* entity = nullptr;
    if (id.isErased() || acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    lines.push_back(Describe(entity));
    entity->close();
  }
  modelSpace->close();
  return lines;
}

std::vector<std::string> DescribeFile(const std::string& path) {
  std::string error;
  const std::unique_ptr<AcDbDatabase> database = ReadDrawingFile(path, error);
  EXPECT_TRUE(database) << error;
  return database ? DescribeModelSpace(database.get()) : std::vector<std::string>{};
}

TEST(ShippedBlockFileTest, HoldsTheEntitiesOfTheTemplatesBlock) {
  const fs::path examples = fs::path(TESSERA_SOURCE_DIR) / "examples";
  const fs::path scratch = fs::temp_directory_path() / "tessera_template_blocks";
  fs::create_directories(scratch);
  const bool update = std::getenv("TESSERA_UPDATE_BLOCK_FILES") != nullptr;
  for (const std::string& name : TemplateBlockNames()) {
    const std::string fresh = (scratch / (name + ".dxf")).string();
    const std::string shipped = (examples / (name + ".dxf")).string();
    std::string error;
    ASSERT_TRUE(WriteTemplateBlockFile(name, update ? shipped : fresh, error)) << error;
    if (update) continue;
    const std::vector<std::string> expected = DescribeFile(fresh);
    EXPECT_FALSE(expected.empty()) << name;
    EXPECT_EQ(DescribeFile(shipped), expected)
        << shipped << " differs from the template's block; see the top of this file";
  }
  fs::remove_all(scratch);
}

TEST(ShippedBlockFileTest, UnknownBlockNameIsRefusedWithoutWritingAFile) {
  const fs::path path = fs::temp_directory_path() / "tessera_no_such_block.dxf";
  std::string error;
  EXPECT_FALSE(WriteTemplateBlockFile("NO_SUCH_BLOCK", path.string(), error));
  EXPECT_NE(error.find("NO_SUCH_BLOCK"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace tessera
