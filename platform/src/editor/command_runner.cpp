// Running host commands: start, answers, end, cancel, and the notifications around them.
#include "editor/command_runner.h"

#include <algorithm>
#include <cctype>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "editor/commands/command_groups.h"
#include "editor/name_index.h"
#include "editor/system_variables.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

// The command a system-variable name typed at the command prompt runs.
constexpr const char* kVariableCommand = "SETVAR";

bool DocumentIsOpen(AcApDocument* document) {
  std::vector<AcApDocument*> documents = acDocManagerPtr()->documents();
  return std::find(documents.begin(), documents.end(), document) != documents.end();
}

const std::vector<HostCommand>& CommandTable() {
  static const std::vector<HostCommand> table = [] {
    std::vector<HostCommand> commands;
    AddDrawingCommands(commands);
    AddInsertCommands(commands);
    AddEditCommands(commands);
    AddSettingCommands(commands);
    AddUndoCommands(commands);
    AddFileCommands(commands);
    return commands;
  }();
  return table;
}

}  // namespace

struct CommandRunner::Running {
  std::string name;
  AcApDocument* document = nullptr;
  bool undoStep = true;
  bool startedByProgram = false;
  Conversation conversation;
  std::unique_ptr<CommandContext> context;
};

AcDbDatabase* CommandContext::database() const {
  return m_document ? m_document->database() : nullptr;
}

AnswerAwaiter CommandContext::getPoint(std::string prompt, const AcGePoint3d* base,
                                       std::vector<std::string> keywords, int flags) {
  Question question = Question::Of(Want::kPoint, std::move(prompt), flags, std::move(keywords));
  if (base) question.basePoint = *base;
  return ask(std::move(question));
}

AnswerAwaiter CommandContext::getKeyword(std::string prompt, std::vector<std::string> keywords,
                                         int flags) {
  return ask(Question::Of(Want::kKeyword, std::move(prompt), flags, std::move(keywords)));
}

AnswerAwaiter CommandContext::getString(std::string prompt, bool acceptSpaces) {
  Question question = Question::Of(Want::kString, std::move(prompt));
  question.acceptSpaces = acceptSpaces;
  return ask(std::move(question));
}

AnswerAwaiter CommandContext::getReal(std::string prompt, std::vector<std::string> keywords,
                                      int flags) {
  return ask(Question::Of(Want::kReal, std::move(prompt), flags, std::move(keywords)));
}

AnswerAwaiter CommandContext::getInteger(std::string prompt, std::vector<std::string> keywords) {
  return ask(Question::Of(Want::kInteger, std::move(prompt), 0, std::move(keywords)));
}

AnswerAwaiter CommandContext::getEntity(std::string prompt) {
  return ask(Question::Of(Want::kEntity, std::move(prompt)));
}

const HostCommand* FindHostCommand(const std::string& globalName) {
  static const auto byName = IndexByName(CommandTable());
  auto found = byName.find(globalName);
  return found != byName.end() ? found->second : nullptr;
}

std::string GlobalCommandName(const std::string& typed) {
  std::string name = typed;
  while (!name.empty() && (name.front() == '.' || name.front() == '_')) name.erase(0, 1);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

CommandRunner::CommandRunner(AcApDocument* document) : m_document(document) {}

CommandRunner::~CommandRunner() {
  // A drawing that closes with a command waiting drops it without notifications.
  if (m_running) m_running->conversation.cancel();
}

std::string CommandRunner::pendingName() const {
  return m_running ? m_running->name : "";
}

bool CommandRunner::pendingForProgram() const {
  return m_running && m_running->startedByProgram;
}

const Question* CommandRunner::pendingQuestion() const {
  return m_running && m_running->conversation.waiting() ? &m_running->conversation.question()
                                                        : nullptr;
}

CommandOutcome CommandRunner::start(const std::string& typedName) {
  std::string name = GlobalCommandName(typedName);
  const HostCommand* command = FindHostCommand(name);
  std::string variable;
  if (command == nullptr && IsSystemVariable(name)) {
    command = FindHostCommand(kVariableCommand);
    variable = name;
  }
  if (command == nullptr) return CommandOutcome::kUnknown;
  if (m_running) cancel();

  auto running = std::make_unique<Running>();
  running->name = name;
  running->document = m_document;
  running->undoStep = command->undoStep;
  running->startedByProgram = m_feeding;
  running->context =
      std::make_unique<CommandContext>(running->conversation, m_document, name, variable);
  m_running = std::move(running);
  Running& run = *m_running;

  NotifyEditorReactors(&AcEditorReactor::commandWillStart, run.name.c_str());
  if (run.document) run.document->pushCommand(run.name);
  AcDbDatabase* database = run.context->database();
  if (run.undoStep && database) db::Impl(database)->undo().beginCommand(run.name);
  run.conversation.setQuiet(m_quiet);
  run.conversation.setTask(command->body(*run.context));
  run.conversation.start();
  return settle();
}

CommandOutcome CommandRunner::offer(const Answer& answer, const std::string& echo,
                                    std::string* message) {
  if (!m_running) return CommandOutcome::kUnknown;
  OfferResult result = m_running->conversation.offer(answer, echo);
  switch (result.status) {
    case OfferStatus::kWrong:
      if (message) *message = result.message;
      cancel();
      return CommandOutcome::kWrongAnswer;
    case OfferStatus::kCancelled:
      finish(&AcEditorReactor::commandCancelled);
      return CommandOutcome::kCancelled;
    case OfferStatus::kRefused:
      // A program cannot read the prompt again: its next answers would go to the wrong ones.
      if (!m_feeding) return CommandOutcome::kRefused;
      if (message) *message = result.message;
      cancel();
      return CommandOutcome::kWrongAnswer;
    case OfferStatus::kAccepted:
      break;
  }
  return settle();
}

void CommandRunner::cancel() {
  if (!m_running) return;
  m_running->conversation.cancel();
  finish(&AcEditorReactor::commandCancelled);
}

void CommandRunner::setQuiet(bool quiet) {
  m_quiet = quiet;
  if (m_running) m_running->conversation.setQuiet(quiet);
}

CommandOutcome CommandRunner::settle() {
  if (!m_running) return CommandOutcome::kEnded;
  Conversation& conversation = m_running->conversation;
  if (!conversation.finished()) return CommandOutcome::kPending;
  if (std::exception_ptr error = conversation.error()) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& failure) {
      Transcript::instance().write(std::string("\n") + failure.what());
    }
    finish(&AcEditorReactor::commandFailed);
    return CommandOutcome::kFailed;
  }
  finish(&AcEditorReactor::commandEnded);
  return CommandOutcome::kEnded;
}

void CommandRunner::finish(void (AcEditorReactor::*notification)(const char*)) {
  // Taken out first: a reactor may start another command in this document.
  std::unique_ptr<Running> run = std::move(m_running);
  run->conversation.cancel();
  // A command that closed its own drawing has nothing left to close a step in.
  bool open = DocumentIsOpen(run->document);
  AcDbDatabase* database = open ? run->context->database() : nullptr;
  if (run->undoStep && database) db::Impl(database)->undo().endCommand();
  NotifyEditorReactors(notification, run->name.c_str());
  if (open && run->document) run->document->popCommand();
}

}  // namespace tessera::editor
