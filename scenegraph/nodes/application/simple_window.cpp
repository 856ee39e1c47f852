#include "scenegraph/nodes/application/simple_window.h"

#include <cstddef>
#include <new>

#include "graphics/draw2d/draw2d.h"
#include "graphics/window/keys.h"
#include "graphics/picking/picking.h"
#include "graphics/math/pw_math.h"
#include "graphics/math/pw_types.h"
#include "graphics/window/drawing_area.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/window/window.h"
#include "graphics/zbuffer/zbuffer.h"
#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/render/primitive_buffer.h"

namespace {

const char kClassName[] = "KsSimpleWindow";
KsClassRecord* g_record = nullptr;

constexpr std::size_t kPoolSize = 1048576;
constexpr float kPassSeconds = 0.1f;

struct SimpleWindowState {
  KsSimpleWindow* current = nullptr;
  int quit = 0;
};

SimpleWindowState& State() {
  static SimpleWindowState state;
  return state;
}

// The graphics library keeps pointers into these for the life of the process.
alignas(std::max_align_t) unsigned char g_scratchPool[kPoolSize];
alignas(std::max_align_t) unsigned char g_pickPool[kPoolSize];

void SetProjectionFromWindow() {
  PwProjection projection;
  KsInitProjection(&projection);
  PwSetProjection(&projection);
}

struct MouseState {
  int left = 0;
  int right = 0;
  int x = 0;
  int y = 0;
};

}  // namespace

KsSimpleWindow::KsSimpleWindow() {
  KsClassManager::Ensure(&g_record, kClassName, KsObject::ClassRecord());
  State().current = this;
}

// The pointer must not outlive the window it names.
KsSimpleWindow::~KsSimpleWindow() {
  if (State().current == this) State().current = nullptr;
}

const char* KsSimpleWindow::GetClassName() const { return kClassName; }
KsClassRecord* KsSimpleWindow::GetClassInfo() const { return g_record; }
KsClassRecord* KsSimpleWindow::ClassRecord() { return g_record; }

KsSimpleWindow* KsSimpleWindow::NewInstance() { return new (std::nothrow) KsSimpleWindow(); }

void KsSimpleWindow::OnCommand(int) {}
void KsSimpleWindow::OnLeftButtonDown(int, int) {}
void KsSimpleWindow::OnRightButtonDown(int, int) {}
void KsSimpleWindow::OnLeftButtonUp(int, int) {}
void KsSimpleWindow::OnRightButtonUp(int, int) {}
void KsSimpleWindow::OnMouseMove(KSBOOL, KSBOOL, int, int, int, int) {}
void KsSimpleWindow::OnStart() {}
void KsSimpleWindow::OnIdle() {}

int KsSimpleWindow::InitializeWith(const WindowCalls& calls) {
  PwInitMath();
  PwStart3D(g_scratchPool, sizeof g_scratchPool);
  PwInitKeys();
  PwZInit();
  PwPickSetPool(g_pickPool, sizeof g_pickPool);
  PwSetTitle(KS_SIMPLE_WINDOW_TITLE);
  calls.openWindow(KS_SIMPLE_WINDOW_WIDTH, KS_SIMPLE_WINDOW_HEIGHT);
  SetProjectionFromWindow();
  PwSetLighting(1);
  // Without a window the loop would spin unseen.
  return PwWindowClosed() == 1 ? KS_ERR : 0;
}

int KsSimpleWindow::QuitWith(const WindowCalls& calls) {
  calls.closeWindow();
  State().quit = 1;
  return 0;
}

int KsSimpleWindow::MainLoopWith(const WindowCalls& calls) {
  OnStart();
  if (State().quit != 0) return 0;
  MouseState now;
  do {
    calls.pollMessages();
    const MouseState before = now;
    int middle = 0;
    calls.getMouse(&now.left, &middle, &now.right, &now.x, &now.y);
    SetProjectionFromWindow();

    if (PwInkey() == kPwKeyEscape) return kPwKeyEscape;

    if (now.left != before.left) {
      if (now.left == 1) {
        OnLeftButtonDown(now.x, now.y);
      } else {
        OnLeftButtonUp(now.x, now.y);
      }
    }
    if (now.right != before.right) {
      if (now.right == 1) {
        OnRightButtonDown(now.x, now.y);
      } else {
        OnRightButtonUp(now.x, now.y);
      }
    }
    const bool moved = now.x != before.x || now.y != before.y;
    if (moved && (now.left == 1 || now.right == 1)) {
      OnMouseMove(now.left == 1 ? KS_TRUE : KS_FALSE, now.right == 1 ? KS_TRUE : KS_FALSE, now.x,
                  now.y, now.x - before.x, now.y - before.y);
    }

    KsClock::Advance(kPassSeconds);
    OnIdle();
  } while (State().quit == 0);
  return State().quit;
}

void KsSimpleWindow::SetCamera() {
  PwClearScreen();
  PwPickClear();
  KsViewpoint* viewpoint = KsViewpoint::GetBound();
  if (!viewpoint) return;
  KsMatrix m;
  viewpoint->GetMatrix(&m);
  const PwVec3 eye = KsToLibrary(m, KsVec3f(0.0f, 0.0f, 0.0f), 1.0f);
  const PwVec3 forward = KsToLibrary(m, KsVec3f(0.0f, 0.0f, -1.0f), 0.0f);
  const PwVec3 up = KsToLibrary(m, KsVec3f(0.0f, 1.0f, 0.0f), 0.0f);
  PwAttitude attitude;
  PwVectorsToAttitude(&attitude, &forward, &up);
  const PwPose pose = {eye.x, eye.y, eye.z, attitude.heading, attitude.pitch, attitude.bank};
  PwSetEye(&pose);
  PwSetLight(&eye);
  KsResetMatrix();
}

int KsSimpleWindow::Redraw() {
  PwFlushSorted();
  return PwPresent();
}

KsSimpleWindow* KsSimpleWindow::GetCurrent() { return State().current; }

int KsSimpleWindow::GetQuitFlag() { return State().quit; }

void KsResetSimpleWindow() {
  State().current = nullptr;
  State().quit = 0;
}
