// The text of a DXF file as UTF-8. Files of release 2007 and later are UTF-8 already; older
// ones are in the code page their header names ($DWGCODEPAGE, "ANSI_932" for Japanese) and
// write other characters as "\U+XXXX": both are turned into UTF-8 here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/dxf_tags.h"

namespace tessera::files {

std::optional<DxfProblem> DxfTextAsUtf8(std::string_view content, std::string& text);

// The offset of the first byte that is not part of valid UTF-8, or npos.
std::size_t FirstInvalidUtf8(std::string_view text);

}  // namespace tessera::files
