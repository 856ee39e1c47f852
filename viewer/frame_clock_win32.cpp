// The monotonic clock behind the idle pass's time step.
#include <windows.h>

#include "viewer/frame_clock.h"

double ViewerMonotonicSeconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    if (!QueryPerformanceFrequency(&f) || f.QuadPart <= 0) f.QuadPart = 0;
    return f;
  }();
  if (frequency.QuadPart > 0) {
    LARGE_INTEGER now;
    if (QueryPerformanceCounter(&now)) {
      return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
  }
  // Never fails on XP and later; milliseconds would still do.
  return static_cast<double>(GetTickCount64()) / 1000.0;
}
