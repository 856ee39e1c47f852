// What the 3D primitives and the 2D calls hand the image output: each 3D
// entry sets the depth-test mode and draws through the renderer; the 2D
// entries scale drawing-area coordinates to the image.
#include <cstdint>

#include "graphics/state3d/image_output_state.h"
#include "graphics/window/drawing_area.h"
#include "graphics/state3d/state3d.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"

namespace {

void Tested() { PwImageSetDepthTestMode(1); }
void WrittenOver() { PwImageSetDepthTestMode(0); }

// Lit surfaces take the highlight of the shape being drawn, as the screen's
// shading does; the library's own (code 0) leaves the renderer's white with
// its shininess term.
void TestedAndLit() {
  Tested();
  const std::uint32_t code = PwGetHighlight();
  if (code == 0) {
    PwZClearHighlight();
    return;
  }
  float specular[3];
  float exponent;
  PwGetHighlightTerms(code, specular, &exponent);
  PwZSetHighlight(specular[0], specular[1], specular[2], exponent);
}

// v * image / area in 64 bits, held to +-2^29 like projected points.
int Scale(int v, int image, int area) {
  if (area < 1) area = 1;
  std::int64_t r = static_cast<std::int64_t>(v) * image / area;
  const std::int64_t limit = 1 << 29;
  if (r > limit) r = limit;
  if (r < -limit) r = -limit;
  return static_cast<int>(r);
}

struct Scaler {
  int w = 1, h = 1, iw = 0, ih = 0;
  Scaler() {
    PwGetSurfaceSize(&w, &h);
    PwImageGetSize(&iw, &ih);
  }
  PwPoint2 operator()(PwPoint2 p) const { return {Scale(p.x, iw, w), Scale(p.y, ih, h)}; }
};

}  // namespace

int PwImagePolygon3(int count, const PwVec3* points, PwColor colour) {
  TestedAndLit();
  return PwZPolygon(count, points, colour);
}

int PwImageFacet3(int count, const PwVec3* points, PwVec3 normal, PwColor colour) {
  TestedAndLit();
  return PwZFacet(count, points, normal, colour);
}

int PwImageSmoothFacet3(int count, const PwVec3* points, const PwVec3* normals, PwVec3 normal,
                        PwColor colour) {
  TestedAndLit();
  return PwZSmoothFacet(count, points, normals, normal, colour);
}

int PwImageSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour) {
  TestedAndLit();
  return PwZSmoothPolygon(count, points, normals, colour);
}

int PwImageLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  Tested();
  return PwZLine(p0, p1, colour);
}

int PwImagePoint3(PwVec3 p, PwColor colour) {
  Tested();
  return PwZPoint(p, colour);
}

int PwImageDisc3(PwVec3 centre, float radius, PwColor colour) {
  Tested();
  return PwZDisc(centre, radius, colour);
}

int PwImageDrawPolygon3(int count, const PwVec3* points, PwColor colour) {
  WrittenOver();
  return PwZPolygon(count, points, colour);
}

int PwImageDrawLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  WrittenOver();
  return PwZLine(p0, p1, colour);
}

int PwImageDrawPoint3(PwVec3 p, PwColor colour) {
  WrittenOver();
  return PwZPoint(p, colour);
}

int PwImageDrawDisc3(PwVec3 centre, float radius, PwColor colour) {
  WrittenOver();
  return PwZDisc(centre, radius, colour);
}

void PwImageLine2(PwPoint2 p0, PwPoint2 p1, PwColor colour) {
  const Scaler s;
  PwZLine2(s(p0), s(p1), colour);
}

void PwImagePoint2(PwPoint2 p, PwColor colour) { PwZPoint2(Scaler()(p), colour); }

void PwImageBox2(PwPoint2 p0, PwPoint2 p1, PwColor colour) {
  const Scaler s;
  PwZBox2(s(p0), s(p1), colour);
}

void PwImageEllipse2(PwPoint2 centre, int rx, int ry, PwColor colour) {
  const Scaler s;
  PwZEllipse2(s(centre), Scale(rx, s.iw, s.w), Scale(ry, s.ih, s.h), colour);
}

void PwImagePolygon2(int count, const PwPoint2* points, PwColor colour) {
  if (count < 1 || points == nullptr) return;
  if (static_cast<std::uint64_t>(count) > SIZE_MAX / sizeof(PwPoint2)) return;
  std::size_t mark = 0;
  auto* scaled = static_cast<PwPoint2*>(
      PwScratchMark(&mark, static_cast<std::size_t>(count) * sizeof(PwPoint2)));
  if (scaled == nullptr) return;
  const Scaler s;
  for (int i = 0; i < count; ++i) scaled[i] = s(points[i]);
  PwZPolygon2(count, scaled, colour);
  PwScratchRelease(mark);
}

void PwImageRect2(PwPoint2 p0, PwPoint2 p1, PwColor colour) {
  PwImageLine2(p0, {p0.x, p1.y}, colour);
  PwImageLine2(p0, {p1.x, p0.y}, colour);
  PwImageLine2(p1, {p0.x, p1.y}, colour);
  PwImageLine2(p1, {p1.x, p0.y}, colour);
}

void PwImagePolyline2(int count, const PwPoint2* points, PwColor colour) {
  if (points == nullptr) return;
  for (int i = 0; i + 1 < count; ++i) PwImageLine2(points[i], points[i + 1], colour);
}

void PwImageOutline2(int count, const PwPoint2* points, PwColor colour) {
  if (count < 1 || points == nullptr) return;
  PwImagePolyline2(count, points, colour);
  PwImageLine2(points[0], points[count - 1], colour);
}
