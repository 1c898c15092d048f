#include "common/handles.h"

namespace area {

int HandleToId(AcDbHandle& handle, AcDbObjectId& id) {
  id.setNull();
  if (handle.isNull()) return 0;
  char text[17];
  handle.getIntoAsciiBuffer(text);
  ads_name name;
  if (acdbHandEnt(text, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk) return 1;
  id.setNull();
  handle.setNull();
  return 0;
}

bool ResolveHandle(const AcDbHandle& handle, AcDbObjectId& id, AcDbDatabase* database) {
  id.setNull();
  if (database == nullptr) database = acdbHostApplicationServices()->workingDatabase();
  if (database == nullptr || handle.isNull()) return false;
  AcDbObjectId found;
  if (database->getAcDbObjectId(found, false, handle) != Acad::eOk) return false;
  if (!found.isValid() || found.isErased()) return false;
  id = found;
  return true;
}

std::string HandleText(const AcDbHandle& handle) {
  char text[17];
  handle.getIntoAsciiBuffer(text);
  return text;
}

std::string HandleText(AcDbObjectId id) {
  return HandleText(id.handle());
}

}  // namespace area
