// Every drawing database that exists in the process.
#pragma once

#include <vector>

#include "cad/db_database.h"

namespace tessera::db {
std::vector<AcDbDatabase*> LiveDatabases();
}
