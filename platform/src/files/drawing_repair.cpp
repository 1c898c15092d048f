#include "files/drawing_repair.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/per_class.h"
#include "files/dxf_layout.h"
#include "files/dxf_tags.h"
#include "files/saved_objects.h"

namespace tessera::files {
namespace {

using db::ObjectAccess;

constexpr int kReactorGroupCode = 102;
constexpr int kOwnerCode = 330;
constexpr int kDimensionStyleHandleCode = 105;

bool Gone(AcDbObjectId id) {
  return !id.isValid();
}

std::string NameOf(const AcDbObject* object) {
  if (auto* unknown = AcDbUnknownObject::cast(object)) return unknown->originalDxfName;
  if (auto* unknown = AcDbUnknownEntity::cast(object)) return unknown->originalDxfName;
  const char* name = object->isA()->dxfName();
  return name && *name ? name : object->isA()->name();
}

// What the repair looks at in an object beyond its followers and owner.
enum class RepairedPart {
  kNone,
  kKeptObjectTags,
  kKeptEntityTags,
  kBlockEntities,
  kVertices,
  kAttributes,
  kGroup,
  kDictionary
};

class ReferenceRepair {
 public:
  ReferenceRepair(db::DatabaseImpl* impl, std::vector<std::string>* repairs)
      : m_impl(impl), m_repairs(repairs) {
    keptHandles();
  }
  void object(AcDbObject* object);

 private:
  void report(const AcDbObject* object, const std::string& what) {
    if (m_repairs)
      m_repairs->push_back("the " + NameOf(object) + " " + object->objectId().handle().text() +
                           " " + what);
  }
  void dictionary(AcDbDictionary* dictionary);
  void group(AcDbGroup* group);
  void reactors(AcDbObject* object);
  bool owner(AcDbObject* object);
  void keptTags(AcDbObject* object, RawTags& tags, bool ownerTold);
  void keptHandles();
  // Whether the drawing has the object, or keeps its record as read (a text style, ...).
  bool exists(const std::string& handle) const {
    AcDbHandle parsed(handle.c_str());
    return m_impl->idForHandle(parsed).isValid() || m_kept.count(parsed.value()) != 0;
  }
  AcDbObjectId newOwner(const AcDbObject* object) const {
    return AcDbEntity::cast(object) ? m_impl->modelSpace : m_impl->namedObjects;
  }

