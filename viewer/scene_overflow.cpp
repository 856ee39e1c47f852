// The overflow notice: shown after the first frame of a file that left
// primitives out, and not again until another file is loaded.
#include "viewer/scene_overflow.h"

#include "graphics/state3d/state3d.h"

namespace {

struct OverflowState {
  ViewerOverflowNoticeFunc notice = nullptr;
  int told = 0;  // 1 once this file's notice was shown
};

OverflowState& State() {
  static OverflowState state;
  return state;
}

}  // namespace

const char* const kViewerOverflowLines[3] = {
    "THE SCENE IS LARGER THAN THE DRAW BUFFERS.",
    "(*)Parts of it are not drawn; raise them with",
    "   Config > SetExtraDrawBufferSize."};

void ViewerOverflowSetNotice(ViewerOverflowNoticeFunc notice) { State().notice = notice; }

void ViewerOverflowNewFile() { State().told = 0; }

int ViewerOverflowAfterFrame() {
  OverflowState& s = State();
  if (PwFrameLeftPrimitivesOut() != 1 || s.told == 1) return 0;
  s.told = 1;
  if (s.notice != nullptr) s.notice();
  return 1;
}

void ViewerOverflowReset() { State() = OverflowState(); }
