// tessera: runs drawing scripts against the platform, with the area plug-in loaded, and writes
// the drawings and their pictures.
#include <clocale>
#include <exception>
#include <iostream>
#include <locale>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"

namespace {

// Numbers are read and written with "." whatever the user's locale says.
void UseCLocale() {
  std::setlocale(LC_ALL, "C");
  std::locale::global(std::locale::classic());
  std::cout.imbue(std::locale::classic());
  std::cerr.imbue(std::locale::classic());
}

int Dispatch(const std::vector<std::string>& args, const std::string& program) {
  using namespace tessera::app;
  std::string error;
  const std::optional<Options> options = ParseCommandLine(args, error);
  if (!options) {
    std::cerr << "tessera: " << error << "\n" << UsageText();
    return kExitBadUsageOrFile;
  }
  switch (options->action) {
    case Action::kHelp:
      std::cout << HelpText();
      return kExitSuccess;
    case Action::kVersion:
      std::cout << "tessera " << TESSERA_VERSION << "\n";
      return kExitSuccess;
    case Action::kRun:
      return RunCommand(*options, program);
    case Action::kRender:
      return RenderCommand(*options);
    case Action::kExport:
      return ExportCommand(*options, program);
    case Action::kAudit:
      return AuditCommand(*options, program);
  }
  return kExitBadUsageOrFile;
}

}  // namespace

int main(int argc, char** argv) {
  UseCLocale();
  try {
    return Dispatch(std::vector<std::string>(argv + 1, argv + argc),
                    argc > 0 ? argv[0] : "tessera");
  } catch (const std::exception& failure) {
    return tessera::app::Fail(std::string("stopped by an unexpected failure: ") + failure.what());
  }
}
