// Lit colour of a surface point: ambient 0.3, white diffuse, and a highlight
// in the surface's specular colour (white by default).
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/math/fast_normalize.h"
#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_backend.h"
#include "graphics/state3d/state3d_internal.h"

namespace {

// The polygons of a mesh mostly share their normals: the last normal's
// normalisation is kept (compared bit for bit, so the result is the same).
const PwVec3& UnitNormal(const PwVec3* table, const PwVec3* normal) {
  static PwVec3 last_in = {0, 0, 0}, last_out = {0, 0, 0};
  static bool held = false;
  if (!held || std::memcmp(&last_in, normal, sizeof last_in) != 0) {
    last_in = *normal;
    const PwVec3 wide = PwWidenDirection(*normal);
    PwFastNormalizeWith(table, &last_out, &wide);
    held = true;
  }
  return last_out;
}

constexpr int kLibraryExponent = 60;

// |n.H| with H half-way between the light and the viewer. The viewer stands
// far off along the world's -z, as the OpenGL build has it (its eye lies on
// the projection matrix, so lighting sees world coordinates and a viewer at
// infinity there): the highlight of a face then sits where OpenGL puts it,
// anywhere in the view, not only on the line of sight. Exact square roots:
// a high exponent magnifies the table's steps of two degrees into tens of
// levels.
float HalfwayCosine(const PwVec3* point, const PwVec3* normal) {
  static const PwVec3 kToViewer = {0.0f, 0.0f, -1.0f};
  PwVec3 to_viewer;
  PwFrameUnrotate(&to_viewer, PwGetEyeFrame(), &kToViewer);
  const PwVec3* le = PwGetLightEye();
  PwVec3 to_light = {le->x - point->x, le->y - point->y, le->z - point->z};
  PwVec3 l = {0, 0, 0}, n = {0, 0, 0}, h = {0, 0, 0};
  PwNormalize(&l, &to_light);
  const PwVec3 wide = PwWidenDirection(*normal);
  PwNormalize(&n, &wide);
  const PwVec3 half = {l.x + to_viewer.x, l.y + to_viewer.y, l.z + to_viewer.z};
  PwNormalize(&h, &half);
  const float nh = std::fabs(n.x * h.x + n.y * h.y + n.z * h.z);
  return std::isfinite(nh) ? (nh > 1.0f ? 1.0f : nh) : 0.0f;
}

int Exponent(std::uint32_t code) {
  return code == 0 ? kLibraryExponent : static_cast<int>(code >> 24);
}

int Channel(std::uint32_t code, int shift) {
  return code == 0 ? 255 : static_cast<int>((code >> shift) & 0xffu);
}

}  // namespace

void PwSetHighlight(PwColor specular, float shininess) {
  auto clamp = [](int v) { return static_cast<std::uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
  // VRML's exponent: 128 x shininess, at least 1 (so that no code is 0).
  float e = std::isfinite(shininess) ? shininess * 128.0f : 0.0f;
  int exponent = e >= 128.0f ? 128 : static_cast<int>(e + 0.5f);
  if (exponent < 1) exponent = 1;
  PwState().highlight = clamp(specular.red) | clamp(specular.green) << 8 |
                        clamp(specular.blue) << 16 | static_cast<std::uint32_t>(exponent) << 24;
  PwBackendSetHighlight();
}

void PwSetModelColour(const PwColor* colour) {
  PwState().model_tinted = colour != nullptr;
  if (colour != nullptr) PwState().model_colour = *colour;
}

int PwGetModelColour(PwColor* out) {
  if (PwState().model_tinted == 0) return 0;
  *out = PwState().model_colour;
  return 1;
}

void PwApplyModelColour(PwColor* colour) {
  if (PwState().model_tinted != 0) *colour = PwState().model_colour;
}

std::uint32_t PwGetHighlight() { return PwState().highlight; }

void PwSetHighlightCode(std::uint32_t code) {
  if (code == PwState().highlight) return;
  PwState().highlight = code;
  PwBackendSetHighlight();
}

void PwGetHighlightTerms(std::uint32_t code, float specular[3], float* exponent) {
  specular[0] = Channel(code, 0) / 255.0f;
  specular[1] = Channel(code, 8) / 255.0f;
  specular[2] = Channel(code, 16) / 255.0f;
  *exponent = static_cast<float>(Exponent(code));
}

void PwShadeColor(PwColor* out, PwColor colour, const PwVec3* point, const PwVec3* normal) {
  PwShadeColorWith(out, colour, point, normal, PwState().highlight);
}

void PwShadeColorWith(PwColor* out, PwColor colour, const PwVec3* point, const PwVec3* normal,
                      std::uint32_t highlight) {
  const PwVec3* table = PwUnitTable();
  const PwVec3* le = PwGetLightEye();
  PwVec3 l, v, n;
  PwFastNormalizeWith(table, &v, point);
  if (le->x == 0.0f && le->y == 0.0f && le->z == 0.0f) {
    // A light at the eye (the usual headlight) lies straight back along the
    // view: the table normalisation is odd, so this is its result exactly.
    l = {-v.x, -v.y, -v.z};
  } else {
    const PwVec3 to_light = {le->x - point->x, le->y - point->y, le->z - point->z};
    PwFastNormalizeWith(table, &l, &to_light);
  }
  n = UnitNormal(table, normal);
  float nl = n.x * l.x + n.y * l.y + n.z * l.z;
  int a = static_cast<int>((0.3f + (nl > 0.0f ? nl : 0.0f)) * 256.0f);
  // The library's own highlight (white, exponent 60, up to 204), or the
  // caller's per channel in its specular colour; a black specular colour
  // has none to compute.
  int sr, sg, sb;
  if (highlight == 0) {
    sr = sg = sb = static_cast<int>(PwPow60(HalfwayCosine(point, normal)) * 0.8f * 256.0f);
  } else {
    sr = sg = sb = 0;
    const int r = Channel(highlight, 0), g = Channel(highlight, 8), b = Channel(highlight, 16);
    if ((r | g | b) != 0) {
      const float nh = HalfwayCosine(point, normal);
      const int e = Exponent(highlight);
      const float power = e == kLibraryExponent
                              ? PwPow60(nh)
                              : std::pow(nh > 1.0f ? 1.0f : nh, static_cast<float>(e));
      // A material's highlight at the strength of the OpenGL build's light
      // (specular 0.9), so that the two programs show the same highlight.
      const int full = static_cast<int>(power * 0.9f * 255.0f);
      sr = full * r / 255;
      sg = full * g / 255;
      sb = full * b / 255;
    }
  }
  auto channel = [a](int k, int s) {
    int v2 = s + a * k / 256;
    return v2 > 255 ? 255 : v2;
  };
  out->green = channel(colour.green, sg);
  out->red = channel(colour.red, sr);
  out->blue = channel(colour.blue, sb);
}
