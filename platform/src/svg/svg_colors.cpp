// Colour indices to picture colours.
#include "svg/svg_colors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace tessera::svg {
namespace {

struct Rgb {
  double r, g, b;  // 0 to 1
};

// Indices 1 to 9 as every CAD screen shows them.
constexpr std::array<Rgb, 10> kBasicColors = {{
    {0, 0, 0},
    {1, 0, 0},
    {1, 1, 0},
    {0, 1, 0},
    {0, 1, 1},
    {0, 0, 1},
    {1, 0, 1},
    {0, 0, 0},
    {0.502, 0.502, 0.502},
    {0.753, 0.753, 0.753},
}};

// Indices 10 to 249 go round the colour wheel in 24 hues of 15 degrees, ten shades each: five
// brightness levels, each fully saturated (even) or half saturated (odd).
constexpr int kFirstWheelIndex = 10;
constexpr int kLastWheelIndex = 249;
constexpr int kShadesPerHue = 10;
constexpr double kHueStepDegrees = 15.0;
constexpr std::array<double, 5> kShadeBrightness = {1.0, 0.8, 0.6, 0.5, 0.3};
// Indices 250 to 255 are greys from dark to white.
constexpr int kFirstGreyIndex = 250;
constexpr std::array<double, 6> kGreyLevels = {0.2, 0.314, 0.412, 0.51, 0.678, 1.0};

// Above this luminance a stroke is hard to see on white; such colours are scaled down to it.
constexpr double kMaxLuminanceOnWhite = 0.6;

// A pure hue at full brightness, `degrees` from red.
Rgb Hue(double degrees) {
  const double h = std::fmod(degrees, 360.0) / 60.0;
  const double x = 1.0 - std::abs(std::fmod(h, 2.0) - 1.0);
  switch (static_cast<int>(h)) {
    case 0:
      return {1, x, 0};
    case 1:
      return {x, 1, 0};
    case 2:
      return {0, 1, x};
    case 3:
      return {0, x, 1};
    case 4:
      return {x, 0, 1};
    default:
      return {1, 0, x};
  }
}

Rgb WheelColor(int index) {
  const int offset = index - kFirstWheelIndex;
  const int shade = offset % kShadesPerHue;
  Rgb c = Hue((offset / kShadesPerHue) * kHueStepDegrees);
  if (shade % 2 == 1) c = {(1 + c.r) / 2, (1 + c.g) / 2, (1 + c.b) / 2};
  const double brightness = kShadeBrightness[static_cast<std::size_t>(shade / 2)];
  return {c.r * brightness, c.g * brightness, c.b * brightness};
}

Rgb IndexColor(int index) {
  if (index < 1 || index > 255) return kBasicColors[kForegroundColorIndex];
  if (index < kFirstWheelIndex) return kBasicColors[static_cast<std::size_t>(index)];
  if (index <= kLastWheelIndex) return WheelColor(index);
  const double grey = kGreyLevels[static_cast<std::size_t>(index - kFirstGreyIndex)];
  return {grey, grey, grey};
}

Rgb ReadableOnWhite(Rgb c) {
  const double luminance = 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
  if (luminance <= kMaxLuminanceOnWhite) return c;
  const double factor = kMaxLuminanceOnWhite / luminance;
  return {c.r * factor, c.g * factor, c.b * factor};
}

int Channel(double value) {
  return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

}  // namespace

std::string ColorForIndex(int colorIndex) {
  const Rgb c = ReadableOnWhite(IndexColor(colorIndex));
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", Channel(c.r), Channel(c.g), Channel(c.b));
  return text;
}

}  // namespace tessera::svg
