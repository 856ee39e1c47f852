// Table normalisation: two divisions and a fetch instead of a square root.
#include <array>
#include <cmath>

#include "graphics/math/fast_normalize.h"
#include "graphics/math/pw_math.h"

namespace {

constexpr int kRows = 63;  // r = -31..31

using UnitTable = std::array<PwVec3, kRows * kPwUnitColumns>;

const UnitTable& Units() {
  static const UnitTable table = [] {
    UnitTable t{};
    for (int r = -31; r <= 31; ++r) {
      for (int k = -31; k <= 32; ++k) {
        double x = k / 31.0, y = r / 31.0;
        double len = std::sqrt(x * x + y * y + 1.0);
        t[(r + 31) * kPwUnitColumns + (k + 31)] = {static_cast<float>(x / len),
                                                   static_cast<float>(y / len),
                                                   static_cast<float>(1.0 / len)};
      }
    }
    return t;
  }();
  return table;
}

}  // namespace

const PwVec3* PwUnitTable() { return Units().data(); }

int PwFastNormalize(PwVec3* out, const PwVec3* v) {
  return PwFastNormalizeWith(Units().data(), out, v);
}
