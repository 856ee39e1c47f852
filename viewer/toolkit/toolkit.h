// The viewer's dialog and menu toolkit: menu bar and commands, key
// bindings, mouse and idle callbacks, the main loop, and modal dialogs.
// Plain functions over module-level state; one dialog at a time.
#pragma once

#include <cstdint>

#include "graphics/math/pw_types.h"

// What the button and move callbacks receive.
struct KrMouseEvent {
  int x, y;
  int left;    // 0/1
  int middle;  // always 0
  int right;   // 0/1
};

using KrVoidFunc = void (*)();
// pressed: 1 on press, 0 on release.
using KrButtonFunc = void (*)(int pressed, KrMouseEvent event);
using KrMoveFunc = void (*)(KrMouseEvent event);
// Menu items and key bindings: (0, 0, id, id), id being the command id or
// the key code.
using KrCommandFunc = void (*)(int, int, int, int);

struct KrKeyBinding;

constexpr int kKrFirstCommandId = 16384;
constexpr int kKrPopupNameSize = 64;  // 63 characters and the terminator
constexpr int kKrItemTextSize = 128;  // 127 characters and the terminator
constexpr int kKrPathSize = 256;      // file dialogs' output buffers
constexpr const char kKrUnknownCommandText[] = "Unknown MENU-ID Detected.";

// --- Set-up and main loop (Win32) ---

// Installs KrWndProc as the graphics library's message hook.
void KrInit();
// The hook: 1 consumes the message.
int KrWndProc(void* window, unsigned int message, std::uintptr_t wparam, std::intptr_t lparam);
void KrOpenWindow(int width, int height);
// Runs until the quit flag is set; every way out of a program normally ends
// the process before it returns.
void KrMainLoop();
// Posts the quit message and destroys the main window.
void KrQuit();
// out[0] := Shift held, out[1] := Control held.
void KrGetShiftCtrl(int out[2]);

// --- Menus ---

// names: null-terminated list. Creates the bar (attached when the window is
// created) and one pop-up per name; returns the number of pop-ups.
int KrCreateMenuBar(const char* const* names);
// popup counts from 1. The item shows "text(&m)" with a mnemonic, else the
// text. Returns callback, or null when popup is out of range or memory is
// short (nothing is added).
KrCommandFunc KrAddMenuItem(int popup, const char* text, int mnemonic, KrCommandFunc callback);
// Puts the pop-ups on the bar; redraws it when the window exists.
void KrShowMenu();
// The newest item with the id, or the "Unknown MENU-ID Detected." box.
void KrDispatchCommand(int id);

// --- Key bindings (portable) ---

void KrClearKeys();
// A later binding of the same code hides an earlier one. Null when memory
// is short.
KrKeyBinding* KrBindKey(int code, KrCommandFunc callback);
// Calls the newest binding of code with (0, 0, code, code), if any.
void KrDispatchKey(int code);

// --- Callbacks (portable) ---

void KrSetPaintFunc(KrVoidFunc f);
void KrSetIdleFunc(KrVoidFunc f);
void KrSetLeftButtonFunc(KrButtonFunc f);
void KrSetMiddleButtonFunc(KrButtonFunc f);
void KrSetRightButtonFunc(KrButtonFunc f);
void KrSetMouseMoveFunc(KrMoveFunc f);
void KrResetPaintFunc();
void KrResetIdleFunc();
void KrResetLeftButtonFunc();
void KrResetMiddleButtonFunc();
void KrResetRightButtonFunc();
void KrResetMouseMoveFunc();

// For tests: menus, items, key bindings, callbacks and the quit flag back
// to their start-up state.
void KrResetToolkit();

// --- Dialogs (Win32). Null titles keep the template's caption, null labels
// give "OK" and "Cancel". ---

int KrMessageBox(const char* text, const char* button);
// The system's modal box with the program's caption, an error or a warning
// icon and OK; lines are separated by '\n'.
void KrErrorBox(const char* text);
void KrWarningBox(const char* text);
int KrMessageBox3(const char* line1, const char* line2, const char* line3, const char* button);
// 1 when the first button closed it, 0 for the second.
int KrYesNo(const char* text, const char* first, const char* second);
int KrYesNo3(const char* line1, const char* line2, const char* line3, const char* first,
             const char* second);

// 1 OK, 0 Cancel. The outputs are written either way (the initial values
// after Cancel); a null initial array means zeros.
int KrNumberInt(int* out, int initial, const char* title, const char* ok, const char* cancel);
int KrNumberFloat(float* out, float initial, const char* title, const char* ok, const char* cancel);
int KrNumber2Int(int out[2], const int* initial, const char* title, const char* ok,
                 const char* cancel);
int KrNumber2Float(float out[2], const float* initial, const char* title, const char* ok,
                   const char* cancel);
int KrNumber3Int(int out[3], const int* initial, const char* title, const char* ok,
                 const char* cancel);
int KrNumber3Float(float out[3], const float* initial, const char* title, const char* ok,
                   const char* cancel);
// Heading, pitch, bank in 1/65536 of a turn, edited in whole degrees.
int KrNumber3Angle(int out[3], const int* initial, const char* title, const char* ok,
                   const char* cancel);

// out holds kKrPathSize characters; the chosen path comes back with A-Z in
// lower case. extension: "*.wrl", ".wrl" or "wrl". 1 OK; 0 Cancel (out
// empty), also when the chosen path does not fit out.
int KrFileOpen(char* out, const char* title, const char* default_name, const char* extension);
int KrFileSave(char* out, const char* title, const char* default_name, const char* extension);

// The program stays with ANSI names: a wide name that the ANSI code page
// cannot hold is used through its short (8.3) name, and for a file still to
// be written through its folder's. 1 with out (kKrPathSize) holding a name
// that opens the same file; 0 when there is none, after telling the user.
int KrAnsiName(const wchar_t* wide, char* out, int for_writing);

// 1 OK (out := the chosen colour), 0 Cancel (out unchanged).
int KrChooseColor(PwColor* out, const PwColor* initial, const char* title);
