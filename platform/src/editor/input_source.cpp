// Reading script lines into items, and pulling answers from them for waiting prompts.
#include "editor/input_source.h"

#include <cctype>
#include <string_view>

#include "editor/document_state.h"
#include "editor/system_variables.h"
#include "lisp/reader.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

constexpr const char* kCancelLine = "*CANCEL*";
constexpr const char* kLispErrorPrefix = "\n; error: ";
constexpr const char* kEndOfInputEcho = "*Cancel*";
constexpr const char* kUnbalanced = "unbalanced LISP expression: ";

std::vector<InputSource*>& Sources() {
  static std::vector<InputSource*> sources;
  return sources;
}

std::string TrimLeft(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string Trim(const std::string& text) {
  std::string left = TrimLeft(text);
  std::size_t last = left.find_last_not_of(" \t");
  return last == std::string::npos ? std::string() : left.substr(0, last + 1);
}

bool IsPointList(const std::vector<lisp::Value>& items) {
  if (items.size() < 2 || items.size() > 3) return false;
  for (const lisp::Value& item : items)
    if (!item.isNumber()) return false;
  return true;
}

// Follows the parentheses, strings and comments of LISP text line by line, so that an expression
// is read only once it can be whole: reading it again at every line of a long unclosed
// expression would take time growing with the square of its length.
class LispBalance {
 public:
  // Takes the next line; true when it held more than blanks and comments.
  bool add(std::string_view line) {
    bool token = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (m_inBlockComment) {
        m_inBlockComment = !line.substr(i).starts_with("|;");
        if (!m_inBlockComment) ++i;
      } else if (m_inString) {
        token = true;
        stepInString(line[i]);
      } else if (line[i] == ';') {
        if (!line.substr(i).starts_with(";|")) break;  // the rest of the line is a comment
        m_inBlockComment = true;
        ++i;
      } else if (!std::isspace(static_cast<unsigned char>(line[i]))) {
        token = true;
        stepOutside(line[i]);
      }
    }
    m_escaped = false;  // an escaped line break is a character of the string
    return token;
  }
  bool mayBeWhole() const { return m_depth <= 0 && !m_inString && !m_inBlockComment; }

 private:
  void stepInString(char c) {
    if (m_escaped) {
      m_escaped = false;
    } else if (c == '\\') {
      m_escaped = true;
    } else if (c == '"') {
      m_inString = false;
    }
  }
  void stepOutside(char c) {
    if (c == '"') m_inString = true;
    if (c == '(') ++m_depth;
    if (c == ')') --m_depth;
  }

  long m_depth = 0;
  bool m_inString = false;
  bool m_escaped = false;
  bool m_inBlockComment = false;
};

}  // namespace

InputSource::InputSource(const std::string& text, std::string name) : m_name(std::move(name)) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    m_lines.push_back(line);
    start = end + 1;
  }
}

bool InputSource::atEnd() {
  if (failed()) return true;
  while (m_position < m_lines.size() && TrimLeft(m_lines[m_position]).starts_with(";"))
    ++m_position;
  return m_position >= m_lines.size();
}

InputItem InputSource::next() {
  InputItem item;
  if (atEnd()) return item;
  std::size_t first = m_position;
  const std::string& line = m_lines[first];
  if (TrimLeft(line).starts_with("(")) return readLisp(first);
  ++m_position;
  item.kind = InputItem::Kind::kText;
  item.text = line;
  item.line = static_cast<int>(first) + 1;
  return item;
}

namespace {

// The item of LISP text that was read whole, or that can never be read.
InputItem LispItem(InputItem item, std::string text, std::size_t first, lisp::ReadResult read) {
  item.text = std::move(text);
  if (read.status == lisp::ReadResult::Status::kError) {
    item.kind = InputItem::Kind::kError;
    item.message = read.message;
    item.line = static_cast<int>(first) + read.line;
    return item;
  }
  item.kind = InputItem::Kind::kLisp;
  item.forms = std::move(read.forms);
  return item;
}

}  // namespace

InputItem InputSource::readLisp(std::size_t first) {
  InputItem item;
  item.line = static_cast<int>(first) + 1;
  std::string text;
  LispBalance balance;
  bool unread = false;  // lines with something in them came since the last read
  for (std::size_t i = first; i < m_lines.size(); ++i) {
    if (i != first) text += '\n';
    text += m_lines[i];
    unread = balance.add(m_lines[i]) || unread;
    if (!unread || !balance.mayBeWhole()) continue;
    unread = false;
    lisp::ReadResult read = lisp::Read(text);
    if (read.status == lisp::ReadResult::Status::kIncomplete) continue;
    m_position = i + 1;
    return LispItem(item, std::move(text), first, std::move(read));
  }
  m_position = m_lines.size();
  lisp::ReadResult read = lisp::Read(text);
  if (read.status == lisp::ReadResult::Status::kError)
    return LispItem(item, std::move(text), first, std::move(read));
  item.kind = InputItem::Kind::kError;
  item.text = std::move(text);
  item.message = kUnbalanced + read.message;
  return item;
}

