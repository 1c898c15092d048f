// The command line of the tessera program.
#include "command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tessera::app {
namespace {

constexpr std::string_view kRunCommand = "run";
constexpr std::string_view kRenderCommand = "render";
constexpr std::string_view kExportCommand = "export";
constexpr std::string_view kAuditCommand = "audit";
constexpr std::string_view kNoPluginFlag = "--no-plugin";
constexpr std::string_view kFixFlag = "--fix";

constexpr const char* kUsage =
    "Usage: tessera run SCRIPT [--in DRAWING] [--out DRAWING] [--svg FILE] [--transcript FILE] "
    "[--csv FILE] [--no-plugin]\n"
    "       tessera render DRAWING --svg FILE\n"
    "       tessera export DRAWING --csv FILE\n"
    "       tessera audit DRAWING [--json FILE] [--fix --out DRAWING]\n"
    "       tessera --help | --version\n";

constexpr const char* kHelpDetails =
    "\n"
    "Runs a drawing script against a drawing, then saves the drawing and draws it as a picture.\n"
    "\n"
    "Commands:\n"
    "  run SCRIPT          run the script's lines as command-line input\n"
    "  render DRAWING      draw a saved drawing (.dxf or .tdb) into --svg FILE\n"
    "  export DRAWING      write every figure mark of a saved drawing as a row of --csv FILE\n"
    "                      (UTF-8 with a byte-order mark, sorted by label)\n"
    "  audit DRAWING       check that every value text, mark, schedule row and total of a\n"
    "                      saved drawing agrees with the figures' geometry; one line per\n"
    "                      finding, then a summary (--json FILE: the findings as JSON;\n"
    "                      --fix --out DRAWING: mend them, save the result and audit it again)\n"
    "\n"
    "Options of run:\n"
    "  --in DRAWING        start from this drawing (.dxf or .tdb) instead of the built-in "
    "template\n"
    "  --out DRAWING       save the drawing here when the script has run; the extension\n"
    "                      chooses the format (.dxf or .tdb)\n"
    "  --svg FILE          draw model space into this SVG picture\n"
    "  --transcript FILE   write the command-line transcript here instead of standard output\n"
    "  --csv FILE          export the figure marks as CSV when the script has run\n"
    "  --no-plugin         run without the area plug-in; what it made stays in the drawing\n"
    "                      unchanged\n"
    "\n"
    "Environment:\n"
    "  TESSERA_PLUGIN      the plug-in to load (default: ../lib/libtessera_area.so beside the\n"
    "                      program)\n"
    "  TESSERA_PATH        folders searched for block files after the script's folder\n"
    "\n"
    "Every output replaces its file only when complete, keeping the file's mode; a device or\n"
    "FIFO is written into. Two roles may not name one file.\n"
    "\n"
    "Exit status: 0 when the script ran to its end (audit: the drawing is clean), 1 when a\n"
    "script line could not be run (audit: findings remain), 2 for a bad command line or a\n"
    "file that cannot be read or written.\n";

// The options that take a value, and where each goes.
struct ValueOption {
  std::string_view name;
  std::optional<std::string> Options::*field;
};
constexpr std::array<ValueOption, 6> kValueOptions = {{
    {"--in", &Options::in},
    {"--out", &Options::out},
    {"--svg", &Options::svg},
    {"--transcript", &Options::transcript},
    {"--csv", &Options::csv},
    {"--json", &Options::json},
}};

const ValueOption* FindValueOption(std::string_view name) {
  for (const ValueOption& option : kValueOptions)
    if (option.name == name) return &option;
  return nullptr;
}

// Reads the arguments of "run" or "render" from args[1] on: options anywhere, one positional.
class ArgumentReader {
 public:
  ArgumentReader(const std::vector<std::string>& args, std::string& error)
      : m_args(args), m_error(error) {}

  bool read(Options& options, std::string& positional) {
    for (m_next = 1; m_next < m_args.size();) {
      const std::string argument = m_args[m_next++];
      const bool ok = argument.starts_with("--") ? readOption(argument, options)
                                                 : readPositional(argument, positional);
      if (!ok) return false;
    }
    return true;
  }

