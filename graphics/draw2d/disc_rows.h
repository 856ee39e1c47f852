// Row widths of filled circles and ellipses, computed per row so that a
// fill visits only the rows it can draw, whatever the radius.
#pragma once

#include <cmath>
#include <cstdint>

// The half-width that the midpoint circle walk of integer radius r gives
// the row k rows away from the centre (1 <= k <= r + 1):
// floor(sqrt(r*r - (k-1)*(k-1))); exact up to r = 2^30, close beyond.
inline int64_t PwDiscHalfWidth(int64_t r, int64_t k) {
  const int64_t i = k - 1;
  if (i >= r) return 0;
  if (r > (int64_t{1} << 30)) {
    return static_cast<int64_t>(std::sqrt(static_cast<double>(r - i) * static_cast<double>(r + i)));
  }
  const int64_t n = r * r - i * i;
  if (n <= 0) return 0;
  int64_t f = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
  while (f > 0 && f * f > n) --f;
  while ((f + 1) * (f + 1) <= n) ++f;
  return f;
}
