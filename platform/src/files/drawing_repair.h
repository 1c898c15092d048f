// Repairs a freshly read drawing needs whatever format it came from: references to objects the
// file did not have are dropped, and groups follow their members again.
#pragma once

#include "cad/db_database.h"

namespace tessera::files {

void RepairReferences(AcDbDatabase* database);

}  // namespace tessera::files
