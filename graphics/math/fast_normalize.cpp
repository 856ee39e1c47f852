// Table normalisation: two divisions and a fetch instead of a square root.
#include <array>
#include <cmath>

#include "graphics/math/pw_math.h"

namespace {

constexpr int kRows = 63;     // r = -31..31
constexpr int kColumns = 64;  // k = -31..32 (32 is never looked up)

using UnitTable = std::array<PwVec3, kRows * kColumns>;

const UnitTable& Units() {
  static const UnitTable table = [] {
    UnitTable t{};
    for (int r = -31; r <= 31; ++r) {
      for (int k = -31; k <= 32; ++k) {
        double x = k / 31.0, y = r / 31.0;
        double len = std::sqrt(x * x + y * y + 1.0);
        t[(r + 31) * kColumns + (k + 31)] = {static_cast<float>(x / len),
                                             static_cast<float>(y / len),
                                             static_cast<float>(1.0 / len)};
      }
    }
    return t;
  }();
  return table;
}

int TableIndex(float ratio) {
  int i = static_cast<int>(31.0f * ratio);
  if (i < -31) i = -31;
  if (i > 31) i = 31;
  return i;
}

}  // namespace

int PwFastNormalize(PwVec3* out, const PwVec3* v) {
  float x = v->x, y = v->y, z = v->z;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
    *out = {0.0f, 0.0f, 0.0f};
    return 0;
  }
  float ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  int axis;
  float dominant;
  if (ax > ay && ax > az) {
    axis = 0;
    dominant = x;
  } else if (ay > az) {
    axis = 1;
    dominant = y;
  } else {
    axis = 2;
    dominant = z;
  }
  if (std::fabs(dominant) < 0.0001f) {
    *out = {0.0f, 0.0f, 0.0f};
    return 0;
  }
  float u, w;
  if (axis == 0) {
    u = z / x;
    w = y / x;
  } else if (axis == 1) {
    u = x / y;
    w = z / y;
  } else {
    u = x / z;
    w = y / z;
  }
  const PwVec3& e = Units()[(TableIndex(w) + 31) * kColumns + (TableIndex(u) + 31)];
  PwVec3 r;
  if (axis == 0) {
    r = {e.z, e.y, e.x};
  } else if (axis == 1) {
    r = {e.x, e.z, e.y};
  } else {
    r = e;
  }
  if (dominant < 0) r = {-r.x, -r.y, -r.z};
  *out = r;
  return 1;
}
