// The undo log of one drawing. Each command, and each group between a begin and an end, is one
// step; a step keeps every object's state from before its first change in the step (through the
// object's own binary filing), and the objects it created and erased. A container (dictionary,
// group) that gains or loses an entry keeps only how to take that entry back, so that a step's
// record does not grow with the container. Undoing a step restores them, newest change first,
// and sends the notifications the restore causes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cad/db_object.h"

namespace tessera::db {

class UndoLog {
 public:
  explicit UndoLog(AcDbDatabase* database);
  ~UndoLog();

  // Step boundaries. A command is one step unless a group is open; a group nests no further.
  void beginCommand(const std::string& globalName);
  void endCommand();
  void beginGroup();
  void endGroup();
  bool groupOpen() const { return m_groupDepth > 0; }
  // Closes the step that changes made outside any command have been going into.
  void closeStep();
  // "UNDO Mark" and "UNDO Back".
  void mark();
  bool hasMark() const;

  // Undoes up to `steps` steps, newest first; returns how many were undone.
  int undo(int steps);
  // Undoes back to the last mark (or everything); returns the steps undone.
  int undoToMark();
  int stepCount() const;
  bool isUndoing() const { return m_undoing; }
  void setEnabled(bool enabled) { m_enabled = enabled; }
  bool enabled() const { return m_enabled; }

  // Recording, called by the object core.
  void recordBeforeChange(AcDbObject* object);
  void recordCreated(AcDbObjectId id);
  void recordErased(AcDbObjectId id, bool erased);
  // Takes back one entry change of a container, the container open for write. Called with
  // the container open for write before its change.
  using Reversal = std::function<void(AcDbObject* container)>;
  void recordPartialChange(AcDbObject* container, Reversal reversal);

  // Releases the memory of all steps (after a save, or when the drawing closes).
  void clear();

 private:
  struct Entry;
  struct Step;
  Step& currentStep();
  void undoStep(Step& step);
  void restoreState(const Step& step, const Entry& entry);

  AcDbDatabase* m_database;
  std::uint32_t m_lastSerial = 0;
  std::vector<std::unique_ptr<Step>> m_steps;
  std::unique_ptr<Step> m_open;
  int m_groupDepth = 0;
  int m_commandDepth = 0;
  bool m_undoing = false;
  bool m_enabled = true;
};

}  // namespace tessera::db
