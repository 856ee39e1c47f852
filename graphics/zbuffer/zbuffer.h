// The z-buffer renderer: 3D and 2D primitives drawn pixel by pixel into a
// buffer it does not own. Every pixel goes to a callback with its colour
// (red, green, blue) and, for 3D primitives, its depth from the pixel's
// viewing ray cut with the primitive. It keeps its own camera, viewport,
// magnification, near distance, light and lighting terms (one renderer per
// process). "out" arguments may be null.
#pragma once

#include "graphics/math/pw_types.h"

using PwZDepthPixelFunc = void (*)(int context, int x, int y, int red, int green, int blue,
                                   float depth);
using PwZPlainPixelFunc = void (*)(int context, int x, int y, int red, int green, int blue);
using PwZPollFunc = int (*)();  // non-zero abandons the fill in progress

// Every default, camera at the zero pose, shading on; (re)allocates the work
// buffers. 1, or 0 when a buffer cannot be had (the primitives then draw
// nothing until a later PwZInit succeeds).
int PwZInit();

int PwZGetLightingTerms(float* ambient, float* diffuse, float* specular, float* shininess);
int PwZSetLightingTerms(float ambient, float diffuse, float specular, float shininess);
// The highlight of the lit 3D primitives that follow: its colour (0..1 a
// channel, scaling the specular coefficient per channel; black: none) and
// its exponent in place of the shininess term. PwZInit and PwZClearHighlight
// leave white with the shininess term.
int PwZSetHighlight(float red, float green, float blue, float exponent);
int PwZClearHighlight();
// The colour and the exponent in use.
int PwZGetHighlight(float* red, float* green, float* blue, float* exponent);
int PwZGetViewport(int* x0, int* y0, int* x1, int* y1, int* cx, int* cy);
int PwZSetViewport(int x0, int y0, int x1, int y1, int cx, int cy);
int PwZGetMagnification(float* magnification, float* near_distance);
int PwZSetMagnification(float magnification, float near_distance);
int PwZSetLight(PwVec3 position);
int PwZGetLight(PwVec3* position);
int PwZSetCamera(PwPose camera);
int PwZSetShading(int on);  // 0 or 1; anything else is ignored
int PwZGetShading(int* on);
int PwZSetContext(int context);
// null installs the do-nothing default.
int PwZSetPixelFuncs(PwZDepthPixelFunc depth_pixel);
int PwZSetPlainPixelFunc(PwZPlainPixelFunc plain_pixel);
int PwZSetPollFunc(PwZPollFunc poll);
// Rows of discs and ellipses and pixels of lines the walks have visited
// since PwZInit: within the viewport's size per primitive, whatever its
// coordinates (tests bound the cost by it).
unsigned long long PwZWalked();

// 3D primitives: 1, or 0 when the poll abandoned a fill. The facets return 1
// without drawing when they face away from the camera.
int PwZPolygon(int count, const PwVec3* points, PwColor colour);
int PwZFacet(int count, const PwVec3* points, PwVec3 normal, PwColor colour);
int PwZSmoothPolygon(int count, const PwVec3* points, const PwVec3* normals, PwColor colour);
int PwZSmoothFacet(int count, const PwVec3* points, const PwVec3* normals, PwVec3 normal,
                   PwColor colour);
int PwZLine(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwZPoint(PwVec3 p, PwColor colour);
int PwZDisc(PwVec3 centre, float radius, PwColor colour);

// 2D primitives in viewport pixels: plain pixels, no depth, no lighting.
void PwZLine2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
void PwZPoint2(PwPoint2 p, PwColor colour);
void PwZEllipse2(PwPoint2 centre, int rx, int ry, PwColor colour);
void PwZPolygon2(int count, const PwPoint2* points, PwColor colour);
void PwZBox2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
