// The viewer program's start-up: graphics library, toolkit, menus, keys,
// callbacks, the window, the one viewer and the first file; and the hook
// that takes files dropped on the window.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <new>

#include "graphics/window/keys.h"
#include "graphics/state3d/state3d.h"
#include "graphics/window/window.h"
#include "graphics/window/winmain.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "viewer/dropped_files.h"
#include "viewer/frame_clock.h"
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

// The mouse operations draw a frame, which may carry a pending export.
void OnLeftButton(int pressed, KrMouseEvent event) {
  if (g_viewer) g_viewer->LeftButton(pressed, event.x, event.y);
  ViewerTellFailedExport();
}

void OnRightButton(int pressed, KrMouseEvent event) {
  if (g_viewer) g_viewer->RightButton(pressed, event.x, event.y);
  ViewerTellFailedExport();
}

void OnMouseMove(KrMouseEvent event) {
  if (g_viewer) g_viewer->MouseMove(event.x, event.y);
  ViewerTellFailedExport();
}

void OnIdle() {
  // Read on every pass, with a scene or not, so that the first pass after a
  // file opens moves the clock by that one pass.
  const double elapsed = ViewerElapsedSince(ViewerMonotonicSeconds());
  if (g_viewer) g_viewer->Tick(elapsed);
  OnPaint();
}

// Each dropped file in turn until one loads; no header check, and a message
// only for a name that cannot be used or a file read with errors.
int DropFilesHook(void* window, unsigned int message, std::uintptr_t wparam, std::intptr_t lparam) {
  if (message != WM_DROPFILES) return KrWndProc(window, message, wparam, lparam);
  HDROP drop = reinterpret_cast<HDROP>(wparam);
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  char loaded[kKrPathSize] = {0};
  for (UINT i = 0; i < count; ++i) {
    wchar_t wide[MAX_PATH + 1] = {0};
    char name[kKrPathSize] = {0};
    DragQueryFileW(drop, i, wide, MAX_PATH + 1);
    if (wide[0] == L'\0' || KrAnsiName(wide, name, 0) != 1) continue;
    const char* one[1] = {name};
    if (ViewerLoadFirstOf(g_viewer, one, 1) >= 0) {
      ViewerCopyName(loaded, name);
      break;
    }
  }
  DragFinish(drop);
  if (loaded[0]) ViewerTellReadErrors(loaded);
  return 1;
}

// The command line's first argument as an ANSI name that opens the file;
// 0 when it has none (the user was told).
int FirstArgument(char** argv, char out[kKrPathSize]) {
  int wide_count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &wide_count);
  int result = 0;
  if (wide && wide_count >= 2) {
    result = KrAnsiName(wide[1], out, 0);
  } else {
    result = ViewerCopyName(out, argv[1]);
  }
  if (wide) LocalFree(wide);
  return result;
}

}  // namespace

Viewer* ViewerApp() { return g_viewer; }

void OnPaint() {
  if (g_viewer) g_viewer->Render();
  ViewerTellFailedExport();
}

int ViewerMain(int argc, char** argv) {
  ViewerStartGraphics(g_main_pool, sizeof g_main_pool, g_pick_pool, sizeof g_pick_pool);
  PwInitKeys();

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

  char first[kKrPathSize] = {0};
  if (argc <= 1) {
    OnOpenFile(0, 0, 0, 0);
  } else if (g_viewer && FirstArgument(argv, first) == 1 && g_viewer->LoadFile(first) == 1) {
    ViewerCopyName(ViewerGetSettings().last_open_path, first);
    ViewerTellReadErrors(first);
  }

  KrMainLoop();
  return 0;
}
