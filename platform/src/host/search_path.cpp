// The search path for support files: the current drawing's folder, the script's folder, then
// the folders of TESSERA_PATH, in that order.
#include "platform/search_path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "cad/editor.h"

namespace tessera {

namespace {

constexpr char kPathVariable[] = "TESSERA_PATH";
constexpr char kPathSeparator = ':';

std::string& ScriptFolder() {
  static std::string folder;
  return folder;
}

std::string CurrentDrawingFolder() {
  AcApDocument* document = acDocManagerPtr()->curDocument();
  if (document == nullptr || *document->fileName() == '\0') return {};
  return std::filesystem::path(document->fileName()).parent_path().string();
}

void AddFolder(std::vector<std::string>& folders, const std::string& folder) {
  if (folder.empty()) return;
  for (const std::string& known : folders)
    if (known == folder) return;
  folders.push_back(folder);
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

void SetScriptFolder(const std::string& folder) {
  ScriptFolder() = folder;
}

std::vector<std::string> SearchFolders() {
  std::vector<std::string> folders;
  AddFolder(folders, CurrentDrawingFolder());
  AddFolder(folders, ScriptFolder());
  if (const char* variable = std::getenv(kPathVariable)) {
    std::string list = variable;
    std::size_t start = 0;
    while (start <= list.size()) {
      std::size_t end = list.find(kPathSeparator, start);
      if (end == std::string::npos) end = list.size();
      AddFolder(folders, list.substr(start, end - start));
      start = end + 1;
    }
  }
  return folders;
}

std::optional<std::string> FindSupportFile(const std::string& name) {
  if (name.empty()) return std::nullopt;
  std::filesystem::path path(name);
  // A name with a folder in it is taken as it is, as the host takes a full path.
  if (path.has_parent_path() || path.is_absolute()) {
    if (IsFile(path)) return path.string();
    return std::nullopt;
  }
  for (const std::string& folder : SearchFolders()) {
    std::filesystem::path candidate = std::filesystem::path(folder) / path;
    if (IsFile(candidate)) return candidate.string();
  }
  return std::nullopt;
}

}  // namespace tessera
