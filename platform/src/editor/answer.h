// What a prompt is asked and what is answered to it. An answer comes from a script line (text),
// from a LISP value, or from the arguments of acedCommand and (command ...) (typed values); the
// interpretation against the prompt's question turns it into the value the caller wants.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cad/ge.h"

namespace tessera::editor {

enum class AnswerKind {
  kReturn,  // an empty answer: RETURN
  kCancel,  // *CANCEL*, or the input ran out
  kText,    // text still to be interpreted (a script line, a string argument)
  kPoint,   // a point in the current UCS
  kReal,
  kInteger,
  kKeyword,       // one of the question's keywords, in its full spelling
  kEntity,        // an entity name
  kSelectionSet,  // a selection-set name
};

struct Answer {
  AnswerKind kind = AnswerKind::kReturn;
  std::string text;  // kText, kKeyword; for kPoint the text it was typed as, when typed
  AcGePoint3d point;
  double real = 0.0;
  int integer = 0;
  std::array<std::int64_t, 2> name = {0, 0};  // an ads_name
  bool echoed = false;  // already shown on the command line (LISP is echoed before it runs)

  static Answer Return() { return {}; }
  static Answer Cancel();
  static Answer Text(std::string text);
  static Answer Point(const AcGePoint3d& point);
  static Answer Real(double value);
  static Answer Integer(int value);
  static Answer Keyword(std::string keyword);
  static Answer Entity(const std::int64_t entityName[2]);
  static Answer SelectionSet(const std::int64_t setName[2]);
};

// What a prompt wants.
enum class Want {
  kPoint,    // a point; keywords when given
  kString,   // any text; without spaces unless the question allows them
  kKeyword,  // one of the keywords
  kInteger,
  kReal,
  kSelection,  // a "Select objects:" answer: a point, a window keyword, a name, RETURN
  kEntity,     // a single pick: a point or an entity name
  kDistance,   // a number, or a point whose distance from the base point is meant
};

struct Question {
  Want want = Want::kString;
  std::string prompt;
  int flags = 0;                      // initget bits: 1 refuses RETURN
  std::vector<std::string> keywords;  // full spellings; the capitals are the short form
  bool acceptSpaces = false;
  std::optional<AcGePoint3d> basePoint;  // rubber-band base, in the current UCS
  AcGePoint3d lastPoint;                 // what "@" is relative to, in the current UCS

  static Question Of(Want want, std::string prompt, int flags = 0,
                     std::vector<std::string> keywords = {}) {
    Question question;
    question.want = want;
    question.prompt = std::move(prompt);
    question.flags = flags;
    question.keywords = std::move(keywords);
    return question;
  }
};

// How an answer fits a question.
struct Interpretation {
  enum class Status {
    kAccepted,  // `value` holds the answer in the wanted form
    kRefused,   // not an answer this prompt takes; `message` says why and the prompt asks again
    kWrong,     // an answer of a kind this prompt can never take; `message` says what it is
    kCancelled,
  };
  Status status = Status::kAccepted;
  Answer value;
  std::string message;
};

Interpretation Interpret(const Question& question, const Answer& answer);

// The text of an answer as the command line shows it.
std::string EchoText(const Answer& answer);

// Parsing of typed text, in the "C" locale whatever the environment says.
// "x,y" or "x,y,z"; "@dx,dy[,dz]" relative to `last`; "d<a" and "@d<a" polar (degrees).
std::optional<AcGePoint3d> ParsePointText(const std::string& text, const AcGePoint3d& last);
std::optional<double> ParseRealText(const std::string& text);
std::optional<int> ParseIntegerText(const std::string& text);
// The full keyword the text stands for: the whole keyword or an abbreviation at least as long
// as its capitals, compared without regard to case; a leading "_" is ignored.
std::optional<std::string> MatchKeyword(const std::string& text,
                                        const std::vector<std::string>& keywords);
// Splits an initget keyword list ("Close Undo", "A B") into keywords.
std::vector<std::string> SplitKeywords(const std::string& list);

}  // namespace tessera::editor
