// The background of a frame: ground below the projected horizon of the
// current eye, sky above it.
#pragma once

#include "graphics/math/pw_types.h"

// Most points PwHorizonSide gives: the two ends and seven corners.
constexpr int kPwHorizonSidePoints = 9;

// Paints the whole drawing area; call it first in a frame, after PwSetEye.
void PwBackground(PwColor ground, PwColor sky);
// One colour over the whole area (screen, image and EPS outputs).
void PwSkyFill(PwColor colour);
// The horizon as a long screen segment (not clipped).
void PwHorizonLine(PwPoint2* start, PwPoint2* end);
// The polygon from "from" clockwise along the clip rectangle's border to
// "to"; points holds kPwHorizonSidePoints.
void PwHorizonSide(int* count, PwPoint2* points, PwPoint2 from, PwPoint2 to);
