// The one immediate-mode buffer through which node traversals hand their
// geometry to the graphics library: begin a primitive, add normals and
// vertices (carried through the current matrix and given the graphics
// library's left-handed z), end it. Ending draws it in the current colour
// and, while a sensor's pick id is current, registers it for picking.
// Also the drawing colour and the global tessellation level.
#pragma once

#include "graphics/math/pw_types.h"
#include "scenegraph/core/math/matrix.h"

constexpr int KS_PRIMITIVE_POLYGON = 1;
constexpr int KS_PRIMITIVE_POINTS = 2;
constexpr int KS_PRIMITIVE_POLYLINE = 3;
// Vertices and normals held without allocating; a larger primitive grows
// the buffer (kept for the next one) up to KS_PRIMITIVE_MAX_VERTICES.
constexpr int KS_PRIMITIVE_CAPACITY = 256;
// A primitive of more vertices or normals, or one whose room cannot be
// had, is refused whole: ending it draws nothing.
constexpr int KS_PRIMITIVE_MAX_VERTICES = 1 << 16;
constexpr int KS_TESSELLATION_MIN = 1;
constexpr int KS_TESSELLATION_MAX = 15;
constexpr int KS_TESSELLATION_DEFAULT = 4;

// Applied to every vertex and normal added; the identity at the top of a
// traversal, extended by Transform and restored after it.
KsMatrix& KsCurrentMatrix();
void KsResetMatrix();

// A scene-graph point (w 1) or direction (w 0) carried by m into the
// graphics library's left-handed space.
inline PwVec3 KsToLibrary(const KsMatrix& m, const KsVec3f& v, float w) {
  KsVec3f r;
  m.Apply(r, v, w);
  return PwVec3{r.x, r.y, -r.z};
}

// Subdivision level of spheres, cylinders and cones, always within 1..15.
int KsTessellationLevel();
// Sets the level when it lies within 1..15 (else keeps it); returns level.
int KsSetTessellation(int level);

// mode: KS_PRIMITIVE_POLYGON, _POINTS or _POLYLINE. Counts go to 0; there
// is no begin/end check, so adding outside a primitive extends the last one
// and ending again draws it again.
void KsBeginPrimitive(int mode);
void KsAddVertex(float x, float y, float z);
void KsAddVertexv(const float v[3]);
// Transformed as a direction and not renormalised.
void KsAddNormal(float x, float y, float z);
void KsAddNormalv(const float n[3]);
// Polygons: as many normals as vertices draw smooth, none two-sided, any
// other number one-sided with the first as face normal. A polygon of more
// than KS_PIECE_VERTICES goes to the graphics library in pieces that
// cover it exactly (and is registered for picking whole).
void KsEndPrimitive();

// Components 0..1, each * 255 truncated (clamped to 0..255). The colour at
// KsEndPrimitive applies to the whole primitive and stays until set again.
void KsSetColor(float r, float g, float b);
void KsSetColorv(const float rgb[3]);
// The highlight of the lit surfaces that follow: specular colour (0..1 a
// channel, like KsSetColor) and shininess (0..1).
void KsSetSpecular(float r, float g, float b, float shininess);
PwColor KsGetDrawingColor();
// White without a highlight: the colour of a shape without a material, and
// the colour every frame's walk starts from.
void KsSetDefaultColor();
// The drawing state a frame's walk starts from: identity matrix, default
// colour.
void KsResetDrawingState();

// Pick id of the nearest shape registered under the window point, or -1.
int KsPickAt(int x, int y);
// Default projection of the current drawing area with near = 0.05.
void KsInitProjection(PwProjection* out);
// Always 0 (perspective).
int KsGetProjectionKind();

// The primitive gathered last (already transformed, z negated).
int KsGetPrimitiveMode();
int KsGetPrimitiveVertexCount();
const PwVec3* KsGetPrimitiveVertices();
int KsGetPrimitiveNormalCount();
const PwVec3* KsGetPrimitiveNormals();
// Whether the primitive gathered last outgrew the buffer and is refused.
bool KsPrimitiveRefused();

// Called at every KsEndPrimitive with what is about to be drawn (not for a
// refused primitive); null for none. For tests and tools that count or inspect the geometry.
typedef void (*KsPrimitiveObserver)(int mode, int vertexCount, const PwVec3* vertices,
                                    int normalCount, const PwVec3* normals, PwColor colour,
                                    int pickId);
void KsSetPrimitiveObserver(KsPrimitiveObserver observer);

// Steps of the geometry walks (grid cells, spine segments looked at), which
// a drawing adds as it goes: tests bound its cost by them.
void KsCountDrawSteps(long long steps);
long long KsDrawSteps();

// Start-up state: identity matrix, empty buffer, white, level 4, no observer,
// no steps.
void KsResetPrimitiveBuffer();
