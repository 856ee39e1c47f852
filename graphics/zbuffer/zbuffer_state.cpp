// The renderer's settings, work buffers and camera transform.
#include <cmath>

#include "graphics/files/pw_alloc.h"
#include "graphics/zbuffer/zbuffer_alloc.h"
#include "graphics/zbuffer/zbuffer_internal.h"

namespace {

void DefaultDepthPixel(int, int, int, int, int, int, float) {}
void DefaultPlainPixel(int, int, int, int, int, int) {}
int DefaultPoll() { return 0; }

void FreeBuffers(PwZState& s) {
  PwFree(s.camera_points);
  PwFree(s.camera_normals);
  PwFree(s.clipped);
  PwFree(s.projected);
  PwFree(s.diffuse_terms);
  PwFree(s.specular_terms);
  s.camera_points = s.camera_normals = s.clipped = nullptr;
  s.projected = nullptr;
  s.diffuse_terms = s.specular_terms = nullptr;
}

void UpdateCameraAngles(PwZState& s) {
  // units * pi / 32768 radians, in double, stored as float.
  const double k = 3.14159265358979323846 / 32768.0;
  s.sinH = static_cast<float>(std::sin(s.camera.heading * k));
  s.cosH = static_cast<float>(std::cos(s.camera.heading * k));
  s.sinP = static_cast<float>(std::sin(s.camera.pitch * k));
  s.cosP = static_cast<float>(std::cos(s.camera.pitch * k));
  s.sinB = static_cast<float>(std::sin(s.camera.bank * k));
  s.cosB = static_cast<float>(std::cos(s.camera.bank * k));
}

}  // namespace

PwZState& PwZ() {
  static PwZState state{};
  return state;
}

bool PwZReady() {
  const PwZState& s = PwZ();
  return s.camera_points != nullptr && s.camera_normals != nullptr && s.clipped != nullptr &&
         s.projected != nullptr && s.diffuse_terms != nullptr && s.specular_terms != nullptr;
}

int PwZInit() {
  PwZState& s = PwZ();
  FreeBuffers(s);
  s.camera = {0.0f, 0.0f, 0.0f, 0, 0, 0};
  UpdateCameraAngles(s);
  s.light = {0.0f, 10000.0f, 0.0f};
  s.ambient = 0.3f;
  s.diffuse = 0.8f;
  s.specular = 0.8f;
  s.shininess = 60.0f;
  PwZClearHighlight();
  s.x0 = 0;
  s.y0 = 0;
  s.x1 = 639;
  s.y1 = 479;
  s.cx = 320;
  s.cy = 240;
  s.magnification = 64.0f;
  s.near_distance = 5.0f;
  s.shading = 1;
  s.context = 0;
  s.depth_pixel = DefaultDepthPixel;
  s.plain_pixel = DefaultPlainPixel;
  s.poll = DefaultPoll;
  s.walked = 0;
  s.camera_points = static_cast<PwVec3*>(PwZAllocArray(kPwZMaxVertices, sizeof(PwVec3)));
  s.camera_normals = static_cast<PwVec3*>(PwZAllocArray(kPwZMaxVertices, sizeof(PwVec3)));
  s.clipped = static_cast<PwVec3*>(PwZAllocArray(kPwZMaxClipped, sizeof(PwVec3)));
  s.projected = static_cast<PwVec2*>(PwZAllocArray(2 * kPwZMaxClipped, sizeof(PwVec2)));
  s.diffuse_terms = static_cast<float*>(PwZAllocArray(kPwZMaxClipped, sizeof(float)));
  s.specular_terms = static_cast<float*>(PwZAllocArray(kPwZMaxClipped, sizeof(float)));
  if (!PwZReady()) {
    FreeBuffers(s);
    return 0;
  }
  return 1;
}

int PwZGetLightingTerms(float* ambient, float* diffuse, float* specular, float* shininess) {
  const PwZState& s = PwZ();
  if (ambient) *ambient = s.ambient;
  if (diffuse) *diffuse = s.diffuse;
  if (specular) *specular = s.specular;
  if (shininess) *shininess = s.shininess;
  return 1;
}

int PwZSetLightingTerms(float ambient, float diffuse, float specular, float shininess) {
  PwZState& s = PwZ();
  s.ambient = ambient;
  s.diffuse = diffuse;
  s.specular = specular;
  s.shininess = shininess;
  return 1;
}

int PwZSetHighlight(float red, float green, float blue, float exponent) {
  PwZState& s = PwZ();
  // NaN and out-of-range channels held to 0..1; a NaN or negative exponent
  // to 0.
  auto unit = [](float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; };
  s.highlight[0] = unit(red);
  s.highlight[1] = unit(green);
  s.highlight[2] = unit(blue);
  s.highlight_exponent = exponent > 0.0f ? exponent : 0.0f;
  s.has_exponent = 1;
  return 1;
}

