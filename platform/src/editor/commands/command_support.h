// What the host commands share: opening objects for the length of a block, appending entities
// to model space, and the UCS of the command's drawing.
#pragma once

#include <string>

#include "cad/arx.h"
#include "editor/command_runner.h"
#include "editor/ucs.h"

namespace tessera::editor {

// An object opened for the life of the holder and closed when it goes (never across a
// co_await: a command that stops there must not leave objects open).
template <typename T>
class Opened {
 public:
  Opened(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    m_status = acdbOpenObject(m_object, id, mode, openErased);
  }
  ~Opened() {
    if (m_object) m_object->close();
  }
  Opened(const Opened&) = delete;
  Opened& operator=(const Opened&) = delete;

  explicit operator bool() const { return m_object != nullptr; }
  T* operator->() const { return m_object; }
  T* get() const { return m_object; }
  Acad::ErrorStatus status() const { return m_status; }

 private:
  T* m_object = nullptr;
  Acad::ErrorStatus m_status = Acad::eOk;
};

// Appends a new entity to model space with the drawing's current settings and closes it;
// the entity is deleted when that fails. The null id on failure.
AcDbObjectId AppendToModelSpace(AcDbDatabase* database, AcDbEntity* entity);
// Appends and leaves the entity open for write, for changes that follow at once.
Acad::ErrorStatus AppendOpen(AcDbDatabase* database, AcDbEntity* entity, AcDbObjectId& id);

inline AcGePoint3d ToWorld(const CommandContext& command, const AcGePoint3d& point) {
  return UcsToWorld(point, command.database());
}
inline AcGeVector3d ToWorld(const CommandContext& command, const AcGeVector3d& vector) {
  return UcsToWorld(vector, command.database());
}

// printf-style text with one argument of each kind the messages use.
std::string Formatted(const char* format, const std::string& text);
std::string FormattedNumber(const char* format, double value);

}  // namespace tessera::editor
