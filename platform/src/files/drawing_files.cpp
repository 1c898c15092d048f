// Reading and writing drawing files; the format follows the extension.
#include "platform/drawing_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/dxf_file.h"
#include "files/dxf_writer.h"
#include "files/tdb_format.h"
#include "platform/replaced_file.h"

namespace tessera {
namespace {

enum class Format { kDxf, kTdb, kUnknown };

Format FormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".dxf") return Format::kDxf;
  if (extension == ".tdb") return Format::kTdb;
  return Format::kUnknown;
}

std::string UnknownFormat(const std::string& path) {
  return path + ": not a drawing file name (the extension must be .dxf or .tdb)";
}

bool ReadBytes(const std::string& path, std::string& content, std::string& error) {
  // A FIFO or device would block the read or never end: a drawing is a regular file.
  std::error_code code;
  const std::filesystem::file_status status = std::filesystem::status(path, code);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    error = path + ": cannot be opened: not a regular file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be opened: " + std::strerror(errno);
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    error = path + ": cannot be read: " + std::strerror(errno);
    return false;
  }
  content = buffer.str();
  return true;
}

}  // namespace

bool ReadDrawingInto(AcDbDatabase* database, const std::string& path, std::string& error) {
  Format format = FormatOf(path);
  if (format == Format::kUnknown) {
    error = UnknownFormat(path);
    return false;
  }
  std::string content;
  if (!ReadBytes(path, content, error)) return false;
  if (format == Format::kTdb) {
    std::vector<unsigned char> bytes(content.begin(), content.end());
    if (auto problem = files::ReadTdbBytes(bytes, database)) {
      error = path + ": " + *problem;
      return false;
    }
  } else if (!files::OpenDxfFile(path, content, database, error)) {
    return false;
  }
  database->setFilename(path);
  return true;
}

std::unique_ptr<AcDbDatabase> ReadDrawingFile(const std::string& path, std::string& error) {
  auto database = std::make_unique<AcDbDatabase>(false, true);
  if (!ReadDrawingInto(database.get(), path, error)) return nullptr;
  return database;
}

bool WriteDrawingFile(AcDbDatabase* database, const std::string& path, std::string& error) {
  Format format = FormatOf(path);
  if (format == Format::kUnknown) {
    error = UnknownFormat(path);
    return false;
  }
  if (format == Format::kTdb) {
    std::vector<unsigned char> bytes = files::WriteTdbBytes(database);
    return WriteReplacing(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
  }
  if (auto lost = files::DataDxfCannotCarry(database)) {
    error = path + ": not saved: " + *lost;
    return false;
  }
  std::string text = files::WriteDxfText(database);
  return WriteReplacing(path, text, error);
}

}  // namespace tessera
