// Drives the probe's window from outside, as a person would: finds it by
// class, reads its client area, posts system commands and keys,
// and answers the close question. One action per run; every wait ends
// after 30 seconds.
#include <windows.h>

#include "tests/support/win32/driver_util_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace e2e_driver;

// Other programs of the tree share the class: the title tells ours.
HWND FindProbe() { return AwaitWindow("PWAPPCLASS", "Window Probe"); }

struct TextSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK FindText(HWND child, LPARAM lparam) {
  TextSearch* s = reinterpret_cast<TextSearch*>(lparam);
  char text[256] = "";
  GetWindowTextA(child, text, sizeof text);
  if (std::strcmp(text, s->text) == 0) {
    s->found = child;
    return FALSE;
  }
  return TRUE;
}

int Answer(HWND window, bool yes) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  HWND box = AwaitOwnedDialog(window, "QUIT?", false);
  if (!box) {
    std::printf("no question\n");
    return 1;
  }
  TextSearch s = {"Really Quit? You may lose some data!", nullptr};
  EnumChildWindows(box, FindText, reinterpret_cast<LPARAM>(&s));
  std::printf("question %s\n", s.found ? "found" : "missing");
  int id = yes ? IDYES : IDNO;
  HWND button = GetDlgItem(box, id);
  std::printf("button %s\n", button ? "found" : "missing");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  DWORD start = GetTickCount();
  while (IsWindow(box) && GetTickCount() - start < kTimeoutMs) Sleep(50);
  if (!yes) {
    Sleep(300);
    std::printf("window %s\n", IsWindow(window) ? "alive" : "gone");
  }
  return s.found && button ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = FindProbe();
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  const char* action = argv[1];
  int result = 0;
  if (std::strcmp(action, "find") == 0) {
    PrintClient(window, true);
  } else if (std::strcmp(action, "sys") == 0 && argc > 2) {
    PostMessageA(window, WM_SYSCOMMAND, std::strtoul(argv[2], nullptr, 10), 0);
  } else if (std::strcmp(action, "key") == 0 && argc > 2) {
    PostKey(window, std::strtoul(argv[2], nullptr, 10));
  } else if (std::strcmp(action, "close-no") == 0) {
    result = Answer(window, false);
  } else if (std::strcmp(action, "close-yes") == 0) {
    result = Answer(window, true);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
