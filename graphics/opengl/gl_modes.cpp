// Drawing-mode state machine of the OpenGL back end.
#include "graphics/opengl/gl_modes.h"

namespace {

void NoLighting(int) {}
void NoDepth(int) {}
void NoPush(int, int) {}
void NoPop() {}
const PwGlModeOps kNoOps = {NoLighting, NoDepth, NoPush, NoPop};

struct ModeState {
  const PwGlModeOps* ops = &kNoOps;
  int mode = kPwGlModeLit;
  int lighting = 0;
  int width = 32, height = 32;
};

ModeState& S() {
  static ModeState state;
  return state;
}

}  // namespace

void PwGlSetModeOps(const PwGlModeOps* ops) { S().ops = ops != nullptr ? ops : &kNoOps; }

void PwGlResetModes() { S() = ModeState(); }

int PwGlDrawMode() { return S().mode; }
void PwGlSetLightingSwitch(int on) { S().lighting = on; }
int PwGlLightingSwitch() { return S().lighting; }

void PwGlSetAreaSize(int width, int height) {
  S().width = width;
  S().height = height;
}

void PwGlGetAreaSize(int* width, int* height) {
  *width = S().width;
  *height = S().height;
}

void PwGlLeaveMode() {
  ModeState& s = S();
  if (s.mode == kPwGlMode2D) s.ops->pop_2d();
  if (s.mode == kPwGlMode2D || s.mode == kPwGlModeOverlay3D) {
    s.ops->overlay_depth(0);
    s.ops->lighting(1);
  }
}

void PwGlRestoreLit() {
  ModeState& s = S();
  if (s.mode == kPwGlModeLit) return;
  PwGlLeaveMode();
  // A changed switch takes effect here, on the way back to lit drawing.
  if (s.lighting == 0) s.ops->lighting(0);
  if (s.lighting == 1) s.ops->lighting(1);
  s.mode = kPwGlModeLit;
}

void PwGlEnterDepth3D() {
  ModeState& s = S();
  if (s.mode == kPwGlModeDepth3D) return;
  PwGlLeaveMode();
  s.ops->lighting(0);
  s.mode = kPwGlModeDepth3D;
}

void PwGlEnterOverlay3D() {
  ModeState& s = S();
  if (s.mode == kPwGlModeOverlay3D) return;
  PwGlLeaveMode();
  s.ops->overlay_depth(1);
  s.ops->lighting(0);
  s.mode = kPwGlModeOverlay3D;
}

void PwGlEnter2D() {
  ModeState& s = S();
  if (s.mode == kPwGlMode2D) return;
  PwGlLeaveMode();
  s.ops->overlay_depth(1);
  s.ops->push_2d(s.width, s.height);
  s.ops->lighting(0);
  s.mode = kPwGlMode2D;
}
