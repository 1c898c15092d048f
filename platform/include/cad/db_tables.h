// Symbol tables (layers, blocks, registered applications), dictionaries and groups.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cad/db_entities.h"
#include "cad/db_object.h"

constexpr const char* ACDB_MODEL_SPACE = "*Model_Space";
constexpr const char* ACDB_PAPER_SPACE = "*Paper_Space";

class AcDbSymbolTableRecord : public AcDbObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbSymbolTableRecord)
  Acad::ErrorStatus getName(std::string& name) const;
  const char* getNameConst() const { return m_name.c_str(); }
  Acad::ErrorStatus setName(const char* name);
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  friend class tessera::db::ObjectAccess;
  std::string m_name;
};

class AcDbSymbolTableIterator;

// A table of records found by name (case-insensitively) in constant time.
class AcDbSymbolTable : public AcDbObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbSymbolTable)
  Acad::ErrorStatus getAt(const char* name, AcDbObjectId& id, bool getErased = false) const;
  Acad::ErrorStatus getAt(const char* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                          bool openErased = false) const;
  bool has(const char* name) const;
  bool has(AcDbObjectId id) const;
  Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                bool skipErased = true) const;
  // Record ids in the order they were added.
  const std::vector<AcDbObjectId>& recordIds() const { return m_order; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  friend class tessera::db::ObjectAccess;
  std::vector<AcDbObjectId> m_order;
  std::unordered_map<std::string, AcDbObjectId> m_byName;  // upper-cased names
};

class AcDbSymbolTableIterator {
 public:
  explicit AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}
  virtual ~AcDbSymbolTableIterator() = default;
  bool done() const { return m_position >= m_ids.size(); }
  void step() { ++m_position; }
  void start() { m_position = 0; }
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                              bool openErased = false) const;

 private:
  std::vector<AcDbObjectId> m_ids;
  std::size_t m_position = 0;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
 public:
  CAD_DECLARE_MEMBERS(AcDbLayerTableRecord)
  Adesk::UInt16 colorIndex() const { return m_color; }
  void setColorIndex(Adesk::UInt16 color);
  std::string linetypeName() const { return m_linetype; }
  void setLinetypeName(const char* name);
  bool isOff() const { return m_off; }
  void setIsOff(bool off);
  bool isFrozen() const { return m_frozen; }
  void setIsFrozen(bool frozen);
  bool isLocked() const { return m_locked; }
  void setIsLocked(bool locked);
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  Adesk::UInt16 m_color = 7;
  std::string m_linetype = "Continuous";
  bool m_off = false;
  bool m_frozen = false;
  bool m_locked = false;
};

class AcDbLayerTable : public AcDbSymbolTable {
 public:
  CAD_DECLARE_MEMBERS(AcDbLayerTable)
  Acad::ErrorStatus getAt(const char* name, AcDbObjectId& id, bool getErased = false) const {
    return AcDbSymbolTable::getAt(name, id, getErased);
  }
  Acad::ErrorStatus getAt(const char* name, AcDbLayerTableRecord*& record, AcDb::OpenMode mode,
                          bool openErased = false) const;
};

class AcDbBlockTableRecordIterator;

// A block definition: model space, paper space, or a named block of entities.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
 public:
  CAD_DECLARE_MEMBERS(AcDbBlockTableRecord)
  ~AcDbBlockTableRecord() override;
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                bool skipErased = true) const;
  // Entity ids in drawing order, erased ones included (check isErased).
  const std::vector<AcDbObjectId>& entityIds() const { return m_entities; }
  AcGePoint3d origin() const { return m_origin; }
  void setOrigin(const AcGePoint3d& origin);
  bool hasAttributeDefinitions() const;
  bool isLayout() const;
  bool isAnonymous() const;
  std::string comments() const { return m_comments; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  friend class tessera::db::ObjectAccess;
  std::vector<AcDbObjectId> m_entities;
  AcGePoint3d m_origin;
  std::string m_comments;
  std::vector<AcDbEntity*> m_pendingEntities;  // appended before the record is in a drawing
};

class AcDbBlockTableRecordIterator {
 public:
  AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}
  bool done() const { return m_position >= m_ids.size(); }
  void step() { ++m_position; }
  void start() { m_position = 0; }
  Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                              bool openErased = false) const;

 private:
  std::vector<AcDbObjectId> m_ids;
  std::size_t m_position = 0;
};

