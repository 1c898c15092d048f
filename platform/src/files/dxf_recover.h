// The recover road of the DXF reader, taken only when the strict road refuses a file: each step
// mends one kind of damage in the tags, adds a line to the repairs for each mend, and leaves a
// file that the strict steps after it accept.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "files/dxf_structure.h"
#include "files/dxf_tags.h"

namespace tessera::files {

// The tags of a file cut short inside its last tag: those before it; a NUL in a value is read as
// U+FFFD (the value kept in `mended`). Other problems stay.
std::optional<DxfProblem> RecoverDxfTags(std::string_view text, std::vector<DxfTag>& tags,
                                         DxfTagTexts& mended, DxfRepairs& repairs);

// The tags put in sections again: header variables found outside any section go to HEADER,
// other tags outside a section are dropped, a section left open is closed where the next one
// starts or the file ends, and a missing EOF is added.
std::vector<DxfTag> RecoverDxfSections(const std::vector<DxfTag>& tags, DxfRepairs& repairs);

// The tags without the own handles that are empty, not handles, too large or used before: those
// objects get new handles, and references keep pointing to the first object of the handle.
std::vector<DxfTag> RecoverDxfHandles(const std::vector<DxfTag>& tags,
                                      const std::vector<DxfSection>& sections, DxfRepairs& repairs);

}  // namespace tessera::files
