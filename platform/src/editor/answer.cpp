// Interpretation of answers against questions, and the parsing of typed points and numbers.
#include "editor/answer.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "lisp/printer.h"

namespace tessera::editor {

namespace {

// Messages of refused answers, as the host prints them.
constexpr const char* kPointRequired = "\nPoint or option keyword required.";
constexpr const char* kInvalidKeyword = "\nInvalid option keyword.";
constexpr const char* kIntegerRequired = "\nRequires an integer value.";
constexpr const char* kNumberRequired = "\nRequires numeric value.";
constexpr const char* kMustBeNonzero = "\nValue must be nonzero.";
constexpr const char* kMustBePositive = "\nValue must be positive.";
constexpr const char* kInvalidSelection =
    "\n*Invalid selection*\nExpects a point or Window/Last/Crossing/ALL/Previous";
// Why an answer of the wrong kind can never fit.
constexpr const char* kNotAPoint = "is not a point";
constexpr const char* kNotAnInteger = "is not an integer";
constexpr const char* kNotANumber = "is not a number";
constexpr const char* kNotAnEntity = "is not an entity or a point";

constexpr int kRefuseReturn = 1;
constexpr int kRefuseZero = 2;
constexpr int kRefuseNegative = 4;

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// strtod in the "C" locale: the decimal point is always ".".
std::optional<double> ParseNumber(const std::string& text) {
  std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  char* end = nullptr;
  // Made once: answers are numbers by the hundred thousand in a long script.
  static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  double value = strtod_l(trimmed.c_str(), &end, cLocale);
  if (end == trimmed.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::optional<AcGePoint3d> ParseCoordinates(const std::string& text) {
  std::vector<std::string> parts = SplitAt(text, ',');
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  double values[3] = {0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::optional<double> value = ParseNumber(parts[i]);
    if (!value) return std::nullopt;
    values[i] = *value;
  }
  return AcGePoint3d(values[0], values[1], values[2]);
}

std::optional<AcGePoint3d> ParsePolar(const std::string& text) {
  std::vector<std::string> parts = SplitAt(text, '<');
  if (parts.size() != 2) return std::nullopt;
  std::optional<double> distance = ParseNumber(parts[0]);
  std::optional<double> degrees = ParseNumber(parts[1]);
  if (!distance || !degrees) return std::nullopt;
  double radians = *degrees * std::numbers::pi / 180.0;
  return AcGePoint3d(*distance * std::cos(radians), *distance * std::sin(radians), 0.0);
}

Interpretation Accept(Answer value) {
  return {Interpretation::Status::kAccepted, value, {}};
}
Interpretation Refuse(const char* message) {
  return {Interpretation::Status::kRefused, Answer(), message};
}
Interpretation Wrong(const Answer& answer, const char* why) {
  return {Interpretation::Status::kWrong, Answer(), "\"" + EchoText(answer) + "\" " + why};
}

// A keyword typed where keywords are allowed; nullopt when the text is not one.
std::optional<Interpretation> AsKeyword(const Question& question, const Answer& answer) {
  if (answer.kind != AnswerKind::kText || question.keywords.empty()) return std::nullopt;
  std::optional<std::string> keyword = MatchKeyword(answer.text, question.keywords);
  if (!keyword) return std::nullopt;
  return Accept(Answer::Keyword(*keyword));
}

Interpretation InterpretPoint(const Question& question, const Answer& answer) {
  if (answer.kind == AnswerKind::kPoint) return Accept(answer);
  if (answer.kind == AnswerKind::kText) {
    if (std::optional<AcGePoint3d> point = ParsePointText(answer.text, question.lastPoint)) {
      Answer value = Answer::Point(*point);
      value.text = Trim(answer.text);
      return Accept(value);
    }
    if (!question.keywords.empty()) return Refuse(kPointRequired);
  }
  return Wrong(answer, kNotAPoint);
}

Interpretation CheckNumberRange(const Question& question, const Answer& value, double number) {
  if ((question.flags & kRefuseZero) && number == 0.0) return Refuse(kMustBeNonzero);
  if ((question.flags & kRefuseNegative) && number < 0.0) return Refuse(kMustBePositive);
  return Accept(value);
}

Interpretation InterpretInteger(const Question& question, const Answer& answer) {
  std::optional<int> number;
  if (answer.kind == AnswerKind::kInteger) number = answer.integer;
  if (answer.kind == AnswerKind::kReal && answer.real == std::trunc(answer.real) &&
      std::fabs(answer.real) < 32768.0)
    number = static_cast<int>(answer.real);
  if (answer.kind == AnswerKind::kText) number = ParseIntegerText(answer.text);
  if (number) return CheckNumberRange(question, Answer::Integer(*number), *number);
  if (answer.kind == AnswerKind::kText && !question.keywords.empty())
    return Refuse(kIntegerRequired);
  return Wrong(answer, kNotAnInteger);
}

Interpretation InterpretReal(const Question& question, const Answer& answer) {
  std::optional<double> number;
  if (answer.kind == AnswerKind::kInteger) number = answer.integer;
  if (answer.kind == AnswerKind::kReal) number = answer.real;
  if (answer.kind == AnswerKind::kText) number = ParseRealText(answer.text);
  if (number) return CheckNumberRange(question, Answer::Real(*number), *number);
  if (answer.kind == AnswerKind::kText && !question.keywords.empty())
    return Refuse(kNumberRequired);
  return Wrong(answer, kNotANumber);
}

Interpretation InterpretDistance(const Question& question, const Answer& answer) {
  if (answer.kind == AnswerKind::kPoint) return Accept(answer);
  if (answer.kind == AnswerKind::kText && !ParseRealText(answer.text)) {
    if (std::optional<AcGePoint3d> point = ParsePointText(answer.text, question.lastPoint))
      return Accept(Answer::Point(*point));
  }
  return InterpretReal(question, answer);
}

Interpretation InterpretString(const Answer& answer) {
  if (answer.kind == AnswerKind::kText) return Accept(answer);
  return Accept(Answer::Text(EchoText(answer)));
}

Interpretation InterpretSelection(const Question& question, const Answer& answer) {
  switch (answer.kind) {
    case AnswerKind::kPoint:
    case AnswerKind::kEntity:
    case AnswerKind::kSelectionSet:
      return Accept(answer);
    case AnswerKind::kText:
      if (std::optional<AcGePoint3d> point = ParsePointText(answer.text, question.lastPoint))
        return Accept(Answer::Point(*point));
      return Refuse(kInvalidSelection);
    default:
      return Refuse(kInvalidSelection);
  }
}

Interpretation InterpretEntity(const Question& question, const Answer& answer) {
  if (answer.kind == AnswerKind::kPoint || answer.kind == AnswerKind::kEntity)
    return Accept(answer);
  if (answer.kind == AnswerKind::kText) {
    if (std::optional<AcGePoint3d> point = ParsePointText(answer.text, question.lastPoint))
      return Accept(Answer::Point(*point));
  }
  return Wrong(answer, kNotAnEntity);
}

const char* ReturnRefusal(Want want) {
  switch (want) {
    case Want::kKeyword:
      return kInvalidKeyword;
    case Want::kInteger:
      return kIntegerRequired;
    case Want::kReal:
      return kNumberRequired;
    default:
      return kPointRequired;
  }
}

}  // namespace

Answer Answer::Cancel() {
  Answer answer;
  answer.kind = AnswerKind::kCancel;
  return answer;
}

Answer Answer::Text(std::string text) {
  Answer answer;
  answer.kind = AnswerKind::kText;
  answer.text = std::move(text);
  return answer;
}

Answer Answer::Point(const AcGePoint3d& point) {
  Answer answer;
  answer.kind = AnswerKind::kPoint;
  answer.point = point;
  return answer;
}

Answer Answer::Real(double value) {
  Answer answer;
  answer.kind = AnswerKind::kReal;
  answer.real = value;
  return answer;
}

Answer Answer::Integer(int value) {
  Answer answer;
  answer.kind = AnswerKind::kInteger;
  answer.integer = value;
  return answer;
}

Answer Answer::Keyword(std::string keyword) {
  Answer answer;
  answer.kind = AnswerKind::kKeyword;
  answer.text = std::move(keyword);
  return answer;
}

Answer Answer::Entity(const std::int64_t entityName[2]) {
  Answer answer;
  answer.kind = AnswerKind::kEntity;
  answer.name = {entityName[0], entityName[1]};
  return answer;
}

Answer Answer::SelectionSet(const std::int64_t setName[2]) {
  Answer answer = Entity(setName);
  answer.kind = AnswerKind::kSelectionSet;
  return answer;
}

Interpretation Interpret(const Question& question, const Answer& given) {
  Answer answer = given;
  if (answer.kind == AnswerKind::kText && answer.text.empty() && question.want != Want::kString)
    answer = Answer::Return();
  if (answer.kind == AnswerKind::kCancel) return {Interpretation::Status::kCancelled, answer, {}};
  if (answer.kind == AnswerKind::kReturn) {
    if (question.want == Want::kString) return Accept(Answer::Text(""));
    if (question.flags & kRefuseReturn) return Refuse(ReturnRefusal(question.want));
    return Accept(answer);
  }
  if (question.want != Want::kString) {
    if (std::optional<Interpretation> keyword = AsKeyword(question, answer)) return *keyword;
  }
  switch (question.want) {
    case Want::kPoint:
      return InterpretPoint(question, answer);
    case Want::kString:
      return InterpretString(answer);
    case Want::kKeyword:
      return Refuse(kInvalidKeyword);
    case Want::kInteger:
      return InterpretInteger(question, answer);
    case Want::kReal:
      return InterpretReal(question, answer);
    case Want::kSelection:
      return InterpretSelection(question, answer);
    case Want::kEntity:
      return InterpretEntity(question, answer);
    case Want::kDistance:
      return InterpretDistance(question, answer);
  }
  return Wrong(answer, kNotAPoint);
}

std::string EchoText(const Answer& answer) {
  switch (answer.kind) {
    case AnswerKind::kReturn:
    case AnswerKind::kCancel:
      return {};
    case AnswerKind::kText:
    case AnswerKind::kKeyword:
      return answer.text;
    case AnswerKind::kPoint: {
      if (!answer.text.empty()) return answer.text;
      std::string text = lisp::FormatReal(answer.point.x) + "," + lisp::FormatReal(answer.point.y);
      if (answer.point.z != 0.0) text += "," + lisp::FormatReal(answer.point.z);
      return text;
    }
    case AnswerKind::kReal:
      return lisp::FormatReal(answer.real);
    case AnswerKind::kInteger:
      return std::to_string(answer.integer);
    case AnswerKind::kEntity:
      return "<Entity name>";
    case AnswerKind::kSelectionSet:
      return "<Selection set>";
  }
  return {};
}

std::optional<AcGePoint3d> ParsePointText(const std::string& text, const AcGePoint3d& last) {
  std::string trimmed = Trim(text);
  bool relative = !trimmed.empty() && trimmed.front() == '@';
  if (relative) trimmed.erase(0, 1);
  if (relative && trimmed.empty()) return last;
  std::optional<AcGePoint3d> point =
      trimmed.find('<') != std::string::npos ? ParsePolar(trimmed) : ParseCoordinates(trimmed);
  if (!point) return std::nullopt;
  if (relative) return last + point->asVector();
  return point;
}

std::optional<double> ParseRealText(const std::string& text) {
  return ParseNumber(text);
}

std::optional<int> ParseIntegerText(const std::string& text) {
  std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  std::size_t start = (trimmed[0] == '-' || trimmed[0] == '+') ? 1 : 0;
  if (start == trimmed.size()) return std::nullopt;
  for (std::size_t i = start; i < trimmed.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(trimmed[i]))) return std::nullopt;
  long value = std::strtol(trimmed.c_str(), nullptr, 10);
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<std::string> MatchKeyword(const std::string& text,
                                        const std::vector<std::string>& keywords) {
  std::string typed = Upper(Trim(text));
  if (!typed.empty() && typed.front() == '_') typed.erase(0, 1);
  if (typed.empty()) return std::nullopt;
  for (const std::string& keyword : keywords) {
    std::string upper = Upper(keyword);
    std::size_t capitals = 0;
    while (capitals < keyword.size() &&
           !std::islower(static_cast<unsigned char>(keyword[capitals])))
      ++capitals;
    std::size_t shortest = capitals == 0 ? keyword.size() : capitals;
    if (typed.size() >= shortest && typed.size() <= upper.size() &&
        upper.compare(0, typed.size(), typed) == 0)
      return keyword;
  }
  return std::nullopt;
}

std::vector<std::string> SplitKeywords(const std::string& list) {
  std::vector<std::string> keywords;
  std::string current;
  for (char c : list) {
    if (c == ' ' || c == '\t' || c == ',') {
      if (!current.empty()) keywords.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) keywords.push_back(current);
  return keywords;
}

}  // namespace tessera::editor
