// Checks of the files a command reads and writes.
#include "files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "platform/transcript.h"

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 2> kDrawingExtensions = {".dxf", ".tdb"};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

const char* const kScriptInput = "script";
const char* const kDrawingInput = "drawing";

bool CheckInputFile(const std::string& path, const std::string& what, std::string& error) {
  std::error_code code;
  const fs::file_status status = fs::status(path, code);
  if (!fs::exists(status)) {
    error = "cannot read " + what + " '" + path + "': no such file";
  } else if (fs::is_directory(status)) {
    error = "cannot read " + what + " '" + path + "': it is a folder";
  } else if (!fs::is_regular_file(status)) {
    // Opening a FIFO to check it would block until a writer comes and take what it sends; a
    // script may come through one, a drawing never.
    if (what != kScriptInput) error = "cannot read " + what + " '" + path + "': not a regular file";
  } else if (std::ifstream file(path, std::ios::binary); !file) {
    error = "cannot read " + what + " '" + path + "': " + std::strerror(errno);
  }
  return error.empty();
}

bool CheckOutputPath(const std::string& path, std::string& error) {
  std::error_code code;
  const std::string folder = FolderOf(path);
  if (fs::is_directory(path, code)) {
    error = "cannot write '" + path + "': it is a folder";
  } else if (!fs::is_directory(folder, code)) {
    error = "cannot write '" + path + "': the folder '" + folder + "' does not exist";
  } else {
    CheckReplaceable(path, error);
  }
  return error.empty();
}

bool CheckDrawingExtension(const std::string& path, std::string& error) {
  const std::string extension = Lower(fs::path(path).extension().string());
  for (const char* known : kDrawingExtensions)
    if (extension == known) return true;
  error = "cannot save '" + path + "': a drawing is saved as .dxf or .tdb";
  return false;
}

std::string FolderOf(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? "." : folder.string();
}

std::string NamingFile(const std::string& message, const std::string& path) {
  if (message.find(path) != std::string::npos) return message;
  return path + ": " + message;
}

TranscriptOutput::~TranscriptOutput() {
  detach();
}

bool TranscriptOutput::open(const std::optional<std::string>& path, std::string& error) {
  if (!path) {
    Transcript::instance().setSink(&std::cout);
    return true;
  }
  auto output = std::make_unique<OutputFile>(*path);
  if (!output->open(error)) return false;
  m_file.open(output->partialPath(), std::ios::binary | std::ios::trunc);
  if (!m_file) {
    error = "cannot write the transcript '" + *path + "': " + std::strerror(errno);
    return false;
  }
  m_output = std::move(output);
  Transcript::instance().setSink(&m_file);
  return true;
}

bool TranscriptOutput::commit(std::string& error) {
  Transcript::instance().finishLine();
  detach();
  if (m_output == nullptr) return true;
  const std::unique_ptr<OutputFile> output = std::move(m_output);
  m_file.close();
  if (!m_file) {
    error = "cannot write the transcript '" + output->path() + "': " + std::strerror(errno);
    return false;
  }
  return output->commit(error);
}

void TranscriptOutput::detach() {
  std::cout.flush();
  Transcript::instance().setSink(nullptr);
}

}  // namespace tessera::app
