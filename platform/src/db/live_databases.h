// Every drawing database that exists in the process.
#pragma once

#include <vector>

#include "cad/db_database.h"

namespace tessera::db {
std::vector<AcDbDatabase*> LiveDatabases();

// While true, a drawing that is deleted tells its reactors as ever but leaves its objects, undo
// log and handles where they are, for a process that ends right after: the system takes its
// memory back at once, where freeing the objects one by one takes milliseconds per 100 000.
void LeaveClosedDrawingsToProcessEnd(bool leave);
}  // namespace tessera::db
