// The program's two commands: run a drawing script, and draw a saved drawing.
#include "commands.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "cad/editor.h"
#include "files.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "platform/drawing_files.h"
#include "platform/script.h"
#include "platform/search_path.h"
#include "platform/svg.h"
#include "platform/transcript.h"

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPluginVariable = "TESSERA_PLUGIN";
// Where the build puts the plug-in, from the folder of the program.
constexpr const char* kPluginBesideProgram = "../lib/libtessera_area.so";
constexpr const char* kProgramLink = "/proc/self/exe";

// Closes every drawing and then unloads the plug-in, on every road out of a run: the drawings
// hold objects of the plug-in's classes, whose code must still be there when they go.
class Session {
 public:
  Session() = default;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session() {
    CloseAllDrawings();
    UnloadAllApplications();
  }
};

std::string PluginPath(const std::string& program) {
  if (const char* chosen = std::getenv(kPluginVariable); chosen != nullptr && *chosen != '\0')
    return chosen;
  std::error_code code;
  fs::path self = fs::read_symlink(kProgramLink, code);
  if (code) self = fs::absolute(program, code);
  return (self.parent_path() / kPluginBesideProgram).lexically_normal().string();
}

bool LoadPlugin(const std::string& program, std::string& error) {
  const std::string path = PluginPath(program);
  std::error_code code;
  std::string reason;
  if (!fs::exists(path, code)) {
    reason = "no such file (set " + std::string(kPluginVariable) + " or use --no-plugin)";
  } else if (!LoadApplication(path, reason)) {
    if (reason.empty()) reason = "the plug-in did not start";
  } else {
    return true;
  }
  error = "cannot load the plug-in '" + path + "': " + reason;
  return false;
}

bool CheckRunFiles(const Options& options, std::string& error) {
  if (!CheckInputFile(options.script, "script", error)) return false;
  if (options.in && !CheckInputFile(*options.in, "drawing", error)) return false;
  if (options.out &&
      !(CheckOutputPath(*options.out, error) && CheckDrawingExtension(*options.out, error)))
    return false;
  if (options.svg && !CheckOutputPath(*options.svg, error)) return false;
  return !options.transcript || CheckOutputPath(*options.transcript, error);
}

// The template, or the --in drawing in its place, as the current document.
bool StartDrawing(const Options& options, const std::string& program, std::string& error) {
  AcApDocument* templateDocument = NewDrawing(error);
  if (templateDocument == nullptr) {
    error = "cannot make a new drawing: " + error;
    return false;
  }
  // The plug-in starts with a drawing open, as in the host, and before --in is read, so that its
  // classes are known when the drawing's objects are.
  if (!options.noPlugin && !LoadPlugin(program, error)) return false;
  if (!options.in) return true;
  if (OpenDrawing(*options.in, error) == nullptr) {
    error = NamingFile(error, *options.in);
    return false;
  }
  CloseDrawing(templateDocument);
  return true;
}

// Saves and draws the current drawing as the options ask.
bool WriteResults(const Options& options, std::string& error) {
  if (!options.out && !options.svg) return true;
  AcApDocument* document = acDocManagerPtr()->curDocument();
  if (document == nullptr) {
    error = "no drawing is open at the end of the script, so nothing is written";
    return false;
  }
  if (options.out && !SaveDrawing(document->database(), *options.out, error)) {
    error = NamingFile(error, *options.out);
    return false;
  }
  if (options.svg && !RenderSvg(document->database(), *options.svg, error)) {
    error = NamingFile(error, *options.svg);
    return false;
  }
  return true;
}

int RunInSession(const Options& options, const std::string& program) {
  std::string error;
  if (!StartDrawing(options, program, error)) return Fail(error);
  SetScriptFolder(FolderOf(options.script));
  const ScriptOutcome outcome = RunScript(options.script);
  if (outcome.status == kExitBadUsageOrFile)
    return Fail(NamingFile(outcome.message, options.script));
  if (outcome.status != kExitSuccess) Report(NamingFile(outcome.message, options.script));
  if (!WriteResults(options, error)) return Fail(error);
  return outcome.status == kExitSuccess ? kExitSuccess : kExitScriptFailed;
}

}  // namespace

int Fail(const std::string& message) {
  Report(message);
  return kExitBadUsageOrFile;
}

void Report(const std::string& message) {
  // A transcript on the same screen ends its line first, so the message stands on its own.
  Transcript::instance().finishLine();
  std::cout.flush();
  std::cerr << "tessera: " << message << "\n";
}

int RunCommand(const Options& options, const std::string& program) {
  std::string error;
  if (!CheckRunFiles(options, error)) return Fail(error);
  TranscriptOutput transcript;
  if (!transcript.open(options.transcript, error)) return Fail(error);
  int status = kExitSuccess;
  {
    Session session;
    status = RunInSession(options, program);
  }
  if (!transcript.commit(error)) return Fail(error);
  return status;
}

int RenderCommand(const Options& options) {
  std::string error;
  if (!CheckInputFile(options.drawing, "drawing", error) || !CheckOutputPath(*options.svg, error))
    return Fail(error);
  const std::unique_ptr<AcDbDatabase> database = ReadDrawingFile(options.drawing, error);
  if (!database) return Fail(NamingFile(error, options.drawing));
  if (!RenderSvg(database.get(), *options.svg, error)) return Fail(NamingFile(error, *options.svg));
  return kExitSuccess;
}

}  // namespace tessera::app
