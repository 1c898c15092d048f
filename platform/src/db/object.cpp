// The object core: open states, the first-change and close notifications, erasing, extended
// data and reactors.
#include <algorithm>

#include "cad/arx.h"
#include "cad/shared_name.h"
#include "db/database_impl.h"
#include "db/notify.h"
#include "db/object_access.h"
#include "db/rx_define.h"
#include "db/xdata.h"

CAD_DEFINE_ABSTRACT_MEMBERS(AcDbObject, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcDbObjectReactor, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcDbDwgFiler, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcDbDxfFiler, AcRxObject)

Acad::ErrorStatus AcDbDwgFiler::readName(tessera::db::SharedName* name) {
  std::string text;
  // A name read as the one it already is (its linetype, its style) is kept without a lookup.
  if (readString(&text) == Acad::eOk && text != name->str()) *name = text;
  return filerStatus();
}

Acad::ErrorStatus AcDbDwgFiler::writeName(const tessera::db::SharedName& name) {
  return writeString(name.c_str());
}

namespace {

using tessera::db::DatabaseImpl;
using tessera::db::Impl;

// A reactor that keeps changing the object it is told about could loop for ever; after this
// many rounds of modified-while-notifying the object is left as it is.
constexpr int kMaxNotifyRounds = 8;

bool IsResident(const AcDbStub* stub) {
  return stub != nullptr && stub->database != nullptr;
}

}  // namespace

AcDbObject::AcDbObject() = default;

AcDbObject::~AcDbObject() {
  if (m_stub != nullptr && m_stub->object == this) m_stub->object = nullptr;
}

AcDbObjectId AcDbObject::objectId() const {
  return AcDbObjectId(m_stub);
}

AcDbDatabase* AcDbObject::database() const {
  return m_stub ? m_stub->database : nullptr;
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId ownerId) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  m_ownerId = ownerId;
  return Acad::eOk;
}

bool AcDbObject::isReadEnabled() const {
  if (!IsResident(m_stub)) return true;
  return m_openMode == AcDb::kForWrite || m_readers > 0 || m_notifyDepth > 0;
}

bool AcDbObject::isWriteEnabled() const {
  return m_openMode == AcDb::kForWrite;
}

bool AcDbObject::isNotifyEnabled() const {
  return m_notifyDepth > 0;
}

bool AcDbObject::isNewObject() const {
  return m_new;
}

bool AcDbObject::isUndoing() const {
  const AcDbDatabase* owner = database();
  return owner != nullptr && owner->impl()->undo().isUndoing();
}

bool AcDbObject::isErased() const {
  return m_stub != nullptr && m_stub->erased;
}

Acad::ErrorStatus AcDbObject::assertReadEnabled() const {
  return isReadEnabled() ? Acad::eOk : Acad::eNotOpenForRead;
}

Acad::ErrorStatus AcDbObject::assertNotifyEnabled() const {
  return isNotifyEnabled() ? Acad::eOk : Acad::eNotOpenForRead;
}

namespace {

// The owner open for write whose change a sub-object's change counts as, or null.
AcDbObject* WritingOwner(const AcDbObject* object) {
  if (!tessera::db::ObjectAccess::isSubObject(object)) return nullptr;
  AcDbStub* ownerStub = object->ownerId().stub();
  if (ownerStub == nullptr || ownerStub->object == nullptr) return nullptr;
  return ownerStub->object->isWriteEnabled() ? ownerStub->object : nullptr;
}

void RecordUndoOnce(AcDbObject* object, DatabaseImpl* impl) {
  bool& recorded = tessera::db::ObjectAccess::undoRecorded(object);
  if (recorded) return;
  recorded = true;
  impl->undo().recordBeforeChange(object);
}

// The first change of an object in a write session: undo, then the notification.
void MarkFirstChange(AcDbObject* object, DatabaseImpl* impl) {
  using tessera::db::ObjectAccess;
  if (ObjectAccess::modified(object)) return;
  ObjectAccess::modified(object) = true;
  impl->objectChanged(ObjectAccess::stub(object));
  if (!ObjectAccess::isNew(object)) tessera::db::NotifyOpenedForModify(object);
}

}  // namespace

Acad::ErrorStatus AcDbObject::assertWriteEnabled(bool autoUndo, bool recordModified) {
  if (m_openMode != AcDb::kForWrite) return Acad::eNotOpenForWrite;
  DatabaseImpl* impl = IsResident(m_stub) ? Impl(m_stub->database) : nullptr;
  if (impl == nullptr || impl->loading) return Acad::eOk;
  if (autoUndo) RecordUndoOnce(this, impl);
  if (!recordModified) return Acad::eOk;
  if (m_new) {
    m_modified = true;
    return Acad::eOk;
  }
  if (AcDbObject* owner = WritingOwner(this)) {
    m_changedAsSubObject = true;
    RecordUndoOnce(owner, impl);
    MarkFirstChange(owner, impl);
    return Acad::eOk;
  }
  MarkFirstChange(this, impl);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (m_openMode == AcDb::kForWrite) return Acad::eOk;
  if (m_notifyDepth > 0 && m_readers == 0) {
    m_openMode = AcDb::kForWrite;
    return Acad::eOk;
  }
  if (m_readers > 1) return Acad::eHadMultipleReaders;
  if (m_readers == 0) return Acad::eNotOpenForRead;
  m_readers = 0;
  m_openMode = AcDb::kForWrite;
  return Acad::eOk;
}