int PwZClearHighlight() {
  PwZState& s = PwZ();
  s.highlight[0] = s.highlight[1] = s.highlight[2] = 1.0f;
  s.highlight_exponent = 0.0f;
  s.has_exponent = 0;
  return 1;
}

int PwZGetHighlight(float* red, float* green, float* blue, float* exponent) {
  const PwZState& s = PwZ();
  if (red) *red = s.highlight[0];
  if (green) *green = s.highlight[1];
  if (blue) *blue = s.highlight[2];
  if (exponent) *exponent = PwZExponent();
  return 1;
}

float PwZExponent() {
  const PwZState& s = PwZ();
  return s.has_exponent ? s.highlight_exponent : s.shininess;
}

bool PwZHighlightLit() {
  const PwZState& s = PwZ();
  return s.highlight[0] > 0.0f || s.highlight[1] > 0.0f || s.highlight[2] > 0.0f;
}

int PwZGetViewport(int* x0, int* y0, int* x1, int* y1, int* cx, int* cy) {
  const PwZState& s = PwZ();
  if (x0) *x0 = s.x0;
  if (y0) *y0 = s.y0;
  if (x1) *x1 = s.x1;
  if (y1) *y1 = s.y1;
  if (cx) *cx = s.cx;
  if (cy) *cy = s.cy;
  return 1;
}

int PwZSetViewport(int x0, int y0, int x1, int y1, int cx, int cy) {
  PwZState& s = PwZ();
  s.x0 = x0;
  s.y0 = y0;
  s.x1 = x1;
  s.y1 = y1;
  s.cx = cx;
  s.cy = cy;
  return 1;
}

int PwZGetMagnification(float* magnification, float* near_distance) {
  const PwZState& s = PwZ();
  if (magnification) *magnification = s.magnification;
  if (near_distance) *near_distance = s.near_distance;
  return 1;
}

int PwZSetMagnification(float magnification, float near_distance) {
  PwZ().magnification = magnification;
  PwZ().near_distance = near_distance;
  return 1;
}

int PwZSetLight(PwVec3 position) {
  PwZ().light = position;
  return 1;
}

int PwZGetLight(PwVec3* position) {
  if (position) *position = PwZ().light;
  return 1;
}

int PwZSetCamera(PwPose camera) {
  PwZState& s = PwZ();
  s.camera = camera;
  UpdateCameraAngles(s);
  return 1;
}

int PwZSetShading(int on) {
  if (on == 0 || on == 1) PwZ().shading = on;
  return 1;
}

int PwZGetShading(int* on) {
  if (on) *on = PwZ().shading;
  return 1;
}

int PwZSetContext(int context) {
  PwZ().context = context;
  return 1;
}

int PwZSetPixelFuncs(PwZDepthPixelFunc depth_pixel) {
  PwZ().depth_pixel = depth_pixel != nullptr ? depth_pixel : DefaultDepthPixel;
  return 1;
}

int PwZSetPlainPixelFunc(PwZPlainPixelFunc plain_pixel) {
  PwZ().plain_pixel = plain_pixel != nullptr ? plain_pixel : DefaultPlainPixel;
  return 1;
}

int PwZSetPollFunc(PwZPollFunc poll) {
  PwZ().poll = poll != nullptr ? poll : DefaultPoll;
  return 1;
}

float PwZDot(const PwVec3& a, const PwVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

PwVec3 PwZSub(const PwVec3& a, const PwVec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

PwVec3 PwZRotateToCamera(const PwVec3& d) {
  const PwZState& s = PwZ();
  const float x1 = d.x * s.cosH + d.z * s.sinH;
  const float z1 = d.z * s.cosH - d.x * s.sinH;
  const float z2 = z1 * s.cosP + d.y * s.sinP;
  const float y2 = d.y * s.cosP - z1 * s.sinP;
  const float x = x1 * s.cosB + y2 * s.sinB;
  const float y = y2 * s.cosB - x1 * s.sinB;
  return {x, y, z2};
}

PwVec3 PwZToCamera(const PwVec3& p) {
  const PwZState& s = PwZ();
  const PwVec3 d = {p.x - s.camera.x, p.y - s.camera.y, p.z - s.camera.z};
  return PwZRotateToCamera(d);
}

PwVec2 PwZProject(const PwVec3& p) {
  const PwZState& s = PwZ();
  return {static_cast<float>(s.cx) + p.x * s.magnification / p.z,
          static_cast<float>(s.cy) - p.y * s.magnification / p.z};
}

int PwZTrunc(float v, int* ok) {
  if (std::isnan(v)) {
    *ok = 0;
    return 0;
  }
  const float limit = static_cast<float>(kPwZCoordLimit);
  if (v > limit) return kPwZCoordLimit;
  if (v < -limit) return -kPwZCoordLimit;
  return static_cast<int>(v);
}
