// The platform's own road into objects: setting what file readers and the database core set
// directly, without notifications, undo records or open checks. Applications never use it.
#pragma once

#include <string>
#include <vector>

#include "cad/db_database.h"
#include "db/stub.h"

namespace tessera::db {

class ObjectAccess {
 public:
  static AcDbStub* stub(const AcDbObject* object) { return object->m_stub; }
  static void setStub(AcDbObject* object, AcDbStub* stub) { object->m_stub = stub; }
  static void setOwner(AcDbObject* object, AcDbObjectId owner) { object->m_ownerId = owner; }
  static void setExtensionDictionary(AcDbObject* object, AcDbObjectId id) {
    if (!id.isNull() || object->m_rare) object->rare().extensionDictionary = id;
  }
  static IdList& persistentReactors(AcDbObject* object) { return object->m_persistentReactors; }
  static XDataItems& xdata(AcDbObject* object) { return object->m_xdata; }
  static const std::vector<AcDbObjectReactor*>& reactors(const AcDbObject* object) {
    static const std::vector<AcDbObjectReactor*> none;
    return object->m_rare ? object->m_rare->reactors : none;
  }
  // Null when the object never had a reactor.
  static std::vector<AcDbObjectReactor*>* reactorsToChange(const AcDbObject* object) {
    return object->m_rare ? &object->m_rare->reactors : nullptr;
  }
  static std::int8_t& openMode(AcDbObject* object) { return object->m_openMode; }
  static std::int32_t& readers(AcDbObject* object) { return object->m_readers; }
  static bool& modified(AcDbObject* object) { return object->m_modified; }
  static bool& isNew(AcDbObject* object) { return object->m_new; }
  static bool& changedAsSubObject(AcDbObject* object) { return object->m_changedAsSubObject; }
  static bool& openedForModifySent(AcDbObject* object) { return object->m_openedForModifySent; }
  static bool& undoRecorded(AcDbObject* object) { return object->m_undoRecorded; }
  static std::int16_t& notifyDepth(AcDbObject* object) { return object->m_notifyDepth; }
  static bool isSubObject(const AcDbObject* object) { return object->isSubObject(); }

  // Containers, as file readers fill them.
  static void addTableRecord(AcDbSymbolTable* table, AcDbObjectId id, const std::string& name);
  // Re-enters every record's name after the records were read.
  static void rebuildTableIndex(AcDbSymbolTable* table);
  static void setRecordName(AcDbSymbolTableRecord* record, const std::string& name) {
    record->m_name = name;
  }
  static std::vector<AcDbObjectId>& blockEntities(AcDbBlockTableRecord* block) {
    return block->m_entities;
  }
  static void addDictionaryEntry(AcDbDictionary* dictionary, const std::string& key,
                                 AcDbObjectId id);
  // Puts an entry in before the entry of `beforeKey` (last when there is none such), replacing
  // an entry of the same key; and takes one out. Undo puts entries back where they were.
  static void insertDictionaryEntry(AcDbDictionary* dictionary, const std::string& key,
                                    AcDbObjectId id, const std::string& beforeKey);
  static void removeDictionaryEntry(AcDbDictionary* dictionary, const std::string& key);
  // Records in the undo log how to put the entry of `key` back as it is now (or take it out
  // when there is none), the dictionary being about to change it.
  static void recordDictionaryEntry(AcDbDictionary* dictionary, const std::string& key);
  static std::vector<AcDbObjectId>& groupMembers(AcDbGroup* group) { return group->m_members; }
  static std::vector<AcDbObjectId>& vertices(AcDbComplexEntity* entity) {
    return entity->m_vertices;
  }
  static AcDbObjectId& sequenceEnd(AcDbComplexEntity* entity) { return entity->m_sequenceEnd; }
  static std::vector<AcDbObjectId>& attributes(AcDbBlockReference* reference) {
    return reference->m_attributes;
  }
  static AcDbObjectId& sequenceEnd(AcDbBlockReference* reference) {
    return reference->m_sequenceEnd;
  }
  static std::vector<AcDbVertex*>& pendingVertices(AcDbComplexEntity* entity) {
    return entity->m_pendingVertices;
  }
  static std::vector<AcDbAttribute*>& pendingAttributes(AcDbBlockReference* reference) {
    return reference->m_pendingAttributes;
  }
  static std::vector<AcDbEntity*>& pendingEntities(AcDbBlockTableRecord* block) {
    return block->m_pendingEntities;
  }
  static std::vector<std::pair<std::string, AcDbObject*>>& pendingEntries(
      AcDbDictionary* dictionary) {
    return dictionary->m_pending;
  }
};

}  // namespace tessera::db
