// The toolkit's window hook, main loop and quit: Win32 messages in, the
// portable callbacks out.
#include <windows.h>

#include "graphics/window/keys.h"
#include "graphics/window/window.h"
#include "viewer/toolkit/callbacks.h"
#include "viewer/toolkit/toolkit.h"

namespace {

int OnPaint(HWND window, WPARAM wparam, LPARAM lparam) {
  // The library presents the surface itself unless the application paints.
  if (KrPaintIsDefault() == 1) return 0;
  KrCallPaint();
  DefWindowProcA(window, WM_PAINT, wparam, lparam);  // validates the window
  return 1;
}

int OnButton(HWND window, KrButton button, int pressed, WPARAM wparam, LPARAM lparam) {
  if (pressed == 1) {
    SetCapture(window);
  } else {
    ReleaseCapture();
  }
  KrCallButton(button, pressed, KrMouseEventFrom(wparam, lparam));
  return 0;
}

// One message the loop took: keys first go to the bindings. 1 when the loop
// must stop.
int HandleMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam < 128) {
    KrDispatchKey(PwVkToKey(static_cast<int>(msg->wParam)));
  }
  if (KrQuitRequested() == 1) return 1;
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return KrQuitRequested();
}

}  // namespace

int KrWndProc(void* handle, unsigned int message, std::uintptr_t wparam, std::intptr_t lparam) {
  HWND window = static_cast<HWND>(handle);
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      KrSetQuitRequested(1);
      return 0;
    case WM_QUIT: KrSetQuitRequested(1); return 0;
    case WM_PAINT: return OnPaint(window, wparam, lparam);
    case WM_COMMAND: KrDispatchCommand(static_cast<int>(wparam)); return 0;
    case WM_MOUSEMOVE: KrCallMouseMove(KrMouseEventFrom(wparam, lparam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButton(window, kKrLeftButton, 1, wparam, lparam);
    case WM_LBUTTONUP: return OnButton(window, kKrLeftButton, 0, wparam, lparam);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: return OnButton(window, kKrRightButton, 1, wparam, lparam);
    case WM_RBUTTONUP: return OnButton(window, kKrRightButton, 0, wparam, lparam);
    default: return 0;
  }
}

void KrInit() { PwSetMessageHook(KrWndProc); }

void KrOpenWindow(int width, int height) { PwOpenWindow(width, height); }

void KrMainLoop() {
  while (KrQuitRequested() != 1) {
    KrCallIdle();
    if (KrQuitRequested() == 1) return;
    MSG msg;
    if (KrIdleIsDefault() != 1) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // A quit message taken here never reaches a window procedure.
        if (msg.message == WM_QUIT) KrSetQuitRequested(1);
        if (HandleMessage(&msg) == 1) break;
      }
    } else {
      for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
          KrSetQuitRequested(1);
          break;
        }
        if (got == -1) break;
        if (HandleMessage(&msg) == 1) break;
        // A callback may have set an idle function: the loop then runs.
        if (KrIdleIsDefault() != 1) break;
      }
    }
  }
}

void KrQuit() {
  PostQuitMessage(0);
  HWND window = static_cast<HWND>(PwGetWindowHandle());
  if (window) DestroyWindow(window);
}

void KrGetShiftCtrl(int out[2]) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  KrShiftCtrlFromState(state, out);
}
