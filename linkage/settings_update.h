// The settings update of existing figures: new layers and value rules for every stored figure of
// the drawing at once. The value texts are measured afresh from the geometry under the new
// rules; each rewritten text raises the linkage, which brings the mark's value list, the schedule
// rows and their totals along under the record's new digits and rounding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "figures/measures.h"

namespace area {

inline constexpr std::size_t kSettingsUpdateFields = 8;

// The eight "|"-separated fields: line, mark and value layer, two ignored fields, unit kind,
// digits and rounding. Empty fields collapse; fewer than eight is nothing.
struct SettingsUpdate {
  std::string lineLayer;
  std::string markLayer;
  std::string valueLayer;
  ValueRules rules;
};
std::optional<SettingsUpdate> ParseSettingsUpdate(std::string_view text);

// Applies the update to every figure record of the working drawing, shape by shape in dictionary
// order; entities that do not resolve are passed over, layers that do not exist are not made.
void UpdateFigureSettings(const SettingsUpdate& update);

}  // namespace area
