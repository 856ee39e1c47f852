// Stands in for an installed program: records that it started (and its
// current folder) in $KW_MARKER_DIR\<file name>.started, then keeps a
// window open until it is closed.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  const char* name = std::strrchr(path, '\\');
  name = name ? name + 1 : path;
  char dir[MAX_PATH] = "";
  if (GetEnvironmentVariableA("KW_MARKER_DIR", dir, sizeof dir) > 0) {
    char marker[2 * MAX_PATH];
    std::snprintf(marker, sizeof marker, "%s\\%s.started", dir, name);
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    if (FILE* f = std::fopen(marker, "w")) {
      std::fprintf(f, "%s\n", cwd);
      std::fclose(f);
    }
  }
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = instance;
  wc.lpszClassName = "KwProbeApp";
  RegisterClassA(&wc);
  char caption[MAX_PATH + 16];
  std::snprintf(caption, sizeof caption, "Kw Probe %s", name);
  CreateWindowA("KwProbeApp", caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
