// INSERT and -INSERT: a block reference with its attributes. A block that is not in the
// drawing is read from NAME.dxf on the search path into a new block definition.
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "editor/commands/command_groups.h"
#include "editor/commands/command_support.h"
#include "editor/message_text.h"
#include "editor/system_variables.h"
#include "platform/drawing_files.h"
#include "platform/search_path.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

namespace insert_prompts {
constexpr const char* kBlockName = "\nEnter block name or [?]: ";
constexpr const char* kInsertionPoint = "\nSpecify insertion point: ";
constexpr const char* kXScale = "\nEnter X scale factor <1>: ";
constexpr const char* kYScale = "\nEnter Y scale factor <use X scale factor>: ";
constexpr const char* kRotation = "\nSpecify rotation angle <0>: ";
constexpr const char* kAttributeValues = "\nEnter attribute values";
constexpr const char* kAttribute = "\n%s: ";
constexpr const char* kAttributeWithDefault = "\n%s <%s>: ";
constexpr const char* kBlockList = "\nDefined blocks: %s";
constexpr const char* kNotFound = "Block \"%s\" not found: no %s on the search path.";
constexpr const char* kUnreadable = "Block \"%s\" cannot be read: %s";
}  // namespace insert_prompts

constexpr const char* kBlockFileSuffix = ".dxf";
constexpr const char* kListAnswer = "?";

struct AttributeTemplate {
  AcDbObjectId definition;
  std::string prompt;
  std::string defaultText;
  bool constant = false;
};

AcDbObjectId FindBlock(AcDbDatabase* database, const std::string& name) {
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  table->getAt(name.c_str(), id);
  table->close();
  return id;
}

std::string BlockNames(AcDbDatabase* database) {
  std::string names;
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return names;
  for (const AcDbObjectId& id : table->recordIds()) {
    Opened<AcDbBlockTableRecord> block(id, AcDb::kForRead);
    if (!block || block->isLayout() || block->isAnonymous()) continue;
    names += (names.empty() ? "" : ", ") + std::string(block->getNameConst());
  }
  table->close();
  return names;
}

// Copies the model-space entities of a drawing file into a new block definition.
AcDbObjectId DefineBlockFromFile(AcDbDatabase* database, const std::string& name,
                                 const std::string& path) {
  std::string error;
  AcDbDatabase* working = acdbHostApplicationServices()->workingDatabase();
  std::unique_ptr<AcDbDatabase> source = ReadDrawingFile(path, error);
  acdbHostApplicationServices()->setWorkingDatabase(working);
  if (!source) throw CommandError(Substitute(insert_prompts::kUnreadable, {name, error}));
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForWrite) != Acad::eOk) return {};
  auto* block = new AcDbBlockTableRecord;
  block->setName(name.c_str());
  AcDbObjectId blockId;
  if (table->add(blockId, block) != Acad::eOk) {
    delete block;
    table->close();
    return {};
  }
  table->close();
  AcDbBlockTable* sourceTable = nullptr;
  AcDbBlockTableRecord* sourceSpace = nullptr;
  if (source->getBlockTable(sourceTable, AcDb::kForRead) == Acad::eOk) {
    sourceTable->getAt(ACDB_MODEL_SPACE, sourceSpace, AcDb::kForRead);
    sourceTable->close();
  }
  for (const AcDbObjectId& id :
       sourceSpace ? sourceSpace->entityIds() : std::vector<AcDbObjectId>()) {
    Opened<AcDbEntity> entity(id, AcDb::kForRead);
    // Block references of the file name its own blocks, which this drawing does not have.
    if (!entity || id.isErased() || AcDbBlockReference::cast(entity.get())) continue;
    auto* copy = AcDbEntity::cast(entity->cloneObject());
    if (copy == nullptr) continue;
    if (block->appendAcDbEntity(copy) == Acad::eOk) {
      copy->close();
    } else {
      delete copy;
    }
  }
  if (sourceSpace) sourceSpace->close();
  block->close();
  return blockId;
}

AcDbObjectId BlockForInsert(AcDbDatabase* database, const std::string& name) {
  AcDbObjectId id = FindBlock(database, name);
  if (!id.isNull()) return id;
  std::string file = name;
  if (!file.ends_with(kBlockFileSuffix)) file += kBlockFileSuffix;
  std::optional<std::string> path = FindSupportFile(file);
  if (!path) throw CommandError(Substitute(insert_prompts::kNotFound, {name, file}));
  return DefineBlockFromFile(database, name, *path);
}

