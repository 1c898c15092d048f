// Figure labels: what the user's answer to the label prompt yields, and how the default label
// moves on from one figure to the next.
//
// Three numbering kinds: decimal numbers ("7" -> "8"), upper-case letters ("C" -> "D", "Z" ->
// "A") and lower-case letters. Characters are stepped in UTF-16 code units, as the host does, so
// a label that starts with "ア" moves on to "ィ". The host's prompt returns at most 255 units; a
// longer answer given here is kept whole, never cut.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace area {

inline constexpr int kNumberingDecimal = 0;
inline constexpr int kNumberingUpperCase = 1;
inline constexpr int kNumberingLowerCase = 2;

// Whether `kind` is one of the three numbering kinds.
bool IsNumberingKind(int kind);

struct LabelChoice {
  std::string label;        // the figure's label
  std::string nextDefault;  // default offered at the next prompt
};

// The label and the next default after the user answered `answer` to a prompt offering
// `currentDefault`. An empty answer takes the default, which then advances as AdvanceMarkBuffer
// does. A decimal answer of digits only, or a letter answer of one letter of the kind, restarts
// the numbering after it; any other answer is the label and leaves the default as it is. Nothing
// for a kind that is not a numbering kind.
std::optional<LabelChoice> ChooseLabel(int kind, std::string_view currentDefault,
                                       std::string_view answer);

// The mark after `mark` when figures are numbered automatically. Decimal: the integer at the
// start of the mark (0 if none) plus one. Upper case: "Z" becomes "A", any other mark has its
// first UTF-16 unit raised by one; lower case likewise with "z" and "a". Other kinds: unchanged.
std::string AdvanceMarkBuffer(int kind, std::string_view mark);

}  // namespace area
