#include "db/undo.h"

#include "cad/arx.h"
#include "db/stub.h"
#include "files/memory_filer.h"

namespace tessera::db {

// Most entries are creations and erasures, which need no more than the id: the saved state and
// the reversal of a partial change live apart, so that an entry stays small.
struct UndoLog::Entry {
  enum class Kind : unsigned char { kState, kCreated, kErased, kPartial };
  struct Detail {
    std::vector<unsigned char> state;  // for kState
    Reversal reversal;                 // for kPartial
  };
  AcDbObjectId id;
  Kind kind;
  bool erased = false;  // for kErased: the erase flag the step set
  std::unique_ptr<Detail> detail;
};

struct UndoLog::Step {
  // Trimmed to its size when the step closes: most steps are small and many.
  std::vector<Entry> entries;
  std::uint32_t serial = 0;  // marks the stubs whose state the step keeps
  bool isMark = false;
  // A command's step counts even when the command changed nothing: UNDO 1 after it must not
  // take back the command before.
  bool isCommand = false;
};

UndoLog::UndoLog(AcDbDatabase* database) : m_database(database) {}

UndoLog::~UndoLog() = default;

UndoLog::Step& UndoLog::currentStep() {
  if (!m_open) {
    m_open = std::make_unique<Step>();
    m_open->serial = ++m_lastSerial;
  }
  return *m_open;
}

void UndoLog::closeStep() {
  if (m_open && (!m_open->entries.empty() || m_open->isCommand)) {
    m_open->entries.shrink_to_fit();
    m_steps.push_back(std::move(m_open));
  }
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
  if (stub == nullptr || stub->undoStep == step.serial) return;
  stub->undoStep = step.serial;
  files::MemoryDwgFiler filer(AcDb::kUndoFiler, m_database);
  object->dwgOutFields(&filer);
  auto detail = std::make_unique<Entry::Detail>();
  detail->state = filer.takeBytes();
  step.entries.push_back({object->objectId(), Entry::Kind::kState, false, std::move(detail)});
}

void UndoLog::recordCreated(AcDbObjectId id) {
  if (!m_enabled || m_undoing) return;
  Step& step = currentStep();
  if (id.stub() != nullptr) id.stub()->undoStep = step.serial;
  step.entries.push_back({id, Entry::Kind::kCreated, false, nullptr});
}

void UndoLog::recordErased(AcDbObjectId id, bool erased) {
  if (!m_enabled || m_undoing) return;
  currentStep().entries.push_back({id, Entry::Kind::kErased, erased, nullptr});
}

// A container whose whole state the step keeps, or that the step made, needs no partial record.
void UndoLog::recordPartialChange(AcDbObject* container, Reversal reversal) {
  if (!m_enabled || m_undoing || container == nullptr) return;
  Step& step = currentStep();
  AcDbStub* stub = container->objectId().stub();
  if (stub == nullptr || stub->undoStep == step.serial) return;
  auto detail = std::make_unique<Entry::Detail>();
  detail->reversal = std::move(reversal);
  step.entries.push_back({container->objectId(), Entry::Kind::kPartial, false, std::move(detail)});
}

void UndoLog::restoreState(const Entry& entry) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, entry.id, AcDb::kForWrite, true) != Acad::eOk) return;
  switch (entry.kind) {
    case Entry::Kind::kState: {
      // Announce the change first, as any edit does, then read the old state back.
      object->assertWriteEnabled(false, true);
      files::MemoryDwgFiler filer(entry.detail->state, AcDb::kUndoFiler, m_database);
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
      entry.detail->reversal(object);
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
