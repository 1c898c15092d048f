// Entity names and the order of entities in model space, as entlast and entnext walk them.
#pragma once

#include <vector>

#include "cad/db_database.h"

namespace tessera::editor {

// The model-space entities of a drawing that are not erased, in drawing order.
std::vector<AcDbObjectId> ModelSpaceEntities(AcDbDatabase* database);
// The last of them, or null.
AcDbObjectId LastEntity(AcDbDatabase* database);

}  // namespace tessera::editor
