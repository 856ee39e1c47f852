// A program on the graphics library's window for the end-to-end test: it
// logs what it sees (arguments, surface, system menu, keys) to the file
// named by its first argument and fills every new surface with a colour of
// its depth, so that a screenshot shows which surface is on the window.
#include <windows.h>

#include "graphics/window/keys.h"
#include "graphics/math/pw_types.h"
#include "graphics/software/surface.h"
#include "graphics/window/window.h"
#include "graphics/window/winmain.h"
#include "tests/support/probe_log.h"

#include <cstdio>

namespace {

int g_system_commands = 0;  // seen by the hook, before the library acts

int CountSystemCommands(void*, unsigned int message, std::uintptr_t, std::intptr_t) {
  if (message == WM_SYSCOMMAND) ++g_system_commands;
  return 0;
}

// A surface the library has just made is black; one the probe filled is not.
int SurfaceIsFresh() {
  PwPixelBuffer* p = PwCurrentPixels();
  if (p->bits_per_pixel == 8) return p->rows[0][0] == PwColorTable()[0] ? 1 : 0;
  return (p->rows[0][0] | p->rows[0][1]) == 0 ? 1 : 0;
}

using e2e_probe::Log;

// 16 bits: green; 8 bits: red (both exact after the copy to a 32-bit screen).
void FillSurface() {
  PwPixelBuffer* p = PwCurrentPixels();
  if (p->created != 1) return;
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  if (p->bits_per_pixel == 8) {
    PwColor red = {0, 255, 0};
    int index = 0;
    PwColorIndex8(&index, &red);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p->rows[y][x] = static_cast<unsigned char>(index);
  } else {
    PwColor green = {255, 0, 0};
    int value = 0;
    PwColor555(&value, &green);
    for (int y = 0; y < h; ++y) {
      unsigned short* row = reinterpret_cast<unsigned short*>(p->rows[y]);
      for (int x = 0; x < w; ++x) row[x] = static_cast<unsigned short>(value);
    }
  }
  PwPresent();
}

void LogMenu() {
  HMENU menu = GetSystemMenu(static_cast<HWND>(PwGetWindowHandle()), FALSE);
  const unsigned int ids[] = {kPwCmdColors256, kPwCmdColors32K, kPwCmdSameAsDisplay};
  Log("menu");
  for (unsigned int id : ids) {
    char text[64] = "";
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    Log(" [%s]=%d", text, (state != 0xFFFFFFFFu && (state & MF_CHECKED)) ? 1 : 0);
  }
  Log("\n");
}

}  // namespace

int ViewerMain(int argc, char** argv) {
  if (argc > 1) e2e_probe::OpenLog(argv[1]);
  Log("argc %d\n", argc);
  for (int i = 0; i < argc; ++i) Log("argv[%d] %s\n", i, argv[i]);
  PwInitKeys();
  PwSetTitle("Window Probe");
  PwSetMessageHook(CountSystemCommands);
  PwOpenWindow(640, 480);
  if (PwWindowClosed() == 1) {
    Log("open failed\n");
    return 2;
  }
  RECT client;
  GetClientRect(static_cast<HWND>(PwGetWindowHandle()), &client);
  Log("opened client %ld %ld\n", client.right, client.bottom);

  unsigned char* shown_bits = nullptr;
  int shown_bpp = 0;
  int shown_commands = 0;
  DWORD start = GetTickCount();
  for (;;) {
    PwPollMessages();
    PwPixelBuffer* p = PwCurrentPixels();
    if (p->created == 1 && (p->bits != shown_bits || p->bits_per_pixel != shown_bpp ||
                            g_system_commands != shown_commands)) {
      shown_bits = p->bits;
      shown_bpp = p->bits_per_pixel;
      shown_commands = g_system_commands;
      int w = 0, h = 0;
      PwGetSurfaceSize(&w, &h);
      int fresh = SurfaceIsFresh();
      FillSurface();
      Log("surface bpp %d width %d height %d area %d %d fresh %d\n", p->bits_per_pixel,
          p->pixel_width, p->height, w, h, fresh);
      LogMenu();
    }
    while (PwQueuedKeyCount() > 0) Log("key %d\n", PwInkey());
    if (GetTickCount() - start > 120000) {
      Log("timeout\n");
      PwExitProcess(3);
    }
    Sleep(10);
  }
}
