// Works the simple window from outside: finds it by class and title, posts
// the left button and keys, and answers the close question with Yes. One
// action per run; every wait ends after 30 seconds.
// Usage: simple_window_driver.exe down|up|key VK|close-yes
#include <windows.h>

#include "tests/support/win32/driver_util_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace e2e_driver;

int CloseWithYes(HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  HWND box = AwaitOwnedDialog(window, "QUIT?", false);
  if (!box) {
    std::printf("no question\n");
    return 1;
  }
  Press(box, IDYES);
  std::printf("answered yes\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = AwaitWindow("PWAPPCLASS", "Kestrune Simple Window Application");
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
    PostKey(window, std::strtoul(argv[2], nullptr, 10));
  } else if (std::strcmp(action, "close-yes") == 0) {
    result = CloseWithYes(window);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
