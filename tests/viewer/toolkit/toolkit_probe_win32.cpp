// A program on the toolkit for the end-to-end test: a menu bar whose items
// open every dialog, key bindings, mouse, paint and idle callbacks. It logs
// what the toolkit hands it to the file named by its first argument.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "graphics/window/keys.h"
#include "graphics/window/window.h"
#include "graphics/window/winmain.h"
#include "viewer/toolkit/toolkit.h"
#include "tests/support/probe_log.h"

namespace {

int g_idle_calls = 0;
int g_paints = 0;

using e2e_probe::Log;

HWND Window() { return static_cast<HWND>(PwGetWindowHandle()); }

long long CpuMilliseconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  ULARGE_INTEGER k, u;
  k.LowPart = kernel.dwLowDateTime;
  k.HighPart = kernel.dwHighDateTime;
  u.LowPart = user.dwLowDateTime;
  u.HighPart = user.dwHighDateTime;
  return static_cast<long long>((k.QuadPart + u.QuadPart) / 10000);
}

void CurrentDirectory(char* out) {
  if (GetCurrentDirectoryA(MAX_PATH + 1, out) == 0) out[0] = '\0';
}

// --- commands ---

void OnExit(int, int, int, int) { KrQuit(); }

void OnMessage(int, int, int, int) { Log("mbox %d\n", KrMessageBox("Hello there", nullptr)); }
void OnMessage3(int, int, int, int) {
  Log("mbox3 %d\n", KrMessageBox3("one", nullptr, "three", "Close"));
}
void OnYesNo(int, int, int, int) { Log("yesno %d\n", KrYesNo("Proceed?", nullptr, nullptr)); }
void OnYesNo3(int, int, int, int) {
  Log("yesno3 %d\n", KrYesNo3("File Exists.", "Overwrite?", nullptr, "OK", "CANCEL"));
}
void OnNumberInt(int, int, int, int) {
  int v = -1;
  int r = KrNumberInt(&v, 4, "Quality(1-15)", nullptr, nullptr);
  Log("int %d %d\n", r, v);
}
void OnNumberFloat(int, int, int, int) {
  float v = -1;
  int r = KrNumberFloat(&v, 2.5f, nullptr, "Take", "Drop");
  Log("float %d %.4f\n", r, static_cast<double>(v));
}
void OnNumber2Int(int, int, int, int) {
  const int initial[2] = {640, 480};
  int v[2] = {-1, -1};
  int r = KrNumber2Int(v, initial, "Resolution", "OK", "CANCEL");
  Log("int2 %d %d %d\n", r, v[0], v[1]);
}
void OnNumber2Float(int, int, int, int) {
  float v[2] = {-1, -1};
  int r = KrNumber2Float(v, nullptr, nullptr, nullptr, nullptr);
  Log("float2 %d %.4f %.4f\n", r, static_cast<double>(v[0]), static_cast<double>(v[1]));
}
void OnNumber3Int(int, int, int, int) {
  const int initial[3] = {1, 2, 3};
  int v[3] = {-1, -1, -1};
  int r = KrNumber3Int(v, initial, "Three", nullptr, nullptr);
  Log("int3 %d %d %d %d\n", r, v[0], v[1], v[2]);
}
void OnNumber3Float(int, int, int, int) {
  const float initial[3] = {0.5f, -1.25f, 100.0f};
  float v[3] = {-1, -1, -1};
  int r = KrNumber3Float(v, initial, nullptr, nullptr, nullptr);
  Log("float3 %d %.4f %.4f %.4f\n", r, static_cast<double>(v[0]), static_cast<double>(v[1]),
      static_cast<double>(v[2]));
}
void OnNumber3Angle(int, int, int, int) {
  const int initial[3] = {16384, 0, -8192};
  int v[3] = {-1, -1, -1};
  int r = KrNumber3Angle(v, initial, "Attitude", nullptr, nullptr);
  Log("angle3 %d %d %d %d\n", r, v[0], v[1], v[2]);
}
void OnFileOpen(int, int, int, int) {
  char before[MAX_PATH + 1], after[MAX_PATH + 1];
  CurrentDirectory(before);
  char path[kKrPathSize];
  std::memset(path, 'x', sizeof path);
  int r = KrFileOpen(path, "Open File", "*.wrl", "*.wrl");
  CurrentDirectory(after);
  Log("open %d [%s] cwd %s\n", r, path, std::strcmp(before, after) == 0 ? "kept" : "moved");
}
void OnFileSave(int, int, int, int) {
  char before[MAX_PATH + 1], after[MAX_PATH + 1];
  CurrentDirectory(before);
  char path[kKrPathSize];
  int r = KrFileSave(path, nullptr, "out.tif", "tif");
  CurrentDirectory(after);
  Log("save %d [%s] cwd %s\n", r, path, std::strcmp(before, after) == 0 ? "kept" : "moved");
}
void OnColor(int, int, int, int) {
  const PwColor initial = {32, 64, 96};  // green, red, blue
  PwColor c = {1, 2, 3};
  int r = KrChooseColor(&c, &initial, "BACKGROUND COLOR");
  Log("color %d r %d g %d b %d\n", r, c.red, c.green, c.blue);
}

