// The three-page install wizard: location, shortcut options, progress.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>

#include "installer/core/kw_config.h"
#include "installer/core/kw_location.h"
#include "installer/core/kw_shortcuts.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/kitwright_win32.h"
#include "resources/kitwright_resource.h"

namespace {

constexpr UINT_PTR kStepTimer = 1;
constexpr WPARAM kStepCommand = 1;
// Posted by each page as it becomes active: the sheet sets its own caption
// while it changes pages, so ours is put back after that.
constexpr UINT kSetCaption = WM_APP + 1;

void SetSheetCaption() {
  SetWindowTextA(KwWin().sheet, (std::string(KwGlobal().title) + " Installation").c_str());
}

// Common handling of a page becoming active.
void PageActive(HWND page, LPARAM buttons) {
  KwWindows& w = KwWin();
  w.page = page;
  PostMessageA(w.sheet, PSM_SETWIZBUTTONS, 0, buttons);
  PostMessageA(page, kSetCaption, 0, 0);
}

void SetResult(HWND page, LONG_PTR result) { SetWindowLongPtrA(page, DWLP_MSGRESULT, result); }

// Keeps the wizard on this page.
INT_PTR Stay(HWND page) {
  SetResult(page, -1);
  return TRUE;
}

// Lets the page change go ahead.
INT_PTR Proceed(HWND page) {
  SetResult(page, 0);
  return TRUE;
}

// A wizard page's WM_NOTIFY: on becoming active the page shows its buttons
// and runs on_active; its own step (Next or Finish) runs on_step, whose
// return keeps or moves the page. The result word outlives the message: a
// stale -1 would refuse the next page change, so it is cleared first.
template <class OnActive, class OnStep>
INT_PTR PageNotify(HWND page, LPARAM lparam, LPARAM buttons, OnActive on_active, UINT step,
                   OnStep on_step) {
  const NMHDR* n = reinterpret_cast<const NMHDR*>(lparam);
  SetResult(page, 0);
  if (n->code == PSN_SETACTIVE) {
    PageActive(page, buttons);
    on_active();
    return Proceed(page);
  }
  if (n->code == step) return on_step();
  return FALSE;
}

void Browse(HWND page) {
  const KwState& s = KwGlobal();
  char windows[kKwPathSize];
  UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  if (n >= 3 && n < sizeof windows) {
    windows[3] = '\0';
    SetCurrentDirectoryA(windows);
  }
  char file[kKwPathSize] = "dummy";
  OPENFILENAMEA ofn;
  std::memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = page;
  ofn.hInstance = KwWin().instance;
  ofn.lpstrFilter = "*.*\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.Flags = OFN_NOCHANGEDIR | OFN_ENABLETEMPLATE;
  ofn.lpTemplateName = MAKEINTRESOURCEA(KW_DLG_BROWSE);
  // The dialog would otherwise name itself after saving.
  ofn.lpstrTitle = "Browse";
  if (GetSaveFileNameA(&ofn) && ofn.nFileOffset < sizeof file) {
    file[ofn.nFileOffset] = '\0';
    SetDlgItemTextA(page, KW_IDC_LOCATION_EDIT, file);
  }
  SetCurrentDirectoryA(s.program_folder);
}

// Says why a location is refused; false when it is not.
bool RefusedLocation(HWND page, KwLocationCheck check, const std::string& normalised) {
  const char* const full_path = "Specify fullpath name including drive letter. Such as \"C:\\Soft\".";
  switch (check) {
    case KwLocationCheck::kRoot:
      KwMessage(page, "Cannot install in the root directory.", nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kNotFullPath:
      KwMessage(page, full_path, nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kProtected:
      KwMessage(page, KwFormat("Cannot install in \"%s\", a folder of the system or a user profile.",
                               normalised.c_str()).c_str(), nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kOk:
      break;
  }
  return false;
}

// Checks the typed location when Next is pressed; the return keeps or
// moves the page.
INT_PTR AcceptLocation(HWND page) {
  KwState& s = KwGlobal();
  char typed[kKwPathSize] = "";
  GetDlgItemTextA(page, KW_IDC_LOCATION_EDIT, typed, sizeof typed);
  KwCopy(s.location, sizeof s.location, typed);
  if (!AddBackslash(s.location, sizeof s.location)) {
    RefusedLocation(page, KwLocationCheck::kNotFullPath, "");
    return Stay(page);
  }
  // The text as typed first ("C:" is a root), then what it names: "C:\.\"
  // is a root as much as "C:\" is, and the install and its uninstall entry
  // keep the named form.
  const KwLocationCheck typed_check = KwCheckLocation(s.location);
  if (typed_check != KwLocationCheck::kProtected && RefusedLocation(page, typed_check, "")) return Stay(page);
  std::string normalised;
  if (RefusedLocation(page, KwJudgeLocation(s.location, KwSystemFolders(), &normalised), normalised)) {
    return Stay(page);
  }
  if (KwIsReparsePoint(normalised.c_str())) {
    KwMessage(page, KwFormat("Cannot install in \"%s\", a link to another folder.", normalised.c_str()).c_str(),
              nullptr, MB_OK | MB_ICONERROR);
    return Stay(page);
  }
  KwCopy(s.location, sizeof s.location, normalised.c_str());
  char folder[kKwPathSize];
  KwCopy(folder, sizeof folder, s.location);
  KwStripBackslash(folder);
  if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) {
    // Proves the path can be made; the install makes it again.
    if (!CreateFolderPath(s.location)) return Stay(page);
    RemoveDirectoryA(folder);
  }
  std::uint64_t tenth = GetFreeSpace();
  if (tenth < kKwLowSpaceTenth) {
    std::string question = KwFormat("Specified drive has only %uMB of free space. Continue installation?",
                                    static_cast<unsigned>(KwFreeSpaceShown(tenth)));
    if (KwMessage(page, question.c_str(), s.title, MB_YESNO | MB_ICONQUESTION) != IDYES) return Stay(page);
  }
  // A resident program has no shortcut choices: straight to the progress page.
  SetResult(page, s.resident ? KW_DLG_PROGRESS : 0);
  return TRUE;
}

INT_PTR CALLBACK LocationPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
  KwWindows& w = KwWin();
  const KwState& s = KwGlobal();
  switch (message) {
    case WM_INITDIALOG:
      w.sheet = GetParent(page);
      CenterWindow(w.sheet);
      SendDlgItemMessageA(page, KW_IDC_LOCATION_EDIT, EM_LIMITTEXT, kKwPathSize - 1, 0);
      SetDlgItemTextA(page, KW_IDC_LOCATION_LABEL, KwFormat("Specify the install location of %s.", s.title).c_str());
      SetSheetCaption();
      return TRUE;
    case kSetCaption:
      SetSheetCaption();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == KW_IDC_BROWSE) Browse(page);
      return TRUE;
    case WM_NOTIFY:
      return PageNotify(
          page, lparam, PSWIZB_NEXT,
          [&] { SetDlgItemTextA(page, KW_IDC_LOCATION_EDIT, s.location); }, PSN_WIZNEXT,
          [&] { return AcceptLocation(page); });
  }
  return FALSE;
}

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM, LPARAM lparam) {
  KwWindows& w = KwWin();
  switch (message) {
    case WM_INITDIALOG:
      CheckDlgButton(page, KW_IDC_START_MENU, BST_CHECKED);
      if (!KwGlobal().new_shell) EnableWindow(GetDlgItem(page, KW_IDC_DESKTOP), FALSE);
      return TRUE;
    case kSetCaption:
      SetSheetCaption();
      return TRUE;
    case WM_NOTIFY:
      return PageNotify(page, lparam, PSWIZB_NEXT, [] {}, PSN_WIZNEXT, [&] {
        w.start_menu = IsDlgButtonChecked(page, KW_IDC_START_MENU) == BST_CHECKED ? 1 : 0;
        w.desktop = IsDlgButtonChecked(page, KW_IDC_DESKTOP) == BST_CHECKED ? 1 : 0;
        return Proceed(page);
      });
  }
  return FALSE;
}

