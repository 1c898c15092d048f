// Reading and writing drawing files: DXF (release 2007 or later, UTF-8) and the platform's own
// binary format (.tdb). The format follows the file's extension.
#pragma once

#include <memory>
#include <string>

#include "cad/db_database.h"

namespace tessera {

// Reads a drawing into a new database. On failure: null, and a one-line message naming the file
// (and the line, for DXF).
std::unique_ptr<AcDbDatabase> ReadDrawingFile(const std::string& path, std::string& error);
// Reads a DXF or .tdb file's contents into an existing empty database (built without defaults).
bool ReadDrawingInto(AcDbDatabase* database, const std::string& path, std::string& error);
// Writes the drawing as a replaced file (platform/replaced_file.h): the old file stays whole
// until the new one is complete, links are followed and special files written into.
bool WriteDrawingFile(AcDbDatabase* database, const std::string& path, std::string& error);

}  // namespace tessera
