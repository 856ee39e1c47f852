#include "scenegraph/core/events/scene_clock.h"

#include <ctime>

namespace {
constexpr float kStartTime = 0.1f;

struct ClockState {
  float time = kStartTime;
  unsigned step = 0;
  int running = 1;
  long stopClock = 0;
};

ClockState& State() {
  static ClockState state;
  return state;
}
}  // namespace

void KsClock::SetTime(float seconds) {
  State().time = seconds;
  ++State().step;
}
void KsClock::Advance(float delta) {
  State().time = State().time + delta;
  ++State().step;
}
float KsClock::GetTime() { return State().time; }
unsigned KsClock::GetStep() { return State().step; }

void KsClock::Start() { State().running = 1; }

void KsClock::Stop() {
  State().running = 0;
  State().stopClock = static_cast<long>(std::clock());
}

int KsClock::IsRunning() { return State().running; }
long KsClock::GetStopClock() { return State().stopClock; }

void KsClock::Reset() { State() = ClockState(); }
