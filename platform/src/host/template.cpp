// The built-in template: what a new drawing holds before its script runs. Layers for the area
// figures and schedules, the text size, the area mark block "AREA1" and the schedule header block
// "AREA_TABLE".
#include <array>

#include "cad/db_database.h"
#include "host/template_blocks.h"
#include "platform/documents.h"
#include "platform/drawing_files.h"

namespace tessera {
namespace {

struct TemplateLayer {
  const char* name;
  Adesk::UInt16 color;  // colour index
};

// Outlines black (white on a dark screen), marks red, values blue, as area drawings usually are.
constexpr std::array<TemplateLayer, 5> kTemplateLayers = {{
    {"AREA_LINE", 7},
    {"AREA_MARK", 1},
    {"AREA_VALUE", 5},
    {"TABLE_LINE", 7},
    {"TABLE_TEXT", 5},
}};

// Text height of a new drawing, in drawing units.
constexpr double kTemplateTextSize = 2.5;

// The mark is inserted at scale `mark height` / 3, so a label 3 units tall in the block comes out
// `mark height` tall in the drawing.
constexpr double kMarkLabelHeight = 3.0;
// Labels of three characters or more go to BANGO2, drawn smaller so they still fit the circle.
constexpr double kMarkLongLabelHeight = 2.0;
constexpr double kMarkRadius = 4.0;
// The data attributes sit under the circle, where they read when a user makes them visible.
constexpr double kMarkDataHeight = 1.5;
constexpr double kMarkDataTop = -6.0;
constexpr double kMarkDataSpacing = 2.5;

// The header band of a linked schedule, in table units: as wide as the general form's columns
// (number 2000, formula 13000, area 3500) and 1400 tall above the first row.
constexpr double kHeaderWidth = 18500.0;
constexpr double kHeaderHeight = 1400.0;
constexpr double kNumberColumnEnd = 2000.0;
constexpr double kFormulaColumnEnd = 15000.0;
constexpr double kHeaderCaptionHeight = 350.0;

struct MarkAttributeRow {
  const char* tag;
  const char* prompt;
  const char* defaultValue;
  bool invisible;
};

// In prompt order: the figure commands answer the prompts in exactly this order.
constexpr std::array<MarkAttributeRow, 5> kMarkAttributes = {{
    {"BANGO1", "番号", "", false},
    {"BANGO2", "番号(3文字以上)", "", false},
    {"KT", "図形コード", "", true},
    {"SK", "数値リスト", "", true},
    {"PM", "符号", "+", true},
}};

constexpr Adesk::Int16 kAttributeInvisibleFlag = 1;

// Appends an entity to a block open for write and closes it; the block owns it from then on.
bool AppendEntity(AcDbBlockTableRecord* block, AcDbEntity* entity) {
  AcDbObjectId id;
  if (block->appendAcDbEntity(id, entity) != Acad::eOk) {
    delete entity;
    return false;
  }
  entity->close();
  return true;
}

bool AppendLine(AcDbBlockTableRecord* block, double x0, double y0, double x1, double y1) {
  return AppendEntity(block, new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)));
}

// A text centred on its point both ways, so it stays centred whatever font draws it.
AcDbText* CentredText(const AcGePoint3d& at, const char* text, double height) {
  auto* entity = new AcDbText(at, text, AcDbObjectId::kNull, height);
  entity->setHorizontalMode(AcDb::kTextCenter);
  entity->setVerticalMode(AcDb::kTextVertMid);
  entity->setAlignmentPoint(at);
  return entity;
}

AcDbAttributeDefinition* MarkAttribute(const MarkAttributeRow& row, const AcGePoint3d& at,
                                       double height) {
  auto* definition = new AcDbAttributeDefinition(at, row.defaultValue, row.tag, row.prompt);
  definition->setHeight(height);
  definition->setHorizontalMode(AcDb::kTextCenter);
  definition->setVerticalMode(AcDb::kTextVertMid);
  definition->setAlignmentPoint(at);
  definition->setFlags(row.invisible ? kAttributeInvisibleFlag : 0);
  return definition;
}

// Where each attribute of the mark sits and how tall it is.
void MarkAttributePlace(int index, AcGePoint3d& at, double& height) {
  if (index < 2) {
    at = AcGePoint3d::kOrigin;
    height = index == 0 ? kMarkLabelHeight : kMarkLongLabelHeight;
    return;
  }
  at = AcGePoint3d(0, kMarkDataTop - (index - 2) * kMarkDataSpacing, 0);
  height = kMarkDataHeight;
}

