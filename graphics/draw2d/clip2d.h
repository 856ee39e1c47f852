// The 2D clip rectangle and the line and polygon clippers that keep the
// screen layer's shapes inside the drawing area.
#pragma once

#include "graphics/math/pw_types.h"

// The clip rectangle, corners inclusive.
void PwGetClip2(PwPoint2* min, PwPoint2* max);
// min := the smaller x and y of the corners, max := the larger ones.
void PwSetClip2(PwPoint2 a, PwPoint2 b);
// Back to the start-up rectangle (0, 0)-(0, 0).
void PwResetClip2();

// 1 with the clipped segment when a part of at least two distinct points
// lies in the rectangle, else 0.
int PwClipLine2(PwPoint2* out_start, PwPoint2* out_end, PwPoint2 start, PwPoint2 end);

// 1 with the clipped polygon when it keeps at least one vertex, else 0
// (also when count < 1 or the scratch pool cannot hold the passes).
// out_points must hold 4 * count points.
int PwClipPolygon2(int* out_count, PwPoint2* out_points, int count, const PwPoint2* points);
