#include "records/figure_dictionaries.h"

#include "records/figure_kinds.h"
#include "records/record_index.h"

namespace area {
namespace {

AcDbDatabase* OrWorking(AcDbDatabase* database) {
  return database != nullptr ? database : acdbHostApplicationServices()->workingDatabase();
}

// The shape's dictionary open for write, made under the named-object dictionary when missing;
// null when either cannot be opened or made.
AcDbDictionary* OpenOrMakeShapeDictionary(AcDbDatabase* database, const char* name) {
  AcDbDictionary* named = nullptr;
  if (database == nullptr ||
      database->getNamedObjectsDictionary(named, AcDb::kForWrite) != Acad::eOk)
    return nullptr;
  AcDbObject* found = nullptr;
  Acad::ErrorStatus status = named->getAt(name, found, AcDb::kForWrite);
  AcDbDictionary* shape = AcDbDictionary::cast(found);
  if (status == Acad::eOk && shape == nullptr) {
    found->close();  // the name holds something else: no figure can be stored under it
  } else if (status == Acad::eKeyNotFound) {
    shape = new AcDbDictionary;
    AcDbObjectId id;
    if (named->setAt(name, shape, id) != Acad::eOk) {
      delete shape;
      shape = nullptr;
    }
  }
  named->close();
  return shape;
}

// The record of an entry opened in `mode`, or null (the entry is closed again).
FigureRecord* OpenRecord(AcDbObjectId id, AcDb::OpenMode mode) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, mode) != Acad::eOk) return nullptr;
  FigureRecord* record = FigureRecord::cast(object);
  if (record == nullptr) object->close();
  return record;
}

}  // namespace

AcDbDictionary* OpenShapeDictionary(const char* name, AcDb::OpenMode mode, AcDbDatabase* database) {
  database = OrWorking(database);
  AcDbDictionary* named = nullptr;
  if (database == nullptr ||
      database->getNamedObjectsDictionary(named, AcDb::kForRead) != Acad::eOk)
    return nullptr;
  AcDbObject* found = nullptr;
  Acad::ErrorStatus status = named->getAt(name, found, mode);
  named->close();
  if (status != Acad::eOk) return nullptr;
  AcDbDictionary* shape = AcDbDictionary::cast(found);
  if (shape == nullptr) found->close();
  return shape;
}

std::unique_ptr<AcDbDictionaryIterator> ShapeDictionaryEntries(const char* name,
                                                               AcDbDatabase* database) {
  AcDbDictionary* shape = OpenShapeDictionary(name, AcDb::kForRead, database);
  if (shape == nullptr) return nullptr;
  std::unique_ptr<AcDbDictionaryIterator> entries(shape->newIterator());
  shape->close();
  return entries;
}

int StoreFigureRecord(const char* dictionaryName, const char* key, AcDbObject* record,
                      Acad::ErrorStatus* setAtStatus, AcDbDatabase* database) {
  if (record == nullptr || key == nullptr) return 0;
  AcDbDictionary* shape = OpenOrMakeShapeDictionary(OrWorking(database), dictionaryName);
  if (shape == nullptr) return 0;
  AcDbObjectId id;
  Acad::ErrorStatus status = shape->setAt(key, record, id);
  if (setAtStatus != nullptr) *setAtStatus = status;
  shape->close();
  if (status != Acad::eOk) return 0;
  if (FigureRecord* stored = FigureRecord::cast(record)) stored->noteHandles();
  record->close();
  return 1;
}

FigureRecord* FindRecordByMark(const char* dictionaryName, AcDbObjectId markId, AcDb::OpenMode mode,
                               std::string* key, AcDbDatabase* database) {
  const FigureKindInfo* kind = KindByDictionary(dictionaryName);
  if (kind == nullptr) return nullptr;
  return FindRecordNaming(*kind, markId.handle(), NamedRole::kMark, mode, key, OrWorking(database));
}

FigureRecord* FindRecordByKey(const char* dictionaryName, const char* key, AcDb::OpenMode mode,
                              AcDbDatabase* database) {
  AcDbDictionary* shape = OpenShapeDictionary(dictionaryName, AcDb::kForRead, database);
  if (shape == nullptr || key == nullptr) {
    if (shape != nullptr) shape->close();
    return nullptr;
  }
  AcDbObjectId id;
  Acad::ErrorStatus status = shape->getAt(key, id);
  shape->close();
  return status == Acad::eOk ? OpenRecord(id, mode) : nullptr;
}

Acad::ErrorStatus RemoveFigureRecord(const char* dictionaryName, const char* key, bool erasing,
                                     AcDbDatabase* database) {
  // Removing from a shape that has no dictionary yet must not make one.
  AcDbDictionary* shape = OpenShapeDictionary(dictionaryName, AcDb::kForWrite, database);
  if (shape == nullptr) return Acad::eKeyNotFound;
  AcDbObjectId id;
  Acad::ErrorStatus status = key ? shape->remove(key, id) : Acad::eInvalidKey;
  shape->close();
  if (status != Acad::eOk) return status;
  AcDbObject* record = nullptr;
  if (Acad::ErrorStatus opened = acdbOpenAcDbObject(record, id, AcDb::kForWrite);
      opened != Acad::eOk)
    return opened;
  status = record->erase(erasing);
  record->close();
  return status;
}

}  // namespace area
