// Helpers shared by the programs that work a test program's windows from
// outside under Wine, as a person would: find a window or an owned dialog
// with a timeout, read controls of another process, press buttons, post
// keys and mouse messages, and fill the common file and colour dialogs.
#ifndef TESTS_SUPPORT_WIN32_DRIVER_UTIL_WIN32_H
#define TESTS_SUPPORT_WIN32_DRIVER_UTIL_WIN32_H

#include <windows.h>

#include <string>

namespace e2e_driver {

// Every wait of a driver ends after this long.
constexpr DWORD kTimeoutMs = 30000;

bool TimedOut(DWORD start);

// The visible top-level window of the class and caption, waited for.
HWND AwaitWindow(const char* cls, const char* caption, DWORD timeout = kTimeoutMs);

// WM_GETTEXT, not GetWindowText: a control of another process keeps its
// text where only the message reaches it.
std::string TextOf(HWND w, UINT timeout_ms);

// Dialogs (class #32770) of the caption that the window owns.
struct DialogMatch {
  HWND first;
  int count;
};
DialogMatch FindOwnedDialogs(HWND owner, const char* caption, bool visible_only);
HWND AwaitOwnedDialog(HWND owner, const char* caption, bool visible_only);

// Clicks the button by the notification its dialog would get.
void Press(HWND dialog, int id);
// Waits for the dialog to close or hide; prints "closed" or "still open".
int WaitGone(HWND dialog);
// Prints "control ID CLASS [TEXT]" for each child; line breaks as '|' when
// join_lines.
void DumpControls(HWND dialog, bool join_lines);

// dialog CAPTION [set ID TEXT]... [press ID]
int WorkDialog(HWND owner, int argc, char** argv, bool join_lines);
// The common file dialog: PATH typed and OK, or "-" for Cancel.
int WorkFileDialog(HWND owner, const char* caption, const char* path, bool show_default);
// The colour chooser: argv[3..5] R G B typed and OK, or argv[3] "-" for Cancel.
int WorkColorDialog(HWND owner, int argc, char** argv, bool show_current);

void PostKey(HWND window, WPARAM vk);
// MESSAGE WPARAM X Y as given on the command line.
void PostMouse(HWND window, const char* message, const char* flags, const char* x, const char* y);
// Keeps the window above any other on the screen; prints its client size
// (and its origin on the screen when with_origin).
void PrintClient(HWND window, bool with_origin);

}  // namespace e2e_driver

#endif
