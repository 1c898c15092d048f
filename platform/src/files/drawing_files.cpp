// Reading and writing drawing files; the format follows the extension.
#include "platform/drawing_files.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/dxf_encoding.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "files/tdb_format.h"

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

// Writes a new file beside the target and renames it over the target only once it is
// complete and on disk: a failed save leaves the old drawing as it was.
bool WriteAtomically(const std::string& path, const void* data, std::size_t size,
                     std::string& error) {
  static std::atomic<unsigned> counter{0};
  std::string temporary =
      path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    error = path + ": cannot be written: " + std::strerror(errno);
    return false;
  }
  bool written = std::fwrite(data, 1, size, file) == size && std::fflush(file) == 0 &&
                 ::fsync(::fileno(file)) == 0;
  int writeError = errno;
  written = std::fclose(file) == 0 && written;
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  if (!written && writeError == 0) writeError = errno;
  error = path + ": cannot be written: " + std::strerror(written ? errno : writeError);
  std::remove(temporary.c_str());
  return false;
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
  } else {
    std::string text;
    if (auto problem = files::DxfTextAsUtf8(content, text)) {
      error = path + ":" + std::to_string(problem->line) + ": " + problem->message;
      return false;
    }
    if (auto problem = files::ReadDxfText(text, database)) {
      error = path + ":" + std::to_string(problem->line) + ": " + problem->message;
      return false;
    }
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
    return WriteAtomically(path, bytes.data(), bytes.size(), error);
  }
  if (auto lost = files::DataDxfCannotCarry(database)) {
    error = path + ": not saved: " + *lost;
    return false;
  }
  std::string text = files::WriteDxfText(database);
  return WriteAtomically(path, text.data(), text.size(), error);
}

}  // namespace tessera
