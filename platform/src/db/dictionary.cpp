// Dictionaries: keyed entries in insertion order, constant-time lookups.
#include <string>
#include <string_view>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/owned_parts.h"
#include "db/rx_define.h"

using tessera::db::DatabaseImpl;
using tessera::db::Impl;

CAD_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, "DICTIONARY")

using tessera::db::ObjectAccess;

namespace {

// Keys compare without regard to the case of ASCII letters, whatever the process's locale; the
// bytes of other characters stay as they are.
std::string KeyOf(std::string_view key) {
  std::string upper(key);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// The prefix of the names the host gives anonymous entries (anonymous groups: "*A1", ...).
constexpr const char* kAnonymousKey = "*";
constexpr const char* kAnonymousPrefix = "*A";

}  // namespace

namespace tessera::db {
void ObjectAccess::removeDictionaryEntry(AcDbDictionary* dictionary, const std::string& key) {
  auto existing = dictionary->m_index.find(KeyOf(key));
  if (existing == dictionary->m_index.end()) return;
  dictionary->m_byId.erase(existing->second->second.stub());
  dictionary->m_entries.erase(existing->second);
  dictionary->m_index.erase(existing);
}

void ObjectAccess::insertDictionaryEntry(AcDbDictionary* dictionary, const std::string& key,
                                         AcDbObjectId id, const std::string& beforeKey) {
  auto [indexed, added] = dictionary->m_index.try_emplace(KeyOf(key));
  if (!added) {
    // The entry it replaces goes, wherever it stood.
    dictionary->m_byId.erase(indexed->second->second.stub());
    dictionary->m_entries.erase(indexed->second);
  }
  auto at = dictionary->m_entries.end();
  if (!beforeKey.empty()) {
    auto before = dictionary->m_index.find(KeyOf(beforeKey));
    if (before != dictionary->m_index.end() && before != indexed) at = before->second;
  }
  indexed->second = dictionary->m_entries.emplace(at, key, id);
  dictionary->m_byId[id.stub()] = indexed->second;
}

void ObjectAccess::addDictionaryEntry(AcDbDictionary* dictionary, const std::string& key,
                                      AcDbObjectId id) {
  insertDictionaryEntry(dictionary, key, id, {});
}

void ObjectAccess::recordDictionaryEntry(AcDbDictionary* dictionary, const std::string& key) {
  DatabaseImpl* impl = Impl(dictionary->database());
  if (impl == nullptr || impl->loading) return;
  auto found = dictionary->m_index.find(KeyOf(key));
  if (found == dictionary->m_index.end()) {
    impl->undo().recordPartialChange(dictionary, [key](AcDbObject* container) {
      removeDictionaryEntry(static_cast<AcDbDictionary*>(container), key);
    });
    return;
  }
  // Named copies, not structured bindings: clang 14 (the fuzz build) cannot capture those.
  const std::string oldKey = found->second->first;
  const AcDbObjectId oldId = found->second->second;
  auto next = std::next(found->second);
  std::string nextKey = next == dictionary->m_entries.end() ? std::string() : next->first;
  impl->undo().recordPartialChange(dictionary, [oldKey, oldId, nextKey](AcDbObject* container) {
    insertDictionaryEntry(static_cast<AcDbDictionary*>(container), oldKey, oldId, nextKey);
  });
}
}  // namespace tessera::db

AcDbDictionary::~AcDbDictionary() {
  for (auto& [key, object] : m_pending) delete object;
}

Acad::ErrorStatus AcDbDictionary::getAt(const char* key, AcDbObjectId& id) const {
  id.setNull();
  if (key == nullptr) return Acad::eInvalidKey;
  auto found = m_index.find(KeyOf(key));
  if (found == m_index.end() || found->second->second.isErased()) return Acad::eKeyNotFound;
  id = found->second->second;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::getAt(const char* key, AcDbObject*& object,
                                        AcDb::OpenMode mode) const {
  object = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = getAt(key, id); status != Acad::eOk) return status;
  return acdbOpenAcDbObject(object, id, mode);
}

bool AcDbDictionary::has(const char* key) const {
  AcDbObjectId id;
  return getAt(key, id) == Acad::eOk;
}

bool AcDbDictionary::has(AcDbObjectId id) const {
  return !id.isErased() && m_byId.count(id.stub()) > 0;
}

namespace {

std::string AnonymousKey(const AcDbDictionary* dictionary) {
  for (unsigned n = dictionary->numEntries() + 1;; ++n) {
    std::string key = kAnonymousPrefix + std::to_string(n);
    if (!dictionary->has(key.c_str())) return key;
  }
}

}  // namespace

Acad::ErrorStatus AcDbDictionary::setAt(const char* key, AcDbObject* newValue, AcDbObjectId& id) {
  id.setNull();
  if (key == nullptr || *key == '\0') return Acad::eInvalidKey;
  if (newValue == nullptr) return Acad::eNullObjectId;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  std::string entryKey = std::string(key) == kAnonymousKey ? AnonymousKey(this) : key;
  auto* impl = tessera::db::Impl(database());
  if (impl == nullptr) {
    m_pending.emplace_back(entryKey, newValue);
    return Acad::eOk;
  }
  if (newValue->database() != nullptr && newValue->database() != database())
    return Acad::eWrongDatabase;
  if (Acad::ErrorStatus status = assertWriteEnabled(false, true); status != Acad::eOk)
    return status;
  ObjectAccess::recordDictionaryEntry(this, entryKey);
  AcDbObjectId replaced;
  getAt(entryKey.c_str(), replaced);
  if (newValue->database() == nullptr) {
    id = impl->addObject(newValue, objectId());
    tessera::db::AddOwnedParts(newValue);
  } else {
    id = newValue->objectId();
    ObjectAccess::setOwner(newValue, objectId());
  }
  ObjectAccess::addDictionaryEntry(this, entryKey, id);
  if (!replaced.isNull() && replaced != id) {
    AcDbObject* old = nullptr;
    if (acdbOpenAcDbObject(old, replaced, AcDb::kForWrite) == Acad::eOk) {
      old->erase();
      old->close();
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const char* key, AcDbObjectId& returnId) {
  returnId.setNull();
  if (key == nullptr) return Acad::eInvalidKey;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  auto found = m_index.find(KeyOf(key));
  if (found == m_index.end()) return Acad::eKeyNotFound;
  if (Acad::ErrorStatus status = assertWriteEnabled(false, true); status != Acad::eOk)
    return status;
  returnId = found->second->second;
  ObjectAccess::recordDictionaryEntry(this, key);
  ObjectAccess::removeDictionaryEntry(this, key);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const char* key) {
  AcDbObjectId id;
  return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId id) {
  std::string key;
  if (Acad::ErrorStatus status = nameAt(id, key); status != Acad::eOk) return status;
  return remove(key.c_str());
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, std::string& key) const {
  auto found = m_byId.find(id.stub());
  if (found == m_byId.end()) return Acad::eKeyNotFound;
  key = found->second->first;
  return Acad::eOk;
}

std::vector<std::pair<std::string, AcDbObjectId>> AcDbDictionary::entries() const {
  std::vector<std::pair<std::string, AcDbObjectId>> result;
  result.reserve(m_entries.size());
  for (const auto& entry : m_entries)
    if (!entry.second.isErased()) result.push_back(entry);
  return result;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const {
  return new AcDbDictionaryIterator(entries());
}

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& object,
                                                    AcDb::OpenMode mode) const {
  object = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenAcDbObject(object, m_entries[m_position].second, mode);
}

Acad::ErrorStatus AcDbDictionary::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbObject::dwgOutFields(filer);
  filer->writeBool(m_hardOwner);
  filer->writeInt32(static_cast<Adesk::Int32>(m_entries.size()));
  for (const auto& [key, id] : m_entries) {
    filer->writeString(key);
    filer->writeSoftOwnershipId(id);
  }
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbDictionary::dwgInFields(AcDbDwgFiler* filer) {
  AcDbObject::dwgInFields(filer);
  filer->readBool(&m_hardOwner);
  Adesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Acad::eFilerError;
  std::vector<std::pair<std::string, AcDbObjectId>> read;
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    std::string key;
    AcDbObjectId id;
    filer->readString(&key);
    filer->readSoftOwnershipId(&id);
    read.emplace_back(key, id);
  }
  if (filer->filerStatus() != Acad::eOk) return filer->filerStatus();
  m_entries.clear();
  m_index.clear();
  m_byId.clear();
  for (const auto& [key, id] : read) ObjectAccess::addDictionaryEntry(this, key, id);
  return Acad::eOk;
}
