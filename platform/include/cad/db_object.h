// Database objects: handles, object ids, the two filers through which objects save and restore
// themselves, the object base class, object reactors and the iterator over owned sub-objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cad/acad_types.h"
#include "cad/ads.h"
#include "cad/ge.h"
#include "cad/rx.h"
#include "cad/xdata_items.h"

class AcDbDatabase;
class AcDbObject;
class AcDbObjectReactor;
struct AcDbStub;
namespace tessera::db {
class ObjectAccess;
class SharedName;
}  // namespace tessera::db

// The persistent 64-bit name of an object in its drawing, written as upper-case hexadecimal
// without leading zeros ("2A").
class AcDbHandle {
 public:
  AcDbHandle() = default;
  explicit AcDbHandle(std::uint64_t value) : m_value(value) {}
  AcDbHandle(Adesk::UInt32 low, Adesk::UInt32 high)
      : m_value((static_cast<std::uint64_t>(high) << 32) | low) {}
  // Reads hexadecimal text; text that is not hexadecimal gives the null handle.
  explicit AcDbHandle(const char* hexText);

  bool isNull() const { return m_value == 0; }
  void setNull() { m_value = 0; }
  Adesk::UInt32 low() const { return static_cast<Adesk::UInt32>(m_value); }
  Adesk::UInt32 high() const { return static_cast<Adesk::UInt32>(m_value >> 32); }
  std::uint64_t value() const { return m_value; }
  // Writes the hexadecimal text; the buffer needs 17 characters.
  void getIntoAsciiBuffer(char* buffer) const;
  bool getIntoAsciiBuffer(char* buffer, std::size_t bufferLength) const;
  std::string text() const;

  AcDbHandle& operator++() {
    ++m_value;
    return *this;
  }
  bool operator==(const AcDbHandle& other) const { return m_value == other.m_value; }
  bool operator!=(const AcDbHandle& other) const { return m_value != other.m_value; }
  bool operator<(const AcDbHandle& other) const { return m_value < other.m_value; }

 private:
  std::uint64_t m_value = 0;
};

// A session-long reference to an object of an open drawing. Constant-time to resolve.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(AcDbStub* stub) : m_stub(stub) {}

  bool isNull() const { return m_stub == nullptr; }
  void setNull() { m_stub = nullptr; }
  // Whether the id names an object that exists (erased or not).
  bool isValid() const;
  bool isErased() const;
  AcDbHandle handle() const;
  AcDbDatabase* database() const;
  AcRxClass* objectClass() const;
  std::int64_t asOldId() const { return reinterpret_cast<std::int64_t>(m_stub); }
  AcDbObjectId& setFromOldId(std::int64_t oldId) {
    m_stub = reinterpret_cast<AcDbStub*>(oldId);
    return *this;
  }
  AcDbStub* stub() const { return m_stub; }

  bool operator==(const AcDbObjectId& other) const { return m_stub == other.m_stub; }
  bool operator!=(const AcDbObjectId& other) const { return m_stub != other.m_stub; }
  bool operator<(const AcDbObjectId& other) const { return m_stub < other.m_stub; }

  static const AcDbObjectId kNull;

 private:
  AcDbStub* m_stub = nullptr;
};

using AcDbObjectIdArray = AcArray<AcDbObjectId>;

namespace tessera::db {

// A short list of object ids in the room of one pointer. Every object has one (the ids that
// follow it), most hold none and most others one: a vector's three words would cost every
// object of a drawing two more.
class IdList {
 public:
  using value_type = AcDbObjectId;
  using iterator = AcDbObjectId*;
  using const_iterator = const AcDbObjectId*;

  IdList() = default;
  IdList(std::initializer_list<AcDbObjectId> ids) { assign(ids.begin(), ids.end()); }
  IdList(const IdList& other) { assign(other.begin(), other.end()); }
  IdList(IdList&& other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }
  IdList& operator=(const IdList& other);
  IdList& operator=(IdList&& other) noexcept;
  ~IdList() {
    if (m_block != nullptr) clear();
  }

  std::size_t size() const { return m_block ? m_block->size : 0; }
  bool empty() const { return size() == 0; }
  iterator begin() { return data(); }
  iterator end() { return data() + size(); }
  const_iterator begin() const { return data(); }
  const_iterator end() const { return data() + size(); }

  void push_back(AcDbObjectId id);
  // Drops [first, last), keeping the order of the rest.
  iterator erase(const_iterator first, const_iterator last);
  void clear();
  std::vector<AcDbObjectId> toVector() const { return {begin(), end()}; }

