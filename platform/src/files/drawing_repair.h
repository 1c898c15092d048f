// Repairs a freshly read drawing needs whatever format it came from: references to objects the
// file did not have are dropped or cleared, objects whose owner is missing are re-owned, and
// groups follow their members again.
#pragma once

#include <string>
#include <vector>

#include "cad/db_database.h"

namespace tessera::files {

// With `repairs`, one line is added for each reference that had to be mended.
void RepairReferences(AcDbDatabase* database, std::vector<std::string>* repairs = nullptr);

// Blocks that insert themselves, directly or through other blocks, cannot be drawn: a message
// naming the blocks of the first such cycle, or empty when there is none.
std::string BlockCycle(AcDbDatabase* database);

}  // namespace tessera::files
