// Which objects of a drawing a save writes, and in what order. An object is saved when it is
// resident, not erased, and owned (through its owners) by one of the drawing's roots: the three
// symbol tables and the named-object dictionary. Unowned objects are not saved.
#pragma once

#include <unordered_map>
#include <vector>

#include "cad/db_database.h"
#include "db/per_class.h"

namespace tessera::files {

class SavedObjects {
 public:
  explicit SavedObjects(AcDbDatabase* database);

  bool isSaved(AcDbObjectId id) const;
  // Appends to `order` what a save writes after a saved entity (one that entities() lists): its
  // saved vertices or attributes, then its sequence end when it has one that is saved; returns
  // whether it appended that end.
  bool appendParts(AcDbObjectId savedEntity, std::vector<AcDbObjectId>& order) const;
  // Saved records of a table, in table order.
  std::vector<AcDbObjectId> records(AcDbObjectId table) const;
  // Saved entities of a block, in drawing order (without their sub-entities).
  std::vector<AcDbObjectId> entities(AcDbObjectId block) const;
  // Saved objects that are neither entities nor symbol tables or their records: the named-object
  // dictionary first, then the rest in the order they entered the drawing. Every entity comes
  // before them in a file, so an object that refers to an entity finds it when it is read.
  std::vector<AcDbObjectId> nonGraphical() const;
  // Whether an object, if it is saved, is one of those after the named-object dictionary.
  bool isNonGraphical(AcDbObjectId id) const;

 private:
  bool usable(const AcDbStub* stub) const;
  bool isSavedWith(AcDbObjectId id, AcDbObjectId owner, bool ownerSaved) const;
  bool isRoot(const AcDbStub* stub) const;
  bool walk(AcDbStub* stub) const;
  bool decide(AcDbStub* stub) const;

  AcDbDatabase* m_database;
  std::vector<AcDbStub*> m_roots;
  // 0 deciding, 1 saved, 2 not saved.
  mutable std::unordered_map<AcDbStub*, int> m_state;
  // Whether objects of a class are neither entities, symbol tables nor their records.
  mutable db::PerClass<bool> m_nonGraphicalClass;
  // Whether entities of a class own vertices (0), attributes (1) or nothing (2).
  mutable db::PerClass<int> m_partsClass;
};

// The object behind an id for reading its fields during a save, without an open (a save reads
// every object whatever its open state), or null.
AcDbObject* Peek(AcDbObjectId id);

}  // namespace tessera::files
