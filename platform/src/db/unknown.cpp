// Objects and entities of classes nobody in the session knows, kept as read.
//
// Their binary filing (undo, COPY) carries everything they keep: the base part, the original
// class and DXF names, the binary data and the DXF tags, so that an undo or a copy of a kept
// object loses nothing that a later save would write.
#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/live_databases.h"
#include "db/object_access.h"
#include "db/rx_define.h"
#include "files/dxf_filer.h"
#include "files/dxf_layout.h"
#include "files/memory_filer.h"

CAD_DEFINE_MEMBERS(AcDbUnknownObject, AcDbObject, "")
CAD_DEFINE_MEMBERS(AcDbUnknownEntity, AcDbEntity, "")

namespace {

using KeptTags = std::vector<std::pair<int, std::string>>;

// More than these in a length or count is a corrupt filing, not an object.
constexpr Adesk::Int32 kMaxKeptBytes = 1 << 28;
constexpr Adesk::Int32 kMaxKeptTags = 1 << 24;

// The kept bytes are the object's own data, so they are written back as one block.
void WriteBytes(AcDbDwgFiler* filer, const std::vector<unsigned char>& bytes) {
  filer->writeInt32(static_cast<Adesk::Int32>(bytes.size()));
  if (!bytes.empty()) filer->writeBytes(bytes.data(), bytes.size());
}

// Reads a length or count written before kept data; one out of 0..limit marks the filing corrupt.
bool ReadCount(AcDbDwgFiler* filer, Adesk::Int32 limit, Adesk::Int32& count) {
  filer->readInt32(&count);
  if (filer->filerStatus() != Acad::eOk) return false;
  if (count >= 0 && count <= limit) return true;
  filer->setFilerStatus(Acad::eFilerError);
  return false;
}

bool ReadBytes(AcDbDwgFiler* filer, std::vector<unsigned char>& bytes) {
  Adesk::Int32 length = 0;
  if (!ReadCount(filer, kMaxKeptBytes, length)) return false;
  bytes.assign(static_cast<std::size_t>(length), 0);
  if (length > 0) filer->readBytes(bytes.data(), bytes.size());
  return filer->filerStatus() == Acad::eOk;
}

void WriteTags(AcDbDwgFiler* filer, const KeptTags& tags) {
  filer->writeInt32(static_cast<Adesk::Int32>(tags.size()));
  for (const auto& [code, value] : tags) {
    filer->writeInt16(static_cast<Adesk::Int16>(code));
    filer->writeString(value);
  }
}

bool ReadTags(AcDbDwgFiler* filer, KeptTags& tags) {
  Adesk::Int32 count = 0;
  if (!ReadCount(filer, kMaxKeptTags, count)) return false;
  tags.clear();
  for (Adesk::Int32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
    Adesk::Int16 code = 0;
    std::string value;
    filer->readInt16(&code);
    filer->readString(&value);
    tags.emplace_back(code, std::move(value));
  }
  return filer->filerStatus() == Acad::eOk;
}

// What both kinds of kept object file after their base part.
struct Kept {
  std::string className;
  std::string dxfName;
  std::vector<unsigned char> bytes;
  KeptTags tags;
};

void WriteKept(AcDbDwgFiler* filer, const std::string& className, const std::string& dxfName,
               const std::vector<unsigned char>& bytes, const KeptTags& tags) {
  filer->writeString(className);
  filer->writeString(dxfName);
  WriteBytes(filer, bytes);
  WriteTags(filer, tags);
}

// Reads everything before changing anything, so a damaged filing leaves the object as it was.
bool ReadKept(AcDbDwgFiler* filer, Kept& kept) {
  filer->readString(&kept.className);
  filer->readString(&kept.dxfName);
  return filer->filerStatus() == Acad::eOk && ReadBytes(filer, kept.bytes) &&
         ReadTags(filer, kept.tags);
}

template <typename T>
Acad::ErrorStatus TakeKept(AcDbDwgFiler* filer, T* object) {
  Kept kept;
  if (!ReadKept(filer, kept)) return filer->filerStatus();
  object->originalClassName = std::move(kept.className);
  object->originalDxfName = std::move(kept.dxfName);
  object->binaryData = std::move(kept.bytes);
  object->dxfTags = std::move(kept.tags);
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDbUnknownObject::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbObject::dwgOutFields(filer);
  WriteKept(filer, originalClassName, originalDxfName, binaryData, dxfTags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbUnknownObject::dwgInFields(AcDbDwgFiler* filer) {
  if (Acad::ErrorStatus status = AcDbObject::dwgInFields(filer); status != Acad::eOk) return status;
  return TakeKept(filer, this);
}

Acad::ErrorStatus AcDbUnknownEntity::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  WriteKept(filer, originalClassName, originalDxfName, binaryData, dxfTags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbUnknownEntity::dwgInFields(AcDbDwgFiler* filer) {
  if (Acad::ErrorStatus status = AcDbEntity::dwgInFields(filer); status != Acad::eOk) return status;
  return TakeKept(filer, this);
}

namespace tessera::db {

namespace {

// An object's data in both filings, taken while its class's code is still here.
struct Demoted {
  AcDbObject* object;
  std::vector<unsigned char> bytes;
  KeptTags tags;
};

// The object's DXF groups after its handle, extended data included: what the DXF reader keeps
// of an object whose class it does not know, so the object is written to DXF as before.
KeptTags DxfTagsOf(AcDbObject* object) {
  KeptTags tags;
  files::DxfFiler filer(&tags, object->database());
  object->dxfOutFields(&filer);
  resbuf item{};
  for (auto reader = ObjectAccess::xdata(object).reader(); reader.next(item);)
    filer.writeItem(item);
  if (!tags.empty() && tags.front().first == AcDb::kDxfHandle) tags.erase(tags.begin());
  return tags;
}

Demoted FileForDemotion(AcDbObject* object) {
  files::MemoryDwgFiler filer(AcDb::kFileFiler, object->database());
  object->dwgOutFields(&filer);
  return {object, filer.takeBytes(), DxfTagsOf(object)};
}

// Replaces one object by an unknown object holding its data, under the same id.
void Demote(Demoted& demoted) {
  AcDbObject* object = demoted.object;
  auto* kept = new AcDbUnknownObject;
  kept->originalClassName = object->isA()->name();
  kept->originalDxfName = object->isA()->dxfName();
  kept->binaryData = std::move(demoted.bytes);
  kept->dxfTags = std::move(demoted.tags);
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

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// The drawing keeps the class's CLASSES entry, as it keeps one read from a file, so that its
// objects are still declared when the drawing is written to DXF without the class.
void KeepClassEntry(DatabaseImpl* impl, const AcRxClass* aClass, std::size_t objects) {
  const std::string dxfName = aClass->dxfName();
  if (dxfName.empty()) return;
  std::vector<KeptTags>& entries = impl->preservedDxf[files::preserved::kClasses];
  for (const KeptTags& entry : entries)
    for (const auto& [code, value] : entry)
      if (code == 1 && SameName(value, dxfName)) return;
  // The groups of a CLASS entry as the DXF writer writes them for a registered class.
  entries.push_back({{0, "CLASS"},
                     {1, dxfName},
                     {2, aClass->name()},
                     {3, aClass->appName()},
                     {90, std::to_string(aClass->proxyFlags())},
                     {91, std::to_string(objects)},
                     {280, "0"},
                     {281, aClass->isDerivedFrom(AcDbEntity::desc()) ? "1" : "0"}});
}

}  // namespace

// The class's code may be about to leave the process: its objects must not be reached through
// it again. They are filed first, while the objects they refer to still open (a figure record
// files its rows' handles); then they go, and nothing may open while they do, so that their
// destructors leave other objects alone.
void DemoteObjectsOfClass(const AcRxClass* aClass) {
  for (AcDbDatabase* database : LiveDatabases()) {
    DatabaseImpl* impl = Impl(database);
    std::vector<Demoted> doomed;
    impl->forEachObject([&](AcDbObjectId id) {
      AcDbObject* object = id.stub()->object;
      if (object->isA() == aClass) doomed.push_back({object, {}, {}});
    });
    if (doomed.empty()) continue;
    for (Demoted& demoted : doomed) demoted = FileForDemotion(demoted.object);
    KeepClassEntry(impl, aClass, doomed.size());
    bool wasClosing = impl->closing;
    impl->closing = true;
    for (Demoted& demoted : doomed) Demote(demoted);
    impl->closing = wasClosing;
  }
}

}  // namespace tessera::db
