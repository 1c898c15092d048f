// Commands driven by a program: acedCommand, acedCmd and LISP's (command ...). Each argument is
// one answer: a name at the command prompt starts a command, the arguments after it answer that
// command's prompts. A command started so takes answers from programs only: one it refuses
// cancels it and fails the call, and one still waiting when they run out stays pending for the
// next call of a program, never for the next script line (command_runner.h). No answers at all
// cancel the waiting command, as ESC does.
#pragma once

#include <string>
#include <vector>

#include "cad/ads.h"
#include "editor/answer.h"

namespace tessera::editor {

// The text LISP's PAUSE stands for: the answer is read from the input instead.
inline constexpr const char* kPauseText = "\\";

// RTNORM; RTCAN when a command was cancelled; RTERROR when a command failed or a name is not a
// command; RTREJ when an answer can never fit its prompt or is refused by it (`why` says which;
// the command is cancelled).
int FeedCommandAnswers(const std::vector<Answer>& answers, std::string* why = nullptr);
// A result-buffer list as answers; false for an item that cannot be an answer.
bool AnswersFromResbuf(const resbuf* list, std::vector<Answer>& answers);
// Prints "Command: NAME" as the command line shows a started command.
void EchoCommandName(const std::string& typed);

}  // namespace tessera::editor
