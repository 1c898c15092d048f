// Writing the program's outputs so that nothing is lost.
#include "output_file.h"

#include <filesystem>

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

bool IsCharacterDevice(const std::string& path) {
  std::error_code code;
  return fs::is_character_file(fs::status(path, code));
}

bool IsOutput(FileRole role) {
  return role != FileRole::kScript && role != FileRole::kDrawingIn;
}

const char* RoleName(FileRole role) {
  switch (role) {
    case FileRole::kScript:
      return "the script";
    case FileRole::kDrawingIn:
      return "the drawing opened";
    case FileRole::kDrawingOut:
      return "the drawing saved";
    case FileRole::kPicture:
      return "the picture";
    case FileRole::kTranscript:
      return "the transcript";
    case FileRole::kCsv:
      return "the CSV file";
    case FileRole::kJson:
      return "the JSON report";
  }
  return "a file";
}

// Whether a pair of roles may name one file: saving the drawing over the one opened.
bool MayShare(FileRole a, FileRole b) {
  return (a == FileRole::kDrawingIn && b == FileRole::kDrawingOut) ||
         (a == FileRole::kDrawingOut && b == FileRole::kDrawingIn);
}

bool SameFile(const std::string& a, const std::string& b) {
  const fs::path fileA = FileBehindLinks(a);
  const fs::path fileB = FileBehindLinks(b);
  std::error_code code;
  const bool existsA = fs::exists(fileA, code);
  const bool existsB = fs::exists(fileB, code);
  if (existsA && existsB) return fs::equivalent(fileA, fileB, code);
  if (existsA != existsB) return false;
  return fs::weakly_canonical(fs::absolute(fileA, code), code) ==
         fs::weakly_canonical(fs::absolute(fileB, code), code);
}

}  // namespace

bool CheckDistinctFiles(const std::vector<NamedFile>& files, std::string& error) {
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (std::size_t j = i + 1; j < files.size(); ++j) {
      const NamedFile& a = files[i];
      const NamedFile& b = files[j];
      if (!IsOutput(a.role) && !IsOutput(b.role)) continue;
      if (MayShare(a.role, b.role) || !SameFile(a.path, b.path)) continue;
      if (IsCharacterDevice(a.path)) continue;
      error = std::string(RoleName(a.role)) + " and " + RoleName(b.role) + " name one file '" +
              b.path + "'";
      return false;
    }
  }
  return true;
}

}  // namespace tessera::app
