// The application window: class PWAPPCLASS, its creation, and a window
// procedure that hands each message to one small handler.
#include <windows.h>

#include "graphics/window/display.h"
#include "graphics/window/keys.h"
#include "graphics/window/window.h"
#include "graphics/window/window_win32.h"

namespace {

struct Win32Window {
  HWND handle = nullptr;
  HDC dc = nullptr;  // the class's own DC, kept for the window's life
  int mouse_x = 0;
  int mouse_y = 0;
};

Win32Window& Win() {
  static Win32Window w;
  return w;
}

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_OWNDC | CS_BYTEALIGNWINDOW;
  wc.lpfnWndProc = PwWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "KORALICON");
  if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kPwWindowClass;
  // A window opened again after PwCloseWindow finds its class in place.
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) PwExitProcess(1);
}

void CheckDepthItem(HWND window, int mode) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return;
  const unsigned int checked = PwCommandForDepth(mode);
  const unsigned int ids[] = {kPwCmdColors256, kPwCmdColors32K, kPwCmdSameAsDisplay};
  for (unsigned int id : ids) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (id == checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

void SelectWindowPalette() {
  Win32Window& w = Win();
  HPALETTE palette = static_cast<HPALETTE>(PwDisplayPalette());
  if (!w.dc || !palette) return;
  SelectPalette(w.dc, palette, FALSE);
  RealizePalette(w.dc);
}

int OpenAt(int x, int y, int width, int height) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterWindowClass(instance);
  RECT rect = {x, y, x + width, y + height};
  AdjustWindowRect(&rect, kStyle, FALSE);
  Win32Window& w = Win();
  PwSetWindowClosed(0);
  w.handle = CreateWindowA(kPwWindowClass, PwGetTitle(), kStyle, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr,
                           static_cast<HMENU>(PwGetMenuBar()), instance, nullptr);
  if (!w.handle) {
    PwSetWindowClosed(1);
    return 1;
  }
  w.dc = GetDC(w.handle);
  PwSetDepthMode(0);
  RECT client;
  GetClientRect(w.handle, &client);
  PwSetClientSize(client.right, client.bottom);
  PwDisplayOpen(w.dc, client.right, client.bottom);

  HMENU menu = GetSystemMenu(w.handle, FALSE);
  if (menu) {
    AppendMenuA(menu, MF_STRING, kPwCmdColors256, kPwColors256Text);
    AppendMenuA(menu, MF_STRING, kPwCmdColors32K, kPwColors32KText);
    AppendMenuA(menu, MF_STRING, kPwCmdSameAsDisplay, kPwSameAsDisplayText);
  }
  CheckDepthItem(w.handle, PwGetDepthMode());

  ShowWindow(w.handle, SW_SHOWNORMAL);
  SetBkMode(w.dc, TRANSPARENT);
  SetPolyFillMode(w.dc, ALTERNATE);
  SelectWindowPalette();
  return 0;
}

// --- message handlers ---

LRESULT OnSize(HWND window, LPARAM lparam) {
  int width = LOWORD(lparam);
  int height = HIWORD(lparam);
  PwSetClientSize(width, height);
  // Inside CreateWindowA the DC and palette do not exist yet; the opening
  // builds the surface once they do.
  Win32Window& w = Win();
  if (w.dc) {
    PwDisplayResize(w.dc, width, height, PwGetDepthMode());
    RedrawWindow(window, nullptr, nullptr, RDW_INTERNALPAINT);
  }
  return 0;
}

LRESULT OnClose(HWND window, WPARAM wparam, LPARAM lparam) {
  if (MessageBoxA(window, kPwQuitQuestion, kPwQuitCaption, MB_YESNO) == IDYES) {
    return DefWindowProcA(window, WM_CLOSE, wparam, lparam);
  }
  return 0;
}

LRESULT OnSysCommand(HWND window, WPARAM wparam, LPARAM lparam) {
  int mode = PwDepthForCommand(wparam);
  if (mode < 0) return DefWindowProcA(window, WM_SYSCOMMAND, wparam, lparam);
  PwSetDepthMode(mode);
  CheckDepthItem(window, mode);
  int width = 0, height = 0;
  PwGetClientSize(&width, &height);
  if (Win().dc) PwDisplayResize(Win().dc, width, height, mode);
  return 0;
}

LRESULT OnMouse(WPARAM wparam, LPARAM lparam) {
  PwSetMouseButtons(static_cast<unsigned int>(wparam));
  Win().mouse_x = static_cast<short>(LOWORD(lparam));
  Win().mouse_y = static_cast<short>(HIWORD(lparam));
  return 0;
}

}  // namespace

LRESULT CALLBACK PwWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (PwGetMessageHook()(window, message, wparam, lparam) == 1) return 0;
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      PwSetWindowClosed(1);
      PwExitProcess(1);
    case WM_SIZE: return OnSize(window, lparam);
    case WM_PAINT: PwDisplayPresent(); return DefWindowProcA(window, message, wparam, lparam);
    case WM_CLOSE: return OnClose(window, wparam, lparam);
    case WM_SYSCOMMAND: return OnSysCommand(window, wparam, lparam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return OnMouse(wparam, lparam);
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      SelectWindowPalette();
      return DefWindowProcA(window, message, wparam, lparam);
    default: return DefWindowProcA(window, message, wparam, lparam);
  }
}

void PwOpenWindow(int width, int height) {
  int x = ((GetSystemMetrics(SM_CXSCREEN) - width) / 2) & ~3;
  int y = ((GetSystemMetrics(SM_CYSCREEN) - height) / 2) & ~3;
  OpenAt(x, y, width, height);
}

int PwOpenWindowAt(int x, int y, int width, int height) { return OpenAt(x, y, width, height); }

void PwCloseWindow() {
  Win32Window& w = Win();
  if (w.handle) {
    ShowWindow(w.handle, SW_HIDE);
    if (w.dc) ReleaseDC(w.handle, w.dc);
  }
  w.dc = nullptr;
  PwDisplayClose();
}

void* PwGetWindowHandle() { return Win().handle; }

void* PwGetWindowDC() { return Win().dc; }

void PwPollMessages() {
  MSG msg;
  HWND window = Win().handle;
  while (window && PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_KEYDOWN) PwQueueKeyDown(static_cast<int>(msg.wParam));
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  BYTE state[256];
  if (GetKeyboardState(state)) {
    PwTakeKeySnapshot(state);
  } else {
    PwTakeKeySnapshot(nullptr);
  }
}

void PwGetMouse(int* left, int* middle, int* right, int* x, int* y) {
  PwGetMouseButtons(left, right);
  *middle = 0;
  POINT p = {Win().mouse_x, Win().mouse_y};
  if (GetCursorPos(&p) && Win().handle) ScreenToClient(Win().handle, &p);
  *x = p.x;
  *y = p.y;
}