  db::DatabaseImpl* m_impl;
  std::vector<std::string>* m_repairs;
  std::set<std::uint64_t> m_kept;
  db::PerClass<RepairedPart> m_parts;
  db::PerClass<bool> m_entityClass;
};

void ReferenceRepair::keptHandles() {
  for (const auto& [key, records] : m_impl->preservedDxf)
    for (const RawTags& record : key == preserved::kHandseed ? std::vector<RawTags>() : records)
      for (const auto& [code, value] : record)
        if (code == AcDb::kDxfHandle || code == kDimensionStyleHandleCode)
          m_kept.insert(AcDbHandle(value.c_str()).value());
}

void ReferenceRepair::dictionary(AcDbDictionary* dictionary) {
  std::vector<std::pair<std::string, AcDbObjectId>> dangling;
  for (const auto& [key, id] : dictionary->entries())
    if (Gone(id)) dangling.emplace_back(key, id);
  if (dangling.empty()) return;
  AcDbDictionary* opened = nullptr;
  if (acdbOpenObject(opened, dictionary->objectId(), AcDb::kForWrite) != Acad::eOk) return;
  for (const auto& [key, id] : dangling) {
    opened->remove(key.c_str());
    report(dictionary, "names " + id.handle().text() + " under \"" + key +
                           "\", which the drawing does not have: the entry is dropped");
  }
  opened->close();
}

void ReferenceRepair::group(AcDbGroup* group) {
  auto& members = ObjectAccess::groupMembers(group);
  std::erase_if(members, [&](AcDbObjectId member) {
    const AcDbObject* object = Peek(member);
    const bool entity = object != nullptr && m_entityClass.of(object->isA(), [&] {
      return AcDbEntity::cast(object) != nullptr;
    });
    if (!entity)
      report(group, "has member " + member.handle().text() +
                        ", which is not an entity of the drawing: dropped");
    return !entity;
  });
  // A group follows its members; files written by other programs may not say so.
  for (AcDbObjectId member : members) {
    auto& followers = ObjectAccess::persistentReactors(Peek(member));
    if (std::find(followers.begin(), followers.end(), group->objectId()) == followers.end())
      followers.push_back(group->objectId());
  }
}

void ReferenceRepair::reactors(AcDbObject* object) {
  auto& followers = ObjectAccess::persistentReactors(object);
  for (AcDbObjectId follower : followers)
    if (Gone(follower))
      report(object, "is followed by " + follower.handle().text() +
                         ", which the drawing does not have: dropped");
  followers.erase(std::remove_if(followers.begin(), followers.end(), Gone), followers.end());
}

// An object whose owner is not in the drawing goes to model space (an entity) or to the named
// objects; a drawing's own roots (tables, the named objects) own themselves.
// True when it re-owned the object.
bool ReferenceRepair::owner(AcDbObject* object) {
  AcDbObjectId owner = object->ownerId();
  if (owner.isNull() || owner.isValid() || m_kept.count(owner.handle().value())) return false;
  AcDbObjectId adopted = newOwner(object);
  if (adopted == object->objectId()) return false;
  ObjectAccess::setOwner(object, adopted);
  report(object, "is owned by " + owner.handle().text() +
                     ", which the drawing does not have: re-owned by " + adopted.handle().text());
  return true;
}

// References in the tags of an object kept as read: a reactor that is gone is dropped, an owner
// that is gone becomes the object's owner in the drawing (told once, if the object was just
// re-owned), another reference is cleared.
void ReferenceRepair::keptTags(AcDbObject* object, RawTags& tags, bool ownerTold) {
  bool inReactors = false;
  bool ownerSeen = false;
  for (auto tag = tags.begin(); tag != tags.end();) {
    auto& [code, value] = *tag;
    if (code == kReactorGroupCode) inReactors = value.rfind('{', 0) == 0;
    bool pointer = IsDxfPointerCode(code);
    bool isOwner = code == kOwnerCode && !inReactors && !ownerSeen;
    ownerSeen = ownerSeen || isOwner;
    if (!pointer || value.empty() || value == "0" || exists(value)) {
      ++tag;
      continue;
    }
    if (inReactors) {
      report(object, "is followed by " + value + ", which the drawing does not have: dropped");
      tag = tags.erase(tag);
      continue;
    }
    std::string replacement = isOwner ? object->ownerId().handle().text() : "0";
    if (isOwner && object->ownerId().isNull()) replacement = newOwner(object).handle().text();
    if (!(isOwner && ownerTold))
      report(object, std::string(isOwner ? "is owned by " : "refers to ") + value +
                         ", which the drawing does not have: " +
                         (isOwner ? "re-owned by " + replacement : "the reference is cleared"));
    value = replacement;
    ++tag;
  }
}

RepairedPart PartToRepair(const AcDbObject* object) {
  if (AcDbUnknownObject::cast(object)) return RepairedPart::kKeptObjectTags;
  if (AcDbUnknownEntity::cast(object)) return RepairedPart::kKeptEntityTags;
  if (AcDbBlockTableRecord::cast(object)) return RepairedPart::kBlockEntities;
  if (AcDbComplexEntity::cast(object)) return RepairedPart::kVertices;
  if (AcDbBlockReference::cast(object)) return RepairedPart::kAttributes;
  if (AcDbGroup::cast(object)) return RepairedPart::kGroup;
  if (AcDbDictionary::cast(object)) return RepairedPart::kDictionary;
  return RepairedPart::kNone;
}

void ReferenceRepair::object(AcDbObject* object) {
  reactors(object);
  const bool reowned = owner(object);
  switch (m_parts.of(object->isA(), [&] { return PartToRepair(object); })) {
    case RepairedPart::kKeptObjectTags:
      keptTags(object, AcDbUnknownObject::cast(object)->dxfTags, reowned);
      break;
    case RepairedPart::kKeptEntityTags:
      keptTags(object, AcDbUnknownEntity::cast(object)->dxfTags, reowned);
      break;
    case RepairedPart::kBlockEntities:
      std::erase_if(ObjectAccess::blockEntities(AcDbBlockTableRecord::cast(object)), Gone);
      break;
    case RepairedPart::kVertices: {
      auto* complex = AcDbComplexEntity::cast(object);
      std::erase_if(ObjectAccess::vertices(complex), Gone);
      if (Gone(ObjectAccess::sequenceEnd(complex))) ObjectAccess::sequenceEnd(complex).setNull();
      break;
    }
    case RepairedPart::kAttributes: {
      auto* reference = AcDbBlockReference::cast(object);
      std::erase_if(ObjectAccess::attributes(reference), Gone);
      if (Gone(ObjectAccess::sequenceEnd(reference)))
        ObjectAccess::sequenceEnd(reference).setNull();
      break;
    }
    case RepairedPart::kGroup:
      group(AcDbGroup::cast(object));
      break;
    case RepairedPart::kDictionary:
      dictionary(AcDbDictionary::cast(object));
      break;
    case RepairedPart::kNone:
      break;
  }
}

// Depth-first walk over the blocks that each block inserts.
class CycleFinder {
 public:
  std::vector<AcDbObjectId> find(AcDbObjectId block) {
    if (m_state[block] == kDone) return {};
    if (m_state[block] == kOnPath) {
      auto start = std::find(m_path.begin(), m_path.end(), block);
      return {start, m_path.end()};
    }
    m_state[block] = kOnPath;
    m_path.push_back(block);
    auto* record = AcDbBlockTableRecord::cast(Peek(block));
    for (AcDbObjectId id : record ? ObjectAccess::blockEntities(record) : NoEntities()) {
      auto* reference = AcDbBlockReference::cast(Peek(id));
      if (reference == nullptr || reference->blockTableRecord().isNull()) continue;
      std::vector<AcDbObjectId> cycle = find(reference->blockTableRecord());
      if (!cycle.empty()) return cycle;
    }
    m_path.pop_back();
    m_state[block] = kDone;
    return {};
  }

