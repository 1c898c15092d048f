// The drawing database: handles, well-known objects, opening objects by id.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/live_databases.h"
#include "db/notify.h"
#include "db/object_access.h"
#include "db/rx_define.h"
#include "db/sorted_handles.h"
#include "platform/search_path.h"

CAD_DEFINE_ABSTRACT_MEMBERS(AcDbDatabaseReactor, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcDbDatabase, AcRxObject)

namespace tessera::db {
namespace {

// Never destroyed: a program may hold a drawing in a static of its own, made before this set
// and so destroyed after it.
std::set<AcDbDatabase*>& Live() {
  static auto* live = new std::set<AcDbDatabase*>;
  return *live;
}

bool& LeaveClosedDrawings() {
  static bool leave = false;
  return leave;
}

// The insides of drawings left to the process's end; kept reachable, never freed.
std::vector<std::unique_ptr<DatabaseImpl>>& LeftToProcessEnd() {
  static auto* left = new std::vector<std::unique_ptr<DatabaseImpl>>;
  return *left;
}

}  // namespace

std::vector<AcDbDatabase*> LiveDatabases() {
  return {Live().begin(), Live().end()};
}

void LeaveClosedDrawingsToProcessEnd(bool leave) {
  LeaveClosedDrawings() = leave;
}

DatabaseImpl::DatabaseImpl(AcDbDatabase* owner)
    : m_owner(owner), m_undo(std::make_unique<UndoLog>(owner)) {}

DatabaseImpl::~DatabaseImpl() = default;

AcDbStub* DatabaseImpl::newStub(std::uint64_t handle) {
  AcDbStub& stub = m_stubs.emplace_back();
  stub.handle = handle;
  stub.database = m_owner;
  if (m_ascending.empty() || handle > m_ascending.back()->handle)
    m_ascending.push_back(&stub);
  else
    m_scattered[handle] = &stub;
  if (handle >= m_nextHandle) m_nextHandle = handle + 1;
  return &stub;
}

namespace {

void MakeResident(AcDbObject* object, AcDbStub* stub, AcDbObjectId ownerId) {
  stub->object = object;
  stub->erased = false;
  ObjectAccess::setStub(object, stub);
  ObjectAccess::setOwner(object, ownerId);
  ObjectAccess::isNew(object) = true;
  ObjectAccess::modified(object) = false;
}

}  // namespace

AcDbStub* DatabaseImpl::stubOf(std::uint64_t handle) const {
  const auto found = FindSortedHandle(m_ascending.begin(), m_ascending.end(), handle,
                                      [](const AcDbStub* stub) { return stub->handle; });
  if (found != m_ascending.end()) return *found;
  auto scattered = m_scattered.find(handle);
  return scattered == m_scattered.end() ? nullptr : scattered->second;
}

AcDbObjectId DatabaseImpl::addObject(AcDbObject* object, AcDbObjectId ownerId) {
  if (object == nullptr || ObjectAccess::stub(object) != nullptr) return AcDbObjectId();
  AcDbStub* stub = newStub(m_nextHandle);
  MakeResident(object, stub, ownerId);
  if (!loading) {
    m_undo->recordCreated(AcDbObjectId(stub));
    NotifyAppended(object);
  }
  return AcDbObjectId(stub);
}

Acad::ErrorStatus DatabaseImpl::addObjectWithHandle(AcDbObject* object, AcDbHandle handle,
                                                    AcDbObjectId ownerId, AcDbObjectId& id) {
  if (object == nullptr) return Acad::eNullObjectId;
  if (handle.isNull()) return Acad::eNullHandle;
  if (ObjectAccess::stub(object) != nullptr) return Acad::eAlreadyInDb;
  AcDbStub* stub = stubOf(handle.value());
  if (stub != nullptr && stub->object != nullptr) return Acad::eHandleInUse;
  if (stub == nullptr) stub = newStub(handle.value());
  MakeResident(object, stub, ownerId);
  id = AcDbObjectId(stub);
  if (changeObserver) changeObserver->everythingChanged();
  return Acad::eOk;
}

AcDbObjectId DatabaseImpl::idForHandle(AcDbHandle handle, bool create) {
  if (handle.isNull()) return AcDbObjectId();
  if (AcDbStub* stub = stubOf(handle.value())) return AcDbObjectId(stub);
  return create ? AcDbObjectId(newStub(handle.value())) : AcDbObjectId();
}

// A file's handles come in any order: the new stubs are sorted once and merged into the sorted
// list, which would otherwise take only those above its last and leave the rest to the map.
void DatabaseImpl::makeStubs(const std::vector<std::uint64_t>& handles) {
  const auto byHandle = [](const AcDbStub* a, const AcDbStub* b) { return a->handle < b->handle; };
  std::vector<AcDbStub*> made;
  made.reserve(handles.size());
  for (std::uint64_t handle : handles) {
    if (stubOf(handle) != nullptr) continue;
    AcDbStub& stub = m_stubs.emplace_back();
    stub.handle = handle;
    stub.database = m_owner;
    made.push_back(&stub);
    if (handle >= m_nextHandle) m_nextHandle = handle + 1;
  }
  SortByHandle(made, [](const AcDbStub* stub) { return stub->handle; });
  // A handle given twice keeps its first stub in the list; the other stays unreachable.
  made.erase(
      std::unique(made.begin(), made.end(),
                  [](const AcDbStub* a, const AcDbStub* b) { return a->handle == b->handle; }),
      made.end());
  std::vector<AcDbStub*> merged;
  merged.reserve(m_ascending.size() + made.size());
  std::merge(m_ascending.begin(), m_ascending.end(), made.begin(), made.end(),
             std::back_inserter(merged), byHandle);
  m_ascending = std::move(merged);
}

bool DatabaseImpl::everyIdNamesAnObject() const {
  return std::all_of(m_stubs.begin(), m_stubs.end(),
                     [](const AcDbStub& stub) { return stub.object != nullptr; });
}

void DatabaseImpl::raiseHandseed(AcDbHandle handle) {
  if (handle.value() > m_nextHandle) m_nextHandle = handle.value();
}

void DatabaseImpl::addReactor(AcDbDatabaseReactor* reactor) {
  if (reactor != nullptr && !hasReactor(reactor)) m_reactors.push_back(reactor);
}

void DatabaseImpl::removeReactor(AcDbDatabaseReactor* reactor) {
  m_reactors.erase(std::remove(m_reactors.begin(), m_reactors.end(), reactor), m_reactors.end());
}

bool DatabaseImpl::hasReactor(const AcDbDatabaseReactor* reactor) const {
  return std::find(m_reactors.begin(), m_reactors.end(), reactor) != m_reactors.end();
}

void DatabaseImpl::destroyObjects() {
  closing = true;
  for (AcDbStub& stub : m_stubs) {
    AcDbObject* object = stub.object;
    stub.object = nullptr;
    delete object;
  }
}

void DatabaseImpl::releaseUncreated(AcDbObjectId id) {
  AcDbStub* stub = id.stub();
  if (stub == nullptr || stub->database != m_owner || !stub->erased || stub->object == nullptr)
    return;
  AcDbObject* object = stub->object;
  if (object->isReadEnabled()) return;
  delete object;  // its destructor clears the stub
}

}  // namespace tessera::db

