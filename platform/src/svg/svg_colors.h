// Colour indices of the drawing turned into the colours a picture on a light background shows.
#pragma once

#include <string>

namespace tessera::svg {

// The index for black-or-white: drawn dark on a light background.
inline constexpr int kForegroundColorIndex = 7;

// "#rrggbb" for a colour index 1 to 255. Index 7 and indices outside 1 to 255 are black; colours
// too pale to read on white (yellow, cyan, the light greys) are darkened, keeping their hue.
std::string ColorForIndex(int colorIndex);

}  // namespace tessera::svg
