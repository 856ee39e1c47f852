// Works the simple window from outside: finds it by class and title, posts
// the left button and keys, and answers the close question with Yes. One
// action per run; every wait ends after 30 seconds.
// Usage: simple_window_driver.exe down|up|key VK|close-yes
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kTimeoutMs = 30000;

HWND FindApp() {
  DWORD start = GetTickCount();
  for (;;) {
    HWND w = FindWindowA("PWAPPCLASS", "Kestrune Simple Window Application");
    if (w && IsWindowVisible(w)) return w;
    if (GetTickCount() - start > kTimeoutMs) return nullptr;
    Sleep(50);
  }
}

struct BoxSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindOwnedBox(HWND w, LPARAM lparam) {
  BoxSearch* s = reinterpret_cast<BoxSearch*>(lparam);
  char cls[32] = "", caption[32] = "";
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, caption, sizeof caption);
  if (std::strcmp(cls, "#32770") == 0 && std::strcmp(caption, "QUIT?") == 0 &&
      GetWindow(w, GW_OWNER) == s->owner) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

int CloseWithYes(HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD start = GetTickCount();
  BoxSearch s = {window, nullptr};
  while (!s.found && GetTickCount() - start < kTimeoutMs) {
    EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&s));
    if (!s.found) Sleep(50);
  }
  if (!s.found) {
    std::printf("no question\n");
    return 1;
  }
  HWND yes = GetDlgItem(s.found, IDYES);
  PostMessageA(s.found, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(yes));
  std::printf("answered yes\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = FindApp();
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  const char* action = argv[1];
  const LPARAM at = MAKELPARAM(320, 240);
  int result = 0;
  if (std::strcmp(action, "down") == 0) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  } else if (std::strcmp(action, "up") == 0) {
    PostMessageA(window, WM_LBUTTONUP, 0, at);
  } else if (std::strcmp(action, "key") == 0 && argc > 2) {
    const WPARAM vk = std::strtoul(argv[2], nullptr, 10);
    PostMessageA(window, WM_KEYDOWN, vk, 1);
    PostMessageA(window, WM_KEYUP, vk, 0xC0000001);
  } else if (std::strcmp(action, "close-yes") == 0) {
    result = CloseWithYes(window);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
