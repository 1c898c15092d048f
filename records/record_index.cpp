// The per-drawing index of figure records by named handle.
#include "records/record_index.h"

#include "records/figure_dictionaries.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace area {
namespace {

using HandleKey = std::uint64_t;

// Drops a drawing's index when the drawing goes, so that a later drawing at the same address
// never sees it.
class IndexWatcher : public AcDbDatabaseReactor {
 public:
  void goodbye(const AcDbDatabase* database) override;
};

struct DrawingIndex {
  std::unordered_map<HandleKey, std::vector<AcDbObjectId>> candidates;
  IndexWatcher watcher;
};

std::unordered_map<const AcDbDatabase*, std::unique_ptr<DrawingIndex>>& Indexes() {
  static std::unordered_map<const AcDbDatabase*, std::unique_ptr<DrawingIndex>> indexes;
  return indexes;
}

HandleKey KeyOf(const AcDbHandle& handle) {
  return handle.value();
}

void IndexWatcher::goodbye(const AcDbDatabase* database) {
  auto found = Indexes().find(database);
  if (found == Indexes().end()) return;
  database->removeReactor(this);
  Indexes().erase(found);  // destroys this watcher: nothing may follow
}

void AddCandidate(DrawingIndex& index, const AcDbHandle& handle, AcDbObjectId recordId) {
  if (handle.isNull()) return;
  std::vector<AcDbObjectId>& ids = index.candidates[KeyOf(handle)];
  if (std::find(ids.begin(), ids.end(), recordId) == ids.end()) ids.push_back(recordId);
}

// Every handle the record names, the mark first.
std::vector<AcDbHandle> NamedHandles(const FigureRecord* record) {
  std::vector<AcDbHandle> handles(1 + record->shapeHandleCount());
  record->markHandle(handles[0]);
  for (int i = 0; i < record->shapeHandleCount(); ++i) record->shapeHandle(i, handles[1 + i]);
  return handles;
}

void IndexDictionary(DrawingIndex& index, AcDbDatabase* database, const char* name) {
  std::unique_ptr<AcDbDictionaryIterator> entries = ShapeDictionaryEntries(name, database);
  for (; entries && !entries->done(); entries->next()) {
    FigureRecord* record = nullptr;
    if (acdbOpenObject(record, entries->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    for (const AcDbHandle& handle : NamedHandles(record))
      AddCandidate(index, handle, entries->objectId());
    record->close();
  }
}

DrawingIndex* BuildIndex(AcDbDatabase* database) {
  auto index = std::make_unique<DrawingIndex>();
  for (const FigureKindInfo& kind : kFigureKinds)
    IndexDictionary(*index, database, kind.dictionary);
  database->addReactor(&index->watcher);
  DrawingIndex* built = index.get();
  Indexes()[database] = std::move(index);
  return built;
}

DrawingIndex* IndexOf(AcDbDatabase* database) {
  auto found = Indexes().find(database);
  return found != Indexes().end() ? found->second.get() : BuildIndex(database);
}

bool NamesInRole(const FigureRecord* record, const FigureKindInfo& kind, const AcDbHandle& handle,
                 NamedRole role) {
  AcDbHandle named;
  if (role == NamedRole::kMark) return record->markHandle(named) == Acad::eOk && named == handle;
  for (int slot : kind.valueTexts())
    if (record->shapeHandle(slot, named) == Acad::eOk && named == handle) return true;
  return false;
}

bool NamesAtAll(const FigureRecord* record, const AcDbHandle& handle) {
  const std::vector<AcDbHandle> named = NamedHandles(record);
  return std::find(named.begin(), named.end(), handle) != named.end();
}

// The live records of the dictionary among the candidates that name the handle in the role;
// candidates that name it no more (or are gone) leave the index. Erased records stay: an undo
// may bring them back with the same handles.
std::vector<AcDbObjectId> Matches(std::vector<AcDbObjectId>& ids, const FigureKindInfo& kind,
                                  const AcDbDictionary* shape, const AcDbHandle& handle,
                                  NamedRole role) {
  std::vector<AcDbObjectId> matches;
  std::vector<AcDbObjectId> kept;
  for (AcDbObjectId id : ids) {
    FigureRecord* record = nullptr;
    if (!id.isValid() || acdbOpenObject(record, id, AcDb::kForRead, true) != Acad::eOk) continue;
    if (!NamesAtAll(record, handle)) {
      record->close();
      continue;
    }
    kept.push_back(id);
    if (!record->isErased() && shape->has(id) &&
        record->isA() == RecordClassDescriptor(kind.recordClass) &&
        NamesInRole(record, kind, handle, role))
      matches.push_back(id);
    record->close();
  }
  ids.swap(kept);
  return matches;
}

// The dictionary's own order decides between several records naming one handle.
AcDbObjectId FirstInDictionary(const AcDbDictionary* shape,
                               const std::vector<AcDbObjectId>& matches) {
  std::unique_ptr<AcDbDictionaryIterator> entries(shape->newIterator());
  for (; !entries->done(); entries->next())
    if (std::find(matches.begin(), matches.end(), entries->objectId()) != matches.end())
      return entries->objectId();
  return {};
}

// The record naming the handle, with its key; the null id when none does.
AcDbObjectId MatchingRecord(DrawingIndex& index, const AcDbDictionary* shape,
                            const FigureKindInfo& kind, const AcDbHandle& handle, NamedRole role,
                            std::string* key) {
  auto found = index.candidates.find(KeyOf(handle));
  if (found == index.candidates.end()) return {};
  const std::vector<AcDbObjectId> matches = Matches(found->second, kind, shape, handle, role);
  if (found->second.empty()) index.candidates.erase(found);
  if (matches.empty()) return {};
  const AcDbObjectId recordId =
      matches.size() == 1 ? matches.front() : FirstInDictionary(shape, matches);
  if (key != nullptr && !recordId.isNull()) shape->nameAt(recordId, *key);
  return recordId;
}

}  // namespace

FigureRecord* FindRecordNaming(const FigureKindInfo& kind, const AcDbHandle& handle, NamedRole role,
                               AcDb::OpenMode mode, std::string* key, AcDbDatabase* database) {
  if (database == nullptr) database = acdbHostApplicationServices()->workingDatabase();
  if (database == nullptr || handle.isNull()) return nullptr;
  DrawingIndex* index = IndexOf(database);
  AcDbDictionary* shape = OpenShapeDictionary(kind.dictionary, AcDb::kForRead, database);
  if (index == nullptr || shape == nullptr) {
    if (shape != nullptr) shape->close();
    return nullptr;
  }
  const AcDbObjectId recordId = MatchingRecord(*index, shape, kind, handle, role, key);
  shape->close();
  FigureRecord* record = nullptr;
  if (recordId.isNull() || acdbOpenObject(record, recordId, mode) != Acad::eOk) return nullptr;
  return record;
}

void NoteRecordHandles(AcDbObjectId recordId, std::span<const AcDbHandle> handles) {
  if (recordId.isNull()) return;
  auto found = Indexes().find(recordId.database());
  if (found == Indexes().end()) return;
  for (const AcDbHandle& handle : handles) AddCandidate(*found->second, handle, recordId);
}

void DropRecordIndexes() {
  for (auto& [database, index] : Indexes()) database->removeReactor(&index->watcher);
  Indexes().clear();
}

std::size_t RecordIndexSize(const AcDbDatabase* database) {
  auto found = Indexes().find(database);
  if (found == Indexes().end()) return 0;
  std::size_t size = 0;
  for (const auto& [handle, ids] : found->second->candidates) size += ids.size();
  return size;
}

}  // namespace area
