// Reading and writing drawing files; the format follows the extension.
#include "platform/drawing_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

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

// Reads the whole file into `content` (a std::string or a byte vector) in one read of its size.
template <typename Content>
bool ReadBytes(const std::string& path, Content& content, std::string& error) {
  // A FIFO or device would block the read or never end: a drawing is a regular file.
  std::error_code code;
  const std::filesystem::file_status status = std::filesystem::status(path, code);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    error = path + ": cannot be opened: not a regular file";
    return false;
  }
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    error = path + ": cannot be opened: " + std::strerror(errno);
    return false;
  }
  const std::streamoff size = in.tellg();
  in.seekg(0);
  if (size < 0 || !in) {
    error = path + ": cannot be read: " + std::strerror(errno);
    return false;
  }
  content.resize(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(content.data()), static_cast<std::streamsize>(content.size()));
  // A file that shrank while read leaves fewer bytes than its size: keep what was read.
  content.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) {
    error = path + ": cannot be read: " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool ReadDrawingInto(AcDbDatabase* database, const std::string& path, std::string& error) {
  Format format = FormatOf(path);
  if (format == Format::kUnknown) {
    error = UnknownFormat(path);
    return false;
  }
  if (format == Format::kTdb) {
    std::vector<unsigned char> bytes;
    if (!ReadBytes(path, bytes, error)) return false;
    if (auto problem = files::ReadTdbBytes(bytes, database)) {
      error = path + ": " + *problem;
      return false;
    }
  } else {
    std::string content;
    if (!ReadBytes(path, content, error) || !files::OpenDxfFile(path, content, database, error))
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
  std::string text;
  if (auto lost = files::WriteCarriedDxfText(database, text)) {
    error = path + ": not saved: " + *lost;
    return false;
  }
  return WriteReplacing(path, text, error);
}

}  // namespace tessera
