// The drawing database, its reactors, and the functions that open objects by id.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cad/db_entities.h"
#include "cad/db_object.h"
#include "cad/db_tables.h"

namespace tessera::db {
class DatabaseImpl;
}

// A transient observer of a whole drawing.
class AcDbDatabaseReactor : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbDatabaseReactor)
  virtual void objectAppended(const AcDbDatabase* database, const AcDbObject* object) {}
  virtual void objectUnAppended(const AcDbDatabase* database, const AcDbObject* object) {}
  virtual void objectReAppended(const AcDbDatabase* database, const AcDbObject* object) {}
  virtual void objectOpenedForModify(const AcDbDatabase* database, const AcDbObject* object) {}
  virtual void objectModified(const AcDbDatabase* database, const AcDbObject* object) {}
  virtual void objectErased(const AcDbDatabase* database, const AcDbObject* object,
                            bool erased = true) {}
  virtual void headerSysVarWillChange(const AcDbDatabase* database, const char* name) {}
  virtual void headerSysVarChanged(const AcDbDatabase* database, const char* name, bool success) {}
  virtual void goodbye(const AcDbDatabase* database) {}
};

class AcDbDatabase : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbDatabase)
  // With buildDefaultDrawing, the drawing starts with layer "0", model and paper space, the
  // named-object dictionary and the group dictionary; without, it is empty (for reading a file).
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase() override;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode);
  Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode);
  AcDbObjectId blockTableId() const;
  AcDbObjectId layerTableId() const;
  AcDbObjectId regAppTableId() const;
  AcDbObjectId namedObjectsDictionaryId() const;
  AcDbObjectId groupDictionaryId() const;
  AcDbObjectId currentSpaceId() const;

  // Adds an object without an owner (the caller may set one) and gives it a handle.
  Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);
  Acad::ErrorStatus addAcDbObject(AcDbObject* object);
  // Finds the object of a handle; erased objects are found too (check isErased).
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                    const AcDbHandle& handle, Adesk::UInt32 xRefId = 0);
  AcDbHandle handseed() const;

  void addReactor(AcDbDatabaseReactor* reactor) const;
  void removeReactor(AcDbDatabaseReactor* reactor) const;

  // The current UCS: origin and axes in world coordinates.
  AcGePoint3d ucsorg() const;
  AcGeVector3d ucsxdir() const;
  AcGeVector3d ucsydir() const;
  Acad::ErrorStatus setUcs(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                           const AcGeVector3d& yAxis);

  // Drawing settings kept in the drawing.
  AcDbObjectId clayer() const;
  Acad::ErrorStatus setClayer(AcDbObjectId layer);
  double textsize() const;
  Acad::ErrorStatus setTextsize(double size);

  const char* filename() const;
  void setFilename(const std::string& name);

  tessera::db::DatabaseImpl* impl() const { return m_impl.get(); }

 private:
  std::unique_ptr<tessera::db::DatabaseImpl> m_impl;
};

class AcDbHostApplicationServices : public AcRxObject {
 public:
  AcDbDatabase* workingDatabase() const { return m_working; }
  void setWorkingDatabase(AcDbDatabase* database) { m_working = database; }
  // Finds a file on the host's search path; eFileNotFound when it is not there.
  Acad::ErrorStatus findFile(char* result, int bufferLength, const char* name,
                             AcDbDatabase* database = nullptr);

 private:
  AcDbDatabase* m_working = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();

// Opening objects by id. Every open is paired with close().
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// Opens as the given class; eNotThatKindOfClass (leaving nothing open) when it is another.
template <typename T>
Acad::ErrorStatus acdbOpenObject(T*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false) {
  object = nullptr;
  AcDbObject* opened = nullptr;
  Acad::ErrorStatus status = acdbOpenAcDbObject(opened, id, mode, openErased);
  if (status != Acad::eOk) return status;
  object = T::cast(opened);
  if (object == nullptr) {
    opened->close();
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);
