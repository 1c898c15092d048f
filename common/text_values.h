// Value texts addressed by the handles a figure record stores: rewriting them, and adjusting a
// total by the change of one of its parts.
#pragma once

#include <optional>
#include <string>

#include "cad/arx.h"

namespace area {

// Replaces the text's string; false when the handle does not resolve or the text does not open.
bool SetTextByHandle(AcDbHandle& handle, const std::string& text);

// Like SetTextByHandle, giving the old string read as a decimal number; nothing on failure.
std::optional<double> ReplaceTextValue(AcDbHandle& handle, const std::string& text);

// Rewrites a number text as (its number − x), rounded under digits and rounding and written with
// `digits` decimals; false when the handle does not resolve or the text does not open.
bool AdjustTextValue(AcDbHandle& handle, double x, int digits, int rounding);

// The string of the text the handle names; nothing when it does not resolve or open.
std::optional<std::string> ReadTextByHandle(AcDbHandle& handle);

}  // namespace area
