// PwColor to and from the system's 0x00BBGGRR colour value.
#pragma once

#include <cstdint>

#include "graphics/math/pw_types.h"

namespace kr {

std::uint32_t RgbFromColor(const PwColor& c);
// Fills red, green and blue from the value.
void ColorFromRgb(std::uint32_t rgb, PwColor* out);

}  // namespace kr
