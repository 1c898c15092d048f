// Binary DXF: the same tags as DXF text, with numbers as little-endian binary values and texts
// ended by a NUL. Release 12 files give group codes in one byte (255 escapes a two-byte code);
// later releases in two. A binary file is turned into the DXF text it stands for, so that both
// forms go through one reader and give the same drawing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/dxf_tags.h"

namespace tessera::files {

bool IsBinaryDxf(std::string_view bytes);

// The text form of a binary DXF file, and the byte offset where each of its tags starts (tag k
// is on lines 2k+1 and 2k+2 of the text). Texts keep the bytes of their code page. A problem's
// line is the text line of the tag that is wrong.
std::optional<DxfProblem> BinaryDxfAsText(std::string_view bytes, std::string& text,
                                          std::vector<std::size_t>& tagOffsets);

}  // namespace tessera::files
