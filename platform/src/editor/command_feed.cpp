// acedCommand and acedCmd, and the feeding of program answers to the current document's
// commands.
#include "editor/command_feed.h"
#include "editor/message_text.h"

#include <cstdarg>

#include "editor/document_state.h"
#include "editor/input_source.h"
#include "editor/system_variables.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

constexpr const char* kCommandPrompt = "Command: ";
constexpr const char* kUnknownCommand = "\nUnknown command \"%s\".  Press F1 for help.";

std::string Format(const char* format, const std::string& text) {
  return Substitute(format, {text});
}

bool Echoing() {
  return IntVariable("CMDECHO", 1) != 0;
}

// The answer a PAUSE stands for, read from the current input; a cancel at its end.
Answer PausedAnswer(std::string& echo) {
  InputSource* source = CurrentInput();
  InputItem item = source ? source->next() : InputItem();
  echo = item.text;
  if (source == nullptr || source->failed()) return Answer::Cancel();
  return AnswerFromItem(*source, item);
}

int AtCommandPrompt(CommandRunner& runner, const Answer& answer) {
  if (answer.kind == AnswerKind::kReturn) return RTNORM;
  if (answer.kind != AnswerKind::kText) return RTERROR;
  if (Echoing()) EchoCommandName(answer.text);
  switch (runner.start(answer.text)) {
    case CommandOutcome::kUnknown:
      Transcript::instance().write(Format(kUnknownCommand, answer.text));
      return RTERROR;
    case CommandOutcome::kFailed:
      return RTERROR;
    case CommandOutcome::kCancelled:
      return RTCAN;
    default:
      return RTNORM;
  }
}

// Marks the answers offered meanwhile as the program's own or the input's, as they were before
// when it ends.
class FeedingScope {
 public:
  FeedingScope(CommandRunner& runner, bool feeding)
      : m_runner(runner), m_wasFeeding(runner.feeding()) {
    runner.setFeeding(feeding);
  }
  FeedingScope(const FeedingScope&) = delete;
  FeedingScope& operator=(const FeedingScope&) = delete;
  ~FeedingScope() { m_runner.setFeeding(m_wasFeeding); }

 private:
  CommandRunner& m_runner;
  bool m_wasFeeding;
};

// A PAUSE answers from the input, as a user would: a refused line is followed by the next one.
CommandOutcome OfferPausedAnswers(CommandRunner& runner, std::string* message) {
  runner.setQuiet(false);
  FeedingScope fromInput(runner, false);
  CommandOutcome outcome = CommandOutcome::kRefused;
  while (outcome == CommandOutcome::kRefused && runner.pending()) {
    std::string echo;
    const Answer answer = PausedAnswer(echo);
    outcome = runner.offer(answer, echo, message);
  }
  return outcome;
}

int ToWaitingCommand(CommandRunner& runner, const Answer& answer, std::string* why) {
  std::string message;
  const bool paused = answer.kind == AnswerKind::kText && answer.text == kPauseText;
  const CommandOutcome outcome = paused ? OfferPausedAnswers(runner, &message)
                                        : runner.offer(answer, EchoText(answer), &message);
  switch (outcome) {
    case CommandOutcome::kWrongAnswer:
      if (why) *why = message;
      return RTREJ;
    case CommandOutcome::kFailed:
      return RTERROR;
    case CommandOutcome::kCancelled:
      return RTCAN;
    default:
      return RTNORM;
  }
}

}  // namespace

void EchoCommandName(const std::string& typed) {
  Transcript& out = Transcript::instance();
  out.finishLine();
  out.write(kCommandPrompt);
  out.answer(typed);
}

int FeedCommandAnswers(const std::vector<Answer>& answers, std::string* why) {
  CommandRunner& runner = CurrentState().commands();
  // Whatever happens, answers typed later are shown again.
  struct QuietScope {
    CommandRunner& runner;
    ~QuietScope() { runner.setQuiet(false); }
  } quietScope{runner};
  runner.setQuiet(!Echoing());
  FeedingScope fromProgram(runner, true);
  // No answers at all stand for ESC, as in the host.
  if (answers.empty() && runner.pending()) {
    runner.cancel();
    return RTCAN;
  }
  for (const Answer& answer : answers) {
    int status =
        runner.pending() ? ToWaitingCommand(runner, answer, why) : AtCommandPrompt(runner, answer);
    if (status != RTNORM) return status;
  }
  return RTNORM;
}

bool AnswersFromResbuf(const resbuf* list, std::vector<Answer>& answers) {
  for (const resbuf* item = list; item != nullptr; item = item->rbnext) {
    switch (item->restype) {
      case RTSTR:
        answers.push_back(Answer::Text(item->resval.rstring ? item->resval.rstring : ""));
        break;
      case RTREAL:
      case RTANG:
        answers.push_back(Answer::Real(item->resval.rreal));
        break;
      case RTSHORT:
        answers.push_back(Answer::Integer(item->resval.rint));
        break;
      case RTLONG:
        answers.push_back(Answer::Integer(item->resval.rlong));
        break;
      case RTPOINT:
        answers.push_back(
            Answer::Point(AcGePoint3d(item->resval.rpoint[0], item->resval.rpoint[1], 0.0)));
        break;
      case RT3DPOINT:
        answers.push_back(Answer::Point(
            AcGePoint3d(item->resval.rpoint[0], item->resval.rpoint[1], item->resval.rpoint[2])));
        break;
      case RTENAME:
        answers.push_back(Answer::Entity(item->resval.rlname));
        break;
      case RTPICKS:
        answers.push_back(Answer::SelectionSet(item->resval.rlname));
        break;
      case RTNONE:
        answers.push_back(Answer::Return());
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace tessera::editor

using tessera::editor::Answer;

int acedCommand(int type, ...) {
  std::vector<Answer> answers;
  va_list args;
  va_start(args, type);
  bool readable = true;
  for (int current = type; current != RTNONE && current != 0; current = va_arg(args, int)) {
    if (current == RTSTR) {
      const char* text = va_arg(args, const char*);
      answers.push_back(Answer::Text(text ? text : ""));
    } else if (current == RTREAL || current == RTANG) {
      answers.push_back(Answer::Real(va_arg(args, double)));
    } else if (current == RTSHORT || current == RTLONG) {
      answers.push_back(Answer::Integer(va_arg(args, int)));
    } else if (current == RTPOINT || current == RT3DPOINT) {
      const double* point = va_arg(args, const double*);
      answers.push_back(
          Answer::Point(AcGePoint3d(point[0], point[1], current == RTPOINT ? 0.0 : point[2])));
    } else if (current == RTENAME || current == RTPICKS) {
      const std::int64_t* name = va_arg(args, const std::int64_t*);
      answers.push_back(current == RTENAME ? Answer::Entity(name) : Answer::SelectionSet(name));
    } else {
      // A type the host does not take here: the rest of the list cannot be read.
      readable = false;
      break;
    }
  }
  va_end(args);
  if (!readable) return RTERROR;
  return tessera::editor::FeedCommandAnswers(answers);
}

int acedCmd(const resbuf* list) {
  std::vector<Answer> answers;
  if (!tessera::editor::AnswersFromResbuf(list, answers)) return RTERROR;
  return tessera::editor::FeedCommandAnswers(answers);
}
