// The process entry of every program built on the graphics library.
#include <windows.h>

#include "graphics/window/command_line.h"
#include "graphics/window/window.h"
#include "graphics/window/winmain.h"

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  // Lives for the whole run: the application keeps argv.
  static PwArgumentVector args;
  char module_name[kPwModuleNameSize];
  DWORD n = GetModuleFileNameA(nullptr, module_name, sizeof module_name);
  if (n == 0 || n >= sizeof module_name)
    module_name[0] = '\0';
  else
    module_name[n] = '\0';
  PwBuildArguments(&args, module_name, command_line);
  int result = ViewerMain(args.argc, args.argv);
  std::fflush(stdout);
  std::fflush(stderr);
  return result;
}
