#include "db/undo.h"

#include <variant>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/stub.h"
#include "files/memory_filer.h"

namespace tessera::db {

// Most entries are creations and erasures, which need no more than the id: saved states and
// reversals of partial changes live apart in the step, so that an entry stays at 16 bytes.
struct UndoLog::Entry {
  enum class Kind : unsigned char { kState, kCreated, kErased, kPartial };
  AcDbObjectId id;
  std::uint32_t detail = 0;  // for kState and kPartial: the index of its detail in the step
  Kind kind;
  bool erased = false;  // for kErased: the erase flag the step set
};

struct UndoLog::Step {
  using Detail = std::variant<std::vector<unsigned char>, Reversal>;
  // Trimmed to their sizes when the step closes: most steps are small and many.
  std::vector<Entry> entries;
  std::vector<Detail> details;
  std::uint32_t serial = 0;  // marks the stubs whose state the step keeps
  bool isMark = false;
  // A command's step counts even when the command changed nothing: UNDO 1 after it must not
  // take back the command before.
  bool isCommand = false;

  void add(AcDbObjectId id, Entry::Kind kind, Detail detail) {
    entries.push_back({id, static_cast<std::uint32_t>(details.size()), kind});
    details.push_back(std::move(detail));
  }
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
    m_open->details.shrink_to_fit();
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
  std::vector<unsigned char> state = filer.takeBytes();
  state.shrink_to_fit();  // the filer's buffer grew by doubling; the step keeps it long
  step.add(object->objectId(), Entry::Kind::kState, std::move(state));
}

void UndoLog::recordCreated(AcDbObjectId id) {
  if (!m_enabled || m_undoing) return;
  Step& step = currentStep();
  if (id.stub() != nullptr) id.stub()->undoStep = step.serial;
  step.entries.push_back({id, 0, Entry::Kind::kCreated});
}

void UndoLog::recordErased(AcDbObjectId id, bool erased) {
  if (!m_enabled || m_undoing) return;
  currentStep().entries.push_back({id, 0, Entry::Kind::kErased, erased});
}

// A container whose whole state the step keeps, or that the step made, needs no partial record.
void UndoLog::recordPartialChange(AcDbObject* container, Reversal reversal) {
  if (!m_enabled || m_undoing || container == nullptr) return;
  Step& step = currentStep();
  AcDbStub* stub = container->objectId().stub();
  if (stub == nullptr || stub->undoStep == step.serial) return;
  step.add(container->objectId(), Entry::Kind::kPartial, std::move(reversal));
}

void UndoLog::restoreState(const Step& step, const Entry& entry) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, entry.id, AcDb::kForWrite, true) != Acad::eOk) return;
  switch (entry.kind) {
    case Entry::Kind::kState: {
      // Announce the change first, as any edit does, then read the old state back.
      object->assertWriteEnabled(false, true);
      const auto& state = std::get<std::vector<unsigned char>>(step.details[entry.detail]);
      files::MemoryDwgFiler filer(state.data(), state.size(), AcDb::kUndoFiler, m_database);
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
      std::get<Reversal>(step.details[entry.detail])(object);
      break;
  }
  object->close();
}

void UndoLog::undoStep(Step& step) {
  m_undoing = true;
  for (auto entry = step.entries.rbegin(); entry != step.entries.rend(); ++entry)
    restoreState(step, *entry);
  m_undoing = false;
  // What the step made can never come back (there is no redo, and the steps left are older than
  // those objects): their memory goes, so that drawing and undoing again does not grow the drawing.
  for (const Entry& entry : step.entries)
    if (entry.kind == Entry::Kind::kCreated) Impl(m_database)->releaseUncreated(entry.id);
}

void UndoLog::clear() {
  m_steps.clear();
  m_open.reset();
}

}  // namespace tessera::db
