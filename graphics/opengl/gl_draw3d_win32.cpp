// OpenGL 3D primitives in model-frame coordinates (z negated on the way to
// OpenGL), each in the drawing mode it needs. Normals go as unit vectors:
// the face sets hand on normals as long as their faces are large, and the
// software build normalises before it shades.
#include <windows.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "graphics/opengl/gl_internal.h"
#include "graphics/opengl/gl_logic.h"
#include "graphics/opengl/gl_modes.h"
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"

namespace {

void V(const PwVec3& p) { glVertex3f(p.x, p.y, -p.z); }

bool Significant(const PwVec3& n) {
  return std::fabs(n.x) > 0.0001f || std::fabs(n.y) > 0.0001f || std::fabs(n.z) > 0.0001f;
}

PwVec3 Add(PwVec3 p, const PwVec3& a, float ka, const PwVec3& b, float kb) {
  return {p.x + a.x * ka + b.x * kb, p.y + a.y * ka + b.y * kb, p.z + a.z * ka + b.z * kb};
}

// An eye-space direction carried into model coordinates.
PwVec3 ModelDir(PwVec3 eye_dir) {
  PwVec3 m;
  PwFrameUnrotate(&m, PwGlCombinedFrame(), &eye_dir);
  return m;
}

void Line(PwVec3 a, PwVec3 b) {
  glBegin(GL_LINES);
  V(a);
  V(b);
  glEnd();
}

void Point(PwVec3 p) {
  glBegin(GL_POINTS);
  V(p);
  glEnd();
}

void Overlay() {
  PwGlEnterOverlay3D();
  glShadeModel(GL_FLAT);
}

// Flat polygon: one GL_POLYGON when convex or without a tessellator.
void FlatPolygon(int count, const PwVec3* p) {
  PwPointList3 list = {count, const_cast<PwVec3*>(p)};
  if (count > 3 && PwGlTessellator() != nullptr && !PwIsConvex3(&list)) {
    const int n = count < kPwGlTessMax ? count : kPwGlTessMax;
    double xyz[kPwGlTessMax * 3];
    for (int i = 0; i < n; ++i) {
      xyz[3 * i] = p[i].x;
      xyz[3 * i + 1] = p[i].y;
      xyz[3 * i + 2] = -p[i].z;
    }
    PwGlTessellate(n, xyz, 3, 0);
    return;
  }
  glBegin(GL_POLYGON);
  for (int i = 0; i < count; ++i) V(p[i]);
  glEnd();
}

}  // namespace

void PwGlDepthLine3(PwVec3 a, PwVec3 b, PwColor colour) {
  PwGlEnterDepth3D();
  PwGlSetColor(colour);
  Line(a, b);
}

void PwGlDepthPoint3(PwVec3 p, PwColor colour) {
  PwGlEnterDepth3D();
  PwGlSetColor(colour);
  Point(p);
}

void PwGlDepthCircle3(PwVec3 p, float rx, float ry, PwColor colour) {
  PwGlEnterDepth3D();
  PwGlSetColor(colour);
  glBegin(GL_POLYGON);
  for (int k = 0; k < kPwGlCircleSteps; ++k) {
    float c, s;
    PwGlCircleStep(k, &c, &s);
    V({p.x + c * rx, p.y + s * ry, p.z});
  }
  glEnd();
}

void PwGlDepthMarker3(PwVec3 p, PwColor colour, int kind) {
  PwGlEnterDepth3D();
  PwGlMarker3(p, colour, kind);
}

void PwGlDepthText3(PwVec3 p, const char* const* lines, PwColor colour) {
  PwGlEnterDepth3D();
  PwGlText3(p, lines, colour);
}

void PwGlOverlayLine3(PwVec3 a, PwVec3 b, PwColor colour) {
  Overlay();
  PwGlSetColor(colour);
  Line(a, b);
}

void PwGlOverlayPoint3(PwVec3 p, PwColor colour) {
  Overlay();
  PwGlSetColor(colour);
  Point(p);
}

void PwGlOverlayPolygon3(int count, const PwVec3* points, PwColor colour) {
  if (count < 1 || points == nullptr) return;
  Overlay();
  PwGlSetColor(colour);
  FlatPolygon(count, points);
}

