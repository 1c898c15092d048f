// Writing a drawing as DXF text, release 2007 (AC1021), UTF-8: HEADER, CLASSES, TABLES, BLOCKS,
// ENTITIES, OBJECTS. Parts a file brought that the platform does not model are written back as
// they were read; a drawing made in a session gets the defaults every DXF reader expects.
#pragma once

#include <optional>
#include <string>

#include "cad/db_database.h"

namespace tessera::files {

std::string WriteDxfText(AcDbDatabase* database);

// Why the drawing cannot be written as DXF without losing data, or nothing when it can: objects
// kept from a .tdb file for an application that is not loaded hold only binary data, and objects
// of a class registered without a DXF name have no DXF form.
std::optional<std::string> DataDxfCannotCarry(AcDbDatabase* database);

// Both in one pass over the drawing: the text, or (leaving both alone) why there is none. The
// text comes in two parts that follow each other in the file, the HEADER section and the rest,
// for a writer that puts them out in turn instead of copying one behind the other.
std::optional<std::string> WriteCarriedDxfText(AcDbDatabase* database, std::string& head,
                                               std::string& rest);

}  // namespace tessera::files
