// Writing the program's outputs (drawing, picture, transcript, CSV) so that nothing is lost.
//
// Every output is written first to a partial file and put in place only when complete. A
// regular file (or a name yet unused) is then replaced in one rename, keeping the old file's
// mode; a symbolic link stays and its target is replaced. A FIFO, character or block device or
// socket is not replaced: the complete content is copied into it. The partial file keeps the
// output's extension, so writers that choose a format by it choose the same one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessera::app {

class OutputFile {
 public:
  explicit OutputFile(std::string path);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // Removes the partial file of an output that was not committed.
  ~OutputFile();

  // Chooses the partial file: beside the file that the path leads to through its links, or in
  // the temporary folder for a device or FIFO. False, with a message, when that cannot be done.
  bool open(std::string& error);
  // The output as the user named it, and where its content goes until commit.
  const std::string& path() const { return m_path; }
  const std::string& partialPath() const { return m_partial; }
  // Puts the complete partial file in place; false, with a message naming the output, when it
  // cannot be read, synced, renamed or copied.
  bool commit(std::string& error);

 private:
  bool replaceTarget(std::string& error);
  bool copyIntoDevice(std::string& error);
  bool fail(const std::string& reason, std::string& error) const;

  std::string m_path;    // as the user named it
  std::string m_target;  // the file the path leads to through symbolic links
  std::string m_partial;
  bool m_direct = false;  // a device or FIFO: written into, never replaced
};

// Writes `content` as an output in one go.
bool WriteOutput(const std::string& path, std::string_view content, std::string& error);

// What a file of the command line is for.
enum class FileRole { kScript, kDrawingIn, kDrawingOut, kPicture, kTranscript, kCsv };

struct NamedFile {
  FileRole role;
  std::string path;
};

// Refuses two roles naming one file, when at least one of them is an output: the same existing
// file (through links and hard links) or the same place for a new one. The drawing saved may be
// the drawing opened, and a character device (such as /dev/null) may take several outputs.
bool CheckDistinctFiles(const std::vector<NamedFile>& files, std::string& error);

}  // namespace tessera::app