 private:
  // The ids follow their count and room in one allocation.
  struct Block {
    std::uint32_t size;
    std::uint32_t capacity;
  };
  AcDbObjectId* data() const {
    return m_block ? reinterpret_cast<AcDbObjectId*>(m_block + 1) : nullptr;
  }
  void assign(const AcDbObjectId* first, const AcDbObjectId* last);
  void reserve(std::size_t capacity);
  static void release(Block* block);

  Block* m_block = nullptr;
};

}  // namespace tessera::db

namespace AcDb {
// Group codes used by DXF filing.
enum DxfCode {
  kDxfStart = 0,
  kDxfText = 1,
  kDxfBlockName = 2,
  kDxfHandle = 5,
  kDxfLayerName = 8,
  kDxfXCoord = 10,
  kDxfReal = 40,
  kDxfInt16 = 70,
  kDxfInt32 = 90,
  kDxfSubclass = 100,
  kDxfControlString = 102,
  kDxfText2 = 300,
  kDxfSoftPointerId = 330,
  kDxfHardPointerId = 340,
  kDxfSoftOwnershipId = 350,
  kDxfHardOwnershipId = 360,
  kDxfXdAsciiString = 1000,
  kDxfRegAppName = 1001,
};
}  // namespace AcDb

// Binary filing: an object writes its fields in a fixed order and reads them back in that order.
class AcDbDwgFiler : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbDwgFiler)
  virtual Acad::ErrorStatus filerStatus() const = 0;
  virtual AcDb::FilerType filerType() const = 0;
  virtual void setFilerStatus(Acad::ErrorStatus status) = 0;
  virtual void resetFilerStatus() = 0;
  virtual AcDbDatabase* database() const { return nullptr; }

  virtual Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id) = 0;
  virtual Acad::ErrorStatus writeHardOwnershipId(const AcDbObjectId& id) = 0;
  virtual Acad::ErrorStatus readSoftOwnershipId(AcDbObjectId* id) = 0;
  virtual Acad::ErrorStatus writeSoftOwnershipId(const AcDbObjectId& id) = 0;
  virtual Acad::ErrorStatus readHardPointerId(AcDbObjectId* id) = 0;
  virtual Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id) = 0;
  virtual Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id) = 0;
  virtual Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id) = 0;
  virtual Acad::ErrorStatus readAcDbHandle(AcDbHandle* handle) = 0;
  virtual Acad::ErrorStatus writeAcDbHandle(const AcDbHandle& handle) = 0;
  virtual Acad::ErrorStatus readString(std::string* text) = 0;
  virtual Acad::ErrorStatus writeString(const char* text) = 0;
  // The platform's own: a string read as a shared name (a layer's, a style's), which a filer that
  // holds each text once gives without looking the text up. A failed read keeps the name.
  virtual Acad::ErrorStatus readName(tessera::db::SharedName* name);
  virtual Acad::ErrorStatus writeName(const tessera::db::SharedName& name);
  Acad::ErrorStatus writeString(const std::string& text) { return writeString(text.c_str()); }
  virtual Acad::ErrorStatus readBool(bool* value) = 0;
  virtual Acad::ErrorStatus writeBool(bool value) = 0;
  virtual Acad::ErrorStatus readInt8(Adesk::Int8* value) = 0;
  virtual Acad::ErrorStatus writeInt8(Adesk::Int8 value) = 0;
  virtual Acad::ErrorStatus readInt16(Adesk::Int16* value) = 0;
  virtual Acad::ErrorStatus writeInt16(Adesk::Int16 value) = 0;
  virtual Acad::ErrorStatus readInt32(Adesk::Int32* value) = 0;
  virtual Acad::ErrorStatus writeInt32(Adesk::Int32 value) = 0;
  virtual Acad::ErrorStatus readInt64(Adesk::Int64* value) = 0;
  virtual Acad::ErrorStatus writeInt64(Adesk::Int64 value) = 0;
  virtual Acad::ErrorStatus readUInt16(Adesk::UInt16* value) = 0;
  virtual Acad::ErrorStatus writeUInt16(Adesk::UInt16 value) = 0;
  virtual Acad::ErrorStatus readDouble(double* value) = 0;
  virtual Acad::ErrorStatus writeDouble(double value) = 0;
  virtual Acad::ErrorStatus readPoint3d(AcGePoint3d* point) = 0;
  virtual Acad::ErrorStatus writePoint3d(const AcGePoint3d& point) = 0;
  virtual Acad::ErrorStatus readVector3d(AcGeVector3d* vector) = 0;
  virtual Acad::ErrorStatus writeVector3d(const AcGeVector3d& vector) = 0;
  virtual Acad::ErrorStatus readBytes(void* buffer, std::size_t length) = 0;
  virtual Acad::ErrorStatus writeBytes(const void* buffer, std::size_t length) = 0;
};

