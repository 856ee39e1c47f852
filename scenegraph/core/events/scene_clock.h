// The scene clock: one process-wide number of seconds that the viewer
// advances by a fixed step every frame. It is not a real clock.
#pragma once

class KsClock {
 public:
  static const char* GetClassName() { return "KsClock"; }

  static void SetTime(float seconds);
  // time = time + delta, in float arithmetic.
  static void Advance(float delta);
  static float GetTime();
  // Counts the changes of the time (SetTime and Advance, whatever the
  // delta): the work bounded per frame is counted per step.
  static unsigned GetStep();

  // The running flag (1 at start) and, on stop, the processor clock.
  static void Start();
  static void Stop();
  static int IsRunning();
  static long GetStopClock();

  // Start-up state: 0.1 s, step 0, running, no stop reading.
  static void Reset();
};
