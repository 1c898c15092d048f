// The LISP reader. Open lists and pending quotes live on an explicit stack, so deeply nested
// input is refused with a message instead of exhausting the C++ stack.
#include "lisp/reader.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

namespace tessera::lisp {

namespace {

constexpr std::string_view kInvalidDottedPair = "invalid dotted pair";
constexpr char kEscapeChar = '\x1b';
constexpr int kMaxOctalDigits = 3;

// The reader reports the first problem it meets by throwing this.
struct ReadProblem {
  ReadResult::Status status;
  std::string message;
  int line;
  int column;
};

bool IsDelimiter(char c) {
  return std::isspace(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == '"' ||
         c == ';' || c == '\'';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the run of digits at the start of `text`.
std::size_t DigitRun(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  return n;
}

// True when the whole token is a number: sign? (digits [. digits*] | . digits) [e sign? digits].
bool LooksNumeric(std::string_view token, bool& isInteger) {
  std::size_t i = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
  std::size_t wholeDigits = DigitRun(token.substr(i));
  i += wholeDigits;
  std::size_t fractionDigits = 0;
  bool hasPoint = i < token.size() && token[i] == '.';
  if (hasPoint) {
    fractionDigits = DigitRun(token.substr(i + 1));
    i += 1 + fractionDigits;
  }
  if (wholeDigits == 0 && fractionDigits == 0) return false;
  bool hasExponent = i < token.size() && (token[i] == 'e' || token[i] == 'E');
  if (hasExponent) {
    ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    std::size_t exponentDigits = DigitRun(token.substr(i));
    if (exponentDigits == 0) return false;
    i += exponentDigits;
  }
  isInteger = !hasPoint && !hasExponent;
  return i == token.size();
}

std::optional<Value> ParseNumber(std::string_view token) {
  bool isInteger = false;
  if (!LooksNumeric(token, isInteger)) return std::nullopt;
  std::string text(token);
  if (isInteger) {
    errno = 0;
    long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == 0 && n >= std::numeric_limits<std::int32_t>::min() &&
        n <= std::numeric_limits<std::int32_t>::max()) {
      return Value::Integer(static_cast<std::int32_t>(n));
    }
  }
  // Integers beyond 32 bits become reals, as the host reads them.
  return Value::Real(std::strtod(text.c_str(), nullptr));
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  ReadResult readAll() {
    ReadResult result;
    try {
      while (skipBlanksAndComments()) readToken();
      if (!open_.empty()) {
        const Open& outer = open_.front();
        incomplete(kMalformedList, outer.line, outer.column);
      }
      result.forms = std::move(forms_);
    } catch (const ReadProblem& problem) {
      result.status = problem.status;
      result.message = problem.message;
      result.line = problem.line;
      result.column = problem.column;
    }
    return result;
  }

 private:
  // An open list, or a quote waiting for the form it applies to.
  struct Open {
    bool isQuote = false;
    std::vector<Value> items;
    bool dotted = false;  // a "." was read; the next form is the tail
    std::optional<Value> tail;
    int line = 0;
    int column = 0;
  };

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return text_[pos_]; }

  void advance() {
    char c = text_[pos_++];
    if (c == '\n') {
      ++line_;
      column_ = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++column_;  // columns count characters, not the continuation bytes of UTF-8
    }
  }

  [[noreturn]] void fail(std::string_view message, int line, int column) const {
    throw ReadProblem{ReadResult::Status::kError, std::string(message), line, column};
  }

  [[noreturn]] void incomplete(std::string_view message, int line, int column) const {
    throw ReadProblem{ReadResult::Status::kIncomplete, std::string(message), line, column};
  }

  // Skips white space and comments; false at the end of the text.
  bool skipBlanksAndComments() {
    while (!atEnd()) {
      if (std::isspace(static_cast<unsigned char>(peek()))) {
        advance();
      } else if (peek() == ';') {
        skipComment();
      } else {
        return true;
      }
    }
    return false;
  }

  void skipComment() {
    int line = line_, column = column_;
    advance();
    if (!atEnd() && peek() == '|') {
      advance();
      while (!text_.substr(pos_).starts_with("|;")) {
        if (atEnd()) incomplete(kMalformedList, line, column);
        advance();
      }
      advance();
      advance();
      return;
    }
    while (!atEnd() && peek() != '\n') advance();
  }

  void readToken() {
    int line = line_, column = column_;
    switch (peek()) {
      case '(':
        advance();
        pushOpen(Open{false, {}, false, std::nullopt, line, column});
        return;
      case ')':
        advance();
        closeList(line, column);
        return;
      case '\'':
        advance();
        pushOpen(Open{true, {}, false, std::nullopt, line, column});
        return;
      case '"':
        complete(readString(), line, column);
        return;
      default:
        readAtom(line, column);
    }
  }

  void pushOpen(Open open) {
    if (static_cast<int>(open_.size()) >= kMaxReadNesting) {
      fail("nested deeper than " + std::to_string(kMaxReadNesting) + " levels", open.line,
           open.column);
    }
    open_.push_back(std::move(open));
  }

  void closeList(int line, int column) {
    if (open_.empty()) fail(kExtraRightParen, line, column);
    Open& list = open_.back();
    if (list.isQuote) fail(kExtraRightParen, line, column);
    if (list.dotted && !list.tail) fail(kInvalidDottedPair, line, column);
    Value value = list.tail ? *list.tail : Value();
    for (auto it = list.items.rbegin(); it != list.items.rend(); ++it) {
      value = Value::Cons(std::move(*it), std::move(value));
    }
    open_.pop_back();
    complete(std::move(value), line, column);
  }

  // Hands a finished form to the quotes waiting for it, then to the open list or the result.
  void complete(Value form, int line, int column) {
    while (!open_.empty() && open_.back().isQuote) {
      form = List({Value::Symbol("QUOTE"), std::move(form)});
      open_.pop_back();
    }
    if (open_.empty()) {
      forms_.push_back(std::move(form));
      return;
    }
    Open& list = open_.back();
    if (list.tail) fail(kInvalidDottedPair, line, column);
    if (list.dotted) {
      list.tail = std::move(form);
    } else {
      list.items.push_back(std::move(form));
    }
  }

  void readAtom(int line, int column) {
    std::size_t start = pos_;
    while (!atEnd() && !IsDelimiter(peek())) advance();
    std::string_view token = text_.substr(start, pos_ - start);
    if (token == ".") {
      markDot(line, column);
    } else if (auto number = ParseNumber(token)) {
      complete(std::move(*number), line, column);
    } else {
      complete(Value::Symbol(token), line, column);
    }
  }

  void markDot(int line, int column) {
    if (open_.empty() || open_.back().isQuote) fail(kInvalidDottedPair, line, column);
    Open& list = open_.back();
    if (list.items.empty() || list.dotted) fail(kInvalidDottedPair, line, column);
    list.dotted = true;
  }

  Value readString() {
    int line = line_, column = column_;
    advance();
    std::string text;
    while (true) {
      if (atEnd()) incomplete(kMalformedString, line, column);
      char c = peek();
      advance();
      if (c == '"') return Value::String(std::move(text));
      if (c != '\\') {
        text += c;
        continue;
      }
      if (atEnd()) incomplete(kMalformedString, line, column);
      text += readEscape();
    }
  }

  // The character after a backslash: a letter escape, up to three octal digits, or itself.
  char readEscape() {
    char c = peek();
    advance();
    switch (c) {
      case 'n':
        return '\n';
      case 't':
        return '\t';
      case 'r':
        return '\r';
      case 'e':
        return kEscapeChar;
      default:
        break;
    }
    if (c < '0' || c > '7') return c;
    int code = c - '0';
    for (int digits = 1; digits < kMaxOctalDigits && !atEnd() && peek() >= '0' && peek() <= '7';
         ++digits) {
      code = code * 8 + (peek() - '0');
      advance();
    }
    return static_cast<char>(code);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
  std::vector<Open> open_;
  std::vector<Value> forms_;
};

}  // namespace

ReadResult Read(std::string_view text) {
  return Reader(text).readAll();
}

}  // namespace tessera::lisp
