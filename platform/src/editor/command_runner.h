// Host commands: the table of commands, and the running of one in a document. A command is a
// coroutine; when its input runs out it stays pending for its next answers. A command started
// by a program's answers (acedCommand, acedCmd, (command ...)) takes answers only from
// programs: an answer of theirs that it refuses cancels it, and whoever would give it answers
// from elsewhere (the script) cancels it first. Each command runs between the
// editor reactors' commandWillStart and commandEnded / commandCancelled / commandFailed, with
// the document's current command set, and is one undo step unless an undo group is open.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/editor.h"
#include "editor/conversation.h"
#include "editor/task.h"

namespace tessera::editor {

class CommandContext;
using CommandBody = Task<void> (*)(CommandContext& command);

struct HostCommand {
  const char* name;  // global name, capitals
  CommandBody body;
  bool undoStep = true;  // UNDO and U are no steps of their own
};

// A command that cannot go on: its message is printed and the command fails.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a command body sees: its document and drawing, and the questions it can ask.
class CommandContext {
 public:
  CommandContext(Conversation& conversation, AcApDocument* document, std::string name,
                 std::string variable = {})
      : m_conversation(conversation),
        m_document(document),
        m_name(std::move(name)),
        m_variable(std::move(variable)) {}

  AcApDocument* document() const { return m_document; }
  AcDbDatabase* database() const;
  const std::string& name() const { return m_name; }
  // For a system variable typed as a command: its name.
  const std::string& variable() const { return m_variable; }
  Conversation& conversation() { return m_conversation; }

  AnswerAwaiter ask(Question question) { return m_conversation.ask(std::move(question)); }
  AnswerAwaiter getPoint(std::string prompt, const AcGePoint3d* base = nullptr,
                         std::vector<std::string> keywords = {}, int flags = 0);
  AnswerAwaiter getKeyword(std::string prompt, std::vector<std::string> keywords, int flags = 0);
  AnswerAwaiter getString(std::string prompt, bool acceptSpaces);
  AnswerAwaiter getReal(std::string prompt, std::vector<std::string> keywords = {}, int flags = 0);
  AnswerAwaiter getInteger(std::string prompt, std::vector<std::string> keywords = {});
  AnswerAwaiter getEntity(std::string prompt);

 private:
  Conversation& m_conversation;
  AcApDocument* m_document;
  std::string m_name;
  std::string m_variable;
};

// The host's command table. Names are global names in capitals.
const HostCommand* FindHostCommand(const std::string& globalName);
// A typed name without its leading "." or "_", in capitals.
std::string GlobalCommandName(const std::string& typed);

enum class CommandOutcome {
  kPending,  // waiting for its next answer
  kEnded,
  kCancelled,
  kFailed,       // ended by an error (its message is printed)
  kUnknown,      // no such command
  kWrongAnswer,  // an answer it can never take, or a program's answer it refused; cancelled
  kRefused,      // an answer from the input it refused; it asks again
};

class CommandRunner {
 public:
  explicit CommandRunner(AcApDocument* document);
  ~CommandRunner();
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  bool pending() const { return m_running != nullptr; }
  // Whether the waiting command was started by a program's answers.
  bool pendingForProgram() const;
  std::string pendingName() const;
  const Question* pendingQuestion() const;
  // Starts a command by its typed name; runs it to its first question or its end.
  CommandOutcome start(const std::string& typedName);
  // Offers an answer to the waiting command. `message` receives why a wrong answer is wrong.
  CommandOutcome offer(const Answer& answer, const std::string& echo,
                       std::string* message = nullptr);
  // Cancels the waiting command, as ESC does.
  void cancel();
  // Prompts and echoes are left out while a program feeds answers with CMDECHO 0; this holds
  // for a command started meanwhile too.
  void setQuiet(bool quiet);
  // Whether the answers offered now come from a program rather than the input.
  bool feeding() const { return m_feeding; }
  void setFeeding(bool feeding) { m_feeding = feeding; }

 private:
  struct Running;
  CommandOutcome settle();
  void finish(void (AcEditorReactor::*notification)(const char*));

  AcApDocument* m_document;
  std::unique_ptr<Running> m_running;
  bool m_quiet = false;
  bool m_feeding = false;
};

// Sends an editor notification to every reactor of the editor.
void NotifyEditorReactors(void (AcEditorReactor::*notification)(const char*), const char* name);

}  // namespace tessera::editor
