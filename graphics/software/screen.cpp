// The screen layer of the software build: 2D shapes in drawing-area pixels;
// lines are cut to the area, fills are bounded by the rasteriser itself.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "graphics/draw2d/clip2d.h"
#include "graphics/software/screen.h"
#include "graphics/software/surface.h"
#include "graphics/state3d/state3d.h"

namespace {

// The live pixel record with its drawing-area size; created is 0 without a
// surface, and then nothing draws.
struct Target {
  PwPixelBuffer buf;
  int w = 0;
  int h = 0;
};

Target CurrentTarget() {
  Target t;
  const PwPixelBuffer* live = PwCurrentPixels();
  if (live != nullptr) t.buf = *live;
  PwGetSurfaceSize(&t.w, &t.h);
  if (t.buf.created == 0 || t.buf.rows == nullptr) {
    t.buf.created = 0;
    return t;
  }
  if (t.w > t.buf.pixel_width) t.w = t.buf.pixel_width;
  if (t.h > t.buf.height) t.h = t.buf.height;
  t.buf.width = t.w;
  return t;
}

// The rasteriser records first and last rows in the record it is given;
// hand them back to the live one.
void StoreRows(const Target& t) {
  PwPixelBuffer* live = PwCurrentPixels();
  if (live == nullptr) return;
  live->first_row = t.buf.first_row;
  live->last_row = t.buf.last_row;
}

bool InArea(const Target& t, int x, int y) { return x >= 0 && y >= 0 && x < t.w && y < t.h; }

bool InArea(const Target& t, PwPoint2 p) { return InArea(t, p.x, p.y); }

struct SavedClip {
  PwPoint2 min{0, 0};
  PwPoint2 max{0, 0};
};

SavedClip& Saved() {
  static SavedClip saved;
  return saved;
}

// The clip rectangle set to the area for one clipped operation and put back
// after it, so that callers' own PwSetScreenClip pairs nest around it.
class AreaClip {
 public:
  explicit AreaClip(const Target& t) {
    PwGetClip2(&min_, &max_);
    PwSetClip2({0, 0}, {t.w - 1, t.h - 1});
  }
  ~AreaClip() { PwSetClip2(min_, max_); }
  AreaClip(const AreaClip&) = delete;
  AreaClip& operator=(const AreaClip&) = delete;

 private:
  PwPoint2 min_{0, 0};
  PwPoint2 max_{0, 0};
};

}  // namespace

unsigned int PwPixelValue(const PwPixelBuffer* s, PwColor color) {
  int v = 0;
  if (s != nullptr && s->bits_per_pixel == 16) {
    PwColor555(&v, &color);
  } else {
    PwColorIndex8(&v, &color);
  }
  return static_cast<unsigned int>(v);
}

void PwSetScreenClip() {
  const Target t = CurrentTarget();
  PwGetClip2(&Saved().min, &Saved().max);
  PwSetClip2({0, 0}, {t.w - 1, t.h - 1});
}

void PwRestoreScreenClip() { PwSetClip2(Saved().min, Saved().max); }

void PwScreenClear() {
  Target t = CurrentTarget();
  if (t.buf.created == 0) return;
  PwRasterRect(&t.buf, 0, 0, t.w - 1, t.h - 1, PwPixelValue(&t.buf, PwColor{0, 0, 0}));
}

namespace {

// A line on a live target, in its pixel value.
void LineOn(Target& t, PwPoint2 a, PwPoint2 b, unsigned int pixel) {
  const bool a_in = InArea(t, a);
  if (a_in) PwRasterPixel(&t.buf, a.x, a.y, pixel);
  if (a_in && InArea(t, b)) {
    // Ends at most a pixel apart (the outlines of a fine mesh's polygons):
    // the line is its two ends.
    if (std::abs(b.x - a.x) <= 1 && std::abs(b.y - a.y) <= 1) {
      PwRasterPixel(&t.buf, b.x, b.y, pixel);
      return;
    }
    PwRasterLine(&t.buf, a.x, a.y, b.x, b.y, pixel);
    return;
  }
  PwPoint2 ca;
  PwPoint2 cb;
  int visible;
  {
    const AreaClip clip(t);
    visible = PwClipLine2(&ca, &cb, a, b);
  }
  if (visible == 1) PwRasterLine(&t.buf, ca.x, ca.y, cb.x, cb.y, pixel);
}

}  // namespace

void PwScreenLine(PwPoint2 a, PwPoint2 b, PwColor color) {
  Target t = CurrentTarget();
  if (t.buf.created == 0) return;
  LineOn(t, a, b, PwPixelValue(&t.buf, color));
}

void PwScreenPoint(PwPoint2 p, PwColor color) {
  Target t = CurrentTarget();
  if (t.buf.created == 0) return;
  if (!InArea(t, p) || p.x >= t.w - 1 || p.y >= t.h - 1) return;
  const unsigned int pixel = PwPixelValue(&t.buf, color);
  PwRasterRect(&t.buf, p.x, p.y, p.x + 1, p.y + 1, pixel);
}

