// Writing the program's outputs so that nothing is lost.
#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

// Links followed from an output's name to its file; a longer chain is a loop.
constexpr int kMaxLinkDepth = 40;
// Marks the name of a partial file beside its output.
constexpr const char* kPartialMarker = ".tessera-";
// Bytes copied at a time into a device or FIFO.
constexpr std::size_t kCopyBlock = 64 * 1024;

// The file a name leads to through symbolic links, each relative link read from its own folder.
fs::path ResolveLinks(const fs::path& path) {
  fs::path current = path;
  std::error_code code;
  for (int depth = 0; depth < kMaxLinkDepth && fs::is_symlink(current, code); ++depth) {
    const fs::path target = fs::read_symlink(current, code);
    if (code) break;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current;
}

// A file that is written into rather than replaced.
bool IsDevice(const fs::path& path) {
  std::error_code code;
  const fs::file_status status = fs::status(path, code);
  return fs::is_fifo(status) || fs::is_character_file(status) || fs::is_block_file(status) ||
         fs::is_socket(status);
}

bool IsCharacterDevice(const std::string& path) {
  std::error_code code;
  return fs::is_character_file(fs::status(path, code));
}

std::string PartialName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  return "." + target.filename().string() + kPartialMarker + std::to_string(::getpid()) + "-" +
         std::to_string(counter++) + target.extension().string();
}

// Flushes a complete file to the disk before it replaces another.
bool SyncFile(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY);
  if (descriptor < 0) return false;
  const bool synced = ::fsync(descriptor) == 0;
  return ::close(descriptor) == 0 && synced;
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
  }
  return "a file";
}

// Whether a pair of roles may name one file: saving the drawing over the one opened.
bool MayShare(FileRole a, FileRole b) {
  return (a == FileRole::kDrawingIn && b == FileRole::kDrawingOut) ||
         (a == FileRole::kDrawingOut && b == FileRole::kDrawingIn);
}

bool SameFile(const std::string& a, const std::string& b) {
  const fs::path fileA = ResolveLinks(a);
  const fs::path fileB = ResolveLinks(b);
  std::error_code code;
  const bool existsA = fs::exists(fileA, code);
  const bool existsB = fs::exists(fileB, code);
  if (existsA && existsB) return fs::equivalent(fileA, fileB, code);
  if (existsA != existsB) return false;
  return fs::weakly_canonical(fs::absolute(fileA, code), code) ==
         fs::weakly_canonical(fs::absolute(fileB, code), code);
}

}  // namespace

OutputFile::OutputFile(std::string path) : m_path(std::move(path)) {}

OutputFile::~OutputFile() {
  if (!m_partial.empty()) std::remove(m_partial.c_str());
}

bool OutputFile::open(std::string& error) {
  m_direct = IsDevice(m_path);
  const fs::path target = m_direct ? fs::path(m_path) : ResolveLinks(m_path);
  m_target = target.string();
  std::error_code code;
  fs::path folder = m_direct ? fs::temp_directory_path(code) : target.parent_path();
  if (folder.empty()) folder = ".";
  const std::string partial = (folder / PartialName(target)).string();
  // Made at once, so that a folder that takes no files is reported before any work.
  const int descriptor = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (descriptor < 0) return fail(std::strerror(errno), error);
  ::close(descriptor);
  m_partial = partial;
  return true;
}

bool OutputFile::commit(std::string& error) {
  if (m_partial.empty()) return fail("it was not opened", error);
  const bool done = m_direct ? copyIntoDevice(error) : replaceTarget(error);
  if (done) {
    if (m_direct) std::remove(m_partial.c_str());
    m_partial.clear();
  }
  return done;
}

bool OutputFile::replaceTarget(std::string& error) {
  if (!SyncFile(m_partial)) return fail(std::strerror(errno), error);
  std::error_code code;
  const fs::file_status old = fs::status(m_target, code);
  if (fs::is_regular_file(old)) {
    fs::permissions(m_partial, old.permissions(), fs::perm_options::replace, code);
    if (code) return fail(code.message(), error);
  }
  if (std::rename(m_partial.c_str(), m_target.c_str()) != 0)
    return fail(std::strerror(errno), error);
  return true;
}

bool OutputFile::copyIntoDevice(std::string& error) {
  std::ifstream in(m_partial, std::ios::binary);
  std::ofstream out(m_path, std::ios::binary);
  if (!in || !out) return fail(std::strerror(errno), error);
  std::array<char, kCopyBlock> block;
  while (in.read(block.data(), block.size()) || in.gcount() > 0)
    out.write(block.data(), in.gcount());
  out.flush();
  if (in.bad() || !out) return fail(std::strerror(errno), error);
  return true;
}

bool OutputFile::fail(const std::string& reason, std::string& error) const {
  error = "cannot write '" + m_path + "': " + reason;
  return false;
}

bool WriteOutput(const std::string& path, std::string_view content, std::string& error) {
  OutputFile output(path);
  if (!output.open(error)) return false;
  {
    std::ofstream file(output.partialPath(), std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    file.close();
    if (!file) {
      error = "cannot write '" + path + "': " + std::strerror(errno);
      return false;
    }
  }
  return output.commit(error);
}

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
