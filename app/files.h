// Checks of the files a command reads and writes, made before any work starts, so that a typo in
// a file name costs nothing and leaves nothing behind.
#pragma once

#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "output_file.h"

namespace tessera::app {

// What an input file is, as messages name it.
extern const char* const kScriptInput;
extern const char* const kDrawingInput;

// Whether the file exists and can be read; otherwise a message naming it as `what`. A drawing
// must be a regular file; a script may also come through a FIFO.
bool CheckInputFile(const std::string& path, const std::string& what, std::string& error);
// Whether a file can be made at the path: its folder exists and the path is no folder.
bool CheckOutputPath(const std::string& path, std::string& error);
// Whether a drawing can be saved under this name: its extension names a drawing format.
bool CheckDrawingExtension(const std::string& path, std::string& error);
// The folder a file is in ("." for a bare name).
std::string FolderOf(const std::string& path);
// The message as it is when it names the file, else with the file's name in front.
std::string NamingFile(const std::string& message, const std::string& path);

// Where the transcript goes: standard output, or an output file (output_file.h) that is put in
// place only once it is complete.
class TranscriptOutput {
 public:
  TranscriptOutput() = default;
  TranscriptOutput(const TranscriptOutput&) = delete;
  TranscriptOutput& operator=(const TranscriptOutput&) = delete;
  ~TranscriptOutput();

  // Sends the transcript to the file, or to standard output without one.
  bool open(const std::optional<std::string>& path, std::string& error);
  // Ends the transcript; a file replaces any old one at its path now.
  bool commit(std::string& error);

 private:
  void detach();

  std::unique_ptr<OutputFile> m_output;
  std::ofstream m_file;
};

}  // namespace tessera::app