void Finish() {
  const KwState& s = KwGlobal();
  GetInstallEntry(1);
  SetCurrentDirectoryA(s.location);
  // Quoted: the location may hold blanks.
  WinExec(("\"" + std::string(s.entry_dest) + "\"").c_str(), SW_SHOWNORMAL);
  char document[kKwPathSize];
  KwReadProfile("Install", "Open", document, sizeof document);
  if (document[0] != '\0') ShellExecuteA(nullptr, "open", document, nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
  KwWindows& w = KwWin();
  switch (message) {
    case WM_INITDIALOG:
      w.page = page;
      return TRUE;
    case kSetCaption:
      SetSheetCaption();
      return TRUE;
    case WM_TIMER:
      if (wparam == kStepTimer) {
        KillTimer(page, kStepTimer);
        PostMessageA(page, WM_COMMAND, kStepCommand, 0);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == kStepCommand && lparam == 0) InstallStep();
      return TRUE;
    case WM_NOTIFY:
      return PageNotify(
          page, lparam, 0,
          [&] {
            if (!w.timer_started) {
              w.timer_started = 1;
              SetTimer(page, kStepTimer, 300, nullptr);
            }
          },
          PSN_WIZFINISH,
          [&] {
            Finish();
            return Proceed(page);
          });
  }
  return FALSE;
}

// The sheet steps through the page array by each record's size, so the
// records are exactly the size they declare.
void MakeWizardPage(PROPSHEETPAGEA_V1* p, int template_id, DLGPROC procedure) {
  std::memset(p, 0, sizeof *p);
  p->dwSize = sizeof *p;
  p->dwFlags = 0;
  p->hInstance = KwWin().instance;
  p->pszTemplate = MAKEINTRESOURCEA(template_id);
  p->pfnDlgProc = procedure;
}

}  // namespace

