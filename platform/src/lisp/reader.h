// Reading LISP text into forms. The reader tells a complete text from one whose parentheses or
// string are still open, so that the script runner can append the next line and read again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lisp/value.h"

namespace tessera::lisp {

// Lists deeper than this are refused, so that evaluating or converting them stays bounded.
inline constexpr int kMaxReadNesting = 10000;

struct ReadResult {
  enum class Status {
    kComplete,    // every form is whole; `forms` holds them in order
    kIncomplete,  // a list, string or comment is still open at the end of the text
    kError,       // the text can never become valid; `message`, `line`, `column` say where
  };
  Status status = Status::kComplete;
  std::vector<Value> forms;
  // For kError, and for kIncomplete the message to show when no more text will come
  // ("malformed list on input"); line and column (from 1) of the offending or unclosed character.
  std::string message;
  int line = 0;
  int column = 0;
};

// Reads all forms of `text`: numbers (1, -3, 2.5, .5, 1., 1e3; integers beyond 32 bits become
// reals), strings with \" \\ \n \t \r \e and \nnn octal escapes, symbols (upper-cased; nil is
// nil), 'x as (QUOTE x), lists and dotted pairs, ';' comments to the end of the line and ;| |;
// block comments.
ReadResult Read(std::string_view text);

}  // namespace tessera::lisp
