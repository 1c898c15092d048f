// What an object id points at: the object, its drawing, its handle and whether it is erased.
#pragma once

#include <cstdint>

#include "cad/rx.h"

class AcDbObject;
class AcDbDatabase;

struct AcDbStub {
  AcDbObject* object = nullptr;
  AcDbDatabase* database = nullptr;
  std::uint64_t handle = 0;
  bool erased = false;
  // The undo step that already keeps this object's state or made it (see UndoLog).
  std::uint32_t undoStep = 0;
};
