#include "viewer/frame_clock.h"

namespace {

struct FrameClock {
  int started = 0;
  double previous = 0.0;
};

FrameClock& Clock() {
  static FrameClock clock;
  return clock;
}

}  // namespace

float ViewerClockStep(double elapsed) {
  // Written so that a NaN takes the first branch too.
  if (!(elapsed > 0.0)) return 0.0f;
  if (elapsed > kViewerMaxStep) elapsed = kViewerMaxStep;
  return static_cast<float>(elapsed);
}

double ViewerElapsedSince(double now) {
  FrameClock& c = Clock();
  const double elapsed = c.started ? now - c.previous : 0.0;
  c.started = 1;
  c.previous = now;
  return elapsed;
}

void ViewerResetFrameClock() { Clock() = FrameClock(); }