bool AppendMarkEntities(AcDbBlockTableRecord* block) {
  if (!AppendEntity(block, new AcDbCircle(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis, kMarkRadius)))
    return false;
  for (int i = 0; i < static_cast<int>(kMarkAttributes.size()); ++i) {
    AcGePoint3d at;
    double height = 0.0;
    MarkAttributePlace(i, at, height);
    if (!AppendEntity(block, MarkAttribute(kMarkAttributes[i], at, height))) return false;
  }
  return true;
}

// The box below the insertion point, divided where the general form's columns divide.
bool AppendHeaderLines(AcDbBlockTableRecord* block) {
  const double w = kHeaderWidth;
  const double h = -kHeaderHeight;
  return AppendLine(block, 0, 0, w, 0) && AppendLine(block, 0, h, w, h) &&
         AppendLine(block, 0, 0, 0, h) && AppendLine(block, w, 0, w, h) &&
         AppendLine(block, kNumberColumnEnd, 0, kNumberColumnEnd, h) &&
         AppendLine(block, kFormulaColumnEnd, 0, kFormulaColumnEnd, h);
}

bool AppendHeaderCaptions(AcDbBlockTableRecord* block) {
  const double y = -kHeaderHeight / 2;
  const auto caption = [&](double left, double right, const char* text) {
    return AppendEntity(
        block, CentredText(AcGePoint3d((left + right) / 2, y, 0), text, kHeaderCaptionHeight));
  };
  return caption(0, kNumberColumnEnd, "番号") &&
         caption(kNumberColumnEnd, kFormulaColumnEnd, "求積式") &&
         caption(kFormulaColumnEnd, kHeaderWidth, "面積");
}

void AddLayers(AcDbDatabase* database) {
  AcDbLayerTable* table = nullptr;
  if (database->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return;
  for (const TemplateLayer& layer : kTemplateLayers) {
    if (table->has(layer.name)) continue;
    auto* record = new AcDbLayerTableRecord;
    record->setName(layer.name);
    record->setColorIndex(layer.color);
    if (table->add(record) == Acad::eOk)
      record->close();
    else
      delete record;
  }
  table->close();
}

void AddBlock(AcDbBlockTable* table, const std::string& name) {
  if (table->has(name.c_str())) return;
  auto* record = new AcDbBlockTableRecord;
  record->setName(name.c_str());
  if (table->add(record) != Acad::eOk) {
    delete record;
    return;
  }
  AppendTemplateBlockEntities(record, name);
  record->close();
}

void AddBlocks(AcDbDatabase* database) {
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForWrite) != Acad::eOk) return;
  for (const std::string& name : TemplateBlockNames()) AddBlock(table, name);
  table->close();
}

}  // namespace

std::vector<std::string> TemplateBlockNames() {
  return {kMarkBlockName, kTableHeaderBlockName};
}

bool AppendTemplateBlockEntities(AcDbBlockTableRecord* block, const std::string& name) {
  if (name == kMarkBlockName) return AppendMarkEntities(block);
  if (name == kTableHeaderBlockName) return AppendHeaderLines(block) && AppendHeaderCaptions(block);
  return false;
}

void FillTemplate(AcDbDatabase* database) {
  if (database == nullptr) return;
  AddLayers(database);
  database->setTextsize(kTemplateTextSize);
  AddBlocks(database);
}

bool WriteTemplateBlockFile(const std::string& name, const std::string& path, std::string& error) {
  AcDbDatabase database(true, true);
  AcDbBlockTable* table = nullptr;
  if (database.getBlockTable(table, AcDb::kForRead) != Acad::eOk) {
    error = "cannot open the block table of a new drawing";
    return false;
  }
  AcDbBlockTableRecord* modelSpace = nullptr;
  const Acad::ErrorStatus status = table->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite);
  table->close();
  if (status != Acad::eOk) {
    error = "cannot open the model space of a new drawing";
    return false;
  }
  const bool made = AppendTemplateBlockEntities(modelSpace, name);
  modelSpace->close();
  if (!made) {
    error = "\"" + name + "\" is not a block of the built-in template";
    return false;
  }
  return WriteDrawingFile(&database, path, error);
}

}  // namespace tessera