using tessera::db::DatabaseImpl;
using tessera::db::ObjectAccess;

namespace {

// Adds a new object to the drawing during construction and closes it.
AcDbObjectId AddBuiltIn(DatabaseImpl* impl, AcDbObject* object, AcDbObjectId owner) {
  AcDbObjectId id = impl->addObject(object, owner);
  object->close();
  return id;
}

AcDbObjectId AddTableRecord(DatabaseImpl* impl, AcDbObjectId tableId, AcDbSymbolTableRecord* record,
                            const char* name) {
  ObjectAccess::setRecordName(record, name);
  AcDbObjectId id = AddBuiltIn(impl, record, tableId);
  auto* table = static_cast<AcDbSymbolTable*>(tableId.stub()->object);
  ObjectAccess::addTableRecord(table, id, name);
  return id;
}

void BuildDefaultDrawing(DatabaseImpl* impl) {
  impl->loading = true;
  impl->blockTable = AddBuiltIn(impl, new AcDbBlockTable, AcDbObjectId());
  impl->layerTable = AddBuiltIn(impl, new AcDbLayerTable, AcDbObjectId());
  impl->regAppTable = AddBuiltIn(impl, new AcDbRegAppTable, AcDbObjectId());
  impl->namedObjects = AddBuiltIn(impl, new AcDbDictionary, AcDbObjectId());
  impl->groupDictionary = AddBuiltIn(impl, new AcDbDictionary, impl->namedObjects);
  ObjectAccess::addDictionaryEntry(static_cast<AcDbDictionary*>(impl->namedObjects.stub()->object),
                                   "ACAD_GROUP", impl->groupDictionary);
  impl->layerZero = AddTableRecord(impl, impl->layerTable, new AcDbLayerTableRecord, "0");
  impl->currentLayer = impl->layerZero;
  impl->modelSpace =
      AddTableRecord(impl, impl->blockTable, new AcDbBlockTableRecord, ACDB_MODEL_SPACE);
  impl->paperSpace =
      AddTableRecord(impl, impl->blockTable, new AcDbBlockTableRecord, ACDB_PAPER_SPACE);
  AddTableRecord(impl, impl->regAppTable, new AcDbRegAppTableRecord, "ACAD");
  impl->loading = false;
}

template <typename T>
Acad::ErrorStatus OpenAs(T*& object, AcDbObjectId id, AcDb::OpenMode mode) {
  return acdbOpenObject(object, id, mode);
}

}  // namespace

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool noDocument)
    : m_impl(std::make_unique<DatabaseImpl>(this)) {
  acrxSysRegistry();
  tessera::db::Live().insert(this);
  if (buildDefaultDrawing) BuildDefaultDrawing(m_impl.get());
}

