// Works lumaview from outside, as a person would: posts menu commands, keys
// and mouse messages to its window, fills and presses the dialogs it opens
// and answers the close question. One action per run; every wait ends
// after 30 s.
//   find | gone | cmd ID | key VK | mouse MESSAGE WPARAM X Y | menu
//   dialog CAPTION [set ID TEXT]... [press ID]
//   count CAPTION                 (visible dialogs of that caption, after 1 s)
//   filedlg CAPTION PATH|-        (PATH: typed and OK; -: Cancel)
//   colordlg CAPTION R G B|-
//   close yes|no
#include <windows.h>

#include "tests/support/win32/driver_util_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace e2e_driver;

constexpr char kCaption[] = "QM VRML 2.0 VIEWER";

int Close(HWND window, bool yes) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  HWND box = AwaitOwnedDialog(window, "QUIT?", true);
  if (!box) {
    std::printf("no question\n");
    return 1;
  }
  DumpControls(box, true);
  Press(box, yes ? IDYES : IDNO);
  int result = WaitGone(box);
  if (!yes) {
    Sleep(300);
    std::printf("window %s\n", IsWindow(window) ? "alive" : "gone");
  }
  return result;
}

void Menu(HWND window) {
  HMENU bar = GetMenu(window);
  int n = GetMenuItemCount(bar);
  for (int i = 0; i < n; ++i) {
    char text[128] = "";
    GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
    HMENU popup = GetSubMenu(bar, i);
    std::printf("popup [%s] %d\n", text, GetMenuItemCount(popup));
    for (int j = 0; j < GetMenuItemCount(popup); ++j) {
      char item[128] = "";
      GetMenuStringA(popup, j, item, sizeof item, MF_BYPOSITION);
      for (char* p = item; *p; ++p) {
        if (*p == '\t') *p = '|';
      }
      std::printf("item %u [%s]\n", GetMenuItemID(popup, j), item);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* action = argv[1];
  if (std::strcmp(action, "gone") == 0) {
    DWORD start = GetTickCount();
    while (FindWindowA("PWAPPCLASS", kCaption)) {
      if (TimedOut(start)) {
        std::printf("still there\n");
        return 1;
      }
      Sleep(50);
    }
    std::printf("gone\n");
    return 0;
  }
  HWND window = AwaitWindow("PWAPPCLASS", kCaption);
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  int result = 0;
  if (std::strcmp(action, "find") == 0) {
    PrintClient(window, true);
  } else if (std::strcmp(action, "cmd") == 0 && argc > 2) {
    PostMessageA(window, WM_COMMAND, std::strtoul(argv[2], nullptr, 10), 0);
  } else if (std::strcmp(action, "key") == 0 && argc > 2) {
    WPARAM vk = std::strtoul(argv[2], nullptr, 10);
    PostKey(window, vk);
  } else if (std::strcmp(action, "mouse") == 0 && argc > 5) {
    PostMouse(window, argv[2], argv[3], argv[4], argv[5]);
  } else if (std::strcmp(action, "menu") == 0) {
    Menu(window);
  } else if (std::strcmp(action, "dialog") == 0 && argc > 2) {
    result = WorkDialog(window, argc, argv, true);
  } else if (std::strcmp(action, "count") == 0 && argc > 2) {
    Sleep(1000);
    std::printf("count %d\n", FindOwnedDialogs(window, argv[2], true).count);
  } else if (std::strcmp(action, "filedlg") == 0 && argc > 3) {
    result = WorkFileDialog(window, argv[2], argv[3], true);
  } else if (std::strcmp(action, "colordlg") == 0 && argc > 3) {
    result = WorkColorDialog(window, argc, argv, false);
  } else if (std::strcmp(action, "close") == 0 && argc > 2) {
    result = Close(window, std::strcmp(argv[2], "yes") == 0);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
