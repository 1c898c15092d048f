#include "files/saved_objects.h"

#include <algorithm>

#include "db/database_impl.h"
#include "db/object_access.h"

namespace tessera::files {
namespace {

constexpr int kDeciding = 0;
constexpr int kSaved = 1;
constexpr int kNotSaved = 2;
// Owners followed before the chain's decisions are remembered.
constexpr int kDirectSteps = 8;

}  // namespace

AcDbObject* Peek(AcDbObjectId id) {
  AcDbStub* stub = id.stub();
  return stub != nullptr ? stub->object : nullptr;
}

SavedObjects::SavedObjects(AcDbDatabase* database) : m_database(database) {
  db::DatabaseImpl* impl = db::Impl(database);
  for (AcDbObjectId root :
       {impl->blockTable, impl->layerTable, impl->regAppTable, impl->namedObjects})
    if (root.isValid() && !root.isErased()) m_roots.push_back(root.stub());
}

bool SavedObjects::usable(const AcDbStub* stub) const {
  return stub != nullptr && stub->object != nullptr && !stub->erased &&
         stub->database == m_database;
}

bool SavedObjects::isRoot(const AcDbStub* stub) const {
  return std::find(m_roots.begin(), m_roots.end(), stub) != m_roots.end();
}

// Owner chains are short (an entity, its block, the block table): walked directly they are
// decided without a lookup; only a longer chain, which may be a cycle, is remembered.
bool SavedObjects::walk(AcDbStub* stub) const {
  for (int step = 0; step < kDirectSteps; ++step) {
    if (!usable(stub)) return false;
    if (isRoot(stub)) return true;
    stub = stub->object->ownerId().stub();
  }
  return decide(stub);
}

bool SavedObjects::decide(AcDbStub* stub) const {
  if (!usable(stub)) return false;
  if (isRoot(stub)) return true;
  auto [entry, inserted] = m_state.try_emplace(stub, kDeciding);
  if (!inserted) return entry->second == kSaved;  // deciding: an ownership cycle saves nothing
  int& state = entry->second;  // stays valid while the map grows, unlike the iterator
  bool saved = decide(stub->object->ownerId().stub());
  state = saved ? kSaved : kNotSaved;
  return saved;
}

bool SavedObjects::isSaved(AcDbObjectId id) const {
  return walk(id.stub());
}

// A part its entity owns is saved exactly when the entity is (or when it is a root itself, which
// only a damaged drawing makes a part): the entity's owners are walked once, not once a part.
bool SavedObjects::isSavedWith(AcDbObjectId id, AcDbObjectId owner, bool ownerSaved) const {
  const AcDbStub* stub = id.stub();
  if (usable(stub) && stub->object->ownerId() == owner) return ownerSaved || isRoot(stub);
  return isSaved(id);
}

namespace {

// The vertices or attributes an entity keeps, erased ones among them, and its sequence end;
// none for an entity of another kind.
struct OwnedParts {
  const std::vector<AcDbObjectId>* parts = nullptr;
  AcDbObjectId sequenceEnd;
};

constexpr int kVertices = 0;
constexpr int kAttributes = 1;
constexpr int kNoParts = 2;

int PartsKind(const AcRxClass* aClass) {
  // Old-style polylines have no class of their own above the two kinds.
  if (aClass->isDerivedFrom(AcDb2dPolyline::desc()) ||
      aClass->isDerivedFrom(AcDb3dPolyline::desc()))
    return kVertices;
  if (aClass->isDerivedFrom(AcDbBlockReference::desc())) return kAttributes;
  return kNoParts;
}

OwnedParts PartsOf(AcDbObject* object, int kind) {
  if (kind == kVertices) {
    auto* polyline = static_cast<AcDbComplexEntity*>(object);
    return {&db::ObjectAccess::vertices(polyline), db::ObjectAccess::sequenceEnd(polyline)};
  }
  if (kind == kAttributes) {
    auto* reference = static_cast<AcDbBlockReference*>(object);
    return {&db::ObjectAccess::attributes(reference), db::ObjectAccess::sequenceEnd(reference)};
  }
  return {};
}

}  // namespace

bool SavedObjects::appendParts(AcDbObjectId savedEntity, std::vector<AcDbObjectId>& order) const {
  AcDbObject* object = Peek(savedEntity);
  if (object == nullptr) return false;
  const AcRxClass* aClass = object->isA();
  const OwnedParts owned =
      PartsOf(object, m_partsClass.of(aClass, [&] { return PartsKind(aClass); }));
  if (owned.parts == nullptr) return false;
  // The entity is saved, as its block's list said: its owners are not walked again.
  constexpr bool kEntitySaved = true;
  for (AcDbObjectId id : *owned.parts)
    if (isSavedWith(id, savedEntity, kEntitySaved)) order.push_back(id);
  const AcDbObjectId end = owned.sequenceEnd;
  if (end.isNull() || !isSavedWith(end, savedEntity, kEntitySaved)) return false;
  order.push_back(end);
  return true;
}

std::vector<AcDbObjectId> SavedObjects::records(AcDbObjectId table) const {
  std::vector<AcDbObjectId> result;
  if (auto* symbols = AcDbSymbolTable::cast(Peek(table)))
    for (AcDbObjectId id : symbols->recordIds())
      if (isSaved(id)) result.push_back(id);
  return result;
}

std::vector<AcDbObjectId> SavedObjects::entities(AcDbObjectId block) const {
  std::vector<AcDbObjectId> result;
  auto* record = AcDbBlockTableRecord::cast(Peek(block));
  if (record == nullptr) return result;
  const bool blockSaved = isSaved(block);
  for (AcDbObjectId id : record->entityIds())
    if (isSavedWith(id, block, blockSaved) && Peek(id)->ownerId() == block) result.push_back(id);
  return result;
}

std::vector<AcDbObjectId> SavedObjects::nonGraphical() const {
  db::DatabaseImpl* impl = db::Impl(m_database);
  std::vector<AcDbObjectId> result;
  if (isSaved(impl->namedObjects)) result.push_back(impl->namedObjects);
  impl->forEachObject([&](AcDbObjectId id) {
    if (isNonGraphical(id) && isSaved(id)) result.push_back(id);
  });
  return result;
}

bool SavedObjects::isNonGraphical(AcDbObjectId id) const {
  AcDbObject* object = Peek(id);
  if (object == nullptr || id == db::Impl(m_database)->namedObjects) return false;
  const AcRxClass* aClass = object->isA();
  return m_nonGraphicalClass.of(aClass, [&] {
    return !aClass->isDerivedFrom(AcDbEntity::desc()) &&
           !aClass->isDerivedFrom(AcDbSymbolTable::desc()) &&
           !aClass->isDerivedFrom(AcDbSymbolTableRecord::desc());
  });
}

}  // namespace tessera::files
