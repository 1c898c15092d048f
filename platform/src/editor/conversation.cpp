// Dialogs on the command line: prompts, echoed answers, refusals, and the resumption of the
// coroutine that asked.
#include "editor/conversation.h"

#include "editor/system_variables.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

constexpr const char* kCancelEcho = "*Cancel*";

Transcript& Out() {
  return Transcript::instance();
}

}  // namespace

void ShowPrompt(const Question& question) {
  Out().write(question.prompt);
}

OfferResult Consider(const Question& question, const Answer& answer, const std::string& echo,
                     Answer& accepted) {
  if (!answer.echoed) Out().answer(answer.kind == AnswerKind::kCancel ? kCancelEcho : echo);
  Interpretation meaning = Interpret(question, answer);
  switch (meaning.status) {
    case Interpretation::Status::kAccepted:
      accepted = meaning.value;
      if (accepted.kind == AnswerKind::kPoint) SetLastPoint(accepted.point);
      return {OfferStatus::kAccepted, {}};
    case Interpretation::Status::kRefused:
      Out().write(meaning.message);
      ShowPrompt(question);
      return {OfferStatus::kRefused, meaning.message};
    case Interpretation::Status::kWrong:
      return {OfferStatus::kWrong, meaning.message};
    case Interpretation::Status::kCancelled:
      break;
  }
  return {OfferStatus::kCancelled, {}};
}

void AnswerAwaiter::await_suspend(std::coroutine_handle<> waiting) {
  m_conversation.m_waiting = waiting;
  m_conversation.m_question = m_question;
  m_conversation.m_question.lastPoint = LastPoint();
  m_conversation.m_promptShown = false;
  m_conversation.showPrompt();
}

Answer AnswerAwaiter::await_resume() {
  return m_conversation.m_answer;
}

AnswerAwaiter Conversation::ask(Question question) {
  return {*this, std::move(question)};
}

void Conversation::showPrompt() {
  if (m_quiet || m_promptShown) return;
  m_promptShown = true;
  ShowPrompt(m_question);
}

void Conversation::start() {
  if (!m_task.valid() || m_task.done()) return;
  m_task.handle().resume();
}

OfferResult Conversation::offer(const Answer& answer, const std::string& echo) {
  if (!waiting()) return {OfferStatus::kCancelled, {}};
  if (!m_quiet) showPrompt();
  OfferResult result;
  if (m_quiet) {
    // Nothing is shown, but the answer is judged as it would be.
    Interpretation meaning = Interpret(m_question, answer);
    if (meaning.status == Interpretation::Status::kAccepted) {
      m_answer = meaning.value;
      if (m_answer.kind == AnswerKind::kPoint) SetLastPoint(m_answer.point);
    }
    static constexpr OfferStatus kStatus[] = {OfferStatus::kAccepted, OfferStatus::kRefused,
                                              OfferStatus::kWrong, OfferStatus::kCancelled};
    result = {kStatus[static_cast<int>(meaning.status)], meaning.message};
  } else {
    result = Consider(m_question, answer, echo, m_answer);
  }
  if (result.status == OfferStatus::kCancelled) {
    cancel();
  } else if (result.status == OfferStatus::kAccepted) {
    std::coroutine_handle<> waiting = std::exchange(m_waiting, {});
    waiting.resume();
  }
  return result;
}

void Conversation::cancel() {
  m_waiting = {};
  m_task.reset();
}

}  // namespace tessera::editor