 private:
  bool readOption(const std::string& argument, Options& options) {
    if (argument == kNoPluginFlag) return setFlag(options.noPlugin, argument);
    if (argument == kFixFlag) return setFlag(options.fix, argument);
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const ValueOption* option = FindValueOption(name);
    if (option == nullptr) return fail("unknown option '" + name + "'");
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (m_next < m_args.size() && !m_args[m_next].starts_with("--")) {
      value = m_args[m_next++];
    }
    if (value.empty()) return fail("option '" + name + "' needs a file name");
    std::optional<std::string>& field = options.*(option->field);
    if (field) return fail("option '" + name + "' is given twice");
    field = value;
    return true;
  }

  bool setFlag(bool& flag, const std::string& name) {
    if (flag) return fail("option '" + name + "' is given twice");
    flag = true;
    return true;
  }

  bool readPositional(const std::string& argument, std::string& positional) {
    if (!positional.empty()) return fail("unexpected argument '" + argument + "'");
    if (argument.empty()) return fail("an empty file name");
    positional = argument;
    return true;
  }

  bool fail(const std::string& message) {
    m_error = message;
    return false;
  }

  const std::vector<std::string>& m_args;
  std::string& m_error;
  std::size_t m_next = 1;
};

bool CheckRender(const Options& options, std::string& error) {
  if (options.drawing.empty())
    error = "render needs the drawing to draw";
  else if (!options.svg)
    error = "render needs --svg FILE";
  else if (options.in || options.out || options.transcript || options.csv || options.json ||
           options.fix || options.noPlugin)
    error = "render takes only a drawing and --svg FILE";
  return error.empty();
}

bool CheckExport(const Options& options, std::string& error) {
  if (options.drawing.empty())
    error = "export needs the drawing to export";
  else if (!options.csv)
    error = "export needs --csv FILE";
  else if (options.in || options.out || options.svg || options.transcript || options.json ||
           options.fix || options.noPlugin)
    error = "export takes only a drawing and --csv FILE";
  return error.empty();
}

bool CheckAudit(const Options& options, std::string& error) {
  if (options.drawing.empty())
    error = "audit needs the drawing to audit";
  else if (options.fix != options.out.has_value())
    error = "--fix and --out DRAWING go together";
  else if (options.in || options.svg || options.transcript || options.csv || options.noPlugin)
    error = "audit takes only a drawing, --json FILE and --fix --out DRAWING";
  return error.empty();
}

// The figures are the plug-in's to read.
bool CheckRun(const Options& options, std::string& error) {
  if (options.script.empty())
    error = "run needs the script to run";
  else if (options.csv && options.noPlugin)
    error = "--csv needs the plug-in, so it cannot go with --no-plugin";
  else if (options.json || options.fix)
    error = "--json and --fix belong to audit";
  return error.empty();
}

bool CheckOptions(const Options& options, std::string& error) {
  switch (options.action) {
    case Action::kRun:
      return CheckRun(options, error);
    case Action::kRender:
      return CheckRender(options, error);
    case Action::kAudit:
      return CheckAudit(options, error);
    default:
      return CheckExport(options, error);
  }
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  error.clear();
  Options options;
  if (args.empty()) {
    error = "no command given";
    return std::nullopt;
  }
  if (WantsHelp(args)) return options;
  if (args[0] == "--version") {
    if (args.size() > 1) error = "--version takes no arguments";
    options.action = Action::kVersion;
    return error.empty() ? std::optional<Options>(options) : std::nullopt;
  }
  if (args[0] == kRunCommand)
    options.action = Action::kRun;
  else if (args[0] == kRenderCommand)
    options.action = Action::kRender;
  else if (args[0] == kExportCommand)
    options.action = Action::kExport;
  else if (args[0] == kAuditCommand)
    options.action = Action::kAudit;
  else
    error = "unknown command '" + args[0] + "'";
  if (!error.empty()) return std::nullopt;
  const bool run = options.action == Action::kRun;
  if (!ArgumentReader(args, error).read(options, run ? options.script : options.drawing))
    return std::nullopt;
  if (!CheckOptions(options, error)) return std::nullopt;
  return options;
}

std::string UsageText() {
  return kUsage;
}

std::string HelpText() {
  return std::string(kUsage) + kHelpDetails;
}

}  // namespace tessera::app
