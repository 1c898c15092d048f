// The inside of a drawing database: the handle table, the well-known objects, the reactors, the
// drawing settings and the undo log. Platform code only; applications see AcDbDatabase.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cad/db_database.h"
#include "db/stub.h"
#include "db/undo.h"

namespace tessera::db {

// A cache the editor keeps with a drawing (the spatial index of picks and windows). It hears of
// every object whose change may move an entity, and of wholesale changes such as a file read.
class ObjectChangeObserver {
 public:
  virtual ~ObjectChangeObserver() = default;
  virtual void objectChanged(AcDbStub* stub) = 0;
  virtual void everythingChanged() = 0;
};

class DatabaseImpl {
 public:
  explicit DatabaseImpl(AcDbDatabase* owner);
  ~DatabaseImpl();

  AcDbDatabase* owner() const { return m_owner; }

  // Objects and handles. Lookup by handle takes constant time.
  // Gives the object the next free handle and makes it resident with the given owner.
  AcDbObjectId addObject(AcDbObject* object, AcDbObjectId ownerId);
  // For reading files: makes the object resident under a handle read from the file.
  // eHandleInUse when another object holds it.
  Acad::ErrorStatus addObjectWithHandle(AcDbObject* object, AcDbHandle handle, AcDbObjectId ownerId,
                                        AcDbObjectId& id);
  // The id of a handle, or null. With create, makes an empty stub that a later read fills.
  AcDbObjectId idForHandle(AcDbHandle handle, bool create = false);
  // For reading files: empty stubs for the handles (those without one), made in the order
  // given, which is the order the drawing lists its objects in; the next free handle goes above
  // them all.
  void makeStubs(const std::vector<std::uint64_t>& handles);
  AcDbHandle handseed() const { return AcDbHandle(m_nextHandle); }
  // Moves the next free handle up to at least `handle` (never down).
  void raiseHandseed(AcDbHandle handle);
  std::size_t objectCount() const { return m_ascending.size() + m_scattered.size(); }
  // Ids made so far: each object's, and those a file named without the object.
  std::size_t idCount() const { return m_stubs.size(); }
  // Whether every id made so far names an object: then no reference dangles.
  bool everyIdNamesAnObject() const;
  // Every resident object id (erased ones too), in the order the objects were added.
  template <typename Visit>
  void forEachObject(Visit&& visit) const {
    for (const AcDbStub& stub : m_stubs)
      if (stub.object != nullptr) visit(AcDbObjectId(const_cast<AcDbStub*>(&stub)));
  }

  // Well-known objects.
  AcDbObjectId blockTable, layerTable, regAppTable, namedObjects, groupDictionary;
  AcDbObjectId modelSpace, paperSpace, layerZero;

  // Drawing settings.
  AcGePoint3d ucsOrigin;
  AcGeVector3d ucsXAxis = AcGeVector3d(1, 0, 0);
  AcGeVector3d ucsYAxis = AcGeVector3d(0, 1, 0);
  AcDbObjectId currentLayer;
  double textSize = 2.5;
  std::string fileName;
  // Header variables read from a file that the platform does not interpret, written back as
  // read: name -> raw tags.
  std::vector<std::pair<std::string, std::vector<std::pair<int, std::string>>>> extraHeader;
  // Parts of a DXF file the platform does not model (tables such as LTYPE and STYLE, CLASSES
  // entries of unknown classes), kept as raw tag lists by the file code that reads and writes
  // them; keyed by a name of that code's choosing.
  std::map<std::string, std::vector<std::vector<std::pair<int, std::string>>>> preservedDxf;

  // Reactors. The snapshot lets a reactor remove itself during a notification.
  void addReactor(AcDbDatabaseReactor* reactor);
  void removeReactor(AcDbDatabaseReactor* reactor);
  bool hasReactor(const AcDbDatabaseReactor* reactor) const;
  std::vector<AcDbDatabaseReactor*> reactors() const { return m_reactors; }

  // While a file is read, objects are added without notifications or undo records.
  bool loading = false;
  // While the drawing goes away nothing opens: objects' destructors find their peers gone.
  bool closing = false;

  // Made by the editor on first use; told of changes from then on.
  std::unique_ptr<ObjectChangeObserver> changeObserver;
  void objectChanged(AcDbStub* stub) {
    if (changeObserver) changeObserver->objectChanged(stub);
  }

  UndoLog& undo() { return *m_undo; }
  // Deletes every object; from then on nothing opens.
  void destroyObjects();
  // Deletes an erased object that nobody has open; its id stays, naming an erased object.
  void releaseUncreated(AcDbObjectId id);

 private:
  AcDbStub* newStub(std::uint64_t handle);

  AcDbDatabase* m_owner;
  std::deque<AcDbStub> m_stubs;  // stable addresses: ids point into it
  AcDbStub* stubOf(std::uint64_t handle) const;

  // Stubs by handle: those made in ascending handle order (every new object, most of a file)
  // in a sorted list that costs a pointer each, the rest in a map.
  std::vector<AcDbStub*> m_ascending;
  std::unordered_map<std::uint64_t, AcDbStub*> m_scattered;
  std::uint64_t m_nextHandle = 1;
  std::vector<AcDbDatabaseReactor*> m_reactors;
  std::unique_ptr<UndoLog> m_undo;
};

inline DatabaseImpl* Impl(const AcDbDatabase* database) {
  return database ? database->impl() : nullptr;
}

}  // namespace tessera::db
