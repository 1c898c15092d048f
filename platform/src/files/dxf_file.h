// Opening a DXF file, text or binary. The strict road reads what is well formed exactly; a file
// it refuses takes the recover road, which mends what can be mended and tells each mend. A file
// the recover road cannot make sense of either is refused, naming the place that is wrong.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cad/db_database.h"

namespace tessera::files {

// Reads the file's bytes into `database` (made without defaults). On success, `repairs` holds
// one line per mend ("12: ..." with the line of the file, or "byte 40: ..." in a binary file).
// On failure: the place and the problem, and the drawing should be discarded.
std::optional<std::string> ReadDxfFile(std::string_view bytes, AcDbDatabase* database,
                                       std::vector<std::string>& repairs);

// ReadDxfFile, with each mend written to the transcript under the file's name and counted at the
// end ("3 errors found, 3 fixed"). On failure, false and a message naming the file.
bool OpenDxfFile(const std::string& path, std::string_view bytes, AcDbDatabase* database,
                 std::string& error);

}  // namespace tessera::files