AcDbDatabase::~AcDbDatabase() {
  for (AcDbDatabaseReactor* reactor : m_impl->reactors())
    if (m_impl->hasReactor(reactor)) reactor->goodbye(this);
  if (acdbHostApplicationServices()->workingDatabase() == this)
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  tessera::db::Live().erase(this);
  if (tessera::db::LeaveClosedDrawings()) {
    m_impl->closing = true;
    tessera::db::LeftToProcessEnd().push_back(std::move(m_impl));
    return;
  }
  m_impl->undo().clear();
  m_impl->destroyObjects();
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode) {
  return OpenAs(table, m_impl->blockTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode) {
  return OpenAs(table, m_impl->layerTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getRegAppTable(AcDbRegAppTable*& table, AcDb::OpenMode mode) {
  return OpenAs(table, m_impl->regAppTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& dictionary,
                                                          AcDb::OpenMode mode) {
  return OpenAs(dictionary, m_impl->namedObjects, mode);
}

Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& dictionary,
                                                   AcDb::OpenMode mode) {
  return OpenAs(dictionary, m_impl->groupDictionary, mode);
}

AcDbObjectId AcDbDatabase::blockTableId() const {
  return m_impl->blockTable;
}
AcDbObjectId AcDbDatabase::layerTableId() const {
  return m_impl->layerTable;
}
AcDbObjectId AcDbDatabase::regAppTableId() const {
  return m_impl->regAppTable;
}
AcDbObjectId AcDbDatabase::namedObjectsDictionaryId() const {
  return m_impl->namedObjects;
}
AcDbObjectId AcDbDatabase::groupDictionaryId() const {
  return m_impl->groupDictionary;
}
AcDbObjectId AcDbDatabase::currentSpaceId() const {
  return m_impl->modelSpace;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object) {
  if (object == nullptr) return Acad::eNullObjectId;
  if (object->database() != nullptr) return Acad::eAlreadyInDb;
  id = m_impl->addObject(object, AcDbObjectId());
  return id.isNull() ? Acad::eInvalidInput : Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* object) {
  AcDbObjectId id;
  return addAcDbObject(id, object);
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                                const AcDbHandle& handle, Adesk::UInt32) {
  id = m_impl->idForHandle(handle, createIfNotFound);
  return id.isNull() ? Acad::eKeyNotFound : Acad::eOk;
}

AcDbHandle AcDbDatabase::handseed() const {
  return m_impl->handseed();
}

void AcDbDatabase::addReactor(AcDbDatabaseReactor* reactor) const {
  m_impl->addReactor(reactor);
}

void AcDbDatabase::removeReactor(AcDbDatabaseReactor* reactor) const {
  m_impl->removeReactor(reactor);
}

AcGePoint3d AcDbDatabase::ucsorg() const {
  return m_impl->ucsOrigin;
}
AcGeVector3d AcDbDatabase::ucsxdir() const {
  return m_impl->ucsXAxis;
}
AcGeVector3d AcDbDatabase::ucsydir() const {
  return m_impl->ucsYAxis;
}

Acad::ErrorStatus AcDbDatabase::setUcs(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                       const AcGeVector3d& yAxis) {
  AcGeVector3d x = xAxis.normal();
  AcGeVector3d y = yAxis.normal();
  if (x.isZeroLength() || y.isZeroLength() || std::abs(x.dotProduct(y)) > 1e-9)
    return Acad::eInvalidInput;
  m_impl->ucsOrigin = origin;
  m_impl->ucsXAxis = x;
  m_impl->ucsYAxis = y;
  return Acad::eOk;
}

AcDbObjectId AcDbDatabase::clayer() const {
  return m_impl->currentLayer;
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layer) {
  if (layer.isNull() || layer.database() != this || layer.isErased()) return Acad::eInvalidInput;
  if (AcDbLayerTableRecord::cast(layer.stub()->object) == nullptr) return Acad::eWrongObjectType;
  m_impl->currentLayer = layer;
  return Acad::eOk;
}

double AcDbDatabase::textsize() const {
  return m_impl->textSize;
}

Acad::ErrorStatus AcDbDatabase::setTextsize(double size) {
  if (!(size > 0.0)) return Acad::eInvalidInput;
  m_impl->textSize = size;
  return Acad::eOk;
}

const char* AcDbDatabase::filename() const {
  return m_impl->fileName.c_str();
}
void AcDbDatabase::setFilename(const std::string& name) {
  m_impl->fileName = name;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}

Acad::ErrorStatus AcDbHostApplicationServices::findFile(char* result, int bufferLength,
                                                        const char* name, AcDbDatabase*) {
  if (result == nullptr || bufferLength <= 0 || name == nullptr) return Acad::eInvalidInput;
  std::optional<std::string> found = tessera::FindSupportFile(name);
  if (!found) return Acad::eFileNotFound;
  if (found->size() + 1 > static_cast<std::size_t>(bufferLength)) return Acad::eBufferTooSmall;
  std::memcpy(result, found->c_str(), found->size() + 1);
  return Acad::eOk;
}

namespace {

Acad::ErrorStatus CheckOpenable(AcDbObjectId id, bool openErased, AcDbObject*& object) {
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbStub* stub = id.stub();
  if (stub->object == nullptr) return stub->erased ? Acad::eWasErased : Acad::eKeyNotFound;
  DatabaseImpl* impl = tessera::db::Impl(stub->database);
  if (impl == nullptr || impl->closing) return Acad::eWasErased;
  if (stub->erased && !openErased) return Acad::eWasErased;
  object = stub->object;
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  object = nullptr;
  AcDbObject* found = nullptr;
  if (Acad::ErrorStatus status = CheckOpenable(id, openErased, found); status != Acad::eOk)
    return status;
  std::int8_t& openMode = ObjectAccess::openMode(found);
  bool notifying = ObjectAccess::notifyDepth(found) > 0;
  if (openMode == AcDb::kForWrite && !notifying) return Acad::eWasOpenForWrite;
  if (mode == AcDb::kForWrite) {
    if (openMode == AcDb::kForWrite) return Acad::eWasOpenForWrite;
    if (ObjectAccess::readers(found) > 0) return Acad::eWasOpenForRead;
    if (notifying) return Acad::eWasOpenForNotify;
    openMode = AcDb::kForWrite;
  } else {
    ++ObjectAccess::readers(found);
  }
  object = found;
  return Acad::eOk;
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  return acdbOpenObject(entity, id, mode, openErased);
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
  id.setNull();
  if (name == nullptr || name[0] == 0) return Acad::eNullObjectId;
  auto* stub = reinterpret_cast<AcDbStub*>(name[0]);
  // An entity name is only taken when it names a stub of a live drawing.
  for (AcDbDatabase* database : tessera::db::LiveDatabases()) {
    if (reinterpret_cast<std::int64_t>(database) != name[1]) continue;
    if (stub->database != database) return Acad::eInvalidInput;
    id = AcDbObjectId(stub);
    return Acad::eOk;
  }
  return Acad::eInvalidInput;
}

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id) {
  if (id.isNull()) {
    name[0] = name[1] = 0;
    return Acad::eNullObjectId;
  }
  name[0] = id.asOldId();
  name[1] = reinterpret_cast<std::int64_t>(id.database());
  return Acad::eOk;
}
