// The EPS output's 3D entries: eye-space geometry projected onto the page.
// Lines, polygons and discs use the page's own magnified projection; points,
// markers and text go through the screen projection and the 2D entries.
#include <cmath>
#include <cstddef>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/eps_sink_internal.h"
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"

namespace {

PwEpsFile* File() { return PwEpsSinkState().file; }

// In parallel mode every depth stands at the parallel distance, as on the
// screen; the sorted list hands its points over with their true depths.
PwVec3 Flattened(PwVec3 p) {
  if (PwGetProjectionMode() == 1) p.z = PwGetParallelDistance();
  return p;
}

// The page projection of an eye-space point; 0 when it is not a number.
int PageProject(PwPoint2* out, const PwVec3& p) {
  const PwProjection& pr = PwEpsSinkState().projection;
  int ok = 1;
  const int dx = PwSaturateToInt(p.x * pr.magx / p.z, &ok);
  const int dy = PwSaturateToInt(p.y * pr.magy / p.z, &ok);
  out->x = PwSaturateToInt(static_cast<double>(dx) + pr.cx, &ok);
  out->y = PwSaturateToInt(static_cast<double>(pr.cy) - dy, &ok);
  return ok;
}

bool ScreenProject(PwPoint2* out, PwVec3 p) { return PwProjectToScreen(out, &p) != 0; }

}  // namespace

int PwEpsLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  const float near_z = PwEpsSinkState().projection.near;
  PwVec3 in[2] = {Flattened(p0), Flattened(p1)};
  if (in[0].z <= near_z && in[1].z <= near_z) return 1;
  PwVec3 ends[2];
  PwClipLineNear(ends, in, near_z);
  PwPoint2 a, b, ca, cb;
  if (PageProject(&a, ends[0]) && PageProject(&b, ends[1]) && PwEpsClipLineToPage(&ca, &cb, a, b)) {
    PwEpsLine(File(), ca.x, ca.y, cb.x, cb.y, colour.red, colour.green, colour.blue);
  }
  return 1;
}

int PwEpsPolygon3(int count, const PwVec3* points, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  if (count < 1 || points == nullptr || count > (1 << 22)) return 1;
  const std::size_t n = static_cast<std::size_t>(count);
  std::size_t mark = 0;
  // Flattened input, then up to twice as many near-clipped points and their
  // page projections.
  void* block = PwScratchMark(&mark, (sizeof(PwVec3) * 3 + sizeof(PwPoint2) * 2) * n);
  if (block == nullptr) return 1;
  auto* flat = static_cast<PwVec3*>(block);
  PwVec3* clipped = flat + n;
  auto* page = reinterpret_cast<PwPoint2*>(clipped + 2 * n);
  for (std::size_t i = 0; i < n; ++i) flat[i] = Flattened(points[i]);
  int kept = 0;
  PwClipPolygonNear(&kept, clipped, count, flat, PwEpsSinkState().projection.near);
  bool ok = kept > 0;
  for (int i = 0; ok && i < kept; ++i) ok = PageProject(&page[i], clipped[i]) != 0;
  if (ok) PwEpsWriteClippedPolygon(kept, page, colour);
  PwScratchRelease(mark);
  return 1;
}

int PwEpsDisc3(PwVec3 centre, float radius, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  const PwVec3 c = Flattened(centre);
  // Behind the eye the projection turns over; the sorted list never queues
  // such a disc, so this only guards odd callers.
  if (!(c.z > 0.0f)) return 1;
  const PwProjection& pr = PwEpsSinkState().projection;
  PwPoint2 mid;
  int ok = PageProject(&mid, c);
  const int rx = PwSaturateToInt(radius * pr.magx / c.z, &ok);
  const int ry = PwSaturateToInt(radius * pr.magy / c.z, &ok);
  if (!ok) return 1;
  PwPoint2 points[32];
  for (int k = 0; k < 32; ++k) {
    const double angle = k * 2048.0;
    int ok2 = 1;
    const int ox = PwSaturateToInt(rx * PwAngleCos(angle), &ok2);
    const int oy = PwSaturateToInt(ry * PwAngleSin(angle), &ok2);
    points[k] = {PwSaturateToInt(static_cast<double>(mid.x) + ox, &ok2),
                 PwSaturateToInt(static_cast<double>(mid.y) + oy, &ok2)};
  }
  PwEpsWriteClippedPolygon(32, points, colour);
  return 1;
}

int PwEpsPoint3(PwVec3 p, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  PwPoint2 s;
  if (ScreenProject(&s, p)) PwEpsPoint2(s, colour);
  return 1;
}

int PwEpsMarker3(PwVec3 p, int kind, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  PwPoint2 s;
  if (ScreenProject(&s, p)) PwEpsMarker2(s, kind, colour);
  return 1;
}

int PwEpsText3(PwVec3 p, const char* const* lines, int halign, int valign, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  PwPoint2 s;
  if (ScreenProject(&s, p)) PwEpsTextLines2(s, lines, halign, valign, colour);
  return 1;
}
