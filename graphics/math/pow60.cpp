// x^60 from a table, for the specular highlight of the shading.
#include <array>
#include <cmath>

#include "graphics/math/pw_math.h"

namespace {

const std::array<float, 1025>& Pow60Table() {
  static const std::array<float, 1025> table = [] {
    std::array<float, 1025> t{};
    for (int i = 0; i <= 1024; ++i) t[i] = static_cast<float>(std::pow(i / 1024.0, 60.0));
    return t;
  }();
  return table;
}

}  // namespace

float PwPow60(float x) {
  if (std::isnan(x) || x < 0.0f) return 0.0f;
  if (x >= 1.0f) return 1.0f;
  int i = static_cast<int>(x * 1024.0f);
  if (i > 1024) i = 1024;
  return Pow60Table()[i];
}
