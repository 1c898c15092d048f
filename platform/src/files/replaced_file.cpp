// Writing a file so that nothing is lost.
#include "platform/replaced_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tessera {
namespace {

namespace fs = std::filesystem;

// Links followed from an output's name to its file; a longer chain is a loop.
constexpr int kMaxLinkDepth = 40;
// Marks the name of a partial file beside its output.
constexpr const char* kPartialMarker = ".tessera-";
// Bytes copied at a time into a device or FIFO.
constexpr std::size_t kCopyBlock = 64 * 1024;
// The write permission bits of user, group and others.
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

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

// The start of every partial file name of one output; the writer's process id follows it.
std::string PartialPrefix(const fs::path& target) {
  return "." + target.filename().string() + kPartialMarker;
}

std::string PartialName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  return PartialPrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
         target.extension().string();
}

bool ProcessIsAlive(pid_t process) {
  return ::kill(process, 0) == 0 || errno == EPERM;
}

// Removes the partial files of this output whose writer is gone (killed in the middle of a
// save), so that they never accumulate; those of writers still at work are left alone.
void RemoveAbandonedPartials(const fs::path& folder, const fs::path& target) {
  const std::string prefix = PartialPrefix(target);
  std::error_code code;
  for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const char* digits = name.c_str() + prefix.size();
    char* after = nullptr;
    const long process = std::strtol(digits, &after, 10);
    if (after == digits || *after != '-' || process <= 0) continue;
    if (!ProcessIsAlive(static_cast<pid_t>(process))) fs::remove(it->path(), code);
  }
}

// Flushes a complete file to the disk before it replaces another.
bool SyncFile(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY);
  if (descriptor < 0) return false;
  const bool synced = ::fsync(descriptor) == 0;
  return ::close(descriptor) == 0 && synced;
}

// Makes a rename lasting. A folder that cannot be synced (some file systems refuse) still
// holds the complete file, so this is not a failure of the write.
void SyncFolder(const fs::path& folder) {
  const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

// Gives the partial file the old file's owner, group and mode. The owner is kept as far as
// the writer may give it: only a privileged writer can give a file to another user.
bool CopyOwnerAndMode(const std::string& partial, const struct stat& old) {
  if (::chown(partial.c_str(), old.st_uid, old.st_gid) != 0)
    (void)!::chown(partial.c_str(), static_cast<uid_t>(-1), old.st_gid);
  return ::chmod(partial.c_str(), old.st_mode & 07777) == 0;
}

bool IsReadOnly(const std::string& target) {
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  // The mode bits too: a privileged writer passes the access check on any file.
  return (status.st_mode & kAnyWrite) == 0 || ::access(target.c_str(), W_OK) != 0;
}

}  // namespace

std::string FileBehindLinks(const std::string& path) {
  return ResolveLinks(path).string();
}

bool IsSpecialFile(const std::string& path) {
  std::error_code code;
  const fs::file_status status = fs::status(path, code);
  return fs::is_fifo(status) || fs::is_character_file(status) || fs::is_block_file(status) ||
         fs::is_socket(status);
}

bool CheckReplaceable(const std::string& path, std::string& error) {
  if (!IsReadOnly(ResolveLinks(path).string())) return true;
  error = path + ": cannot be written: the file is read-only";
  return false;
}

ReplacedFile::ReplacedFile(std::string path) : m_path(std::move(path)) {}

ReplacedFile::~ReplacedFile() {
  if (!m_partial.empty()) std::remove(m_partial.c_str());
}

bool ReplacedFile::open(std::string& error) {
  if (!CheckReplaceable(m_path, error)) return false;
  m_direct = IsSpecialFile(m_path);
  const fs::path target = m_direct ? fs::path(m_path) : ResolveLinks(m_path);
  m_target = target.string();
  std::error_code code;
  fs::path folder = m_direct ? fs::temp_directory_path(code) : target.parent_path();
  if (folder.empty()) folder = ".";
  RemoveAbandonedPartials(folder, target);
  const std::string partial = (folder / PartialName(target)).string();
  // Made at once, so that a folder that takes no files is reported before any work.
  const int descriptor = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (descriptor < 0) return fail(std::strerror(errno), error);
  ::close(descriptor);
  m_partial = partial;
  return true;
}

bool ReplacedFile::commit(std::string& error) {
  if (m_partial.empty()) return fail("it was not opened", error);
  const bool done = m_direct ? copyIntoDevice(error) : replaceTarget(error);
  if (done) {
    if (m_direct) std::remove(m_partial.c_str());
    m_partial.clear();
  }
  return done;
}

bool ReplacedFile::replaceTarget(std::string& error) {
  // Checked again: the file may have been made read-only while the content was written.
  if (IsReadOnly(m_target)) return fail("the file is read-only", error);
  struct stat old {};
  if (::stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
      !CopyOwnerAndMode(m_partial, old))
    return fail(std::strerror(errno), error);
  if (!SyncFile(m_partial)) return fail(std::strerror(errno), error);
  if (std::rename(m_partial.c_str(), m_target.c_str()) != 0)
    return fail(std::strerror(errno), error);
  SyncFolder(fs::path(m_target).parent_path());
  return true;
}

bool ReplacedFile::copyIntoDevice(std::string& error) {
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

bool ReplacedFile::fail(const std::string& reason, std::string& error) const {
  error = m_path + ": cannot be written: " + reason;
  return false;
}

bool WriteReplacing(const std::string& path, std::string_view content, std::string& error) {
  return WriteReplacing(path, {content}, error);
}

bool WriteReplacing(const std::string& path, std::initializer_list<std::string_view> pieces,
                    std::string& error) {
  ReplacedFile output(path);
  if (!output.open(error)) return false;
  {
    std::ofstream file(output.partialPath(), std::ios::binary | std::ios::trunc);
    for (std::string_view piece : pieces)
      file.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    file.close();
    if (!file) {
      error = path + ": cannot be written: " + std::strerror(errno);
      return false;
    }
  }
  return output.commit(error);
}

}  // namespace tessera
