// The program's commands: run a drawing script, draw a saved drawing, export its figure marks.
#pragma once

#include <string>

#include "command_line.h"

namespace tessera::app {

// Runs the script against the template or --in, then writes --out and --svg. `program` is the
// path of the running program, beside which the plug-in is looked for. Returns the exit status.
int RunCommand(const Options& options, const std::string& program);
// Reads a drawing and draws it into the SVG file. Returns the exit status.
int RenderCommand(const Options& options);
// Opens a drawing with the plug-in loaded and writes its figure marks as CSV. `program` as for
// RunCommand. Returns the exit status.
int ExportCommand(const Options& options, const std::string& program);
// Opens a drawing with the plug-in loaded and reports what on it does not agree with the
// figures' geometry; with --fix, mends it, saves the result to --out and audits it again.
// `program` as for RunCommand. Returns 0 when clean, 1 with findings, 2 when it cannot be read.
int AuditCommand(const Options& options, const std::string& program);

// Prints "tessera: MESSAGE" on standard error, on a line of its own.
void Report(const std::string& message);
// Reports the message and returns the status of a file or usage failure.
int Fail(const std::string& message);

}  // namespace tessera::app
