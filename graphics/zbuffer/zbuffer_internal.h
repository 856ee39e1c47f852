// State and helpers that the renderer's files share.
#pragma once

#include "graphics/math/pw_math.h"
#include "graphics/math/pw_types.h"
#include "graphics/zbuffer/zbuffer.h"

constexpr int kPwZMaxVertices = 64;
constexpr int kPwZMaxClipped = 128;

struct PwZState {
  PwPose camera;
  float sinH, cosH, sinP, cosP, sinB, cosB;
  PwVec3 light;
  float ambient, diffuse, specular, shininess;
  float highlight[3];        // red, green, blue
  float highlight_exponent;  // when has_exponent
  int has_exponent;
  int x0, y0, x1, y1, cx, cy;
  float magnification, near_distance;
  int shading;
  int context;
  PwZDepthPixelFunc depth_pixel;
  PwZPlainPixelFunc plain_pixel;
  PwZPollFunc poll;
  unsigned long long walked;  // PwZWalked
  // Work buffers (PwZInit); null until it succeeds.
  PwVec3* camera_points;   // kPwZMaxVertices
  PwVec3* camera_normals;  // kPwZMaxVertices
  PwVec3* clipped;         // kPwZMaxClipped
  PwVec2* projected;       // 2 * kPwZMaxClipped
  float* diffuse_terms;    // kPwZMaxClipped
  float* specular_terms;   // kPwZMaxClipped
  // The polygon being drawn.
  PwVec3 plane_point, plane_normal;
  PwVec3 centroid;
  PwVec3 camera_light;
};

PwZState& PwZ();
bool PwZReady();

// World (the renderer's space) to camera space; a direction rotates only.
PwVec3 PwZToCamera(const PwVec3& p);
PwVec3 PwZRotateToCamera(const PwVec3& v);
// Float screen position of a camera-space point.
PwVec2 PwZProject(const PwVec3& p);
// Pixel coordinates are held to +-2^29, so that the row scan's integer
// differences between two vertices cannot overflow.
constexpr int kPwZCoordLimit = 1 << 29;
// trunc toward zero, saturated to +-kPwZCoordLimit; NaN gives 0 with *ok = 0.
int PwZTrunc(float v, int* ok);

// The pixel's viewing ray (x - cx, cy - y, magnification) cut with the
// current plane; the centroid when the ray runs along the plane.
PwVec3 PwZPixelPoint(int x, int y, PwVec3* direction);

// Fills the n projected points of PwZ().projected, calling shade for each
// pixel inside; 1, or 0 when the poll abandoned it.
using PwZShadeFunc = void (*)(int x, int y, void* data);
int PwZFill(int n, PwZShadeFunc shade, void* data);

// Sets the plane (first point, PwPolygonNormal) of the camera-space
// polygon, the centroid of the n clipped points and the camera-space light.
void PwZSetPolygon(int count, const PwVec3* camera_points, int n, const PwVec3* clipped);

// The highlight's exponent, and whether it has a colour to compute for.
float PwZExponent();
bool PwZHighlightLit();

// ((ambient + d) * k / 255 + s * highlight_k) * 255 for the three channels,
// truncated and clamped to 0..255; d and s already carry their coefficients.
void PwZShadeChannels(int out[3], PwColor colour, float d, float s);

// The integer line walk shared by PwZLine and PwZLine2: the segment clipped
// to [x0, x1 - 1] x [y0, y1 - 1], then plot(x, y, data) for each pixel.
using PwZPlotFunc = void (*)(int x, int y, void* data);
void PwZWalkLine(PwPoint2 a, PwPoint2 b, PwZPlotFunc plot, void* data);

// One span of row y: x from max(left, trunc(lo)) up to, not including,
// min(right_end, trunc(hi)).
void PwZSpan(long long y, double lo, double hi, int left, int right_end, PwZPlotFunc plot,
             void* data);

// The back-face test of the facets: the unrotated normal points away from
// the camera at the first or the middle vertex.
bool PwZFacesAway(int count, const PwVec3* points, const PwVec3& normal);

float PwZDot(const PwVec3& a, const PwVec3& b);
PwVec3 PwZSub(const PwVec3& a, const PwVec3& b);
