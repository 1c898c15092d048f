// Reading DXF text into an empty drawing, in two stages: every tag is read first (a file that is
// not DXF is refused with the line that is wrong), then the drawing is built: every handle is
// collected and the handle seed raised above them, objects are made in file order, and pointers
// between objects resolve through the handles once everything is read. Entities and objects the
// platform does not model are kept with their tags and written back unchanged.
#pragma once

#include <optional>
#include <string_view>

#include "cad/db_database.h"
#include "files/dxf_structure.h"
#include "files/dxf_tags.h"

namespace tessera::files {

// Builds the drawing into `database` (made without defaults). On a problem the drawing is left
// partly built and should be discarded.
std::optional<DxfProblem> ReadDxfText(std::string_view text, AcDbDatabase* database);

// The second stage alone, over sections whose handles are collected: what the drawing needed
// mended (references to objects the file does not have, ...) is added to `repairs`.
std::optional<DxfProblem> BuildDxfDrawing(const std::vector<DxfSection>& sections,
                                          const DxfHandles& handles, AcDbDatabase* database,
                                          DxfRepairs& repairs);

}  // namespace tessera::files
