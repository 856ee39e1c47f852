// Tessellation of the primitive solids into the primitive buffer. Angles
// are formed as whole units of 1/65536 turn (integer divisions truncating
// toward zero) before they become radians, so the vertices are exactly
// those of the level's fixed subdivision.
#include <cmath>

#include "graphics/math/pw_math.h"
#include "scenegraph/nodes/geometry/geometry_solids.h"
#include "scenegraph/nodes/render/primitive_buffer.h"

namespace {

constexpr int kUnitsPerQuarter = 16384;
constexpr int kTurn = 65536;

struct CosSin {
  float c, s;
};

CosSin Angle(int units) {
  const double radians = units * kPwRadiansPerUnit;
  return CosSin{static_cast<float>(std::cos(radians)), static_cast<float>(std::sin(radians))};
}

// Whole degrees to angle units.
int DegreeUnits(int degrees) { return degrees * kUnitsPerQuarter / 90; }

void SphereCorner(float r, int longitude, int latitude) {
  const CosSin l = Angle(DegreeUnits(longitude));
  const CosSin p = Angle(DegreeUnits(latitude));
  const float nx = l.c * p.c, ny = p.s, nz = p.c * l.s;
  KsAddNormal(nx, ny, nz);
  KsAddVertex(r * nx, r * ny, r * nz);
}

}  // namespace

// Bands of latitude from the south pole up, each cut into 2n sectors; the
// pole bands lose their corner at the pole and become triangles.
int KsSphere::ExecTraverse(KsMatrix*) {
  const int n = KsTessellationLevel();
  const float r = radius.Get();
  for (int j = 0; j < n; ++j) {
    const int a0 = (j * 180) / n - 90;
    const int a1 = ((j + 1) * 180) / n - 90;
    for (int k = 0; k < 2 * n; ++k) {
      const int b0 = (k * 360) / (2 * n);
      const int b1 = ((k + 1) * 360) / (2 * n);
      KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
      if (j != 0) SphereCorner(r, b0, a0);
      SphereCorner(r, b1, a0);
      SphereCorner(r, b1, a1);
      if (j != n - 1) SphereCorner(r, b0, a1);
      KsEndPrimitive();
    }
  }
  return 0;
}

namespace {
struct BoxFace {
  float normal[3];
  float corners[4][3];
};

const BoxFace kBoxFaces[6] = {
    {{0, 0, 1},
     {{-0.5f, -0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}}},
    {{0, 0, -1},
     {{0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}}},
    {{0, 1, 0},
     {{-0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}}},
    {{0, -1, 0},
     {{0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}}},
    {{-1, 0, 0},
     {{-0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}}},
    {{1, 0, 0},
     {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, 0.5f}}},
};
}  // namespace

// Six one-sided faces, each with its face normal.
int KsBox::ExecTraverse(KsMatrix*) {
  const KsVec3f& s = size.Get();
  for (const BoxFace& f : kBoxFaces) {
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    KsAddNormalv(f.normal);
    for (const auto& c : f.corners) KsAddVertex(c[0] * s.x, c[1] * s.y, c[2] * s.z);
    KsEndPrimitive();
  }
  return 0;
}

namespace {
// Angle of corner i of a circle of 2n sides.
CosSin RingAngle(int i, int n) { return Angle(i * kTurn / (2 * n)); }
}  // namespace

// Caps of 2n corners and 2n one-sided side quads whose face normal is that
// of their first edge.
int KsCylinder::ExecTraverse(KsMatrix*) {
  const int n = KsTessellationLevel();
  const int sides = 2 * n;
  const float h = height.Get() / 2.0f;
  const float r = radius.Get();
  if (top.Get() == KS_TRUE) {
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    KsAddNormal(0.0f, 1.0f, 0.0f);
    for (int i = 0; i < sides; ++i) {
      const CosSin a = RingAngle(i, n);
      KsAddVertex(r * a.c, h, r * a.s);
    }
    KsEndPrimitive();
  }
  if (side.Get() == KS_TRUE) {
    for (int i = 0; i < sides; ++i) {
      const CosSin a = RingAngle(i, n);
      const CosSin b = RingAngle(i + 1, n);
      KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
      KsAddNormal(a.c, 0.0f, a.s);
      KsAddVertex(r * a.c, h, r * a.s);
      KsAddVertex(r * a.c, -h, r * a.s);
      KsAddNormal(b.c, 0.0f, b.s);
      KsAddVertex(r * b.c, -h, r * b.s);
      KsAddVertex(r * b.c, h, r * b.s);
      KsEndPrimitive();
    }
  }
  if (bottom.Get() == KS_TRUE) {
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    KsAddNormal(0.0f, -1.0f, 0.0f);
    for (int i = sides; i >= 1; --i) {
      const CosSin a = RingAngle(i, n);
      KsAddVertex(r * a.c, -h, r * a.s);
    }
    KsEndPrimitive();
  }
  return 0;
}

// Side quads from the apex (doubled so each edge keeps its own normal) and
// a bottom of 19 corners every 20 degrees, whatever the level.
int KsCone::ExecTraverse(KsMatrix*) {
  const int n = KsTessellationLevel();
  const float h = height.Get() / 2.0f;
  const float r = bottomRadius.Get();
  KsVec3f slope(h, r, 0.0f);
  slope.Normalize();
  if (side.Get() == KS_TRUE) {
    for (int i = 0; i < 2 * n; ++i) {
      const CosSin a = RingAngle(i, n);
      const CosSin b = RingAngle(i + 1, n);
      KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
      KsAddNormal(a.c * slope.x, slope.y, a.s * slope.x);
      KsAddVertex(0.0f, h, 0.0f);
      KsAddNormal(a.c * slope.x, slope.y, a.s * slope.x);
      KsAddVertex(r * a.c, -h, r * a.s);
      KsAddNormal(b.c * slope.x, slope.y, b.s * slope.x);
      KsAddVertex(r * b.c, -h, r * b.s);
      KsAddNormal(b.c * slope.x, slope.y, b.s * slope.x);
      KsAddVertex(0.0f, h, 0.0f);
      KsEndPrimitive();
    }
  }
  if (bottom.Get() == KS_TRUE) {
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    KsAddNormal(0.0f, -1.0f, 0.0f);
    for (int degrees = 360; degrees >= 0; degrees -= 20) {
      const CosSin a = Angle(DegreeUnits(degrees));
      KsAddVertex(r * a.c, -h, r * a.s);
    }
    KsEndPrimitive();
  }
  return 0;
}