class AcDbBlockTable : public AcDbSymbolTable {
 public:
  CAD_DECLARE_MEMBERS(AcDbBlockTable)
  Acad::ErrorStatus getAt(const char* name, AcDbObjectId& id, bool getErased = false) const {
    return AcDbSymbolTable::getAt(name, id, getErased);
  }
  Acad::ErrorStatus getAt(const char* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                          bool openErased = false) const;
};

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
 public:
  CAD_DECLARE_MEMBERS(AcDbRegAppTableRecord)
};

class AcDbRegAppTable : public AcDbSymbolTable {
 public:
  CAD_DECLARE_MEMBERS(AcDbRegAppTable)
};

class AcDbDictionaryIterator;

// Named entries that own (or refer to) objects; iteration follows insertion order and lookups
// by key take constant time. Keys compare case-insensitively.
class AcDbDictionary : public AcDbObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbDictionary)
  ~AcDbDictionary() override;

  Acad::ErrorStatus getAt(const char* key, AcDbObject*& object, AcDb::OpenMode mode) const;
  Acad::ErrorStatus getAt(const char* key, AcDbObjectId& id) const;
  bool has(const char* key) const;
  bool has(AcDbObjectId id) const;
  Adesk::UInt32 numEntries() const { return static_cast<Adesk::UInt32>(m_index.size()); }
  // Adds a new object under the key (replacing what was there) and takes ownership of it.
  Acad::ErrorStatus setAt(const char* key, AcDbObject* newValue, AcDbObjectId& id);
  Acad::ErrorStatus remove(const char* key);
  Acad::ErrorStatus remove(const char* key, AcDbObjectId& returnId);
  Acad::ErrorStatus remove(AcDbObjectId id);
  Acad::ErrorStatus nameAt(AcDbObjectId id, std::string& key) const;
  AcDbDictionaryIterator* newIterator() const;
  // Entries in insertion order.
  std::vector<std::pair<std::string, AcDbObjectId>> entries() const;
  bool treatElementsAsHard() const { return m_hardOwner; }
  void setTreatElementsAsHard(bool hard) { m_hardOwner = hard; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  friend class tessera::db::ObjectAccess;
  using EntryList = std::list<std::pair<std::string, AcDbObjectId>>;
  EntryList m_entries;
  std::unordered_map<std::string, EntryList::iterator> m_index;  // upper-cased keys
  std::unordered_map<AcDbStub*, EntryList::iterator> m_byId;
  bool m_hardOwner = false;
  std::vector<std::pair<std::string, AcDbObject*>>
      m_pending;  // set before the dictionary is in a drawing
};

class AcDbDictionaryIterator {
 public:
  explicit AcDbDictionaryIterator(std::vector<std::pair<std::string, AcDbObjectId>> entries)
      : m_entries(std::move(entries)) {}
  virtual ~AcDbDictionaryIterator() = default;
  bool done() const { return m_position >= m_entries.size(); }
  bool next() {
    ++m_position;
    return !done();
  }
  const char* name() const { return done() ? "" : m_entries[m_position].first.c_str(); }
  AcDbObjectId objectId() const { return done() ? AcDbObjectId() : m_entries[m_position].second; }
  Acad::ErrorStatus getObject(AcDbObject*& object, AcDb::OpenMode mode) const;

 private:
  std::vector<std::pair<std::string, AcDbObjectId>> m_entries;
  std::size_t m_position = 0;
};

// A named or anonymous ("*") collection of entities, kept in the group dictionary.
class AcDbGroup : public AcDbObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbGroup)
  AcDbGroup() = default;
  explicit AcDbGroup(const char* description, bool selectable = true)
      : m_description(description ? description : ""), m_selectable(selectable) {}

  Acad::ErrorStatus append(AcDbObjectId id);
  Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
  Acad::ErrorStatus remove(AcDbObjectId id);
  Acad::ErrorStatus clear();
  bool has(const AcDbEntity* entity) const;
  bool has(AcDbObjectId id) const;
  Adesk::UInt32 numEntities() const { return static_cast<Adesk::UInt32>(m_members.size()); }
  // Member ids in group order, erased members left out.
  Adesk::UInt32 allEntityIds(AcDbObjectIdArray& ids) const;
  const std::vector<AcDbObjectId>& memberIds() const { return m_members; }
  std::string name() const;
  bool isAnonymous() const;
  std::string description() const { return m_description; }
  Acad::ErrorStatus setDescription(const char* description);
  bool isSelectable() const { return m_selectable; }
  Acad::ErrorStatus setSelectable(bool selectable);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  friend class tessera::db::ObjectAccess;
  std::vector<AcDbObjectId> m_members;
  std::string m_description;
  bool m_selectable = true;
};
