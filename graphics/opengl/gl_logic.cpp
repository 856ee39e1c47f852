// Portable arithmetic of the OpenGL back end.
#include "graphics/opengl/gl_logic.h"

#include <cmath>
#include <cstring>

int PwGlColorKey(PwColor c) { return c.green * 65536 + c.red * 256 + c.blue; }

PwVec3 PwGlUnitNormal(PwVec3 n) {
  // In double: a normal of a tiny face squares below float's range.
  const double x = n.x, y = n.y, z = n.z;
  const double len = std::sqrt(x * x + y * y + z * z);
  if (!(len > 0.0) || !std::isfinite(len)) return n;
  return {static_cast<float>(x / len), static_cast<float>(y / len), static_cast<float>(z / len)};
}

namespace {

bool Same(const PwPoint2& a, const PwPoint2& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

int PwGlIsConvex(int n, const PwPoint2* p) {
  if (p == nullptr) return 1;
  while (n > 3 && Same(p[0], p[1])) {
    ++p;
    --n;
  }
  if (n <= 3) return 1;
  while (n > 3 && Same(p[n - 1], p[n - 2])) --n;
  if (n <= 3) return 1;
  if (Same(p[n - 1], p[0])) --n;
  if (n <= 3) return 1;
  PwPoint2 prev = p[n - 1];
  float ex_prev = static_cast<float>(p[n - 1].x - p[n - 2].x);
  float ey_prev = static_cast<float>(p[n - 1].y - p[n - 2].y);
  int sign = 0;
  for (int i = 0; i < n; ++i) {
    if (Same(p[i], prev)) continue;
    float ex = static_cast<float>(p[i].x - prev.x);
    float ey = static_cast<float>(p[i].y - prev.y);
    float k = ey * ex_prev - ex * ey_prev;
    ex_prev = ex;
    ey_prev = ey;
    prev = p[i];
    if (std::fabs(k) > 0.0001f) {
      int s = k > 0 ? 1 : -1;
      if (sign == 0) {
        sign = s;
      } else if (s != sign) {
        return 0;
      }
    }
  }
  return 1;
}

PwPoint2 PwGlTextLinesOrigin(PwPoint2 p, const char* const* lines, int halign, int valign) {
  int longest = 0, n = 0;
  if (lines != nullptr) {
    for (; lines[n] != nullptr; ++n) {
      int len = static_cast<int>(std::strlen(lines[n]));
      if (len > longest) longest = len;
    }
  }
  PwPoint2 o;
  o.x = halign == 1 ? p.x : (halign == 2 ? p.x - 8 * longest : p.x - 4 * longest);
  o.y = valign == 3 ? p.y + 15 : (valign == 4 ? p.y - 16 * n : p.y - 8 * n + 8);
  return o;
}

int PwGlPaletteLevel(int i, int bits, int shift) {
  if (bits <= 0 || bits > 16 || shift < 0 || shift > 30) return 0;
  const int top = (1 << bits) - 1;
  return ((i >> shift) & top) * 255 / top;
}

void PwGlCircleStep(int k, float* c, float* s) {
  const double t = static_cast<double>(k) * 2048.0 * (6.283185307179586 / 65536.0);
  *c = static_cast<float>(std::cos(t));
  *s = static_cast<float>(std::sin(t));
}

PwPoint2 PwGlEllipsePoint(PwPoint2 centre, int rx, int ry, int k) {
  float c, s;
  PwGlCircleStep(k, &c, &s);
  return {centre.x + static_cast<int>(c * static_cast<float>(rx)),
          centre.y + static_cast<int>(s * static_cast<float>(ry))};
}

void PwGlViewBounds(double out[4], const PwProjection* p, double d, int w, int h) {
  const double mx = p->magx, my = p->magy;
  out[0] = -p->cx * d / mx;
  out[1] = (w - p->cx) * d / mx;
  out[2] = (p->cy - h) * d / my;
  out[3] = p->cy * d / my;
}

namespace {

int& CacheKey() {
  static int key = -1;
  return key;
}

}  // namespace

int PwGlColorCacheTake(PwColor colour) {
  const int key = PwGlColorKey(colour);
  if (key == CacheKey()) return 0;
  CacheKey() = key;
  return 1;
}

void PwGlResetColorCache() { CacheKey() = -1; }
