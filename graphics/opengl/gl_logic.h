// The OpenGL back end's arithmetic that needs no OpenGL: colour keys,
// convexity of screen polygons, text placement, palette levels, ellipse
// points and the camera's view-volume bounds.
#pragma once

#include "graphics/math/pw_types.h"

// First font display list; one list per character code 0..254.
constexpr int kPwGlFontBase = 1000;
constexpr int kPwGlFontCount = 255;
// Most vertices one polygon hands to the tessellator.
constexpr int kPwGlTessMax = 128;
// Vertices of a filled circle or ellipse (2048 units of 1/65536 turn apart).
constexpr int kPwGlCircleSteps = 32;

// green * 65536 + red * 256 + blue.
int PwGlColorKey(PwColor colour);

// 1 when the screen polygon may go to OpenGL as one GL_POLYGON; repeated
// points (at either end, or closing it) are ignored.
int PwGlIsConvex(int count, const PwPoint2* points);

// Where PwScreenTextLines draws its first line (each further one 16 pixels
// lower); lines is null-terminated.
PwPoint2 PwGlTextLinesOrigin(PwPoint2 p, const char* const* lines, int halign, int valign);

// ((i >> shift) & (2^bits - 1)) * 255 / (2^bits - 1); 0 for no bits.
int PwGlPaletteLevel(int i, int bits, int shift);

// Point k of an ellipse at t = 2048 k: (cx + trunc(cos t * rx), cy + trunc(sin t * ry)).
PwPoint2 PwGlEllipsePoint(PwPoint2 centre, int rx, int ry, int k);
// cos and sin of 2048 k units.
void PwGlCircleStep(int k, float* c, float* s);

// left, right, bottom, top of the view volume at depth d (the near depth in
// perspective, the parallel distance in parallel projection) for a drawing
// area of w x h.
void PwGlViewBounds(double out[4], const PwProjection* projection, double d, int w, int h);

// The normal as OpenGL lights it: unit length, so a face's size does not
// scale its shade. A zero or non-finite normal is returned as it is.
PwVec3 PwGlUnitNormal(PwVec3 normal);

// The colour cache: 1 when the colour's key differs from the last one sent
// (which it then becomes), 0 when it is the same. Nothing else resets it but
// the tests' reset (key -1).
int PwGlColorCacheTake(PwColor colour);
void PwGlResetColorCache();
