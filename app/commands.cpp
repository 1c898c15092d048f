// The program's commands: run a drawing script, draw a saved drawing, export its figure marks.
#include "commands.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "audit_report.h"
#include "cad/editor.h"
#include "figure_csv.h"
#include "files.h"
#include "maintenance/drawing_audit_service.h"
#include "maintenance/figure_export_service.h"
#include "output_file.h"
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
// hold objects of the plug-in's classes, whose code must still be there when they go. The
// program ends after the session, so the drawings' memory is left to the process's end.
class Session {
 public:
  Session() = default;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session() {
    CloseAllDrawingsAtExit();
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

// Every file the command line names, with its role.
std::vector<NamedFile> NamedFiles(const Options& options) {
  std::vector<NamedFile> files;
  if (!options.script.empty()) files.push_back({FileRole::kScript, options.script});
  if (!options.drawing.empty()) files.push_back({FileRole::kDrawingIn, options.drawing});
  const std::pair<FileRole, const std::optional<std::string>*> named[] = {
      {FileRole::kDrawingIn, &options.in}, {FileRole::kDrawingOut, &options.out},
      {FileRole::kPicture, &options.svg},  {FileRole::kTranscript, &options.transcript},
      {FileRole::kCsv, &options.csv},
  };
  for (const auto& [role, path] : named)
    if (*path) files.push_back({role, **path});
  return files;
}

bool CheckRunFiles(const Options& options, std::string& error) {
  if (!CheckInputFile(options.script, kScriptInput, error)) return false;
  if (options.in && !CheckInputFile(*options.in, kDrawingInput, error)) return false;
  if (options.out &&
      !(CheckOutputPath(*options.out, error) && CheckDrawingExtension(*options.out, error)))
    return false;
  for (const auto* output : {&options.svg, &options.transcript, &options.csv})
    if (*output && !CheckOutputPath(**output, error)) return false;
  return CheckDistinctFiles(NamedFiles(options), error);
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

// Saves the drawing as a replaced file; a failure is told under the drawing's own name.
bool SaveOutputDrawing(AcDbDatabase* database, const std::string& path, std::string& error) {
  if (SaveDrawing(database, path, error)) return true;
  error = NamingFile(error, path);
  return false;
}

// The figure marks of the working drawing as CSV, through the plug-in's export service.
bool WriteFigureCsv(const std::string& path, std::string& error) {
  const auto* service = dynamic_cast<const area::FigureExportService*>(
      acrxSysRegistry()->at(area::kFigureExportServiceName));
  if (service == nullptr) {
    error = "cannot export '" + path + "': the plug-in gives no figure export";
    return false;
  }
  const std::optional<std::vector<area::FigureExportRow>> rows = service->rows();
  if (!rows) {
    error = "cannot export '" + path + "': the drawing's figure dictionaries cannot be read";
    return false;
  }
  return WriteOutput(path, FigureCsv(*rows), error);
}

// Saves, draws and exports the current drawing as the options ask.
bool WriteResults(const Options& options, std::string& error) {
  if (!options.out && !options.svg && !options.csv) return true;
  AcApDocument* document = acDocManagerPtr()->curDocument();
  if (document == nullptr) {
    error = "no drawing is open at the end of the script, so nothing is written";
    return false;
  }
  AcDbDatabase* database = document->database();
  if (options.out && !SaveOutputDrawing(database, *options.out, error)) return false;
  if (options.svg && !WriteOutput(*options.svg, RenderSvgText(database), error)) return false;
  return !options.csv || WriteFigureCsv(*options.csv, error);
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

const area::DrawingAuditService* AuditService(std::string& error) {
  const auto* service = dynamic_cast<const area::DrawingAuditService*>(
      acrxSysRegistry()->at(area::kDrawingAuditServiceName));
  if (service == nullptr) error = "the plug-in gives no drawing audit";
  return service;
}

bool CheckAuditFiles(const Options& options, std::string& error) {
  if (!CheckInputFile(options.drawing, kDrawingInput, error)) return false;
  if (options.json && !CheckOutputPath(*options.json, error)) return false;
  if (options.out &&
      !(CheckOutputPath(*options.out, error) && CheckDrawingExtension(*options.out, error)))
    return false;
  std::vector<NamedFile> files = NamedFiles(options);
  if (options.json) files.push_back({FileRole::kJson, *options.json});
  return CheckDistinctFiles(files, error);
}

// Mends the working drawing, saves it to --out and audits it again.
std::optional<AuditFix> MendAndSave(const area::DrawingAuditService& service,
                                    const std::string& out, std::string& error) {
  const std::optional<int> mended = service.mend();
  std::optional<area::AuditReport> after = service.audit();
  if (!mended || !after) {
    error = "cannot mend the drawing: its figure dictionaries cannot be read";
    return std::nullopt;
  }
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  if (!SaveOutputDrawing(database, out, error)) return std::nullopt;
  return AuditFix{*mended, std::move(*after)};
}

// Audits the open drawing, prints the report and writes what the options ask.
int AuditOpenDrawing(const Options& options, std::string& error) {
  const area::DrawingAuditService* service = AuditService(error);
  if (service == nullptr) return Fail(error);
  const std::optional<area::AuditReport> report = service->audit();
  if (!report)
    return Fail("cannot audit '" + options.drawing + "': its figure dictionaries cannot be read");
  std::cout << ReportText(*report);
  std::optional<AuditFix> fix;
  if (options.fix) {
    fix = MendAndSave(*service, *options.out, error);
    if (!fix) return Fail(error);
    std::cout << "mended " << fix->mended << (fix->mended == 1 ? " finding" : " findings")
              << ", saved '" << *options.out << "'; audited again:\n"
              << ReportText(fix->after);
  }
  if (options.json && !WriteOutput(*options.json, AuditJson(options.drawing, *report, fix), error))
    return Fail(error);
  const area::AuditReport& last = fix ? fix->after : *report;
  return last.findings.empty() ? kExitSuccess : kExitScriptFailed;
}

// Opens the command's drawing with the plug-in loaded and runs `act` on it; the status of a
// failed opening, else act's. Nothing is run, so nothing the command line shows while the drawing
// opens belongs on the screen.
template <typename Act>
int WithDrawingOpen(const Options& options, const std::string& program, Act act) {
  std::ostream discarded(nullptr);
  Transcript::instance().setSink(&discarded);
  int status = kExitSuccess;
  {
    Session session;
    Options opening = options;
    opening.in = options.drawing;
    std::string error;
    status = StartDrawing(opening, program, error) ? act(error) : Fail(error);
  }
  Transcript::instance().setSink(nullptr);
  return status;
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
  if (!CheckInputFile(options.drawing, kDrawingInput, error) ||
      !CheckOutputPath(*options.svg, error) || !CheckDistinctFiles(NamedFiles(options), error))
    return Fail(error);
  const std::unique_ptr<AcDbDatabase> database = ReadDrawingFile(options.drawing, error);
  if (!database) return Fail(NamingFile(error, options.drawing));
  if (!WriteOutput(*options.svg, RenderSvgText(database.get()), error)) return Fail(error);
  return kExitSuccess;
}

int ExportCommand(const Options& options, const std::string& program) {
  std::string error;
  if (!CheckInputFile(options.drawing, kDrawingInput, error) ||
      !CheckOutputPath(*options.csv, error) || !CheckDistinctFiles(NamedFiles(options), error))
    return Fail(error);
  return WithDrawingOpen(options, program, [&](std::string& failure) {
    return WriteFigureCsv(*options.csv, failure) ? kExitSuccess : Fail(failure);
  });
}

int AuditCommand(const Options& options, const std::string& program) {
  std::string error;
  if (!CheckAuditFiles(options, error)) return Fail(error);
  return WithDrawingOpen(options, program,
                         [&](std::string& failure) { return AuditOpenDrawing(options, failure); });
}

}  // namespace tessera::app
