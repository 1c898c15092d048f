// The host's search path for support files (block drawings, settings files): the current
// drawing's folder, the script's folder, then the folders of TESSERA_PATH.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessera {

void SetScriptFolder(const std::string& folder);
std::vector<std::string> SearchFolders();
std::optional<std::string> FindSupportFile(const std::string& name);

}  // namespace tessera