void PwGlOverlayMarker3(PwVec3 p, PwColor colour, int kind) {
  Overlay();
  PwGlMarker3(p, colour, kind);
}

void PwGlOverlayText3(PwVec3 p, const char* const* lines, PwColor colour) {
  Overlay();
  PwGlText3(p, lines, colour);
}

void PwGlLitPolygon3(int count, const PwVec3* points, PwVec3 normal, PwColor colour) {
  if (count < 1 || points == nullptr) return;
  PwGlRestoreLit();
  glShadeModel(GL_SMOOTH);
  PwGlSetColor(colour);
  normal = PwGlUnitNormal(normal);
  if (Significant(normal)) glNormal3f(normal.x, normal.y, -normal.z);
  FlatPolygon(count, points);
}

void PwGlSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour) {
  if (count < 1 || points == nullptr || normals == nullptr) return;
  PwGlRestoreLit();
  glShadeModel(GL_SMOOTH);
  PwGlSetColor(colour);
  if (count >= 4 && PwGlTessellator() != nullptr) {
    const int n = count < kPwGlTessMax ? count : kPwGlTessMax;
    double v[kPwGlTessMax * 6];
    for (int i = 0; i < n; ++i) {
      double* o = v + 6 * i;
      const PwVec3 u = PwGlUnitNormal(normals[i]);
      o[0] = points[i].x;
      o[1] = points[i].y;
      o[2] = -points[i].z;
      o[3] = u.x;
      o[4] = u.y;
      o[5] = -u.z;
    }
    PwGlTessellate(n, v, 6, 1);
    return;
  }
  glBegin(GL_POLYGON);
  for (int i = 0; i < count; ++i) {
    const PwVec3 u = PwGlUnitNormal(normals[i]);
    if (Significant(u)) glNormal3f(u.x, u.y, -u.z);
    V(points[i]);
  }
  glEnd();
}

void PwGlMarker3(PwVec3 p, PwColor colour, int kind) {
  if (kind < 0 || kind > 2) return;
  PwGlSetColor(colour);
  const float s = 3.0f * PwGlEyeDepth(p) / PwGetProjection()->magx;
  const PwVec3 u = ModelDir({1.0f, 0.0f, 0.0f});
  const PwVec3 w = ModelDir({0.0f, 1.0f, 0.0f});
  if (kind == 0) {
    glBegin(GL_POLYGON);
    V(Add(p, u, -s, w, -s));
    V(Add(p, u, s, w, -s));
    V(Add(p, u, s, w, s));
    V(Add(p, u, -s, w, s));
    glEnd();
  } else if (kind == 1) {
    const float d = 0.6f * s;
    glBegin(GL_POLYGON);
    V(Add(p, u, s, w, 0));
    V(Add(p, u, d, w, d));
    V(Add(p, u, 0, w, s));
    V(Add(p, u, -d, w, d));
    V(Add(p, u, -s, w, 0));
    V(Add(p, u, -d, w, -d));
    V(Add(p, u, 0, w, -s));
    V(Add(p, u, d, w, -d));
    glEnd();
  } else {
    glBegin(GL_LINES);
    V(Add(p, u, -s, w, -s));
    V(Add(p, u, s, w, s));
    V(Add(p, u, s, w, -s));
    V(Add(p, u, -s, w, s));
    glEnd();
  }
}

void PwGlText3(PwVec3 p, const char* const* lines, PwColor colour) {
  if (lines == nullptr) return;
  PwGlSetColor(colour);
  const float step = 20.0f * PwGlEyeDepth(p) / PwGetProjection()->magy;
  const PwVec3 down = ModelDir({0.0f, -1.0f, 0.0f});
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glListBase(kPwGlFontBase);
  for (int i = 0; lines[i] != nullptr; ++i) {
    glRasterPos3f(p.x, p.y, -p.z);
    glCallLists(static_cast<GLsizei>(std::strlen(lines[i])), GL_UNSIGNED_BYTE, lines[i]);
    p = Add(p, down, step, down, 0.0f);
  }
  glPopMatrix();
  glPopAttrib();
}
