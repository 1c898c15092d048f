// Handles stored in records and the entities they name. Records keep handles because ids last
// one session only; every use turns the handle back into an id.
#pragma once

#include <string>

#include "cad/arx.h"

namespace area {

// Resolves a stored handle to the id of a live (not erased) object of the working database.
// A zero handle gives 0. When the handle no longer resolves it is set to zero, so that a stale
// handle is not tried again, and 0 is returned; 1 on success.
int HandleToId(AcDbHandle& handle, AcDbObjectId& id);

// Like HandleToId but in the given drawing (the working one when null), and it never changes
// the handle: for readers that must keep what they read. True when a live object was found.
bool ResolveHandle(const AcDbHandle& handle, AcDbObjectId& id, AcDbDatabase* database = nullptr);

// The host's handle text: upper-case hexadecimal without leading zeros ("2A"; "0" for none).
std::string HandleText(const AcDbHandle& handle);
std::string HandleText(AcDbObjectId id);

}  // namespace area
