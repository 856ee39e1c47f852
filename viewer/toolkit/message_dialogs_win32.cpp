// The message and confirmation boxes: three lines and labelled buttons.
#include <windows.h>

#include "graphics/window/window.h"
#include "resources/toolkit_resource.h"
#include "viewer/toolkit/dialog_common_win32.h"
#include "viewer/toolkit/toolkit.h"

namespace {

struct LinesRequest {
  const char* lines[3];
  const char* first;
  const char* second;
};

const char* OrEmpty(const char* s) { return s ? s : ""; }

INT_PTR CALLBACK MessageProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    kr::StoreDialogRequest(dialog, lparam);
    LinesRequest* r = reinterpret_cast<LinesRequest*>(lparam);
    SetDlgItemTextA(dialog, KR_IDC_MBOX_LINE1, OrEmpty(r->lines[0]));
    SetDlgItemTextA(dialog, KR_IDC_MBOX_LINE2, OrEmpty(r->lines[1]));
    SetDlgItemTextA(dialog, KR_IDC_MBOX_LINE3, OrEmpty(r->lines[2]));
    SetDlgItemTextA(dialog, KR_IDC_MBOX_OK, r->first ? r->first : "OK");
    return TRUE;
  }
  if (message == WM_COMMAND) {
    const int id = LOWORD(wparam);
    if (id == KR_IDC_MBOX_OK || id == IDOK || id == IDCANCEL) {
      EndDialog(dialog, 0);
      return TRUE;
    }
  }
  return FALSE;
}

INT_PTR CALLBACK YesNoProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    kr::StoreDialogRequest(dialog, lparam);
    LinesRequest* r = reinterpret_cast<LinesRequest*>(lparam);
    SetDlgItemTextA(dialog, KR_IDC_YESNO_LINE1, OrEmpty(r->lines[0]));
    SetDlgItemTextA(dialog, KR_IDC_YESNO_LINE2, OrEmpty(r->lines[1]));
    SetDlgItemTextA(dialog, KR_IDC_YESNO_LINE3, OrEmpty(r->lines[2]));
    SetDlgItemTextA(dialog, KR_IDC_YESNO_FIRST, r->first ? r->first : "OK");
    SetDlgItemTextA(dialog, KR_IDC_YESNO_SECOND, r->second ? r->second : "Cancel");
    return TRUE;
  }
  if (message == WM_COMMAND) {
    const int id = LOWORD(wparam);
    if (id == KR_IDC_YESNO_FIRST || id == IDOK) {
      EndDialog(dialog, 1);
      return TRUE;
    }
    // Escape and the close box answer like the second button.
    if (id == KR_IDC_YESNO_SECOND || id == IDCANCEL) {
      EndDialog(dialog, 0);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

int KrMessageBox3(const char* line1, const char* line2, const char* line3, const char* button) {
  LinesRequest r = {{line1, line2, line3}, button, nullptr};
  kr::RunDialog("KR_MBOX", MessageProc, &r);
  return 0;
}

int KrMessageBox(const char* text, const char* button) {
  return KrMessageBox3("", text, "", button);
}

int KrYesNo3(const char* line1, const char* line2, const char* line3, const char* first,
             const char* second) {
  LinesRequest r = {{line1, line2, line3}, first, second};
  // A box that could not be shown answers like the second button.
  return kr::RunDialog("KR_YESNO", YesNoProc, &r) == 1 ? 1 : 0;
}

int KrYesNo(const char* text, const char* first, const char* second) {
  return KrYesNo3("", text, "", first, second);
}

void KrErrorBox(const char* text) {
  MessageBoxA(static_cast<HWND>(PwGetWindowHandle()), OrEmpty(text), PwGetTitle(),
              MB_OK | MB_ICONERROR);
}

void KrWarningBox(const char* text) {
  MessageBoxA(static_cast<HWND>(PwGetWindowHandle()), OrEmpty(text), PwGetTitle(),
              MB_OK | MB_ICONWARNING);
}
