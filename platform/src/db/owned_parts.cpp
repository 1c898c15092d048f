#include "db/owned_parts.h"

#include <algorithm>

#include "db/database_impl.h"
#include "db/object_access.h"

namespace tessera::db {

void PrepareForDrawing(AcDbEntity* entity, AcDbDatabase* database) {
  // A text made with height 0 shows at the drawing's current text size.
  if (auto* text = AcDbText::cast(entity); text != nullptr && text->height() == 0.0)
    text->setHeight(database->textsize());
}

namespace {

template <typename Part>
AcDbObjectId AddPart(DatabaseImpl* impl, Part* part, AcDbObjectId owner) {
  if (auto* entity = AcDbEntity::cast(part)) PrepareForDrawing(entity, impl->owner());
  AcDbObjectId id = impl->addObject(part, owner);
  part->close();
  return id;
}

AcDbObjectId AddSequenceEnd(DatabaseImpl* impl, AcDbObjectId owner) {
  return AddPart(impl, new AcDbSequenceEnd, owner);
}

// The parts waiting for their owner to be added go in at once: the owner's list takes their
// number exactly and the waiting list is freed, as both last as long as the owner.
void AddVertices(DatabaseImpl* impl, AcDbComplexEntity* entity) {
  std::vector<AcDbVertex*> pending = std::move(ObjectAccess::pendingVertices(entity));
  auto& vertices = ObjectAccess::vertices(entity);
  vertices.reserve(vertices.size() + pending.size());
  for (AcDbVertex* vertex : pending) vertices.push_back(AddPart(impl, vertex, entity->objectId()));
  if (ObjectAccess::sequenceEnd(entity).isNull())
    ObjectAccess::sequenceEnd(entity) = AddSequenceEnd(impl, entity->objectId());
}

void AddAttributes(DatabaseImpl* impl, AcDbBlockReference* reference) {
  if (ObjectAccess::pendingAttributes(reference).empty()) return;
  std::vector<AcDbAttribute*> pending = std::move(ObjectAccess::pendingAttributes(reference));
  auto& attributes = ObjectAccess::attributes(reference);
  attributes.reserve(attributes.size() + pending.size());
  for (AcDbAttribute* attribute : pending)
    attributes.push_back(AddPart(impl, attribute, reference->objectId()));
  if (ObjectAccess::sequenceEnd(reference).isNull())
    ObjectAccess::sequenceEnd(reference) = AddSequenceEnd(impl, reference->objectId());
}

void AddBlockEntities(DatabaseImpl* impl, AcDbBlockTableRecord* block) {
  auto& pending = ObjectAccess::pendingEntities(block);
  for (AcDbEntity* entity : pending) {
    PrepareForDrawing(entity, impl->owner());
    AcDbObjectId id = impl->addObject(entity, block->objectId());
    ObjectAccess::blockEntities(block).push_back(id);
    AddOwnedParts(entity);
    entity->close();
  }
  pending.clear();
}

void AddDictionaryEntries(DatabaseImpl* impl, AcDbDictionary* dictionary) {
  auto pending = std::move(ObjectAccess::pendingEntries(dictionary));
  ObjectAccess::pendingEntries(dictionary).clear();
  for (auto& [key, object] : pending) {
    AcDbObjectId id = impl->addObject(object, dictionary->objectId());
    ObjectAccess::addDictionaryEntry(dictionary, key, id);
    AddOwnedParts(object);
    object->close();
  }
}

void FollowGroupMembers(AcDbGroup* group) {
  for (AcDbObjectId member : ObjectAccess::groupMembers(group)) {
    if (member.stub() == nullptr || member.stub()->object == nullptr) continue;
    auto& followers = ObjectAccess::persistentReactors(member.stub()->object);
    if (std::find(followers.begin(), followers.end(), group->objectId()) == followers.end())
      followers.push_back(group->objectId());
  }
}

}  // namespace

void AddOwnedParts(AcDbObject* object) {
  DatabaseImpl* impl = Impl(object->database());
  if (impl == nullptr) return;
  if (auto* complex = AcDbComplexEntity::cast(object))
    AddVertices(impl, complex);
  else if (auto* reference = AcDbBlockReference::cast(object))
    AddAttributes(impl, reference);
  else if (auto* block = AcDbBlockTableRecord::cast(object))
    AddBlockEntities(impl, block);
  else if (auto* dictionary = AcDbDictionary::cast(object))
    AddDictionaryEntries(impl, dictionary);
  else if (auto* group = AcDbGroup::cast(object))
    FollowGroupMembers(group);
}

}  // namespace tessera::db
