// The text of a DXF file as UTF-8. Files of release 2007 and later are UTF-8 already; older
// ones are in the code page their header names ($DWGCODEPAGE, "ANSI_932" for Japanese) and
// write other characters as "\U+XXXX": both are turned into UTF-8 here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/dxf_tags.h"

namespace tessera::files {

std::optional<DxfProblem> DxfTextAsUtf8(std::string_view content, std::string& text);
// For text DxfTextAsUtf8 refuses: read with the host's default code page, else with U+FFFD for
// each byte that is not text of the declared page (or of UTF-8). The repair is added.
void RecoverDxfText(std::string_view content, std::string& text, std::vector<DxfProblem>& repairs);

// The offset of the first byte that is not part of valid UTF-8, or npos.
std::size_t FirstInvalidUtf8(std::string_view text);

}  // namespace tessera::files
