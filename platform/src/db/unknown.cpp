// Objects and entities of classes nobody in the session knows, kept as read.
#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/live_databases.h"
#include "db/object_access.h"
#include "db/rx_define.h"
#include "files/memory_filer.h"

CAD_DEFINE_MEMBERS(AcDbUnknownObject, AcDbObject, "")
CAD_DEFINE_MEMBERS(AcDbUnknownEntity, AcDbEntity, "")

namespace {

// The kept bytes are the object's own data, so they are written back as one block.
Acad::ErrorStatus WriteKept(AcDbDwgFiler* filer, const std::vector<unsigned char>& bytes) {
  filer->writeInt32(static_cast<Adesk::Int32>(bytes.size()));
  if (!bytes.empty()) filer->writeBytes(bytes.data(), bytes.size());
  return filer->filerStatus();
}

// More than this is a corrupt length, not an object.
constexpr Adesk::Int32 kMaxKeptBytes = 1 << 28;

Acad::ErrorStatus ReadKept(AcDbDwgFiler* filer, std::vector<unsigned char>& bytes) {
  Adesk::Int32 length = 0;
  filer->readInt32(&length);
  if (length < 0 || length > kMaxKeptBytes) return Acad::eFilerError;
  std::vector<unsigned char> read(static_cast<std::size_t>(length));
  if (length > 0) filer->readBytes(read.data(), read.size());
  if (filer->filerStatus() == Acad::eOk) bytes = std::move(read);
  return filer->filerStatus();
}

}  // namespace

Acad::ErrorStatus AcDbUnknownObject::dwgOutFields(AcDbDwgFiler* filer) const {
  filer->writeString(originalClassName);
  filer->writeString(originalDxfName);
  return WriteKept(filer, binaryData);
}

Acad::ErrorStatus AcDbUnknownObject::dwgInFields(AcDbDwgFiler* filer) {
  filer->readString(&originalClassName);
  filer->readString(&originalDxfName);
  return ReadKept(filer, binaryData);
}

Acad::ErrorStatus AcDbUnknownEntity::dwgOutFields(AcDbDwgFiler* filer) const {
  filer->writeString(originalClassName);
  filer->writeString(originalDxfName);
  return WriteKept(filer, binaryData);
}

Acad::ErrorStatus AcDbUnknownEntity::dwgInFields(AcDbDwgFiler* filer) {
  filer->readString(&originalClassName);
  filer->readString(&originalDxfName);
  return ReadKept(filer, binaryData);
}

namespace tessera::db {

namespace {

// Replaces one object by an unknown object holding its data, under the same id.
void Demote(AcDbObject* object) {
  files::MemoryDwgFiler filer(AcDb::kFileFiler, object->database());
  object->dwgOutFields(&filer);
  auto* kept = new AcDbUnknownObject;
  kept->originalClassName = object->isA()->name();
  kept->originalDxfName = object->isA()->dxfName();
  kept->binaryData = filer.takeBytes();
  AcDbStub* stub = ObjectAccess::stub(object);
  ObjectAccess::setStub(kept, stub);
  ObjectAccess::setOwner(kept, object->ownerId());
  ObjectAccess::persistentReactors(kept) = ObjectAccess::persistentReactors(object);
  ObjectAccess::openMode(kept) = -1;
  ObjectAccess::isNew(kept) = false;
  stub->object = kept;
  ObjectAccess::setStub(object, nullptr);
  delete object;
}

}  // namespace

// The class's code may be about to leave the process: its objects must not be reached through
// it again. Nothing may open while they go, so their destructors leave other objects alone.
void DemoteObjectsOfClass(const AcRxClass* aClass) {
  for (AcDbDatabase* database : LiveDatabases()) {
    DatabaseImpl* impl = Impl(database);
    std::vector<AcDbObject*> doomed;
    impl->forEachObject([&](AcDbObjectId id) {
      AcDbObject* object = id.stub()->object;
      if (object->isA() == aClass) doomed.push_back(object);
    });
    if (doomed.empty()) continue;
    bool wasClosing = impl->closing;
    impl->closing = true;
    for (AcDbObject* object : doomed) Demote(object);
    impl->closing = wasClosing;
  }
}

}  // namespace tessera::db