std::vector<AttributeTemplate> AttributeTemplates(AcDbObjectId blockId, AcGePoint3d& origin) {
  std::vector<AttributeTemplate> templates;
  Opened<AcDbBlockTableRecord> block(blockId, AcDb::kForRead);
  if (!block) return templates;
  origin = block->origin();
  for (const AcDbObjectId& id : block->entityIds()) {
    Opened<AcDbAttributeDefinition> definition(id, AcDb::kForRead);
    if (!definition || id.isErased()) continue;
    std::string prompt = definition->prompt().empty() ? definition->tag() : definition->prompt();
    templates.push_back({id, prompt, definition->textString(), definition->isConstant()});
  }
  return templates;
}

std::string AttributePrompt(const AttributeTemplate& attribute) {
  if (attribute.defaultText.empty()) return Formatted(insert_prompts::kAttribute, attribute.prompt);
  return Substitute(insert_prompts::kAttributeWithDefault,
                    {attribute.prompt, attribute.defaultText});
}

struct Placement {
  AcGePoint3d position;
  AcGeScale3d scale;
  double rotation = 0.0;
};

void MakeReference(CommandContext& command, AcDbObjectId blockId, const Placement& at,
                   const AcGePoint3d& origin, const std::vector<AttributeTemplate>& templates,
                   const std::vector<std::string>& values) {
  auto* reference = new AcDbBlockReference(at.position, blockId);
  reference->setScaleFactors(at.scale);
  reference->setRotation(at.rotation);
  AcDbObjectId id;
  if (AppendOpen(command.database(), reference, id) != Acad::eOk) {
    delete reference;
    throw CommandError("the block reference could not be added to the drawing");
  }
  for (std::size_t i = 0; i < templates.size(); ++i) {
    if (templates[i].constant) continue;
    Opened<AcDbAttributeDefinition> definition(templates[i].definition, AcDb::kForRead);
    if (!definition) continue;
    auto* attribute = new AcDbAttribute;
    attribute->setAttributeFromBlock(definition.get(), at.position, at.scale, at.rotation, origin);
    attribute->setTextString(values[i].c_str());
    attribute->setLayer(reference->layer().c_str());
    if (reference->appendAttribute(attribute) == Acad::eOk) {
      attribute->close();
    } else {
      delete attribute;
    }
  }
  reference->close();
}

Task<void> InsertCommand(CommandContext& command) {
  Answer name = co_await command.getString(insert_prompts::kBlockName, true);
  while (name.text == kListAnswer) {
    Transcript::instance().write(
        Formatted(insert_prompts::kBlockList, BlockNames(command.database())));
    name = co_await command.getString(insert_prompts::kBlockName, true);
  }
  if (name.text.empty()) co_return;
  AcDbObjectId blockId = BlockForInsert(command.database(), name.text);
  if (blockId.isNull())
    throw CommandError(
        Substitute(insert_prompts::kNotFound, {name.text, name.text + kBlockFileSuffix}));
  Answer point = co_await command.getPoint(insert_prompts::kInsertionPoint, nullptr,
                                           std::vector<std::string>(), RSG_NONULL);
  Answer xScale =
      co_await command.getReal(insert_prompts::kXScale, std::vector<std::string>(), RSG_NOZERO);
  Answer yScale =
      co_await command.getReal(insert_prompts::kYScale, std::vector<std::string>(), RSG_NOZERO);
  Answer rotation = co_await command.getReal(insert_prompts::kRotation);
  Placement at;
  at.position = ToWorld(command, point.point);
  double sx = xScale.kind == AnswerKind::kReal ? xScale.real : 1.0;
  double sy = yScale.kind == AnswerKind::kReal ? yScale.real : sx;
  at.scale = AcGeScale3d(sx, sy, sx);
  // The rotation is answered in the current UCS, as the insertion point is.
  const double degrees = rotation.kind == AnswerKind::kReal ? rotation.real : 0.0;
  at.rotation = UcsAngleToWorld(degrees * std::numbers::pi / 180.0, command.database());

  AcGePoint3d origin;
  std::vector<AttributeTemplate> templates = AttributeTemplates(blockId, origin);
  std::vector<std::string> values;
  bool asking = IntVariable("ATTREQ", 1) != 0;
  if (asking && !templates.empty()) Transcript::instance().write(insert_prompts::kAttributeValues);
  for (const AttributeTemplate& attribute : templates) {
    std::string value = attribute.defaultText;
    if (asking && !attribute.constant) {
      Answer answer = co_await command.getString(AttributePrompt(attribute), true);
      if (!answer.text.empty()) value = answer.text;
    }
    values.push_back(value);
  }
  MakeReference(command, blockId, at, origin, templates, values);
}

}  // namespace

void AddInsertCommands(std::vector<HostCommand>& commands) {
  commands.push_back({"INSERT", InsertCommand});
  commands.push_back({"-INSERT", InsertCommand});
}

}  // namespace tessera::editor