void InputSource::fail(int line, const std::string& why) {
  if (failed()) return;
  m_failure = m_name + ":" + std::to_string(line) + ": " + why;
}

InputScope::InputScope(InputSource& source) {
  Sources().push_back(&source);
}
InputScope::~InputScope() {
  Sources().pop_back();
}

InputSource* CurrentInput() {
  return Sources().empty() ? nullptr : Sources().back();
}

bool IsCancelLine(const std::string& text) {
  std::string trimmed = Trim(text);
  if (trimmed.size() != std::string(kCancelLine).size()) return false;
  for (std::size_t i = 0; i < trimmed.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(trimmed[i])) != kCancelLine[i]) return false;
  return true;
}

bool EvaluateTyped(InputSource& source, const InputItem& item, lisp::Value& value) {
  lisp::Interpreter& interpreter = CurrentState().lisp();
  try {
    for (const lisp::Value& form : item.forms) value = interpreter.evalTopLevel(form);
    return true;
  } catch (const std::exception& error) {
    // A fault below the evaluator (an application's exception) stops the script the same way.
    Transcript::instance().write(kLispErrorPrefix + std::string(error.what()));
    source.fail(item.line, error.what());
    return false;
  }
}

Answer AnswerFromValue(const lisp::Value& value) {
  switch (value.type()) {
    case lisp::ValueType::kNil:
      return Answer::Return();
    case lisp::ValueType::kString:
      return Answer::Text(value.string());
    case lisp::ValueType::kInteger:
      return Answer::Integer(value.integer());
    case lisp::ValueType::kReal:
      return Answer::Real(value.real());
    case lisp::ValueType::kEntityName: {
      ads_name name;
      value.name(name);
      return Answer::Entity(name);
    }
    case lisp::ValueType::kSelectionSet: {
      ads_name name;
      value.name(name);
      return Answer::SelectionSet(name);
    }
    case lisp::ValueType::kSymbol:
      if (value.symbolName().empty()) return Answer::Return();
      return Answer::Text(value.symbolName());
    case lisp::ValueType::kCons: {
      std::vector<lisp::Value> items;
      try {
        items = lisp::ListToVector(value);
      } catch (const lisp::Error&) {
      }
      if (IsPointList(items)) {
        return Answer::Point(AcGePoint3d(items[0].number(), items[1].number(),
                                         items.size() == 3 ? items[2].number() : 0.0));
      }
      break;
    }
    default:
      break;
  }
  return Answer::Text(lisp::Prin1String(value));
}

Answer AnswerFromItem(InputSource& source, const InputItem& item) {
  switch (item.kind) {
    case InputItem::Kind::kEnd:
      return Answer::Cancel();
    case InputItem::Kind::kError:
      source.fail(item.line, item.message);
      return Answer::Cancel();
    case InputItem::Kind::kLisp: {
      Transcript::instance().answer(item.text);
      lisp::Value value;
      Answer answer =
          EvaluateTyped(source, item, value) ? AnswerFromValue(value) : Answer::Cancel();
      answer.echoed = true;
      return answer;
    }
    case InputItem::Kind::kText:
      break;
  }
  if (IsCancelLine(item.text)) return Answer::Cancel();
  std::string trimmed = Trim(item.text);
  if (trimmed.size() > 1 && trimmed.front() == '!')
    return AnswerFromValue(CurrentState().lisp().getSymbol(trimmed.substr(1)));
  if (trimmed.empty()) return Answer::Return();
  return Answer::Text(item.text);
}

Answer AskFromInput(const Question& question) {
  Question asked = question;
  asked.lastPoint = LastPoint();
  ShowPrompt(asked);
  for (;;) {
    InputSource* source = CurrentInput();
    InputItem item = source ? source->next() : InputItem();
    if (item.kind == InputItem::Kind::kEnd) {
      Transcript::instance().answer(kEndOfInputEcho);
      return Answer::Cancel();
    }
    Answer answer = AnswerFromItem(*source, item);
    if (source->failed()) return Answer::Cancel();
    Answer accepted;
    OfferResult result = Consider(asked, answer, item.text, accepted);
    switch (result.status) {
      case OfferStatus::kAccepted:
        return accepted;
      case OfferStatus::kRefused:
        continue;
      case OfferStatus::kWrong:
        source->fail(item.line, result.message);
        return Answer::Cancel();
      case OfferStatus::kCancelled:
        return Answer::Cancel();
    }
  }
}

void DriveFromInput(Conversation& conversation) {
  while (conversation.waiting()) {
    InputSource* source = CurrentInput();
    InputItem item = source ? source->next() : InputItem();
    if (item.kind == InputItem::Kind::kEnd) {
      conversation.offer(Answer::Cancel(), kEndOfInputEcho);
      return;
    }
    Answer answer = AnswerFromItem(*source, item);
    if (source->failed()) answer = Answer::Cancel();
    OfferResult result = conversation.offer(answer, item.text);
    if (result.status == OfferStatus::kWrong) {
      source->fail(item.line, result.message);
      conversation.cancel();
    }
  }
}

}  // namespace tessera::editor
