// The command line of the tessera program: what the user asked for, read from its arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessera::app {

// Exit statuses of the program.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitScriptFailed = 1;
inline constexpr int kExitBadUsageOrFile = 2;

enum class Action { kHelp, kVersion, kRun, kRender, kExport, kAudit };

struct Options {
  Action action = Action::kHelp;
  std::string script;   // run: the drawing script
  std::string drawing;  // render, export, audit: the drawing to draw, export or audit
  std::optional<std::string> in, out, svg, transcript, csv, json;
  bool noPlugin = false;
  bool fix = false;  // audit: mend what is out of step and save the result to --out
};

// Reads the arguments after the program's name. On a bad command line: nothing, and a one-line
// message saying what is wrong.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

// The short form, shown after a bad command line, and the whole help text.
std::string UsageText();
std::string HelpText();

}  // namespace tessera::app
