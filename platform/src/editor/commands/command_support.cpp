// Model-space appends and message formatting for the host commands.
#include "editor/commands/command_support.h"

#include <cstdio>

#include "editor/message_text.h"

namespace tessera::editor {

Acad::ErrorStatus AppendOpen(AcDbDatabase* database, AcDbEntity* entity, AcDbObjectId& id) {
  if (database == nullptr) return Acad::eNoDatabase;
  AcDbBlockTable* table = nullptr;
  Acad::ErrorStatus status = database->getBlockTable(table, AcDb::kForRead);
  if (status != Acad::eOk) return status;
  AcDbBlockTableRecord* space = nullptr;
  status = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
  table->close();
  if (status != Acad::eOk) return status;
  entity->setDatabaseDefaults(database);
  status = space->appendAcDbEntity(id, entity);
  space->close();
  return status;
}

AcDbObjectId AppendToModelSpace(AcDbDatabase* database, AcDbEntity* entity) {
  AcDbObjectId id;
  if (AppendOpen(database, entity, id) != Acad::eOk) {
    delete entity;
    return {};
  }
  entity->close();
  return id;
}

std::string Formatted(const char* format, const std::string& text) {
  return Substitute(format, {text});
}

std::string FormattedNumber(const char* format, double value) {
  int size = std::snprintf(nullptr, 0, format, value);
  std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  std::snprintf(result.data(), result.size() + 1, format, value);
  return result;
}

}  // namespace tessera::editor