namespace {

// Sends the modified notifications of a write session that changed the object; the 2D
// polyline's sequence end reports after it, as the host's older releases rely on.
void SendModified(AcDbObject* object) {
  tessera::db::NotifyModified(object);
  auto* polyline = AcDb2dPolyline::cast(object);
  if (polyline == nullptr) return;
  AcDbStub* endStub = polyline->sequenceEndId().stub();
  if (endStub != nullptr && endStub->object != nullptr)
    tessera::db::NotifyModified(endStub->object);
}

}  // namespace

// Ends a write session: the object is readable by reactors while they hear of the change; a
// reactor may upgrade it and change it again, which is reported in another round.
static void EndWrite(AcDbObject* object) {
  using tessera::db::ObjectAccess;
  bool notifyOwnChange = !ObjectAccess::isNew(object) || ObjectAccess::modified(object);
  if (ObjectAccess::isNew(object) || ObjectAccess::modified(object) ||
      ObjectAccess::changedAsSubObject(object)) {
    if (DatabaseImpl* impl = Impl(object->database()))
      impl->objectChanged(ObjectAccess::stub(object));
  }
  ObjectAccess::openMode(object) = -1;
  ObjectAccess::isNew(object) = false;
  ObjectAccess::undoRecorded(object) = false;
  if (ObjectAccess::changedAsSubObject(object)) {
    ObjectAccess::changedAsSubObject(object) = false;
    ObjectAccess::modified(object) = false;
    return;
  }
  for (int round = 0; round < kMaxNotifyRounds && ObjectAccess::modified(object); ++round) {
    ObjectAccess::modified(object) = false;
    if (!notifyOwnChange) break;
    ++ObjectAccess::notifyDepth(object);
    SendModified(object);
    --ObjectAccess::notifyDepth(object);
    ObjectAccess::openMode(object) = -1;
    ObjectAccess::undoRecorded(object) = false;
  }
  ObjectAccess::modified(object) = false;
}

Acad::ErrorStatus AcDbObject::close() {
  if (!IsResident(m_stub)) return Acad::eOk;
  if (m_openMode == AcDb::kForWrite && m_notifyDepth == 0) {
    EndWrite(this);
    return Acad::eOk;
  }
  if (m_readers > 0) --m_readers;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::cancel() {
  if (m_openMode == AcDb::kForWrite) {
    m_openMode = -1;
    m_modified = false;
    m_new = false;
    m_undoRecorded = false;
  } else if (m_readers > 0) {
    --m_readers;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (m_openMode != AcDb::kForWrite) return Acad::eNotOpenForWrite;
  EndWrite(this);
  ++m_readers;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  if (!IsResident(m_stub)) return Acad::eNotInDatabase;
  if (m_openMode != AcDb::kForWrite) return Acad::eNotOpenForWrite;
  if (m_stub->erased == erasing) return Acad::eOk;
  DatabaseImpl* impl = Impl(m_stub->database);
  if (!impl->loading) impl->undo().recordErased(objectId(), erasing);
  m_stub->erased = erasing;
  impl->objectChanged(m_stub);
  tessera::db::NotifyErased(this, erasing);
  return Acad::eOk;
}

resbuf* AcDbObject::xData(const char* application) const {
  return tessera::db::CopyXData(m_xdata, application);
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  if (!tessera::db::MergeXData(m_xdata, xdata)) return Acad::eInvalidInput;
  if (AcDbDatabase* db = database()) tessera::db::RegisterXDataApplications(db, xdata);
  return Acad::eOk;
}

AcDbObject::Rare& AcDbObject::rare() const {
  if (!m_rare) m_rare = std::make_unique<Rare>();
  return *m_rare;
}

AcDbObject::KeptProperties& AcDbObject::keptPropertiesForWrite() {
  Rare& fields = rare();
  if (!fields.keptProperties) fields.keptProperties = std::make_unique<KeptProperties>();
  return *fields.keptProperties;
}

void AcDbObject::addReactor(AcDbObjectReactor* reactor) const {
  if (reactor != nullptr && !hasReactor(reactor)) rare().reactors.push_back(reactor);
}

void AcDbObject::removeReactor(AcDbObjectReactor* reactor) const {
  if (!m_rare) return;
  std::erase(m_rare->reactors, reactor);
}

bool AcDbObject::hasReactor(const AcDbObjectReactor* reactor) const {
  return m_rare && std::find(m_rare->reactors.begin(), m_rare->reactors.end(), reactor) !=
                       m_rare->reactors.end();
}

void AcDbObject::addPersistentReactor(AcDbObjectId id) {
  if (assertWriteEnabled() != Acad::eOk) return;
  if (std::find(m_persistentReactors.begin(), m_persistentReactors.end(), id) ==
      m_persistentReactors.end())
    m_persistentReactors.push_back(id);
}

Acad::ErrorStatus AcDbObject::removePersistentReactor(AcDbObjectId id) {
  if (Acad::ErrorStatus status = assertWriteEnabled(); status != Acad::eOk) return status;
  auto found = std::find(m_persistentReactors.begin(), m_persistentReactors.end(), id);
  if (found == m_persistentReactors.end()) return Acad::eKeyNotFound;
  m_persistentReactors.erase(found, found + 1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::dwgOutFields(AcDbDwgFiler* filer) const {
  return tessera::db::FileXData(filer, m_xdata);
}

Acad::ErrorStatus AcDbObject::dwgInFields(AcDbDwgFiler* filer) {
  Acad::ErrorStatus status = tessera::db::ReadXData(filer, m_xdata);
  if (status != Acad::eOk) return status;
  return filer->filerStatus();
}

AcDbObjectIterator::AcDbObjectIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}

AcDbEntity* AcDbObjectIterator::entity() {
  AcDbEntity* opened = nullptr;
  if (acdbOpenAcDbEntity(opened, objectId(), AcDb::kForRead) != Acad::eOk) return nullptr;
  return opened;
}
