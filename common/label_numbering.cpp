// Figure labels: the answer to the label prompt and the default label of the next figure.
#include "common/label_numbering.h"

#include <algorithm>
#include <limits>

#include "common/text_units.h"
#include "common/value_format.h"

namespace area {
namespace {

// First and last letter of a letter numbering kind.
struct LetterRange {
  char first;
  char last;
};

LetterRange LettersOf(int kind) {
  return kind == kNumberingUpperCase ? LetterRange{'A', 'Z'} : LetterRange{'a', 'z'};
}

// The integer at the start of text plus one, in decimal; it stops at the largest long long
// rather than wrap to a negative label.
std::string NextDecimalText(std::string_view text) {
  long long value = ReadInteger(text);
  if (value < std::numeric_limits<long long>::max()) ++value;
  return std::to_string(value);
}

bool IsAllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsSingleLetterOf(std::string_view text, LetterRange letters) {
  return text.size() == 1 && text[0] >= letters.first && text[0] <= letters.last;
}

// An answer that restarts letter numbering: the default's first character becomes the letter
// after the answer, wrapping from the last letter to the first.
std::string DefaultAfterLetter(char answer, std::string_view currentDefault, LetterRange letters) {
  const char next = answer == letters.last ? letters.first : static_cast<char>(answer + 1);
  return next + std::string(currentDefault.substr(FirstCharacterSize(currentDefault)));
}

}  // namespace

bool IsNumberingKind(int kind) {
  return kind == kNumberingDecimal || kind == kNumberingUpperCase || kind == kNumberingLowerCase;
}

std::optional<LabelChoice> ChooseLabel(int kind, std::string_view currentDefault,
                                       std::string_view answer) {
  if (!IsNumberingKind(kind)) return std::nullopt;
  const std::string unchanged(currentDefault);
  if (answer.empty()) return LabelChoice{unchanged, AdvanceMarkBuffer(kind, currentDefault)};
  if (kind == kNumberingDecimal) {
    if (IsAllDigits(answer)) return LabelChoice{std::string(answer), NextDecimalText(answer)};
    return LabelChoice{std::string(answer), unchanged};
  }
  const LetterRange letters = LettersOf(kind);
  if (IsSingleLetterOf(answer, letters)) {
    return LabelChoice{std::string(answer), DefaultAfterLetter(answer[0], currentDefault, letters)};
  }
  return LabelChoice{std::string(answer), unchanged};
}

std::string AdvanceMarkBuffer(int kind, std::string_view mark) {
  if (kind == kNumberingDecimal) return NextDecimalText(mark);
  if (kind != kNumberingUpperCase && kind != kNumberingLowerCase) return std::string(mark);
  const LetterRange letters = LettersOf(kind);
  if (mark.size() == 1 && mark[0] == letters.last) return std::string(1, letters.first);
  return AdvanceFirstUnit(mark);
}

}  // namespace area
