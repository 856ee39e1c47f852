// The About (modal) and Help (modeless) dialogs.
#include <windows.h>

#include "graphics/window/window.h"
#include "resources/lumaview_resource.h"
#include "viewer/viewer_app.h"

namespace {

HWND g_help = nullptr;

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetFocus(GetDlgItem(dialog, IDOK));
  } else if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
    EndDialog(dialog, IDOK);
  }
  return 0;
}

INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetFocus(GetDlgItem(dialog, IDOK));
  } else if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
    // Forget it first, so the next Help command opens a new one.
    g_help = nullptr;
    DestroyWindow(dialog);
  }
  return 0;
}

}  // namespace

void ViewerShowAbout() {
  HWND main = static_cast<HWND>(PwGetWindowHandle());
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(LV_IDD_ABOUT), main, AboutDlgProc, 0);
}

void ViewerShowHelp() {
  if (g_help) return;
  HWND main = static_cast<HWND>(PwGetWindowHandle());
  g_help = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(LV_IDD_HELP), main,
                              HelpDlgProc, 0);
  if (!g_help) return;
  ShowWindow(g_help, SW_SHOWNORMAL);
  SetForegroundWindow(main);
}
