// Running drawing scripts against the current document.
#pragma once

#include <string>

namespace tessera {

struct ScriptOutcome {
  // 0: the script ran to its end; 1: a line could not be run (message names file and line);
  // 2: the script file could not be read.
  int status = 0;
  std::string message;
};

ScriptOutcome RunScript(const std::string& path);
// Runs script text as if read from a file of that name (tests and the program use it).
ScriptOutcome RunScriptText(const std::string& text, const std::string& name);

}  // namespace tessera
