// The process entry of Kitwright.
#include <windows.h>

#include "installer/kitwright_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  return InstallerMain(instance, command_line);
}
