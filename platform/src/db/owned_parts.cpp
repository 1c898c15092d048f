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

void AddVertices(DatabaseImpl* impl, AcDbComplexEntity* entity) {
  auto& pending = ObjectAccess::pendingVertices(entity);
  for (AcDbVertex* vertex : pending)
    ObjectAccess::vertices(entity).push_back(AddPart(impl, vertex, entity->objectId()));
  pending.clear();
  if (ObjectAccess::sequenceEnd(entity).isNull())
    ObjectAccess::sequenceEnd(entity) = AddSequenceEnd(impl, entity->objectId());
}

void AddAttributes(DatabaseImpl* impl, AcDbBlockReference* reference) {
  auto& pending = ObjectAccess::pendingAttributes(reference);
  if (pending.empty()) return;
  for (AcDbAttribute* attribute : pending)
    ObjectAccess::attributes(reference).push_back(AddPart(impl, attribute, reference->objectId()));
  pending.clear();
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
  if (auto* complex = dynamic_cast<AcDbComplexEntity*>(object))
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
