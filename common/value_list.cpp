// Composing and reading value lists.
#include "common/value_list.h"

#include "common/text_units.h"
#include "common/value_format.h"

namespace area {

std::string ComposeValueList(const std::vector<std::string>& valueTexts,
                             const std::string& areaText) {
  std::string list = "(";
  for (const std::string& text : valueTexts) list += " " + text;
  return list + " " + areaText + " )";
}

std::vector<std::string> SplitValueList(std::string_view valueList) {
  std::vector<std::string> tokens = SplitTokens(Utf16Prefix(valueList, kValueListLimit), ' ');
  if (tokens.empty()) return tokens;
  tokens.erase(tokens.begin());               // "("
  if (tokens.size() >= 2) tokens.pop_back();  // ")"
  return tokens;
}

}  // namespace area
