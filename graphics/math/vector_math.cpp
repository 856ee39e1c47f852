// Vector helpers: normalisation, cross products, interpolation, polygon normals.
#include <cmath>

#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"

void PwNormalize(PwVec3* out, const PwVec3* v) {
  float len = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
  if (!(len >= 0.0001f)) return;
  *out = {v->x / len, v->y / len, v->z / len};
}

void PwNormalize2(PwVec2* out, const PwVec2* v) {
  float len = std::sqrt(v->x * v->x + v->y * v->y);
  if (!(len >= 0.0001f)) return;
  *out = {v->x / len, v->y / len};
}

void PwCross(PwVec3* out, const PwVec3* a, const PwVec3* b) {
  PwVec3 r = {a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
  *out = r;
}

void PwPerpendicular(PwVec3* out, const PwVec3* v) {
  if (std::fabs(v->x) <= 0.0001f) {
    *out = {1.0f, 0.0f, 0.0f};
  } else if (std::fabs(v->y) <= 0.0001f) {
    *out = {0.0f, 1.0f, 0.0f};
  } else if (std::fabs(v->z) <= 0.0001f) {
    *out = {0.0f, 0.0f, 1.0f};
  } else {
    PwVec3 r = {2.0f * v->y * v->z, -v->z * v->x, -v->y * v->x};
    PwNormalize(&r, &r);
    *out = r;
  }
}

void PwLerp3(PwVec3* out, const PwVec3* a, const PwVec3* b, float t) {
  PwVec3 r = {a->x + (b->x - a->x) * t, a->y + (b->y - a->y) * t, a->z + (b->z - a->z) * t};
  *out = r;
}

void PwSlerpVectors(PwVec3* out, const PwVec3* a, const PwVec3* b, float t) {
  int theta = PwAcosAngle(PwDot(*a, *b));
  PwVec3 r;
  if (theta <= 1023) {
    PwLerp3(&r, a, b, t);
  } else if (theta > 32256) {
    // Nearly opposite: go through a perpendicular half way.
    PwVec3 m;
    PwPerpendicular(&m, a);
    if (t >= 0.5f) {
      PwSlerpVectors(out, &m, b, (t - 0.5f) * 2.0f);
    } else {
      PwSlerpVectors(out, a, &m, 2.0f * t);
    }
    return;
  } else {
    float dt = static_cast<float>(theta) * t;
    int d = std::isnan(dt) ? 0 : static_cast<int>(dt);
    float s1 = static_cast<float>(PwAngleSin(d));
    float s2 = static_cast<float>(PwAngleSin(theta - d));
    float sum = s1 + s2;
    PwLerp3(&r, a, b, sum != 0.0f ? s1 / sum : t);
  }
  PwNormalize(&r, &r);
  *out = r;
}

int PwPolygonNormal(PwVec3* out, int n, const PwVec3* points) {
  int best = -1;
  float bound = 1.0f;
  for (int i = 0; i + 2 < n; ++i) {
    PwVec3 e1 = PwSub(points[i + 1], points[i]);
    PwVec3 e2 = PwSub(points[i + 2], points[i + 1]);
    PwNormalize(&e1, &e1);
    PwNormalize(&e2, &e2);
    float c = std::fabs(PwDot(e1, e2));
    if (c < bound) {
      bound = c;
      best = i;
    }
  }
  if (best < 0) return 0;
  PwVec3 e1 = PwSub(points[best + 1], points[best]);
  PwVec3 e2 = PwSub(points[best + 2], points[best + 1]);
  PwCross(out, &e1, &e2);
  return 1;
}
