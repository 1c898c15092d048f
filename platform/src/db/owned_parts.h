// What happens to an object as it enters a drawing: the parts it owns (polyline vertices,
// attributes, sequence ends, entities of a new block, entries of a new dictionary) enter with it.
#pragma once

#include "cad/db_database.h"

namespace tessera::db {

// Settles what the drawing decides for a new entity before it is added (a text made with
// height 0 takes the drawing's text size).
void PrepareForDrawing(AcDbEntity* entity, AcDbDatabase* database);
// Adds the object's waiting parts to its drawing, owned by it.
void AddOwnedParts(AcDbObject* object);

}  // namespace tessera::db
