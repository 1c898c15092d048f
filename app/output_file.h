// Writing the program's outputs (drawing, picture, transcript, CSV) so that nothing is lost,
// through the platform's one way of replacing a file (platform/replaced_file.h), and checking
// that no two files of a command line are one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/replaced_file.h"

namespace tessera::app {

using OutputFile = ReplacedFile;

// Writes `content` as an output in one go.
inline bool WriteOutput(const std::string& path, std::string_view content, std::string& error) {
  return WriteReplacing(path, content, error);
}

// What a file of the command line is for.
enum class FileRole { kScript, kDrawingIn, kDrawingOut, kPicture, kTranscript, kCsv, kJson };

struct NamedFile {
  FileRole role;
  std::string path;
};

// Refuses two roles naming one file, when at least one of them is an output: the same existing
// file (through links and hard links) or the same place for a new one. The drawing saved may be
// the drawing opened, and a character device (such as /dev/null) may take several outputs.
bool CheckDistinctFiles(const std::vector<NamedFile>& files, std::string& error);

}  // namespace tessera::app
