// Writing a file so that nothing is lost: the one way the platform and the program put a
// drawing, a picture or any other output in place.
//
// The content goes first to a partial file and is put in place only when complete. A regular
// file (or a name yet unused) is then replaced in one rename, keeping the old file's mode and
// owner, and the folder is synced; a symbolic link stays and its target is replaced. A FIFO,
// character or block device or socket is not replaced: the complete content is copied into it.
// A read-only file is refused. The partial file keeps the output's extension, so writers that
// choose a format by it choose the same one; partial files left by a killed writer are removed
// the next time their output is written.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tessera {

class ReplacedFile {
 public:
  explicit ReplacedFile(std::string path);
  ReplacedFile(const ReplacedFile&) = delete;
  ReplacedFile& operator=(const ReplacedFile&) = delete;
  // Removes the partial file of an output that was not committed.
  ~ReplacedFile();

  // Chooses and makes the partial file: beside the file that the path leads to through its
  // links, or in the temporary folder for a device or FIFO. False, with a message, when that
  // cannot be done or the file is read-only.
  bool open(std::string& error);
  // The output as the caller named it, and where its content goes until commit.
  const std::string& path() const { return m_path; }
  const std::string& partialPath() const { return m_partial; }
  // Puts the complete partial file in place; false, with a message naming the output, when it
  // cannot be read, synced, renamed or copied.
  bool commit(std::string& error);

 private:
  bool replaceTarget(std::string& error);
  bool copyIntoDevice(std::string& error);
  bool fail(const std::string& reason, std::string& error) const;

  std::string m_path;    // as the caller named it
  std::string m_target;  // the file the path leads to through symbolic links
  std::string m_partial;
  bool m_direct = false;  // a device or FIFO: written into, never replaced
};

// Writes `content` as a replaced file in one go.
bool WriteReplacing(const std::string& path, std::string_view content, std::string& error);
// Writes the pieces one after another as a replaced file: content made in parts is not copied
// into one piece first.
bool WriteReplacing(const std::string& path, std::initializer_list<std::string_view> pieces,
                    std::string& error);

// Whether the path may be written: false, with a message naming it, for an existing regular
// file (reached through links) that is read-only. Nothing is made.
bool CheckReplaceable(const std::string& path, std::string& error);

// The file a path leads to through symbolic links (the path itself when it is no link).
std::string FileBehindLinks(const std::string& path);

// Whether a path names a FIFO, device or socket, which is written into rather than replaced.
bool IsSpecialFile(const std::string& path);

}  // namespace tessera