 private:
  static std::vector<AcDbObjectId>& NoEntities() {
    static std::vector<AcDbObjectId> none;
    return none;
  }
  enum State { kUnseen, kOnPath, kDone };
  std::map<AcDbObjectId, State> m_state;
  std::vector<AcDbObjectId> m_path;
};

std::string Quoted(AcDbObjectId block) {
  auto* record = AcDbBlockTableRecord::cast(Peek(block));
  return "\"" + std::string(record ? record->getNameConst() : "") + "\"";
}

}  // namespace

std::string BlockCycle(AcDbDatabase* database) {
  auto* table = AcDbBlockTable::cast(Peek(db::Impl(database)->blockTable));
  if (table == nullptr) return "";
  CycleFinder finder;
  for (AcDbObjectId block : table->recordIds()) {
    std::vector<AcDbObjectId> cycle = finder.find(block);
    if (cycle.empty()) continue;
    if (cycle.size() == 1) return "block " + Quoted(cycle.front()) + " inserts itself";
    std::string names;
    for (std::size_t i = 0; i < cycle.size(); ++i)
      names += (i == 0 ? "" : i + 1 == cycle.size() ? " and " : ", ") + Quoted(cycle[i]);
    return "blocks " + names + " insert one another";
  }
  return "";
}

void RepairReferences(AcDbDatabase* database, std::vector<std::string>* repairs) {
  std::vector<AcDbObjectId> all;
  all.reserve(db::Impl(database)->objectCount());
  db::Impl(database)->forEachObject([&](AcDbObjectId id) { all.push_back(id); });
  ReferenceRepair repair(db::Impl(database), repairs);
  for (AcDbObjectId id : all) repair.object(Peek(id));
}

void RepairCandidates::offer(AcDbObject* object) {
  ++m_offered;
  const bool lookedAt = m_lookedAt.of(object->isA(), [&] {
    const RepairedPart part = PartToRepair(object);
    return part == RepairedPart::kGroup || part == RepairedPart::kKeptObjectTags ||
           part == RepairedPart::kKeptEntityTags;
  });
  if (lookedAt && !object->objectId().isNull()) m_ids.push_back(object->objectId());
}

void RepairReferences(AcDbDatabase* database, const RepairCandidates& candidates,
                      std::vector<std::string>* repairs) {
  db::DatabaseImpl* impl = db::Impl(database);
  if (impl->idCount() != candidates.m_offered || !impl->everyIdNamesAnObject()) {
    RepairReferences(database, repairs);
    return;
  }
  ReferenceRepair repair(impl, repairs);
  for (AcDbObjectId id : candidates.m_ids) repair.object(Peek(id));
}

}  // namespace tessera::files
