// The overflow notice: shown after the first frame of a file that left
// primitives out, and not again until another file is loaded.
#include "viewer/scene_overflow.h"

#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render/render_traversal.h"

namespace {

struct OverflowState {
  ViewerOverflowNoticeFunc notice = nullptr;
  int told = 0;        // 1 once this file's notice was shown
  int toldShapes = 0;  // the same for the shape notice
  const char* const* lines = kViewerOverflowLines;
};

OverflowState& State() {
  static OverflowState state;
  return state;
}

}  // namespace

const char* const kViewerOverflowLines[3] = {"THE SCENE IS LARGER THAN THE DRAW BUFFERS.",
                                             "(*)Parts of it are not drawn; raise them with",
                                             "   Config > SetExtraDrawBufferSize."};

void ViewerOverflowSetNotice(ViewerOverflowNoticeFunc notice) { State().notice = notice; }

// The number is KS_MAX_FRAME_SHAPES.
const char* const kViewerShapeLimitLines[3] = {"THE SCENE HAS MORE SHAPES THAN A FRAME DRAWS.",
                                               "(*)Its nodes are used over and over; only the",
                                               "   first 200000 shapes of each frame are drawn."};

const char* const* ViewerOverflowNoticeLines() { return State().lines; }

void ViewerOverflowNewFile() {
  State().told = 0;
  State().toldShapes = 0;
}

int ViewerOverflowAfterFrame() {
  OverflowState& s = State();
  int shown = 0;
  if (PwFrameLeftPrimitivesOut() == 1 && s.told == 0) {
    s.told = 1;
    s.lines = kViewerOverflowLines;
    if (s.notice != nullptr) s.notice();
    shown = 1;
  }
  if (KsTraversalWasCut() == 1 && s.toldShapes == 0) {
    s.toldShapes = 1;
    s.lines = kViewerShapeLimitLines;
    if (s.notice != nullptr) s.notice();
    shown = 1;
  }
  return shown;
}

void ViewerOverflowReset() { State() = OverflowState(); }
