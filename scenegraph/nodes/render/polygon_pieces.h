// A polygon larger than the graphics library's drawing paths take whole,
// cut into pieces that together cover exactly the polygon, so that every
// path (screen, image file, EPS, model capture) draws all of it.
#pragma once

#include "graphics/math/pw_types.h"

// Most vertices that every drawing path takes whole: the image renderer
// draws and triangulates polygons of up to 64.
constexpr int KS_PIECE_VERTICES = 64;
// Largest non-convex polygon cut into triangles; ear clipping costs the
// square of the count, and a hostile file must not buy a frame of minutes.
constexpr int KS_EAR_CLIP_VERTICES = 8192;

// One piece: count (3..KS_PIECE_VERTICES) indices into the polygon's
// vertices, in the polygon's own order.
typedef void (*KsPieceSink)(void* context, const int* indices, int count);

// A convex polygon (its area that of its hull) goes on as a fan of pieces
// about its first vertex; any other as triangles by ear clipping, and what
// clipping cannot cut (no ear left, too many vertices, or the work bound
// reached) as a fan. Returns the number of pieces; 0 when the count is
// below 3 or memory runs out, with nothing handed on.
int KsSplitPolygon(int count, const PwVec3* vertices, KsPieceSink sink, void* context);

// For tests: inside tests done by ear clipping since the last reset.
long long KsEarClipWork();
void KsResetEarClipWork();
