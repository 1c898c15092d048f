// The entity-name argument of the maintenance functions.
#include "maintenance/lisp_arguments.h"

namespace area {

std::optional<AcDbObjectId> EntityArgument() {
  const resbuf* args = acedGetArgs();
  if (args == nullptr || args->restype != RTENAME) return std::nullopt;
  AcDbObjectId id;
  if (acdbGetObjectId(id, args->resval.rlname) != Acad::eOk || id.isNull()) return std::nullopt;
  return id;
}

}  // namespace area
