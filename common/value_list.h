// The value list of a figure's mark ("SK"): "( v1 v2 ... area )", the figure's value texts with
// the area last, separated by single blanks. The figure commands, the linkage and the schedule
// compose and read it only through these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace area {

// "( v1 v2 ... area )" from the value texts and the area text.
std::string ComposeValueList(const std::vector<std::string>& valueTexts,
                             const std::string& areaText);

// The value texts of a value list, the area included: the list (up to kValueListLimit UTF-16
// units) split at blanks, the first token dropped, and the last token dropped when at least two
// remain.
std::vector<std::string> SplitValueList(std::string_view valueList);

}  // namespace area