void InstallStep() {
  KwWindows& w = KwWin();
  const KwState& s = KwGlobal();
  const int n = s.install_count;
  const int step = w.step;
  if (step > n + 3) return;
  HWND bar = GetDlgItem(w.page, KW_IDC_PROGRESS);
  if (step == 0) {
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, n + 3));
    CreateFolderPath(s.location);
  } else if (step <= n + 2) {
    // The installer itself, its configuration file, then the entries.
    GetInstallEntry(step - 2);
    CopyInstallFile();
  } else {
    if (s.resident) {
      MakeShortcuts(kKwStartup, 0);
    } else {
      if (w.start_menu) MakeShortcuts(kKwPrograms, 0);
      if (w.desktop) MakeShortcuts(kKwDesktop, 0);
    }
    WriteUninstallEntry();
  }
  SendMessageA(bar, PBM_DELTAPOS, 1, 0);
  w.step = step + 1;
  if (step == n + 3) {
    ShowWindow(bar, SW_HIDE);
    SetDlgItemTextA(w.page, KW_IDC_PROGRESS_TEXT, "Installation Completed. Press COMPLETE to launch.");
    if (s.new_shell) ShowWindow(GetDlgItem(w.page, KW_IDC_CONTROL_PANEL_HINT), SW_SHOW);
    PostMessageA(w.sheet, PSM_SETWIZBUTTONS, 0, PSWIZB_FINISH);
  } else {
    PostMessageA(w.page, WM_COMMAND, kStepCommand, 0);
  }
}

int RunInstallWizard() {
  PROPSHEETPAGEA_V1 pages[3];
  MakeWizardPage(&pages[0], KW_DLG_LOCATION, LocationPageProc);
  MakeWizardPage(&pages[1], KW_DLG_OPTIONS, OptionsPageProc);
  MakeWizardPage(&pages[2], KW_DLG_PROGRESS, ProgressPageProc);
  PROPSHEETHEADERA header;
  std::memset(&header, 0, sizeof header);
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_NOAPPLYNOW;
  header.hwndParent = nullptr;
  header.hInstance = KwWin().instance;
  header.nPages = 3;
  header.nStartPage = 0;
  header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages);
  return PropertySheetA(&header) > 0 ? 1 : 0;
}
