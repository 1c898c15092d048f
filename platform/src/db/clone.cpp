// Copying an object through its own binary filing.
#include "cad/arx.h"
#include "files/memory_filer.h"

AcDbObject* AcDbObject::cloneObject() const {
  AcDbObject* copy = AcDbObject::cast(isA()->create());
  if (copy == nullptr) return nullptr;
  tessera::files::MemoryDwgFiler filer(AcDb::kCopyFiler, database());
  dwgOutFields(&filer);
  filer.rewind();
  if (filer.filerStatus() != Acad::eOk || copy->dwgInFields(&filer) != Acad::eOk) {
    delete copy;
    return nullptr;
  }
  return copy;
}
