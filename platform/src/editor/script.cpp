// Drawing scripts: each line at the command prompt is a command name, LISP, "!name" or RETURN;
// while a command waits, the line answers it. The first line that cannot be run stops the
// script with "FILE:LINE: why".
#include "platform/script.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "db/database_impl.h"
#include "db/text_check.h"
#include "editor/command_feed.h"
#include "editor/document_state.h"
#include "editor/input_source.h"
#include "editor/message_text.h"
#include "platform/search_path.h"
#include "platform/transcript.h"

namespace tessera {

namespace {

using editor::CommandOutcome;
using editor::CurrentState;
using editor::DocumentState;
using editor::InputItem;
using editor::InputSource;

// Messages of the script runner.
constexpr const char* kCommandPrompt = "Command: ";
constexpr const char* kUnknownCommand = "\nUnknown command \"%s\".  Press F1 for help.";
constexpr const char* kUnknownCommandWhy = "unknown command \"%s\"";
constexpr const char* kLispErrorPrefix = "\n; error: ";
constexpr const char* kCannotRead = "cannot read the script \"%s\"";
constexpr const char* kEndCancelEcho = "*Cancel*";
constexpr const char* kLispFunctionPrefix = "C:";
constexpr const char* kLeftByProgram = "\n%s was left waiting by a program and is cancelled.";

constexpr int kStatusRan = 0;
constexpr int kStatusLineFailed = 1;
constexpr int kStatusUnreadable = 2;

std::string Format(const char* format, const std::string& text) {
  return editor::Substitute(format, {text});
}

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

Transcript& Out() {
  return Transcript::instance();
}

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

void PrintValue(DocumentState& state, const lisp::Value& value) {
  // A void result (princ with no argument, a plug-in function that set nothing) prints nothing.
  if (value.isSymbol() && value.symbolName().empty()) return;
  Out().write(state.lisp().prin1String(value));
}

// What a LISP expression changed outside any command is one undo step of its own, unless an
// undo group is open (the figure functions keep one open between their figures) or a command
// it started is still waiting.
void CloseLispStep() {
  AcApDocument* document = editor::CurrentDocument();
  AcDbDatabase* database = document ? document->database() : nullptr;
  if (database == nullptr) return;
  db::UndoLog& log = db::Impl(database)->undo();
  if (!log.groupOpen() && !CurrentState().commands().pending()) log.closeStep();
}

// A command started by a program's answers takes no answers from the script: when the program
// is done with it still waiting, it is cancelled.
void CancelCommandLeftByProgram() {
  editor::CommandRunner& commands = CurrentState().commands();
  if (!commands.pendingForProgram()) return;
  const std::string name = commands.pendingName();
  commands.offer(editor::Answer::Cancel(), kEndCancelEcho);
  Out().write(Format(kLeftByProgram, name));
}

void RunLisp(InputSource& source, DocumentState& state, const InputItem& item) {
  editor::NotifyEditorReactors(&AcEditorReactor::lispWillStart, FirstLine(item.text).c_str());
  lisp::Value value;
  bool evaluated = editor::EvaluateTyped(source, item, value);
  for (AcEditorReactor* reactor : acedEditor->reactors()) {
    if (!acedEditor->hasReactor(reactor)) continue;
    if (evaluated) {
      reactor->lispEnded();
    } else {
      reactor->lispCancelled();
    }
  }
  // The evaluation may have closed the drawing it ran in; print in the current one.
  CancelCommandLeftByProgram();
  if (evaluated) PrintValue(CurrentState(), value);
  CloseLispStep();
}

// A command name typed at the command prompt, or a LISP command function (C:NAME).
void RunCommandName(InputSource& source, DocumentState& state, const InputItem& item,
                    const std::string& name) {
  std::string function = kLispFunctionPrefix + lisp::ToUpperAscii(name);
  if (state.lisp().isDefined(function)) {
    InputItem call = item;
    call.kind = InputItem::Kind::kLisp;
    call.forms = {lisp::List({lisp::Value::Symbol(function)})};
    return RunLisp(source, state, call);
  }
  if (state.commands().start(name) == CommandOutcome::kUnknown) {
    Out().write(Format(kUnknownCommand, name));
    source.fail(item.line, Format(kUnknownCommandWhy, name));
  }
}

void AtCommandPrompt(InputSource& source, DocumentState& state, const InputItem& item) {
  Out().finishLine();
  Out().write(kCommandPrompt);
  if (item.kind == InputItem::Kind::kError) {
    Out().answer(item.text);
    Out().write(kLispErrorPrefix + item.message);
    source.fail(item.line, item.message);
    return;
  }
  Out().answer(item.text);
  if (item.kind == InputItem::Kind::kLisp) return RunLisp(source, state, item);
  std::string typed = Trim(item.text);
  // RETURN and a cancel at the command prompt do nothing.
  if (typed.empty() || editor::IsCancelLine(typed)) return;
  if (typed.size() > 1 && typed.front() == '!') {
    return PrintValue(state, state.lisp().getSymbol(typed.substr(1)));
  }
  RunCommandName(source, state, item, typed);
}

void AnswerWaitingCommand(InputSource& source, DocumentState& state, const InputItem& item) {
  editor::Answer answer = editor::AnswerFromItem(source, item);
  if (source.failed()) {
    state.commands().cancel();
    return;
  }
  std::string why;
  if (state.commands().offer(answer, item.text, &why) == CommandOutcome::kWrongAnswer)
    source.fail(item.line, why);
}

// A command still waiting when the script ends, or stops, is cancelled as ESC would.
void CancelWaitingCommand() {
  DocumentState& state = CurrentState();
  if (!state.commands().pending()) return;
  state.commands().offer(editor::Answer::Cancel(), kEndCancelEcho);
}

}  // namespace

ScriptOutcome RunScriptText(const std::string& text, const std::string& name) {
  // Editors that save UTF-8 with a byte-order mark put it before the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const bool marked = std::string_view(text).substr(0, kByteOrderMark.size()) == kByteOrderMark;
  // Bytes that are not UTF-8 become U+FFFD here, so that no line brings them into the drawing.
  InputSource source(db::ValidText(marked ? std::string_view(text).substr(kByteOrderMark.size())
                                          : std::string_view(text)),
                     name);
  editor::InputScope scope(source);
  for (;;) {
    editor::ReleaseForgottenDocuments();
    InputItem item = source.next();
    if (item.kind == InputItem::Kind::kEnd) break;
    CancelCommandLeftByProgram();
    DocumentState& state = CurrentState();
    if (state.commands().pending()) {
      AnswerWaitingCommand(source, state, item);
    } else {
      AtCommandPrompt(source, state, item);
    }
    if (source.failed()) break;
  }
  CancelWaitingCommand();
  editor::ReleaseForgottenDocuments();
  Out().finishLine();
  ScriptOutcome outcome;
  outcome.status = source.failed() ? kStatusLineFailed : kStatusRan;
  outcome.message = source.failure();
  return outcome;
}

ScriptOutcome RunScript(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {kStatusUnreadable, Format(kCannotRead, path)};
  std::ostringstream text;
  text << file.rdbuf();
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  SetScriptFolder(folder.empty() ? "." : folder.string());
  return RunScriptText(text.str(), path);
}

}  // namespace tessera
