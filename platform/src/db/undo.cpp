#include "db/undo.h"

#include <unordered_set>

#include "cad/arx.h"
#include "db/stub.h"
#include "files/memory_filer.h"

namespace tessera::db {

struct UndoLog::Entry {
  enum class Kind { kState, kCreated, kErased, kPartial };
  Kind kind;
  AcDbObjectId id;
  std::vector<unsigned char> state;
  bool erased = false;  // for kErased: the erase flag the step set
  Reversal reversal;    // for kPartial
};

struct UndoLog::Step {
  std::vector<Entry> entries;
  std::unordered_set<AcDbStub*> saved;
  bool isMark = false;
  // A command's step counts even when the command changed nothing: UNDO 1 after it must not
  // take back the command before.
  bool isCommand = false;
};

UndoLog::UndoLog(AcDbDatabase* database) : m_database(database) {}

UndoLog::~UndoLog() = default;

UndoLog::Step& UndoLog::currentStep() {
  if (!m_open) m_open = std::make_unique<Step>();
  return *m_open;
}

void UndoLog::closeStep() {
  if (m_open && (!m_open->entries.empty() || m_open->isCommand))
    m_steps.push_back(std::move(m_open));
  m_open.reset();
}

void UndoLog::beginCommand(const std::string&) {
  if (m_commandDepth == 0 && m_groupDepth == 0) {
    closeStep();
    if (m_enabled && !m_undoing) currentStep().isCommand = true;
  }
  ++m_commandDepth;
}

void UndoLog::endCommand() {
  if (m_commandDepth > 0) --m_commandDepth;
  if (m_commandDepth == 0 && m_groupDepth == 0) closeStep();
}

// Groups do not nest: a begin inside an open group keeps the one group going.
void UndoLog::beginGroup() {
  if (m_groupDepth > 0) return;
  closeStep();
  m_groupDepth = 1;
}

void UndoLog::endGroup() {
  if (m_groupDepth == 0) return;
  m_groupDepth = 0;
  closeStep();
}

void UndoLog::mark() {
  closeStep();
  auto step = std::make_unique<Step>();
  step->isMark = true;
  m_steps.push_back(std::move(step));
}

bool UndoLog::hasMark() const {
  for (const auto& step : m_steps)
    if (step->isMark) return true;
  return false;
}

int UndoLog::stepCount() const {
  int count = 0;
  for (const auto& step : m_steps)
    if (!step->isMark) ++count;
  return count + ((m_open && (!m_open->entries.empty() || m_open->isCommand)) ? 1 : 0);
}

int UndoLog::undo(int steps) {
  closeStep();
  m_groupDepth = 0;
  int undone = 0;
  while (undone < steps && !m_steps.empty()) {
    std::unique_ptr<Step> step = std::move(m_steps.back());
    m_steps.pop_back();
    if (step->isMark) continue;
    undoStep(*step);
    ++undone;
  }
  return undone;
}

int UndoLog::undoToMark() {
  closeStep();
  m_groupDepth = 0;
  int undone = 0;
  while (!m_steps.empty()) {
    std::unique_ptr<Step> step = std::move(m_steps.back());
    m_steps.pop_back();
    if (step->isMark) break;
    undoStep(*step);
    ++undone;
  }
  return undone;
}

void UndoLog::recordBeforeChange(AcDbObject* object) {
  if (!m_enabled || m_undoing || object == nullptr) return;
  Step& step = currentStep();
  AcDbStub* stub = object->objectId().stub();
  if (stub == nullptr || !step.saved.insert(stub).second) return;
  files::MemoryDwgFiler filer(AcDb::kUndoFiler, m_database);
  object->dwgOutFields(&filer);
  step.entries.push_back({Entry::Kind::kState, object->objectId(), filer.takeBytes(), false, {}});
}

void UndoLog::recordCreated(AcDbObjectId id) {
  if (!m_enabled || m_undoing) return;
  Step& step = currentStep();
  step.saved.insert(id.stub());
  step.entries.push_back({Entry::Kind::kCreated, id, {}, false, {}});
}

void UndoLog::recordErased(AcDbObjectId id, bool erased) {
  if (!m_enabled || m_undoing) return;
  currentStep().entries.push_back({Entry::Kind::kErased, id, {}, erased, {}});
}

// A container whose whole state the step keeps, or that the step made, needs no partial record.
void UndoLog::recordPartialChange(AcDbObject* container, Reversal reversal) {
  if (!m_enabled || m_undoing || container == nullptr) return;
  Step& step = currentStep();
  AcDbStub* stub = container->objectId().stub();
  if (stub == nullptr || step.saved.count(stub) > 0) return;
  step.entries.push_back(
      {Entry::Kind::kPartial, container->objectId(), {}, false, std::move(reversal)});
}

void UndoLog::restoreState(const Entry& entry) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, entry.id, AcDb::kForWrite, true) != Acad::eOk) return;
  switch (entry.kind) {
    case Entry::Kind::kState: {
      // Announce the change first, as any edit does, then read the old state back.
      object->assertWriteEnabled(false, true);
      files::MemoryDwgFiler filer(entry.state, AcDb::kUndoFiler, m_database);
      object->dwgInFields(&filer);
      break;
    }
    case Entry::Kind::kCreated:
      object->erase(true);
      break;
    case Entry::Kind::kErased:
      object->erase(!entry.erased);
      break;
    case Entry::Kind::kPartial:
      object->assertWriteEnabled(false, true);
      entry.reversal(object);
      break;
  }
  object->close();
}

void UndoLog::undoStep(Step& step) {
  m_undoing = true;
  for (auto entry = step.entries.rbegin(); entry != step.entries.rend(); ++entry)
    restoreState(*entry);
  m_undoing = false;
}

void UndoLog::clear() {
  m_steps.clear();
  m_open.reset();
}

}  // namespace tessera::db
