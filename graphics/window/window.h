// The one application window of a program: its state, opening and closing,
// the message hook, and the message pump. Handles are opaque here (HWND,
// HDC, HMENU on Win32).
#pragma once

#include <cstdint>

constexpr int kPwTitleSize = 256;
constexpr const char kPwDefaultTitle[] = "Application Window";
constexpr const char kPwWindowClass[] = "PWAPPCLASS";
constexpr const char kPwQuitQuestion[] = "Really Quit? You may lose some data!";
constexpr const char kPwQuitCaption[] = "QUIT?";

// System-menu commands that choose the surface's depth.
constexpr unsigned int kPwCmdColors256 = 20000;
constexpr unsigned int kPwCmdColors32K = 20001;
constexpr unsigned int kPwCmdSameAsDisplay = 20002;
constexpr const char kPwColors256Text[] = "256 Colors";
constexpr const char kPwColors32KText[] = "32K Colors";
constexpr const char kPwSameAsDisplayText[] = "Same as display";

// Sees every message of the window first; 1 consumes it.
using PwMessageHook = int (*)(void* window, unsigned int message, std::uintptr_t wparam,
                              std::intptr_t lparam);

// --- Portable window state ---

// Copies up to 255 characters; null is ignored. Used at the next creation.
void PwSetTitle(const char* text);
const char* PwGetTitle();
// null restores the hook that consumes nothing.
void PwSetMessageHook(PwMessageHook hook);
PwMessageHook PwGetMessageHook();
// 1 after the window was destroyed or when its creation failed.
int PwWindowClosed();
void PwSetWindowClosed(int closed);
// The surface depth mode chosen from the system menu (0, 8 or 16).
int PwGetDepthMode();
void PwSetDepthMode(int mode);
// The depth mode a system command chooses: 8, 16, 0, or -1 when wparam is
// none of the three commands (the whole value counts).
int PwDepthForCommand(std::uintptr_t wparam);
// The system-menu command whose item is checked for a depth mode.
unsigned int PwCommandForDepth(int mode);
// The menu bar attached at creation (the toolkit's; none by default).
void PwSetMenuBar(void* menu);
void* PwGetMenuBar();
// The client size last recorded from the window.
void PwSetClientSize(int width, int height);
void PwGetClientSize(int* width, int* height);
// For tests: back to the start-up state.
void PwResetWindowState();

// Flushes stdout and stderr and ends the process with status.
[[noreturn]] void PwExitProcess(int status);

// --- Win32 (window_win32.cpp) ---

// Opens the window centred on the screen / with its client area at (x, y).
void PwOpenWindow(int width, int height);
int PwOpenWindowAt(int x, int y, int width, int height);
// Hides the window, releases its DC and frees the surface.
void PwCloseWindow();
void* PwGetWindowHandle();
void* PwGetWindowDC();
// Pumps the window's pending messages, then snapshots the keyboard.
void PwPollMessages();
// Cursor in client coordinates now; buttons from the last mouse message.
void PwGetMouse(int* left, int* middle, int* right, int* x, int* y);
