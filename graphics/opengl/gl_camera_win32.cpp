// The OpenGL camera, light and drawing modes, kept in step with the
// library's 3D state: the eye on the projection matrix, the model frame on
// the model-view matrix (so lighting sees model-frame coordinates).
#include <windows.h>

#include <GL/gl.h>

#include "graphics/opengl/gl_internal.h"
#include "graphics/opengl/gl_logic.h"
#include "graphics/opengl/gl_modes.h"
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_backend.h"

namespace {

constexpr double kDegreesPerUnit = 360.0 / 65536.0;

struct CameraState {
  int kind = 0;  // 0 perspective, 1 parallel
  PwProjection projection = {};
  PwFrame combined = {};
};

CameraState& Cam() {
  static CameraState state;
  return state;
}

void Lighting(int on) {
  if (on) {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
  } else {
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
  }
}

void OverlayDepth(int overlay) {
  glDepthFunc(overlay ? GL_ALWAYS : GL_LEQUAL);
  glDepthMask(overlay ? GL_FALSE : GL_TRUE);
}

void Push2D(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

void Pop2D() {
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

const PwGlModeOps kOps = {Lighting, OverlayDepth, Push2D, Pop2D};

void StoreProjection() {
  Cam().kind = PwGetProjectionMode();
  Cam().projection = *PwGetProjection();
}

}  // namespace

void PwGlInstallModeOps() { PwGlSetModeOps(&kOps); }

void PwGlSetCamera() {
  PwGlRestoreLit();
  int w = 0, h = 0;
  PwGlGetAreaSize(&w, &h);
  const CameraState& c = Cam();
  const PwProjection& p = c.projection;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  double b[4];
  if (c.kind == 1) {
    PwGlViewBounds(b, &p, PwGetParallelDistance(), w, h);
    glOrtho(b[0], b[1], b[2], b[3], p.near, p.far);
  } else {
    PwGlViewBounds(b, &p, p.near, w, h);
    glFrustum(b[0], b[1], b[2], b[3], p.near, p.far);
  }
  const PwFrame* eye = PwGetEyeFrame();
  glRotated(-eye->bank * kDegreesPerUnit, 0, 0, 1);
  glRotated(-eye->pitch * kDegreesPerUnit, 1, 0, 0);
  glRotated(-eye->heading * kDegreesPerUnit, 0, 1, 0);
  glTranslated(-eye->x, -eye->y, eye->z);
  const PwFrame* m = PwGetModelFrame();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(m->x, m->y, -m->z);
  glRotated(m->heading * kDegreesPerUnit, 0, 1, 0);
  glRotated(m->pitch * kDegreesPerUnit, 1, 0, 0);
  glRotated(m->bank * kDegreesPerUnit, 0, 0, 1);
  Cam().combined = *PwGetCombinedFrame();
}

const PwFrame* PwGlCombinedFrame() { return &Cam().combined; }

float PwGlEyeDepth(PwVec3 p) {
  if (Cam().kind == 1) return PwGetParallelDistance();
  PwVec3 e;
  PwFrameApply(&e, &Cam().combined, &p);
  return e.z;
}

// ---- Steps added to the library's 3D state calls.

void PwBackendSetProjectionMode() {
  PwGlRestoreLit();
  StoreProjection();
}

void PwBackendSetLighting() { PwGlSetLightingSwitch(PwGetLighting()); }

void PwBackendSetParallelDistance() {
  PwGlRestoreLit();
  StoreProjection();
}

void PwBackendSetProjection() { StoreProjection(); }

void PwBackendFrameChanged() { PwGlSetCamera(); }

void PwBackendSetEye() {
  PwGlRestoreLit();
  glClear(GL_DEPTH_BUFFER_BIT);
}

void PwBackendSetLight(const PwVec3* p) {
  PwGlRestoreLit();
  // OpenGL carries a light position by the model-view matrix of the moment,
  // which holds whatever model frame was last drawn; the position is a world
  // point, so it goes in under the identity.
  const GLfloat position[] = {p->x, p->y, -p->z, 1.0f};
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glPopMatrix();
}

// The material's highlight, as the software build's shading takes it; the
// diffuse and ambient terms stay with the colour material.
void PwBackendSetHighlight() {
  float specular[3];
  float exponent;
  PwGetHighlightTerms(PwGetHighlight(), specular, &exponent);
  const GLfloat colour[] = {specular[0], specular[1], specular[2], 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, colour);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, exponent);
}
