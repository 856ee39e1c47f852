// The viewer program's start-up: graphics library, toolkit, menus, keys,
// callbacks, the window, the one viewer and the first file; and the hook
// that takes files dropped on the window.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <new>

#include "graphics/keys.h"
#include "graphics/picking.h"
#include "graphics/pw_math.h"
#include "graphics/state3d.h"
#include "graphics/window.h"
#include "graphics/winmain.h"
#include "graphics/zbuffer/zbuffer.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/primitive_buffer.h"
#include "viewer/dropped_files.h"
#include "viewer/scene_overflow.h"
#include "viewer/viewer.h"
#include "viewer/viewer_app.h"
#include "viewer/viewer_settings.h"

namespace {

constexpr std::size_t kMainPoolSize = 1048576;
constexpr std::size_t kPickPoolSize = 524288;
alignas(std::max_align_t) unsigned char g_main_pool[kMainPoolSize];
alignas(std::max_align_t) unsigned char g_pick_pool[kPickPoolSize];

Viewer* g_viewer = nullptr;

void OnLeftButton(int pressed, KrMouseEvent event) {
  if (g_viewer) g_viewer->LeftButton(pressed, event.x, event.y);
}

void OnRightButton(int pressed, KrMouseEvent event) {
  if (g_viewer) g_viewer->RightButton(pressed, event.x, event.y);
}

void OnMouseMove(KrMouseEvent event) {
  if (g_viewer) g_viewer->MouseMove(event.x, event.y);
}

void OnIdle() {
  if (g_viewer) g_viewer->Tick();
  OnPaint();
}

// Each dropped file in turn until one loads; no header check, no message.
int DropFilesHook(void* window, unsigned int message, std::uintptr_t wparam,
                  std::intptr_t lparam) {
  if (message != WM_DROPFILES) return KrWndProc(window, message, wparam, lparam);
  HDROP drop = reinterpret_cast<HDROP>(wparam);
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char name[260] = {0};
    DragQueryFileA(drop, i, name, sizeof name);
    const char* one[1] = {name};
    if (ViewerLoadFirstOf(g_viewer, one, 1) >= 0) break;
  }
  DragFinish(drop);
  return 1;
}

}  // namespace

Viewer* ViewerApp() { return g_viewer; }

void OnPaint() {
  if (g_viewer) g_viewer->Render();
}

int ViewerMain(int argc, char** argv) {
  KsRegisterNodeLibrary();
  ExaminerViewpoint();

  PwInitMemory();
  PwInitMath();
  PwStart3D(g_main_pool, sizeof g_main_pool);
  PwPickSetPool(g_pick_pool, sizeof g_pick_pool);
  PwInitKeys();
  PwZInit();
  PwSetLighting(1);

  KrInit();
  ViewerOverflowSetNotice(ViewerOverflowMessageBox);

  KrCreateMenuBar(ViewerPopupNames());
  int item_count = 0;
  const ViewerMenuItem* items = ViewerMenuItems(&item_count);
  for (int i = 0; i < item_count; ++i) {
    KrAddMenuItem(items[i].popup, items[i].text, items[i].mnemonic,
                  ViewerCommandFunc(items[i].command));
  }
  KrShowMenu();

  KrClearKeys();
  int key_count = 0;
  const ViewerKey* keys = ViewerKeys(&key_count);
  for (int i = 0; i < key_count; ++i) KrBindKey(keys[i].code, ViewerCommandFunc(keys[i].command));

  KrSetPaintFunc(OnPaint);
  KrSetLeftButtonFunc(OnLeftButton);
  KrSetRightButtonFunc(OnRightButton);
  KrSetMouseMoveFunc(OnMouseMove);
  KrSetIdleFunc(OnIdle);

  PwSetTitle("QM VRML 2.0 VIEWER");
  KrOpenWindow(640, 480);

  DragAcceptFiles(static_cast<HWND>(PwGetWindowHandle()), TRUE);
  PwSetMessageHook(DropFilesHook);

  PwProjection projection;
  PwDefaultProjection(&projection);
  PwSetProjection(&projection);
  KsSetTessellation(4);

  g_viewer = new (std::nothrow) Viewer();

  if (argc <= 1) {
    OnOpenFile(0, 0, 0, 0);
  } else if (g_viewer && g_viewer->LoadFile(argv[1]) == 1) {
    ViewerCopyName(ViewerGetSettings().last_open_path, argv[1]);
  }

  KrMainLoop();
  return 0;
}
