// The EPS output's 2D entries: screen coordinates scaled to EPS units and
// kept on the page.
#include <cmath>
#include <cstddef>
#include <cstring>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/eps_sink_internal.h"
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"

namespace {

PwEpsFile* File() { return PwEpsSinkState().file; }

bool OnPage(PwPoint2 p) {
  const PwEpsSink& sink = PwEpsSinkState();
  return p.x >= 0 && p.x < sink.eps_width - 1 && p.y >= 0 && p.y < sink.eps_height - 1;
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The k-th of the 32 points of an ellipse, k/32 of a turn.
PwPoint2 EllipsePoint(PwPoint2 centre, int rx, int ry, int k) {
  const double angle = k * 2048.0;
  int ok = 1;
  const double x = static_cast<double>(centre.x) + PwSaturateToInt(rx * PwAngleCos(angle), &ok);
  const double y = static_cast<double>(centre.y) + PwSaturateToInt(ry * PwAngleSin(angle), &ok);
  return {PwSaturateToInt(x, &ok), PwSaturateToInt(y, &ok)};
}

}  // namespace

int PwEpsClearPage() {
  if (!PwEpsIsActive()) return 0;
  const PwEpsSink& sink = PwEpsSinkState();
  PwEpsRect(File(), 0, 0, sink.eps_width - 1, sink.eps_height - 1, 0, 0, 0);
  return 1;
}

int PwEpsLine2(PwPoint2 p0, PwPoint2 p1, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  PwPoint2 a, b;
  if (PwEpsClipLineToPage(&a, &b, PwEpsScaledPoint(p0), PwEpsScaledPoint(p1))) {
    PwEpsLine(File(), a.x, a.y, b.x, b.y, colour.red, colour.green, colour.blue);
  }
  return 1;
}

int PwEpsBox2(PwPoint2 p0, PwPoint2 p1, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  const PwEpsSink& sink = PwEpsSinkState();
  const PwPoint2 a = PwEpsScaledPoint(p0), b = PwEpsScaledPoint(p1);
  PwPoint2 lo = {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y};
  PwPoint2 hi = {a.x < b.x ? b.x : a.x, a.y < b.y ? b.y : a.y};
  const int xmax = sink.eps_width - 1, ymax = sink.eps_height - 1;
  // Clamped onto the page, a box beside it would become a sliver on the edge.
  if (hi.x < 0 || hi.y < 0 || lo.x > xmax || lo.y > ymax) return 1;
  PwEpsRect(File(), Clamp(lo.x, 0, xmax), Clamp(lo.y, 0, ymax), Clamp(hi.x, 0, xmax),
            Clamp(hi.y, 0, ymax), colour.red, colour.green, colour.blue);
  return 1;
}

int PwEpsPoint2(PwPoint2 p, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  const PwPoint2 s = PwEpsScaledPoint(p);
  if (OnPage(s)) PwEpsDot(File(), s.x, s.y, colour.red, colour.green, colour.blue);
  return 1;
}

int PwEpsPolygon2(int count, const PwPoint2* points, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  if (count < 1 || points == nullptr || count > (1 << 24)) return 1;
  std::size_t mark = 0;
  auto* scaled = static_cast<PwPoint2*>(
      PwScratchMark(&mark, sizeof(PwPoint2) * static_cast<std::size_t>(count)));
  if (scaled == nullptr) return 0;
  for (int i = 0; i < count; ++i) scaled[i] = PwEpsScaledPoint(points[i]);
  PwEpsWriteClippedPolygon(count, scaled, colour);
  PwScratchRelease(mark);
  return 1;
}

int PwEpsText2(const char* text, PwPoint2 p, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  const PwPoint2 s = PwEpsScaledPoint(p);
  if (OnPage(s)) PwEpsText(File(), text, s.x, s.y, colour.red, colour.green, colour.blue);
  return 1;
}

int PwEpsEllipse2(PwPoint2 centre, int rx, int ry, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  PwPoint2 points[32];
  for (int k = 0; k < 32; ++k) points[k] = EllipsePoint(centre, rx, ry, k);
  return PwEpsPolygon2(32, points, colour);
}

int PwEpsEllipseOutline2(PwPoint2 centre, int rx, int ry, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  for (int k = 0; k < 32; ++k) {
    PwEpsLine2(EllipsePoint(centre, rx, ry, k), EllipsePoint(centre, rx, ry, (k + 1) % 32), colour);
  }
  return 1;
}

int PwEpsMarker2(PwPoint2 p, int kind, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  switch (kind) {
    case 0: PwEpsBox2({p.x - 2, p.y - 2}, {p.x + 2, p.y + 2}, colour); break;
    case 1: PwEpsEllipse2(p, 3, 3, colour); break;
    case 2:
      PwEpsLine2({p.x - 4, p.y - 4}, {p.x + 4, p.y + 4}, colour);
      PwEpsLine2({p.x + 4, p.y - 4}, {p.x - 4, p.y + 4}, colour);
      break;
    default: break;
  }
  return 1;
}

int PwEpsTextLines2(PwPoint2 p, const char* const* lines, int halign, int valign, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  if (lines == nullptr) return 1;
  long long n = 0, longest = 0;
  for (const char* const* l = lines; *l != nullptr; ++l) {
    const long long len = static_cast<long long>(std::strlen(*l));
    if (len > longest) longest = len;
    ++n;
  }
  long long x = halign == 1 ? p.x : (halign == 2 ? p.x - 8 * longest : p.x - 4 * longest);
  long long y = valign == 3 ? p.y + 15 : (valign == 4 ? p.y - 16 * n : p.y - 8 * n + 8);
  int ok = 1;
  for (const char* const* l = lines; *l != nullptr; ++l, y += 16) {
    PwEpsText2(*l,
               {PwSaturateToInt(static_cast<double>(x), &ok),
                PwSaturateToInt(static_cast<double>(y), &ok)},
               colour);
  }
  return 1;
}

int PwEpsRect2(PwPoint2 p0, PwPoint2 p1, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  PwEpsLine2(p0, {p0.x, p1.y}, colour);
  PwEpsLine2(p0, {p1.x, p0.y}, colour);
  PwEpsLine2(p1, {p0.x, p1.y}, colour);
  PwEpsLine2(p1, {p1.x, p0.y}, colour);
  return 1;
}

int PwEpsPolyline2(int count, const PwPoint2* points, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  if (points == nullptr) return 1;
  for (int i = 0; i + 1 < count; ++i) PwEpsLine2(points[i], points[i + 1], colour);
  return 1;
}

int PwEpsOutline2(int count, const PwPoint2* points, PwColor colour) {
  if (!PwEpsIsActive()) return 0;
  if (points == nullptr || count < 1) return 1;
  PwEpsPolyline2(count, points, colour);
  PwEpsLine2(points[0], points[count - 1], colour);
  return 1;
}
