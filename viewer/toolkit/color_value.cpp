// Colour values of the colour chooser.
#include "viewer/toolkit/color_value.h"

namespace kr {

namespace {

std::uint32_t Channel(int v) {
  if (v < 0) return 0;
  if (v > 255) return 255;
  return static_cast<std::uint32_t>(v);
}

}  // namespace

std::uint32_t RgbFromColor(const PwColor& c) {
  return Channel(c.red) | (Channel(c.green) << 8) | (Channel(c.blue) << 16);
}

void ColorFromRgb(std::uint32_t rgb, PwColor* out) {
  out->red = static_cast<int>(rgb & 0xFFu);
  out->green = static_cast<int>((rgb >> 8) & 0xFFu);
  out->blue = static_cast<int>((rgb >> 16) & 0xFFu);
}

}  // namespace kr