void PwScreenEllipse(PwPoint2 centre, int rx, int ry, PwColor color) {
  Target t = CurrentTarget();
  if (t.buf.created == 0 || !InArea(t, centre)) return;
  const int failed =
      rx == ry ? PwRasterCircle(&t.buf, centre, rx) : PwRasterEllipse(&t.buf, centre, rx, ry);
  if (failed != 0) return;
  PwRasterFillRows(&t.buf, PwPixelValue(&t.buf, color));
  StoreRows(t);
}

// The rasteriser takes the polygon whole (it draws only the rows and spans
// inside the area): cutting it to the area first would move the edges that
// neighbours share and open cracks along them. A polygon too thin to cover
// any pixel centre is drawn as its outline, so that it does not vanish.
// Only a point or a segment shows its first vertex: a real polygon's right or
// bottom vertex lies outside it, and painting it would break the tiling.
void PwScreenPolygon(int count, const PwPoint2* points, PwColor color) {
  Target t = CurrentTarget();
  if (t.buf.created == 0 || count < 1 || points == nullptr) return;
  const unsigned int pixel = PwPixelValue(&t.buf, color);
  if (count < 3 && InArea(t, points[0])) {
    PwRasterPixel(&t.buf, points[0].x, points[0].y, pixel);
  }
  if (PwRasterPolygon(&t.buf, count, points) != 0) return;
  const int painted = PwRasterFillRows(&t.buf, pixel);
  StoreRows(t);
  if (painted == 0) {
    for (int i = 0; i < count; ++i) LineOn(t, points[i], points[(i + 1) % count], pixel);
  }
}

void PwScreenBox(PwPoint2 a, PwPoint2 b, PwColor color) {
  Target t = CurrentTarget();
  if (t.buf.created == 0) return;
  int x0 = a.x < b.x ? a.x : b.x;
  int x1 = a.x < b.x ? b.x : a.x;
  int y0 = a.y < b.y ? a.y : b.y;
  int y1 = a.y < b.y ? b.y : a.y;
  if (x1 < 0 || y1 < 0 || x0 >= t.w || y0 >= t.h) return;
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  if (x1 > t.w - 1) x1 = t.w - 1;
  if (y1 > t.h - 1) y1 = t.h - 1;
  PwRasterRect(&t.buf, x0, y0, x1, y1, PwPixelValue(&t.buf, color));
}

void PwScreenMarker(PwPoint2 p, int kind, PwColor color) {
  switch (kind) {
    case kPwMarkerSquare: PwScreenBox({p.x - 2, p.y - 2}, {p.x + 2, p.y + 2}, color); break;
    case kPwMarkerCircle: PwScreenEllipse(p, 3, 3, color); break;
    case kPwMarkerCross:
      PwScreenLine({p.x - 4, p.y - 4}, {p.x + 4, p.y + 4}, color);
      PwScreenLine({p.x + 4, p.y - 4}, {p.x - 4, p.y + 4}, color);
      break;
    default: break;
  }
}

void PwScreenRect(PwPoint2 a, PwPoint2 b, PwColor color) {
  PwScreenLine({a.x, a.y}, {b.x, a.y}, color);
  PwScreenLine({b.x, a.y}, {b.x, b.y}, color);
  PwScreenLine({b.x, b.y}, {a.x, b.y}, color);
  PwScreenLine({a.x, b.y}, {a.x, a.y}, color);
}

void PwScreenOutline(int count, const PwPoint2* points, PwColor color) {
  if (count < 1 || points == nullptr) return;
  for (int i = 0; i + 1 < count; ++i) PwScreenLine(points[i], points[i + 1], color);
  PwScreenLine(points[count - 1], points[0], color);
}

void PwScreenPolyline(int count, const PwPoint2* points, PwColor color) {
  if (points == nullptr) return;
  for (int i = 0; i + 1 < count; ++i) PwScreenLine(points[i], points[i + 1], color);
}

namespace {

// centre + offset, held to +-2^30 like every projected point.
int Offset(int centre, int64_t offset) {
  const int64_t v = centre + offset;
  const int64_t limit = int64_t{1} << 30;
  return static_cast<int>(v < -limit ? -limit : (v > limit ? limit : v));
}

}  // namespace

void PwScreenEllipseOutline(PwPoint2 centre, int rx, int ry, PwColor color) {
  // Eight chords per quadrant, 2048 angle units (11.25 degrees) apart.
  const double kRadiansPerUnit = 0.00009587379913330079;
  int64_t px = rx;
  int64_t py = 0;
  for (int k = 1; k <= 8; ++k) {
    const double a = 2048.0 * k * kRadiansPerUnit;
    const int64_t x = static_cast<int64_t>(std::cos(a) * rx);
    const int64_t y = static_cast<int64_t>(std::sin(a) * ry);
    for (int q = 0; q < 4; ++q) {
      const int mx = (q & 1) ? -1 : 1;
      const int my = (q & 2) ? -1 : 1;
      PwScreenLine({Offset(centre.x, mx * px), Offset(centre.y, my * py)},
                   {Offset(centre.x, mx * x), Offset(centre.y, my * y)}, color);
    }
    px = x;
    py = y;
  }
}
