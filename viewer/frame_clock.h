// How far the scene clock moves in one idle pass: the real time since the
// pass before, read from a monotonic clock that the program supplies, so a
// file's seconds are seconds on the wall whatever the frame rate.
#pragma once

// The longest step of one pass: a slow frame slows the scene down rather
// than making it jump.
constexpr double kViewerMaxStep = 0.1;

// The scene-time step for a pass that came elapsed real seconds after the
// one before: elapsed itself, at most kViewerMaxStep; nothing for a clock
// that went back or gave no number.
float ViewerClockStep(double elapsed);

// Real seconds since the previous call, given this call's reading of a
// monotonic clock in seconds; 0 on the first call after a reset.
double ViewerElapsedSince(double now);
void ViewerResetFrameClock();

// The system's monotonic clock in seconds (the Windows programs only).
double ViewerMonotonicSeconds();
