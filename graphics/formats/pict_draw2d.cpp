// Drawing a PICT2 picture on the screen: at an origin (y up) or scaled into
// a rectangle. The 2D calls repeat each shape in the image and EPS outputs.
#include <cstddef>

#include "graphics/draw2d/draw2d.h"
#include "graphics/formats/pict_picture.h"
#include "graphics/state3d/state3d.h"

namespace {

// Picture point to screen: x' = ox + trunc((x - x0) * sx / dx), y' = oy -
// trunc((y - y0) * sy / dy); false when it is not a number. Multiplying
// before dividing puts the far edge of a scaled picture on the far edge of
// its rectangle.
struct Mapping {
  double ox, oy, x0, y0, sx, sy, dx, dy;
};

bool Map(const Mapping& m, const PwVec2& p, PwPoint2* out) {
  int ok = 1;
  out->x = static_cast<int>(m.ox) + PwSaturateToInt((p.x - m.x0) * m.sx / m.dx, &ok);
  out->y = static_cast<int>(m.oy) - PwSaturateToInt((p.y - m.y0) * m.sy / m.dy, &ok);
  return ok != 0;
}

void DrawObject(const PwPictObject& o, const Mapping& m) {
  const int n = o.point_count;
  PwPoint2 a, b;
  switch (o.kind) {
    case kPwPictPoints:
      for (int i = 0; i < n; ++i) {
        if (Map(m, o.points[i], &a)) PwDrawPoint2(a, o.colour);
      }
      break;
    case kPwPictPolyline:
      for (int i = 0; i + 1 < n; ++i) {
        if (Map(m, o.points[i], &a) && Map(m, o.points[i + 1], &b)) PwDrawLine2(a, b, o.colour);
      }
      break;
    case kPwPictSegments:
      for (int i = 0; i + 1 < n; i += 2) {
        if (Map(m, o.points[i], &a) && Map(m, o.points[i + 1], &b)) PwDrawLine2(a, b, o.colour);
      }
      break;
    case kPwPictPolygon: {
      if (n < 1) break;
      std::size_t mark;
      auto* screen = static_cast<PwPoint2*>(
          PwScratchMark(&mark, sizeof(PwPoint2) * static_cast<std::size_t>(n)));
      if (screen == nullptr) break;
      bool ok = true;
      for (int i = 0; i < n && ok; ++i) ok = Map(m, o.points[i], &screen[i]);
      if (ok) PwDrawPolygon2(n, screen, o.colour);
      PwScratchRelease(mark);
      break;
    }
    default: break;
  }
}

int DrawAll(const PwPict* pict, const Mapping& m) {
  if (pict == nullptr) return 0;
  for (int i = 0; i < pict->object_count; ++i) DrawObject(pict->objects[i], m);
  return pict->object_count;
}

}  // namespace

int PwDrawPict(const PwPict* pict, PwPoint2 origin) {
  return DrawAll(pict,
                 {static_cast<double>(origin.x), static_cast<double>(origin.y), 0, 0, 1, 1, 1, 1});
}

int PwDrawPictInRect(const PwPict* pict, PwPoint2 a, PwPoint2 b) {
  if (pict == nullptr) return 0;
  // A picture without extent along an axis stands at the rectangle's corner.
  const bool wide = pict->width != 0, high = pict->height != 0;
  const double sx = wide ? static_cast<double>(b.x) - a.x : 0.0;
  const double sy = high ? static_cast<double>(b.y) - a.y : 0.0;
  const double dx = wide ? static_cast<double>(pict->width) : 1.0;
  const double dy = high ? static_cast<double>(pict->height) : 1.0;
  return DrawAll(pict, {static_cast<double>(a.x), static_cast<double>(b.y), pict->min_x,
                        pict->min_y, sx, sy, dx, dy});
}
