#include "files/drawing_repair.h"

#include <algorithm>
#include <string>
#include <vector>

#include "db/database_impl.h"
#include "db/object_access.h"
#include "files/saved_objects.h"

namespace tessera::files {
namespace {

using db::ObjectAccess;

bool Gone(AcDbObjectId id) {
  return !id.isValid();
}

void RepairDictionary(AcDbDictionary* dictionary) {
  std::vector<std::string> dangling;
  for (const auto& [key, id] : dictionary->entries())
    if (Gone(id)) dangling.push_back(key);
  if (dangling.empty()) return;
  AcDbDictionary* opened = nullptr;
  if (acdbOpenObject(opened, dictionary->objectId(), AcDb::kForWrite) != Acad::eOk) return;
  for (const std::string& key : dangling) opened->remove(key.c_str());
  opened->close();
}

void RepairGroup(AcDbGroup* group) {
  auto& members = ObjectAccess::groupMembers(group);
  std::erase_if(members, [](AcDbObjectId id) { return AcDbEntity::cast(Peek(id)) == nullptr; });
  // A group follows its members; files written by other programs may not say so.
  for (AcDbObjectId member : members) {
    auto& followers = ObjectAccess::persistentReactors(Peek(member));
    if (std::find(followers.begin(), followers.end(), group->objectId()) == followers.end())
      followers.push_back(group->objectId());
  }
}

void RepairObject(AcDbObject* object) {
  std::erase_if(ObjectAccess::persistentReactors(object), Gone);
  if (auto* block = AcDbBlockTableRecord::cast(object)) {
    std::erase_if(ObjectAccess::blockEntities(block), Gone);
  } else if (auto* complex = dynamic_cast<AcDbComplexEntity*>(object)) {
    std::erase_if(ObjectAccess::vertices(complex), Gone);
    if (Gone(ObjectAccess::sequenceEnd(complex))) ObjectAccess::sequenceEnd(complex).setNull();
  } else if (auto* reference = AcDbBlockReference::cast(object)) {
    std::erase_if(ObjectAccess::attributes(reference), Gone);
    if (Gone(ObjectAccess::sequenceEnd(reference))) ObjectAccess::sequenceEnd(reference).setNull();
  } else if (auto* group = AcDbGroup::cast(object)) {
    RepairGroup(group);
  } else if (auto* dictionary = AcDbDictionary::cast(object)) {
    RepairDictionary(dictionary);
  }
}

}  // namespace

void RepairReferences(AcDbDatabase* database) {
  std::vector<AcDbObjectId> all;
  db::Impl(database)->forEachObject([&](AcDbObjectId id) { all.push_back(id); });
  for (AcDbObjectId id : all) RepairObject(Peek(id));
}

}  // namespace tessera::files
