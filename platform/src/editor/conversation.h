// A dialog on the command line: a coroutine that asks questions, and the answers offered to it.
// The same dialog can be fed from outside (a pending host command taking the arguments of
// acedCommand or the next script lines) or pull its answers from the current input source
// (a plug-in's acedGetPoint, acedSSGet).
#pragma once

#include <coroutine>
#include <exception>
#include <string>

#include "editor/answer.h"
#include "editor/task.h"

namespace tessera::editor {

class Conversation;

// `co_await conversation.ask(question)`: shows the prompt and suspends until an answer fits.
// The answer is a point, number, text, keyword, name, RETURN, or nothing else: a cancel ends
// the whole conversation without resuming it.
class AnswerAwaiter {
 public:
  AnswerAwaiter(Conversation& conversation, Question question)
      : m_conversation(conversation), m_question(std::move(question)) {}
  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting);
  Answer await_resume();

 private:
  Conversation& m_conversation;
  Question m_question;
};

// How an offered answer was taken.
enum class OfferStatus {
  kAccepted,   // it answered the question; the dialog went on
  kRefused,    // the prompt said why and asks again
  kWrong,      // an answer of a kind the prompt can never take (message says which)
  kCancelled,  // the dialog was cancelled and destroyed
};

struct OfferResult {
  OfferStatus status = OfferStatus::kAccepted;
  std::string message;
};

// Echoes an answer and interprets it against a question; a refusal is printed, followed by the
// prompt again. Used by every road an answer takes to a prompt.
OfferResult Consider(const Question& question, const Answer& answer, const std::string& echo,
                     Answer& accepted);

class Conversation {
 public:
  Conversation() = default;
  explicit Conversation(Task<void> task) : m_task(std::move(task)) {}
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  // The dialog, when it could not be given at construction (it refers to its conversation).
  void setTask(Task<void> task) { m_task = std::move(task); }
  // Runs the dialog until its first question or its end.
  void start();
  bool finished() const { return m_task.done(); }
  bool waiting() const { return static_cast<bool>(m_waiting); }
  const Question& question() const { return m_question; }
  OfferResult offer(const Answer& answer, const std::string& echo);
  // Ends the dialog where it stands.
  void cancel();
  // The exception the dialog ended with, if any.
  std::exception_ptr error() const { return m_task.error(); }

  AnswerAwaiter ask(Question question);
  // Prompts and echoes are left out while quiet (commands fed by a program with CMDECHO 0).
  void setQuiet(bool quiet) { m_quiet = quiet; }

 private:
  friend class AnswerAwaiter;
  void showPrompt();

  Task<void> m_task;
  std::coroutine_handle<> m_waiting;
  Question m_question;
  Answer m_answer;
  bool m_quiet = false;
  bool m_promptShown = false;
};

// Prints a prompt as the host does.
void ShowPrompt(const Question& question);

}  // namespace tessera::editor
