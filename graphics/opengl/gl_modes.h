// The drawing modes every OpenGL primitive enters before it draws, and the
// back end's copies of the library's switches. The mode logic is portable;
// the OpenGL calls it makes go through PwGlModeOps.
#pragma once

enum {
  kPwGlModeLit = 0,      // lit 3D
  kPwGlModeDepth3D = 1,  // depth-tested, unlit 3D
  kPwGlModeOverlay3D = 2,
  kPwGlMode2D = 3
};

struct PwGlModeOps {
  void (*lighting)(int on);                // GL_LIGHTING and GL_LIGHT0
  void (*overlay_depth)(int overlay);      // 1: GL_ALWAYS, no depth writes; 0: GL_LEQUAL, writes
  void (*push_2d)(int width, int height);  // projection and model-view pushed, pixels y down
  void (*pop_2d)();                        // model-view, then projection popped
};

// Null: a table that does nothing (also the start state).
void PwGlSetModeOps(const PwGlModeOps* ops);
// Tests: mode 0, lighting switch 0, the do-nothing table.
void PwGlResetModes();

int PwGlDrawMode();
void PwGlSetLightingSwitch(int on);
int PwGlLightingSwitch();
// The drawing-area size that 2D mode maps onto (32 x 32 at first).
void PwGlSetAreaSize(int width, int height);
void PwGlGetAreaSize(int* width, int* height);

void PwGlRestoreLit();
void PwGlLeaveMode();
void PwGlEnterDepth3D();
void PwGlEnterOverlay3D();
void PwGlEnter2D();