void CountIdle() { ++g_idle_calls; }
void Paint() { ++g_paints; }
void OnIdleOn(int, int, int, int) { KrSetIdleFunc(CountIdle); }
void OnIdleOff(int, int, int, int) { KrResetIdleFunc(); }
void OnPaintOn(int, int, int, int) { KrSetPaintFunc(Paint); }
void OnReport(int, int, int, int) {
  Log("report idle %d paint %d cpu %lld\n", g_idle_calls, g_paints, CpuMilliseconds());
}

void KeyOld(int a, int b, int c, int d) { Log("key old %d %d %d %d\n", a, b, c, d); }
void KeyNew(int a, int b, int c, int d) { Log("key new %d %d %d %d\n", a, b, c, d); }

void LogButton(const char* which, int pressed, KrMouseEvent e) {
  Log("%s %d %d %d %d %d %d capture %d\n", which, pressed, e.x, e.y, e.left, e.middle, e.right,
      GetCapture() == Window() ? 1 : 0);
}
void OnLeft(int pressed, KrMouseEvent e) { LogButton("left", pressed, e); }
void OnRight(int pressed, KrMouseEvent e) { LogButton("right", pressed, e); }
void OnMiddle(int pressed, KrMouseEvent e) { LogButton("middle", pressed, e); }
void OnMove(KrMouseEvent e) { Log("move %d %d %d %d\n", e.x, e.y, e.left, e.right); }

// Ends a probe that its script no longer drives.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
  Log("timeout\n");
  PwExitProcess(3);
}

void LogMenuBar() {
  HMENU bar = GetMenu(Window());
  int popups = bar ? GetMenuItemCount(bar) : -1;
  Log("bar %d\n", popups);
  for (int i = 0; i < popups; ++i) {
    char name[64] = "";
    GetMenuStringA(bar, i, name, sizeof name, MF_BYPOSITION);
    HMENU popup = GetSubMenu(bar, i);
    int n = GetMenuItemCount(popup);
    for (int j = 0; j < n; ++j) {
      char text[128] = "";
      GetMenuStringA(popup, j, text, sizeof text, MF_BYPOSITION);
      Log("item %s/%s=%u\n", name, text, GetMenuItemID(popup, j));
    }
  }
}

}  // namespace

int ViewerMain(int argc, char** argv) {
  if (argc > 1) e2e_probe::OpenLog(argv[1]);
  char own[64] = "";
  LoadStringA(GetModuleHandleA(nullptr), 1, own, sizeof own);
  Log("own resource [%s]\n", own);
  PwInitKeys();
  KrInit();
  const char* const names[] = {"File", "Dialogs", "Tests", nullptr};
  Log("popups %d\n", KrCreateMenuBar(names));
  KrAddMenuItem(1, "Exit", 'X', OnExit);
  KrAddMenuItem(2, "Message", 'M', OnMessage);
  KrAddMenuItem(2, "Message3", 0, OnMessage3);
  KrAddMenuItem(2, "YesNo", 0, OnYesNo);
  KrAddMenuItem(2, "YesNo3", 0, OnYesNo3);
  KrAddMenuItem(2, "NumberInt", 0, OnNumberInt);
  KrAddMenuItem(2, "NumberFloat", 0, OnNumberFloat);
  KrAddMenuItem(2, "Number2Int", 0, OnNumber2Int);
  KrAddMenuItem(2, "Number2Float", 0, OnNumber2Float);
  KrAddMenuItem(2, "Number3Int", 0, OnNumber3Int);
  KrAddMenuItem(2, "Number3Float", 0, OnNumber3Float);
  KrAddMenuItem(2, "Number3Angle", 0, OnNumber3Angle);
  KrAddMenuItem(2, "FileOpen", 'O', OnFileOpen);
  KrAddMenuItem(2, "FileSave", 0, OnFileSave);
  KrAddMenuItem(2, "Color", 0, OnColor);
  KrAddMenuItem(3, "IdleOn", 0, OnIdleOn);
  KrAddMenuItem(3, "IdleOff", 0, OnIdleOff);
  KrAddMenuItem(3, "PaintOn", 0, OnPaintOn);
  KrAddMenuItem(3, "Report\tR", 0, OnReport);
  Log("popup 0 %s\n", KrAddMenuItem(0, "Nowhere", 0, OnReport) ? "added" : "null");
  Log("popup 4 %s\n", KrAddMenuItem(4, "Nowhere", 0, OnReport) ? "added" : "null");
  KrShowMenu();

  KrClearKeys();
  KrBindKey(36, KeyOld);
  KrBindKey(36, KeyNew);
  KrBindKey(kPwKeyA, KeyOld);
  KrSetLeftButtonFunc(OnLeft);
  KrSetRightButtonFunc(OnRight);
  KrSetMiddleButtonFunc(OnMiddle);
  KrSetMouseMoveFunc(OnMove);

  PwSetTitle("Toolkit Probe");
  KrOpenWindow(480, 360);
  if (PwWindowClosed() == 1) {
    Log("open failed\n");
    return 2;
  }
  LogMenuBar();
  SetTimer(nullptr, 0, 420000, GiveUp);
  Log("ready\n");
  KrMainLoop();
  Log("loop ended\n");
  return 0;
}
