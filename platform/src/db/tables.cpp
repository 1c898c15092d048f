// Symbol tables and their records: layers, blocks, registered applications.
#include <algorithm>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/owned_parts.h"
#include "db/rx_define.h"
#include "lisp/value.h"

CAD_DEFINE_ABSTRACT_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcDbSymbolTable, AcDbObject)
CAD_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, "LAYER")
CAD_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable, "TABLE")
CAD_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, "BLOCK_RECORD")
CAD_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, "TABLE")
CAD_DEFINE_MEMBERS(AcDbRegAppTableRecord, AcDbSymbolTableRecord, "APPID")
CAD_DEFINE_MEMBERS(AcDbRegAppTable, AcDbSymbolTable, "TABLE")

using tessera::db::ObjectAccess;

namespace {

// Symbol names compare without regard to ASCII case, as the host's do.
std::string NameKey(const std::string& name) {
  return tessera::lisp::ToUpperAscii(name);
}

bool IsUsableName(const char* name) {
  return name != nullptr && *name != '\0';
}

}  // namespace

Acad::ErrorStatus AcDbSymbolTableRecord::getName(std::string& name) const {
  name = m_name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const char* name) {
  if (!IsUsableName(name)) return Acad::eInvalidSymbolTableName;
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_name = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbObject::dwgOutFields(filer);
  filer->writeString(m_name);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgInFields(AcDbDwgFiler* filer) {
  AcDbObject::dwgInFields(filer);
  filer->readString(&m_name);
  return filer->filerStatus();
}

namespace tessera::db {
void ObjectAccess::addTableRecord(AcDbSymbolTable* table, AcDbObjectId id,
                                  const std::string& name) {
  table->m_order.push_back(id);
  table->m_byName[NameKey(name)] = id;
}

void ObjectAccess::rebuildTableIndex(AcDbSymbolTable* table) {
  table->m_byName.clear();
  for (AcDbObjectId id : table->m_order) {
    if (id.stub() == nullptr || id.stub()->object == nullptr) continue;
    if (auto* record = AcDbSymbolTableRecord::cast(id.stub()->object))
      table->m_byName[NameKey(record->getNameConst())] = id;
  }
}
}  // namespace tessera::db

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbObjectId& id, bool getErased) const {
  id.setNull();
  if (!IsUsableName(name)) return Acad::eInvalidInput;
  auto found = m_byName.find(NameKey(name));
  if (found == m_byName.end()) return Acad::eKeyNotFound;
  if (found->second.isErased() && !getErased) return Acad::eKeyNotFound;
  id = found->second;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbSymbolTableRecord*& record,
                                         AcDb::OpenMode mode, bool openErased) const {
  record = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = getAt(name, id, openErased); status != Acad::eOk) return status;
  return acdbOpenObject(record, id, mode, openErased);
}

bool AcDbSymbolTable::has(const char* name) const {
  AcDbObjectId id;
  return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  return !id.isErased() && std::find(m_order.begin(), m_order.end(), id) != m_order.end();
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
  if (record == nullptr) return Acad::eNullObjectId;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  std::string name;
  record->getName(name);
  if (name.empty()) return Acad::eInvalidSymbolTableName;
  if (has(name.c_str())) return Acad::eDuplicateRecordName;
  auto* impl = tessera::db::Impl(database());
  if (impl == nullptr) return Acad::eNotInDatabase;
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  id = impl->addObject(record, objectId());
  if (id.isNull()) return Acad::eAlreadyInDb;
  ObjectAccess::addTableRecord(this, id, name);
  tessera::db::AddOwnedParts(record);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
  AcDbObjectId id;
  return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipErased) const {
  std::vector<AcDbObjectId> ids;
  for (AcDbObjectId id : m_order)
    if (!skipErased || !id.isErased()) ids.push_back(id);
  if (!atBeginning) std::reverse(ids.begin(), ids.end());
  iterator = new AcDbSymbolTableIterator(std::move(ids));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbObject::dwgOutFields(filer);
  filer->writeInt32(static_cast<Adesk::Int32>(m_order.size()));
  for (AcDbObjectId id : m_order) filer->writeHardOwnershipId(id);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTable::dwgInFields(AcDbDwgFiler* filer) {
  AcDbObject::dwgInFields(filer);
  Adesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Acad::eFilerError;
  std::vector<AcDbObjectId> order;
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    AcDbObjectId id;
    filer->readHardOwnershipId(&id);
    order.push_back(id);
  }
  if (filer->filerStatus() != Acad::eOk) return filer->filerStatus();
  m_order.clear();
  m_byName.clear();
  for (AcDbObjectId id : order) {
    m_order.push_back(id);
    // Names of records not read yet are entered when the records are (see RefreshNames).
    if (id.stub() && id.stub()->object)
      if (auto* record = AcDbSymbolTableRecord::cast(id.stub()->object))
        m_byName[NameKey(record->getNameConst())] = id;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_ids[m_position];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record,
                                                     AcDb::OpenMode mode, bool openErased) const {
  record = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenObject(record, m_ids[m_position], mode, openErased);
}

void AcDbLayerTableRecord::setColorIndex(Adesk::UInt16 color) {
  if (assertWriteEnabled() == Acad::eOk) m_color = color;
}
void AcDbLayerTableRecord::setLinetypeName(const char* name) {
  if (name != nullptr && assertWriteEnabled() == Acad::eOk) m_linetype = name;
}
void AcDbLayerTableRecord::setIsOff(bool off) {
  if (assertWriteEnabled() == Acad::eOk) m_off = off;
}
void AcDbLayerTableRecord::setIsFrozen(bool frozen) {
  if (assertWriteEnabled() == Acad::eOk) m_frozen = frozen;
}
void AcDbLayerTableRecord::setIsLocked(bool locked) {
  if (assertWriteEnabled() == Acad::eOk) m_locked = locked;
}

Acad::ErrorStatus AcDbLayerTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbSymbolTableRecord::dwgOutFields(filer);
  filer->writeUInt16(m_color);
  filer->writeString(m_linetype);
  filer->writeBool(m_off);
  filer->writeBool(m_frozen);
  filer->writeBool(m_locked);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbLayerTableRecord::dwgInFields(AcDbDwgFiler* filer) {
  AcDbSymbolTableRecord::dwgInFields(filer);
  filer->readUInt16(&m_color);
  filer->readString(&m_linetype);
  filer->readBool(&m_off);
  filer->readBool(&m_frozen);
  filer->readBool(&m_locked);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbLayerTable::getAt(const char* name, AcDbLayerTableRecord*& record,
                                        AcDb::OpenMode mode, bool openErased) const {
  record = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = AcDbSymbolTable::getAt(name, id, openErased); status != Acad::eOk)
    return status;
  return acdbOpenObject(record, id, mode, openErased);
}

Acad::ErrorStatus AcDbBlockTable::getAt(const char* name, AcDbBlockTableRecord*& record,
                                        AcDb::OpenMode mode, bool openErased) const {
  record = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = AcDbSymbolTable::getAt(name, id, openErased); status != Acad::eOk)
    return status;
  return acdbOpenObject(record, id, mode, openErased);
}

