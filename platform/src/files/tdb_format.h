// The platform's own binary drawing format, saved under the extension ".tdb": a magic text and
// a version, the header (handle seed, drawing settings, what a DXF file brought that the
// platform does not model), a class table, then every saved object as its class, handle, owner
// handle and the data its dwgOutFields wrote. Objects come in an order that lets each read
// find what it refers to: tables and their records, then the entities of every block, then the
// other objects (so an application object that opens an entity while it reads finds it).
// The texts the objects use are filed once, after the objects, and each object's data names
// them by number. A checksum of everything before it ends the file: a file changed by a single
// bit is refused as damaged. Files of version 3, whose values all have a fixed width and whose
// texts stand where they are used, of version 2, whose checksum is taken a byte at a time, and
// of version 1, written before the checksum, are still read.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cad/db_database.h"

namespace tessera::files {

std::vector<unsigned char> WriteTdbBytes(AcDbDatabase* database);
// Builds the drawing into `database` (made without defaults); a message when the bytes are not
// a drawing of this format, or a damaged one: a checksum that does not match, a count, handle
// or text (db/text_check.h) that no drawing holds. On a problem the drawing is left partly built
// and should be discarded.
std::optional<std::string> ReadTdbBytes(std::span<const unsigned char> bytes,
                                        AcDbDatabase* database);

// The checksum of the file's version written again over its contents, for tools and tests that
// change a file on purpose; a file without one is left alone.
void ResumTdbBytes(std::vector<unsigned char>& bytes);

}  // namespace tessera::files
