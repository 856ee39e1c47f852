// The screen layer of the OpenGL build: 2D drawing in window pixels (y
// down) over everything, the colour cache and the polygon tessellator.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

#include "graphics/opengl/gl_internal.h"
#include "graphics/opengl/gl_logic.h"
#include "graphics/opengl/gl_modes.h"
#include "graphics/draw2d/screen_layer.h"

namespace {

double g_tess_buffer[kPwGlTessMax][6];

void CALLBACK TessVertexLit(const GLdouble* v) {
  PwGlRestoreLit();
  double sum = (v[3] < 0 ? -v[3] : v[3]) + (v[4] < 0 ? -v[4] : v[4]) + (v[5] < 0 ? -v[5] : v[5]);
  if (sum >= 0.05) glNormal3d(v[3], v[4], v[5]);
  glVertex3dv(v);
}

typedef void(CALLBACK* TessFn)();

void Begin2D(PwColor colour) {
  PwGlEnter2D();
  PwGlSetColor(colour);
}

void Vertex(PwPoint2 p) { glVertex2i(p.x, p.y); }

void FilledEllipse(PwPoint2 c, int rx, int ry) {
  glBegin(GL_POLYGON);
  for (int k = 0; k < kPwGlCircleSteps; ++k) Vertex(PwGlEllipsePoint(c, rx, ry, k));
  glEnd();
}

void FilledBox(PwPoint2 a, PwPoint2 b) {
  glBegin(GL_POLYGON);
  glVertex2i(a.x, a.y);
  glVertex2i(b.x, a.y);
  glVertex2i(b.x, b.y);
  glVertex2i(a.x, b.y);
  glEnd();
}

void CallText(const char* text) {
  glListBase(kPwGlFontBase);
  glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
}

}  // namespace

void PwGlSetColor(PwColor c) {
  if (!PwGlColorCacheTake(c)) return;
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glColor3ub(static_cast<GLubyte>(c.red), static_cast<GLubyte>(c.green),
             static_cast<GLubyte>(c.blue));
}

int PwGlTessellate(int count, const double* xyz, int stride, int with_normals) {
  auto* tess = static_cast<GLUtesselator*>(PwGlTessellator());
  if (tess == nullptr) return 0;
  if (count > kPwGlTessMax) count = kPwGlTessMax;
  gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<TessFn>(&glBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX,
                  with_normals ? reinterpret_cast<TessFn>(&TessVertexLit)
                               : reinterpret_cast<TessFn>(&glVertex3dv));
  gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<TessFn>(&glEnd));
  gluTessBeginPolygon(tess, nullptr);
  gluTessBeginContour(tess);
  for (int i = 0; i < count; ++i) {
    double* v = g_tess_buffer[i];
    const double* in = xyz + static_cast<std::ptrdiff_t>(i) * stride;
    for (int k = 0; k < 3; ++k) v[k] = in[k];
    for (int k = 3; k < 6; ++k) v[k] = with_normals ? in[k] : 0.0;
    gluTessVertex(tess, v, v);
  }
  gluTessEndContour(tess);
  gluTessEndPolygon(tess);
  return 1;
}

void PwScreenClear() {
  PwGlRestoreLit();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void PwScreenLine(PwPoint2 a, PwPoint2 b, PwColor colour) {
  Begin2D(colour);
  glBegin(GL_LINES);
  Vertex(a);
  Vertex(b);
  glEnd();
}

void PwScreenPoint(PwPoint2 p, PwColor colour) {
  Begin2D(colour);
  glBegin(GL_POINTS);
  glVertex2i(p.x, p.y);
  glVertex2i(p.x + 1, p.y);
  glVertex2i(p.x + 1, p.y + 1);
  glVertex2i(p.x, p.y + 1);
  glEnd();
}

void PwScreenEllipse(PwPoint2 centre, int rx, int ry, PwColor colour) {
  Begin2D(colour);
  FilledEllipse(centre, rx, ry);
}

void PwScreenPolygon(int count, const PwPoint2* points, PwColor colour) {
  if (count < 1 || points == nullptr) return;
  Begin2D(colour);
  if (!PwGlIsConvex(count, points) && PwGlTessellator() != nullptr) {
    const int n = count < kPwGlTessMax ? count : kPwGlTessMax;
    double xyz[kPwGlTessMax * 3];
    for (int i = 0; i < n; ++i) {
      xyz[3 * i] = points[i].x;
      xyz[3 * i + 1] = points[i].y;
      xyz[3 * i + 2] = 0.0;
    }
    PwGlTessellate(n, xyz, 3, 0);
    return;
  }
  glBegin(GL_POLYGON);
  for (int i = 0; i < count; ++i) Vertex(points[i]);
  glEnd();
}

void PwScreenBox(PwPoint2 a, PwPoint2 b, PwColor colour) {
  Begin2D(colour);
  FilledBox(a, b);
}

void PwScreenMarker(PwPoint2 p, int kind, PwColor colour) {
  if (kind < 0 || kind > 2) return;
  Begin2D(colour);
  if (kind == 0) {
    FilledBox({p.x - 2, p.y - 2}, {p.x + 2, p.y + 2});
  } else if (kind == 1) {
    FilledEllipse(p, 3, 3);
  } else {
    glBegin(GL_LINES);
    glVertex2i(p.x - 4, p.y - 4);
    glVertex2i(p.x + 4, p.y + 4);
    glVertex2i(p.x + 4, p.y - 4);
    glVertex2i(p.x - 4, p.y + 4);
    glEnd();
  }
}

void PwScreenText(PwPoint2 p, const char* text, PwColor colour) {
  if (text == nullptr) return;
  Begin2D(colour);
  glRasterPos2i(p.x, p.y);
  CallText(text);
}

void PwScreenTextLines(PwPoint2 p, const char* const* lines, int halign, int valign,
                       PwColor colour) {
  if (lines == nullptr) return;
  PwPoint2 at = PwGlTextLinesOrigin(p, lines, halign, valign);
  for (int i = 0; lines[i] != nullptr; ++i) {
    PwScreenText(at, lines[i], colour);
    at.y += 16;
  }
}

void PwScreenRect(PwPoint2 a, PwPoint2 b, PwColor colour) {
  Begin2D(colour);
  glBegin(GL_LINE_STRIP);
  glVertex2i(a.x, a.y);
  glVertex2i(b.x, a.y);
  glVertex2i(b.x, b.y);
  glVertex2i(a.x, b.y);
  glVertex2i(a.x, a.y);
  glEnd();
}

void PwScreenOutline(int count, const PwPoint2* points, PwColor colour) {
  if (count < 1 || points == nullptr) return;
  Begin2D(colour);
  glBegin(GL_LINE_LOOP);
  for (int i = 0; i < count; ++i) Vertex(points[i]);
  glEnd();
}

void PwScreenPolyline(int count, const PwPoint2* points, PwColor colour) {
  if (count < 1 || points == nullptr) return;
  Begin2D(colour);
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < count; ++i) Vertex(points[i]);
  glEnd();
}

void PwScreenEllipseOutline(PwPoint2 centre, int rx, int ry, PwColor colour) {
  Begin2D(colour);
  glBegin(GL_LINE_STRIP);
  for (int k = 0; k <= kPwGlCircleSteps; ++k) Vertex(PwGlEllipsePoint(centre, rx, ry, k));
  glEnd();
}

// OpenGL clips to the viewport itself.
void PwSetScreenClip() {}
void PwRestoreScreenClip() {}
