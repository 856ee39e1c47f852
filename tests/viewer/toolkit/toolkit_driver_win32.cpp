// Works the toolkit probe from outside, as a person would: posts menu
// commands, keys and mouse messages to its window, and fills and presses
// the dialogs it opens. One action per run; every wait ends after 30 s.
//   find | cmd ID | key VK | mouse MESSAGE WPARAM X Y | redraw
//   dialog CAPTION [set ID TEXT]... press ID
//   filedlg CAPTION PATH|-        (PATH: typed and OK; -: Cancel)
//   colordlg CAPTION R G B|-      (the colour typed and OK; -: Cancel)
#include <windows.h>

#include "tests/support/win32/driver_util_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace e2e_driver;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = AwaitWindow("PWAPPCLASS", "Toolkit Probe");
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  const char* action = argv[1];
  int result = 0;
  if (std::strcmp(action, "find") == 0) {
    PrintClient(window, false);
  } else if (std::strcmp(action, "cmd") == 0 && argc > 2) {
    PostMessageA(window, WM_COMMAND, std::strtoul(argv[2], nullptr, 10), 0);
  } else if (std::strcmp(action, "key") == 0 && argc > 2) {
    WPARAM vk = std::strtoul(argv[2], nullptr, 10);
    PostKey(window, vk);
  } else if (std::strcmp(action, "mouse") == 0 && argc > 5) {
    PostMouse(window, argv[2], argv[3], argv[4], argv[5]);
  } else if (std::strcmp(action, "redraw") == 0) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
  } else if (std::strcmp(action, "dialog") == 0 && argc > 2) {
    result = WorkDialog(window, argc, argv, false);
  } else if (std::strcmp(action, "filedlg") == 0 && argc > 3) {
    result = WorkFileDialog(window, argv[2], argv[3], false);
  } else if (std::strcmp(action, "colordlg") == 0 && argc > 3) {
    result = WorkColorDialog(window, argc, argv, true);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