// DXF filing: an object writes tagged items (group code, value) and reads them back in turn.
// Strings that readItem yields stay valid until the next read.
class AcDbDxfFiler : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbDxfFiler)
  virtual Acad::ErrorStatus filerStatus() const = 0;
  virtual AcDb::FilerType filerType() const = 0;
  virtual void setFilerStatus(Acad::ErrorStatus status) = 0;
  virtual void resetFilerStatus() = 0;
  virtual AcDbDatabase* database() const { return nullptr; }

  // Reading.
  virtual Acad::ErrorStatus readItem(resbuf* item) = 0;
  virtual Acad::ErrorStatus readResBuf(resbuf* item) { return readItem(item); }
  // The next readItem yields the item just read again.
  virtual Acad::ErrorStatus pushBackItem() = 0;
  virtual bool atEOF() = 0;
  virtual bool atSubclassData(const char* subclassName) = 0;
  virtual bool atExtendedData() = 0;

  // Writing.
  virtual Acad::ErrorStatus writeItem(const resbuf& item) = 0;
  virtual Acad::ErrorStatus writeString(int code, const char* text) = 0;
  Acad::ErrorStatus writeString(int code, const std::string& text) {
    return writeString(code, text.c_str());
  }
  virtual Acad::ErrorStatus writeInt8(int code, Adesk::Int8 value) = 0;
  virtual Acad::ErrorStatus writeInt16(int code, Adesk::Int16 value) = 0;
  virtual Acad::ErrorStatus writeInt32(int code, Adesk::Int32 value) = 0;
  virtual Acad::ErrorStatus writeInt64(int code, Adesk::Int64 value) = 0;
  virtual Acad::ErrorStatus writeBool(int code, bool value) = 0;
  virtual Acad::ErrorStatus writeDouble(int code, double value, int precision = -1) = 0;
  virtual Acad::ErrorStatus writePoint3d(int code, const AcGePoint3d& point,
                                         int precision = -1) = 0;
  virtual Acad::ErrorStatus writeVector3d(int code, const AcGeVector3d& vector,
                                          int precision = -1) = 0;
  virtual Acad::ErrorStatus writeObjectId(int code, const AcDbObjectId& id) = 0;
  virtual Acad::ErrorStatus writeAcDbHandle(int code, const AcDbHandle& handle) = 0;
  Acad::ErrorStatus writeItem(int code, const char* text) { return writeString(code, text); }
  Acad::ErrorStatus writeItem(int code, const AcDbHandle& handle) {
    return writeAcDbHandle(code, handle);
  }
  Acad::ErrorStatus writeItem(int code, Adesk::Int16 value) { return writeInt16(code, value); }
  Acad::ErrorStatus writeItem(int code, double value) { return writeDouble(code, value); }
};

// A transient observer of one object, attached with AcDbObject::addReactor.
class AcDbObjectReactor : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbObjectReactor)
  virtual void cancelled(const AcDbObject* object) {}
  virtual void copied(const AcDbObject* object, const AcDbObject* newObject) {}
  virtual void erased(const AcDbObject* object, bool erasing = true) {}
  virtual void goodbye(const AcDbObject* object) {}
  virtual void openedForModify(const AcDbObject* object) {}
  virtual void modified(const AcDbObject* object) {}
  virtual void subObjModified(const AcDbObject* object, const AcDbObject* subObject) {}
  virtual void modifyUndone(const AcDbObject* object) {}
  virtual void modifiedXData(const AcDbObject* object) {}
  virtual void unappended(const AcDbObject* object) {}
  virtual void reappended(const AcDbObject* object) {}
  virtual void objectClosed(const AcDbObjectId objectId) {}
};

