// Reading and writing drawing files; the format follows the extension.
#include "platform/drawing_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string_view>

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

// A file's bytes, in memory that is not filled before the read writes every byte of it (a
// drawing's file runs to tens of megabytes).
class FileBytes {
 public:
  // Room for `size` bytes, to be read into.
  unsigned char* allocate(std::size_t size) {
    m_bytes.reset(new unsigned char[size]);
    m_size = size;
    return m_bytes.get();
  }
  // Keeps only the first `size` bytes (a file that shrank while read).
  void shorten(std::size_t size) { m_size = std::min(m_size, size); }
  std::span<const unsigned char> bytes() const { return {m_bytes.get(), m_size}; }
  std::string_view text() const { return {reinterpret_cast<const char*>(m_bytes.get()), m_size}; }

 private:
  std::unique_ptr<unsigned char[]> m_bytes;
  std::size_t m_size = 0;
};

// Reads the whole file into `content` in one read of its size.
bool ReadBytes(const std::string& path, FileBytes& content, std::string& error) {
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
  unsigned char* to = content.allocate(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(to), size);
  // A file that shrank while read leaves fewer bytes than its size: keep what was read.
  content.shorten(static_cast<std::size_t>(in.gcount()));
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
  FileBytes content;
  if (!ReadBytes(path, content, error)) return false;
  if (format == Format::kTdb) {
    if (auto problem = files::ReadTdbBytes(content.bytes(), database)) {
      error = path + ": " + *problem;
      return false;
    }
  } else if (!files::OpenDxfFile(path, content.text(), database, error)) {
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
  std::string head;
  std::string rest;
  if (auto lost = files::WriteCarriedDxfText(database, head, rest)) {
    error = path + ": not saved: " + *lost;
    return false;
  }
  return WriteReplacing(path, {head, rest}, error);
}

}  // namespace tessera
