// Groups: ordered collections of entities, kept in the group dictionary.
#include <algorithm>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/rx_define.h"

CAD_DEFINE_MEMBERS(AcDbGroup, AcDbObject, "GROUP")

using tessera::db::ObjectAccess;

namespace {

// The group follows its members as a persistent reactor; that bookkeeping is no edit of theirs.
void FollowMember(AcDbObjectId member, AcDbObjectId group) {
  if (member.stub() == nullptr || member.stub()->object == nullptr) return;
  auto& followers = ObjectAccess::persistentReactors(member.stub()->object);
  if (std::find(followers.begin(), followers.end(), group) == followers.end())
    followers.push_back(group);
}

void StopFollowing(AcDbObjectId member, AcDbObjectId group) {
  if (member.stub() == nullptr || member.stub()->object == nullptr) return;
  auto& followers = ObjectAccess::persistentReactors(member.stub()->object);
  followers.erase(std::remove(followers.begin(), followers.end(), group), followers.end());
}

// Undo of a member's coming or going: the member back at its place, or out again.
void RecordMemberChange(AcDbGroup* group, AcDbObjectId member, std::size_t position, bool added) {
  auto* impl = tessera::db::Impl(group->database());
  if (impl == nullptr || impl->loading) return;
  impl->undo().recordPartialChange(group, [member, position, added](AcDbObject* container) {
    auto& members = ObjectAccess::groupMembers(static_cast<AcDbGroup*>(container));
    if (added) {
      auto found = std::find(members.begin(), members.end(), member);
      if (found != members.end()) members.erase(found);
      StopFollowing(member, container->objectId());
      return;
    }
    members.insert(
        members.begin() + static_cast<std::ptrdiff_t>(std::min(position, members.size())), member);
    FollowMember(member, container->objectId());
  });
}

}  // namespace

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id) {
  if (id.isNull() || !id.isValid()) return Acad::eNullObjectId;
  if (AcDbEntity::cast(id.stub()->object) == nullptr) return Acad::eNotAnEntity;
  if (database() != nullptr && id.database() != database()) return Acad::eWrongDatabase;
  if (has(id)) return Acad::eOk;
  if (Acad::ErrorStatus status = assertWriteEnabled(false, true); status != Acad::eOk)
    return status;
  RecordMemberChange(this, id, m_members.size(), true);
  m_members.push_back(id);
  if (database() != nullptr) FollowMember(id, objectId());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(const AcDbObjectIdArray& ids) {
  for (const AcDbObjectId& id : ids)
    if (Acad::ErrorStatus status = append(id); status != Acad::eOk) return status;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id) {
  auto found = std::find(m_members.begin(), m_members.end(), id);
  if (found == m_members.end()) return Acad::eNotInGroup;
  if (Acad::ErrorStatus status = assertWriteEnabled(false, true); status != Acad::eOk)
    return status;
  RecordMemberChange(this, id, static_cast<std::size_t>(found - m_members.begin()), false);
  m_members.erase(found);
  StopFollowing(id, objectId());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::clear() {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  for (AcDbObjectId id : m_members) StopFollowing(id, objectId());
  m_members.clear();
  return Acad::eOk;
}

bool AcDbGroup::has(const AcDbEntity* entity) const {
  return entity != nullptr && has(entity->objectId());
}

bool AcDbGroup::has(AcDbObjectId id) const {
  return std::find(m_members.begin(), m_members.end(), id) != m_members.end();
}

Adesk::UInt32 AcDbGroup::allEntityIds(AcDbObjectIdArray& ids) const {
  ids.removeAll();
  for (AcDbObjectId id : m_members)
    if (!id.isErased()) ids.append(id);
  return static_cast<Adesk::UInt32>(ids.length());
}

std::string AcDbGroup::name() const {
  AcDbStub* owner = ownerId().stub();
  if (owner == nullptr || owner->object == nullptr) return "";
  auto* dictionary = AcDbDictionary::cast(owner->object);
  std::string key;
  if (dictionary != nullptr) dictionary->nameAt(objectId(), key);
  return key;
}

bool AcDbGroup::isAnonymous() const {
  std::string key = name();
  return key.empty() || key[0] == '*';
}

Acad::ErrorStatus AcDbGroup::setDescription(const char* description) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_description = description ? description : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setSelectable(bool selectable) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_selectable = selectable;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbObject::dwgOutFields(filer);
  filer->writeString(m_description);
  filer->writeBool(m_selectable);
  filer->writeInt32(static_cast<Adesk::Int32>(m_members.size()));
  for (AcDbObjectId id : m_members) filer->writeHardPointerId(id);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbGroup::dwgInFields(AcDbDwgFiler* filer) {
  AcDbObject::dwgInFields(filer);
  filer->readString(&m_description);
  filer->readBool(&m_selectable);
  Adesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Acad::eFilerError;
  std::vector<AcDbObjectId> members;
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    AcDbObjectId id;
    filer->readHardPointerId(&id);
    members.push_back(id);
  }
  if (filer->filerStatus() == Acad::eOk) m_members = std::move(members);
  return filer->filerStatus();
}