// The base of everything stored in a drawing.
class AcDbObject : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbObject)
  AcDbObject();
  ~AcDbObject() override;
  AcDbObject(const AcDbObject&) = delete;
  AcDbObject& operator=(const AcDbObject&) = delete;

  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const { return m_ownerId; }
  virtual Acad::ErrorStatus setOwnerId(AcDbObjectId ownerId);
  AcDbHandle getDbHandle() const { return objectId().handle(); }
  void getAcDbHandle(AcDbHandle& handle) const { handle = getDbHandle(); }
  AcDbDatabase* database() const;

  // Opening and closing.
  Acad::ErrorStatus close();
  Acad::ErrorStatus cancel();
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();
  bool isReadEnabled() const;
  bool isWriteEnabled() const;
  bool isNotifyEnabled() const;
  bool isNewObject() const;
  // Whether the object's drawing is undoing a step, restoring objects and sending the
  // notifications the restore causes.
  bool isUndoing() const;
  bool isModified() const { return m_modified; }
  // A changing operation calls this first: it records undo and notifies the first change.
  // It fails, changing nothing, when the object is not open for write.
  Acad::ErrorStatus assertWriteEnabled(bool autoUndo = true, bool recordModified = true);
  Acad::ErrorStatus assertReadEnabled() const;
  Acad::ErrorStatus assertNotifyEnabled() const;

  // Erasing keeps the object in its drawing, marked; unerasing takes the mark off.
  Acad::ErrorStatus erase(bool erasing = true);
  bool isErased() const;

  // Extended data: 1001 application name, then that application's items. xData returns a copy
  // (release it with acutRelRb) of one application's block, or of all blocks for null.
  resbuf* xData(const char* application = nullptr) const;
  Acad::ErrorStatus setXData(const resbuf* xdata);

  // Transient reactors, notified of this object's changes. A reactor may remove itself while
  // it is being notified.
  void addReactor(AcDbObjectReactor* reactor) const;
  void removeReactor(AcDbObjectReactor* reactor) const;
  bool hasReactor(const AcDbObjectReactor* reactor) const;
  int reactorCount() const { return m_rare ? static_cast<int>(m_rare->reactors.size()) : 0; }
  // Persistent reactors: ids of objects that follow this one (a group follows its members).
  void addPersistentReactor(AcDbObjectId id);
  Acad::ErrorStatus removePersistentReactor(AcDbObjectId id);
  const tessera::db::IdList& persistentReactors() const { return m_persistentReactors; }
  AcDbObjectId extensionDictionary() const {
    return m_rare ? m_rare->extensionDictionary : AcDbObjectId();
  }

  // Filing. The base writes the object's extended data; subclasses call it first.
  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const;

  // A new, not yet stored object of the same class with the same fields (through a copy filer).
  virtual AcDbObject* cloneObject() const;

 protected:
  // Whether a change of this object counts as a change of its owner (vertices, attributes).
  virtual bool isSubObject() const { return false; }

  // An entity's properties read from a file that the platform does not use (line weight, true
  // colour, transparency, ...): group code and value as read, written back unchanged. Kept with
  // what few objects have, so that entities without them, nearly all, do not pay a pointer.
  using KeptProperties = std::vector<std::pair<int, std::string>>;
  const KeptProperties* keptProperties() const {
    return m_rare ? m_rare->keptProperties.get() : nullptr;
  }
  KeptProperties& keptPropertiesForWrite();
  void dropKeptProperties() {
    if (m_rare) m_rare->keptProperties.reset();
  }

 private:
  friend class tessera::db::ObjectAccess;

  // What few objects have, made on first use: most objects have none of it.
  struct Rare {
    AcDbObjectId extensionDictionary;
    std::vector<AcDbObjectReactor*> reactors;
    std::unique_ptr<KeptProperties> keptProperties;
  };
  Rare& rare() const;

  // Small fields last: an entity's first field takes the room they leave.
  AcDbStub* m_stub = nullptr;
  AcDbObjectId m_ownerId;
  tessera::db::XDataItems m_xdata;
  mutable std::unique_ptr<Rare> m_rare;
  tessera::db::IdList m_persistentReactors;
  std::int32_t m_readers = 0;
  std::int16_t m_notifyDepth = 0;
  std::int8_t m_openMode = AcDb::kForWrite;  // a new object is open for write until it is closed
  bool m_new = true;                         // not closed since it was made
  bool m_changedAsSubObject = false;         // its change counts as its owner's
  bool m_modified = false;
  bool m_openedForModifySent = false;
  bool m_undoRecorded = false;
};

// Steps over the sub-objects a complex entity owns (polyline vertices, attributes).
class AcDbObjectIterator : public AcRxObject {
 public:
  explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids);
  bool done() const { return m_position >= m_ids.size(); }
  void step() { ++m_position; }
  void start() { m_position = 0; }
  AcDbObjectId objectId() const { return done() ? AcDbObjectId() : m_ids[m_position]; }
  // Opens the current entity for read; the caller closes it. Null when it does not open.
  class AcDbEntity* entity();

 private:
  std::vector<AcDbObjectId> m_ids;
  std::size_t m_position = 0;
};