AcDbBlockTableRecord::~AcDbBlockTableRecord() {
  for (AcDbEntity* pending : m_pendingEntities) delete pending;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
  id.setNull();
  if (entity == nullptr) return Acad::eNullObjectId;
  if (entity->database() != nullptr) return Acad::eAlreadyInDb;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  auto* impl = tessera::db::Impl(database());
  if (impl == nullptr) {
    m_pendingEntities.push_back(entity);
    return Acad::eOk;
  }
  tessera::db::PrepareForDrawing(entity, database());
  id = impl->addObject(entity, objectId());
  m_entities.push_back(id);
  tessera::db::AddOwnedParts(entity);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator,
                                                    bool atBeginning, bool skipErased) const {
  std::vector<AcDbObjectId> ids;
  ids.reserve(m_entities.size());
  for (AcDbObjectId id : m_entities)
    if (!skipErased || !id.isErased()) ids.push_back(id);
  if (!atBeginning) std::reverse(ids.begin(), ids.end());
  iterator = new AcDbBlockTableRecordIterator(std::move(ids));
  return Acad::eOk;
}

void AcDbBlockTableRecord::setOrigin(const AcGePoint3d& origin) {
  if (assertWriteEnabled() == Acad::eOk) m_origin = origin;
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
  for (AcDbObjectId id : m_entities)
    if (!id.isErased() && id.stub()->object && AcDbAttributeDefinition::cast(id.stub()->object))
      return true;
  return false;
}

bool AcDbBlockTableRecord::isLayout() const {
  std::string key = NameKey(getNameConst());
  return key == NameKey(ACDB_MODEL_SPACE) || key.rfind(NameKey(ACDB_PAPER_SPACE), 0) == 0;
}

bool AcDbBlockTableRecord::isAnonymous() const {
  return getNameConst()[0] == '*' && !isLayout();
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbSymbolTableRecord::dwgOutFields(filer);
  filer->writePoint3d(m_origin);
  filer->writeString(m_comments);
  // A file keeps what a save keeps: an erased entity goes (undo and copies keep it listed).
  const bool toFile = filer->filerType() == AcDb::kFileFiler;
  const auto filed = [&](AcDbObjectId id) { return !toFile || !id.isErased(); };
  filer->writeInt32(
      static_cast<Adesk::Int32>(std::count_if(m_entities.begin(), m_entities.end(), filed)));
  for (AcDbObjectId id : m_entities)
    if (filed(id)) filer->writeHardOwnershipId(id);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgInFields(AcDbDwgFiler* filer) {
  AcDbSymbolTableRecord::dwgInFields(filer);
  filer->readPoint3d(&m_origin);
  filer->readString(&m_comments);
  Adesk::Int32 count = 0;
  filer->readInt32(&count);
  if (count < 0) return Acad::eFilerError;
  std::vector<AcDbObjectId> entities;
  entities.reserve(static_cast<std::size_t>(std::min(count, 1 << 20)));
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    AcDbObjectId id;
    filer->readHardOwnershipId(&id);
    entities.push_back(id);
  }
  if (filer->filerStatus() == Acad::eOk) m_entities = std::move(entities);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_ids[m_position];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErased) const {
  entity = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenAcDbEntity(entity, m_ids[m_position], mode, openErased);
}
