// Where answers come from when a prompt pulls them: the lines of a running script (or lines a
// test supplies). A source reads one logical item at a time: a text line, or a LISP expression
// that may span lines; comments are skipped. The first failure stops the source, and from then
// on every prompt finds it at its end and is cancelled.
#pragma once

#include <string>
#include <vector>

#include "editor/answer.h"
#include "editor/conversation.h"
#include "lisp/value.h"

namespace tessera::editor {

struct InputItem {
  enum class Kind {
    kText,   // a line that is not LISP: a command name or an answer ("" is RETURN)
    kLisp,   // complete LISP forms
    kEnd,    // no more input
    kError,  // the text can never be read (an unbalanced LISP expression at the end)
  };
  Kind kind = Kind::kEnd;
  std::string text;     // as typed
  std::string message;  // for kError: why it cannot be read
  std::vector<lisp::Value> forms;
  int line = 0;  // the first line of the item, from 1
};

class InputSource {
 public:
  InputSource(const std::string& text, std::string name);
  InputSource(const InputSource&) = delete;
  InputSource& operator=(const InputSource&) = delete;

  InputItem next();
  // Stops the source with "NAME:LINE: why"; the first failure is the one kept.
  void fail(int line, const std::string& why);
  bool failed() const { return !m_failure.empty(); }
  const std::string& failure() const { return m_failure; }
  const std::string& name() const { return m_name; }
  // Whether the source has items left (comments not counted).
  bool atEnd();

 private:
  InputItem readLisp(std::size_t first);

  std::vector<std::string> m_lines;
  std::string m_name;
  std::size_t m_position = 0;
  std::string m_failure;
};

// Makes a source the current input for as long as it lives.
class InputScope {
 public:
  explicit InputScope(InputSource& source);
  ~InputScope();
  InputScope(const InputScope&) = delete;
  InputScope& operator=(const InputScope&) = delete;
};

// The innermost current source, or null when there is none (a prompt then finds no input).
InputSource* CurrentInput();

// The answer an item gives at a prompt: LISP is evaluated (its last value), "!name" gives the
// symbol's value, *CANCEL* cancels, an empty line is RETURN. A LISP error prints the host's
// "; error:" line, fails the source and cancels.
Answer AnswerFromItem(InputSource& source, const InputItem& item);
// A LISP value as an answer: nil RETURN, a list of two or three numbers a point, ...
Answer AnswerFromValue(const lisp::Value& value);
bool IsCancelLine(const std::string& text);

// Asks a question of the current input until it is answered; the result is the accepted
// answer (a point, text, keyword, RETURN, ...) or a cancel.
Answer AskFromInput(const Question& question);
// Feeds a dialog from the current input until it has ended.
void DriveFromInput(Conversation& conversation);

// Evaluates LISP forms typed at the command line in the current drawing's interpreter; the
// value of the last. A LISP error prints its "; error:" line and fails the source.
bool EvaluateTyped(InputSource& source, const InputItem& item, lisp::Value& value);

}  // namespace tessera::editor
