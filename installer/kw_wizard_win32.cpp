// The three-page install wizard: location, shortcut options, progress.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

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
  const char* const full_path =
      "Specify fullpath name including drive letter. Such as \"C:\\Soft\".";
  switch (check) {
    case KwLocationCheck::kRoot:
      KwMessage(page, "Cannot install in the root directory.", nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kNotFullPath:
      KwMessage(page, full_path, nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kProtected:
      KwMessage(page,
                KwFormat("Cannot install in \"%s\", a folder of the system or a user profile.",
                         normalised.c_str())
                    .c_str(),
                nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kBadName:
      KwMessage(page,
                KwFormat("Cannot install in \"%s\": a folder name may not hold < > : \" | ? * or "
                         "name a device "
                         "(CON, NUL, COM1 ...).",
                         normalised.c_str())
                    .c_str(),
                nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kTooLong:
      KwMessage(page,
                KwFormat("The location is too long: at most %u characters.",
                         static_cast<unsigned>(kKwLocationLimit))
                    .c_str(),
                nullptr, MB_OK | MB_ICONERROR);
      return true;
    case KwLocationCheck::kOk: break;
  }
  return false;
}

// Another installed program's place: the folder its uninstall entry runs
// from, or a folder holding another product's configuration file.
bool RefusedOwner(HWND page, const std::string& location) {
  const KwState& s = KwGlobal();
  std::vector<KwUninstallEntry> entries;
  HKEY uninstall;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                    0, KEY_READ, &uninstall) == ERROR_SUCCESS) {
    for (DWORD i = 0;; ++i) {
      char name[256];
      DWORD length = sizeof name;
      if (RegEnumKeyExA(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      HKEY k;
      if (RegOpenKeyExA(uninstall, name, 0, KEY_READ, &k) != ERROR_SUCCESS) continue;
      char text[kKwPathSize] = "";
      DWORD type = 0, bytes = sizeof text - 1;
      char folder[kKwPathSize];
      if (RegQueryValueExA(k, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(text),
                           &bytes) == ERROR_SUCCESS &&
          type == REG_SZ) {
        text[bytes < sizeof text ? bytes : sizeof text - 1] = '\0';
        if (KwLocationFromUninstallString(text, folder, sizeof folder))
          entries.push_back({name, folder});
      }
      RegCloseKey(k);
    }
    RegCloseKey(uninstall);
  }
  if (const KwUninstallEntry* owner = KwForeignOwner(location.c_str(), s.folder, entries)) {
    KwMessage(
        page,
        KwFormat("Cannot install in \"%s\": it is the place of another installed program (%s).",
                 location.c_str(), owner->key.c_str())
            .c_str(),
        nullptr, MB_OK | MB_ICONERROR);
    return true;
  }
  std::string config = location + s.config_file;
  char title[kKwNameSize] = "";
  if (GetFileAttributesA(config.c_str()) != INVALID_FILE_ATTRIBUTES) {
    GetPrivateProfileStringA("Install", "Title", "", title, sizeof title, config.c_str());
    if (!KwSamePath(title, s.title)) {
      KwMessage(
          page,
          KwFormat("Cannot install in \"%s\": it holds the configuration of another product (%s).",
                   location.c_str(), title)
              .c_str(),
          nullptr, MB_OK | MB_ICONERROR);
      return true;
    }
  }
  return false;
}

// The typed location in the system's code page; false (and the box says
// so) when a character has no form there and would become "?".
bool ReadLocation(HWND page, char* out, std::size_t size) {
  HWND edit = GetDlgItem(page, KW_IDC_LOCATION_EDIT);
  int length = GetWindowTextLengthW(edit);
  if (length > static_cast<int>(kKwLocationLimit)) {
    RefusedLocation(page, KwLocationCheck::kTooLong, "");
    return false;
  }
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(edit, &wide[0], length + 1);
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, out,
                              static_cast<int>(size), nullptr, &lossy);
  if (n == 0 || lossy) {
    KwMessage(page,
              "The location holds characters that this system's code page cannot write. Choose "
              "another name.",
              nullptr, MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

// Checks the typed location when Next is pressed; the return keeps or
// moves the page.
INT_PTR AcceptLocation(HWND page) {
  KwState& s = KwGlobal();
  char typed[kKwPathSize] = "";
  if (!ReadLocation(page, typed, sizeof typed)) return Stay(page);
  KwCopy(s.location, sizeof s.location, typed);
  if (!AddBackslash(s.location, sizeof s.location)) {
    RefusedLocation(page, KwLocationCheck::kTooLong, "");
    return Stay(page);
  }
  // The text as typed first ("C:" is a root), then what it names: "C:\.\"
  // is a root as much as "C:\" is, and the install and its uninstall entry
  // keep the named form.
  const KwLocationCheck typed_check = KwCheckLocation(s.location);
  if (typed_check != KwLocationCheck::kProtected && RefusedLocation(page, typed_check, ""))
    return Stay(page);
  if (RefusedLocation(page, KwCheckLocationText(s.location), s.location)) return Stay(page);
  std::string normalised;
  std::vector<KwProtectedFolder> system = KwSystemFolders();
  if (RefusedLocation(page, KwJudgeLocation(s.location, system, &normalised), normalised)) {
    return Stay(page);
  }
  if (KwIsReparsePoint(normalised.c_str())) {
    KwMessage(
        page,
        KwFormat("Cannot install in \"%s\", a link to another folder.", normalised.c_str()).c_str(),
        nullptr, MB_OK | MB_ICONERROR);
    return Stay(page);
  }
  if (RefusedOwner(page, normalised)) return Stay(page);
  KwCopy(s.location, sizeof s.location, normalised.c_str());
  char folder[kKwPathSize];
  KwCopy(folder, sizeof folder, s.location);
  KwStripBackslash(folder);
  if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) {
    // Proves the path can be made, then takes back every level it made;
    // the install makes them again.
    std::vector<std::string> made;
    int ok = CreateFolderPathNoting(s.location, &made);
    RemoveMadeFolders(made);
    if (!ok) return Stay(page);
  }
  std::uint64_t tenth = GetFreeSpace();
  if (tenth < kKwLowSpaceTenth) {
    std::string question =
        KwFormat("Specified drive has only %uMB of free space. Continue installation?",
                 static_cast<unsigned>(KwFreeSpaceShown(tenth)));
    if (KwMessage(page, question.c_str(), s.title, MB_YESNO | MB_ICONQUESTION) != IDYES)
      return Stay(page);
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
      SetDlgItemTextA(page, KW_IDC_LOCATION_LABEL,
                      KwFormat("Specify the install location of %s.", s.title).c_str());
      SetSheetCaption();
      return TRUE;
    case kSetCaption: SetSheetCaption(); return TRUE;
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
    case kSetCaption: SetSheetCaption(); return TRUE;
    case WM_NOTIFY:
      return PageNotify(
          page, lparam, PSWIZB_NEXT, [] {}, PSN_WIZNEXT,
          [&] {
            w.start_menu = IsDlgButtonChecked(page, KW_IDC_START_MENU) == BST_CHECKED ? 1 : 0;
            w.desktop = IsDlgButtonChecked(page, KW_IDC_DESKTOP) == BST_CHECKED ? 1 : 0;
            return Proceed(page);
          });
  }
  return FALSE;
}

// 1 when location + name is a file there, as named: no search, no
// extension added.
bool InstalledFile(const char* name, std::string* path) {
  *path = std::string(KwGlobal().location) + name;
  DWORD attributes = GetFileAttributesA(path->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Finish() {
  const KwState& s = KwGlobal();
  // The program by its full name: a name without an extension must not
  // start another program beside it.
  std::string program;
  if (GetInstallEntry(1) && InstalledFile(s.entry_dest + std::strlen(s.location), &program)) {
    std::string line = "\"" + program + "\"";
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    if (CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       s.location, &startup, &process)) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }
  char document[kKwPathSize];
  KwReadProfile("Install", "Open", document, sizeof document);
  std::string opened;
  if (document[0] != '\0' && InstalledFile(document, &opened)) {
    ShellExecuteA(nullptr, "open", opened.c_str(), nullptr, s.location, SW_SHOWNORMAL);
  }
}

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
  KwWindows& w = KwWin();
  switch (message) {
    case WM_INITDIALOG: w.page = page; return TRUE;
    case kSetCaption: SetSheetCaption(); return TRUE;
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
    w.previous = KwReadRecord();
    w.written = KwInstallRecord{};
    CreateFolderPathNoting(s.location, &w.written.folders);
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
    SetDlgItemTextA(w.page, KW_IDC_PROGRESS_TEXT,
                    "Installation Completed. Press COMPLETE to launch.");
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
