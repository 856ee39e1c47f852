// The second uninstall stage: its dialog, the removal, and the deletion
// of the running copy at the next start of Windows.
#include <windows.h>

#include <cstring>
#include <vector>

#include "installer/core/kw_config.h"
#include "installer/core/kw_shortcuts.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/core/kw_uninstall.h"
#include "installer/kitwright_win32.h"
#include "resources/kitwright_resource.h"

namespace {

constexpr UINT_PTR kStartTimer = 1;
// The possessive particle and the word for removal, in Shift-JIS.
constexpr char kRemovalSuffix[] = "\x82\xcc\x8d\xed\x8f\x9c";

HKEY RootKey(KwRegRoot root) {
  switch (root) {
    case KwRegRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case KwRegRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case KwRegRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case KwRegRoot::kNone: break;
  }
  return nullptr;
}

INT_PTR CALLBACK UninstallDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  KwWindows& w = KwWin();
  const KwState& s = KwGlobal();
  switch (message) {
    case WM_INITDIALOG:
      w.page = dialog;
      w.uninstall_done = 0;
      CenterWindow(dialog);
      SetTimer(dialog, kStartTimer, 300, nullptr);
      SetWindowTextA(dialog, (std::string(s.title) + kRemovalSuffix).c_str());
      return TRUE;
    case WM_TIMER: {
      if (wparam != kStartTimer) return TRUE;
      KillTimer(dialog, kStartTimer);
      SetForegroundWindow(dialog);
      std::string text = UninstallAll() ? std::string(s.title) + " is deleted successfully."
                                        : std::string(s.location) + " contains some files. Delete manually later.";
      SetDlgItemTextA(dialog, KW_IDC_UNINSTALL_TEXT, text.c_str());
      w.uninstall_done = 1;
      HWND exit = GetDlgItem(dialog, IDCANCEL);
      EnableWindow(exit, TRUE);
      SetFocus(exit);
      SetForegroundWindow(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      // Closing before the removal has run would skip it.
      if (LOWORD(wparam) == IDCANCEL && w.uninstall_done) EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void UninstallSecondStage() {
  KwState& s = KwGlobal();
  KwCopy(s.location, sizeof s.location, s.program_folder);
  DialogBoxParamA(KwWin().instance, MAKEINTRESOURCEA(KW_DLG_UNINSTALL), nullptr, UninstallDlgProc, 0);
  DeleteOnReboot(s.program_path);
}

int UninstallAll() {
  const KwState& s = KwGlobal();
  HWND owner = KwWin().page;
  int result = 1;

  char key[kKwKeySize];
  char value[kKwPathSize];
  for (unsigned n = 1;; ++n) {
    EntryKey(n, key);
    KwReadProfile("Reg", key, value, sizeof value);
    if (value[0] == '\0') break;
    const char* subkey = nullptr;
    HKEY root = RootKey(KwParseRegEntry(value, &subkey));
    if (!root) {
      KwMessage(owner, "Reg section might be broken.", nullptr, MB_OK | MB_ICONERROR);
      continue;
    }
    DeleteRegTree(root, subkey);
  }

  for (int n = s.install_count; n >= -1; --n) {
    // An entry whose destination never fitted was never installed.
    if (!GetInstallEntry(n)) continue;
    if (DeleteInstalledFile(s.entry_dest)) continue;
    result = 0;
    if (n == 1) {
      KwMessage(owner,
                KwFormat("Failed to delete \"%s\". Quit \"%s\" and retry uninstallation.", s.entry_dest, s.title)
                    .c_str(),
                nullptr, MB_OK | MB_ICONERROR);
      return 0;
    }
  }

  if (!DeleteFolderTree(s.location)) result = 0;
  DeleteRegTree(HKEY_LOCAL_MACHINE, KwUninstallKey().c_str());
  MakeShortcuts(kKwPrograms, 1);
  MakeShortcuts(kKwDesktop, 1);
  MakeShortcuts(kKwStartup, 1);
  return result;
}

int DeleteInstalledFile(const char* path) {
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return 1;
  if (DeleteFileA(path)) return 1;
  KwMessage(KwWin().page, KwFormat("Failed to delete %s. Skipping this file.", path).c_str(), nullptr,
            MB_OK | MB_ICONERROR);
  return 0;
}

int DeleteFolderTree(const char* folder) {
  const KwState& s = KwGlobal();
  // A drive root is never an install folder: do not sweep a whole drive.
  if (std::strlen(folder) <= 3) return 0;
  int result = 1;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((std::string(folder) + "*.*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const char* name = found.cFileName;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      std::string full = std::string(folder) + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        full += "\\";
        if (full.size() >= kKwPathSize || !DeleteFolderTree(full.c_str())) {
          FindClose(h);
          return 0;
        }
      } else if (KwIsHelpIndexFile(name)) {
        DeleteFileA(full.c_str());
      } else {
        int answer = KwMessage(KwWin().page, KwFormat("Delete \"%s\"?", full.c_str()).c_str(), s.title,
                               MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) {
          FindClose(h);
          return 0;
        }
        if (answer == IDYES && !DeleteInstalledFile(full.c_str())) result = 0;
      }
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  char trimmed[kKwPathSize];
  if (!KwCopy(trimmed, sizeof trimmed, folder)) return 0;
  KwStripBackslash(trimmed);
  if (GetFileAttributesA(trimmed) != INVALID_FILE_ATTRIBUTES && !RemoveDirectoryA(trimmed)) {
    KwMessage(KwWin().page, KwFormat("Failed to delete the directory \"%s\".", trimmed).c_str(), nullptr,
              MB_OK | MB_ICONERROR);
    result = 0;
  }
  return result;
}

void DeleteRegTree(HKEY root, const char* subkey) {
  // An empty subkey would name the root itself.
  if (!subkey || subkey[0] == '\0') return;
  HKEY key;
  if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char last[256] = "";
    DWORD index = 0;
    for (;;) {
      char name[256];
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (lstrcmpiA(name, last) != 0) {
        // Deleting shifts the others down: the index stays.
        DeleteRegTree(root, (std::string(subkey) + "\\" + name).c_str());
        lstrcpynA(last, name, sizeof last);
      } else {
        ++index;  // that one could not be deleted
      }
    }
    RegCloseKey(key);
  }
  RegDeleteKeyA(root, subkey);
}

int KwAppendWininitRename(const char* ini_path, const char* path) {
  // The section as lines keeps repeated keys such as several NUL entries,
  // which a key list would read back as the first one only.
  std::vector<char> lines(kKwWininitBuffer, '\0');
  DWORD got = GetPrivateProfileSectionA("Rename", lines.data(), static_cast<DWORD>(lines.size()), ini_path);
  if (got >= lines.size() - 2) return 0;  // too many to keep them all
  char short_path[kKwPathSize];
  DWORD n = GetShortPathNameA(path, short_path, sizeof short_path);
  if (n == 0 || n >= sizeof short_path) KwCopy(short_path, sizeof short_path, path);
  std::string block;
  if (!KwBuildWininitBlock(lines.data(), short_path, &block)) return 0;

  WritePrivateProfileStringA("Rename", nullptr, nullptr, ini_path);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini_path);

  HFILE file = _lopen(ini_path, OF_READWRITE);
  if (file == HFILE_ERROR) file = _lcreat(ini_path, 0);
  if (file == HFILE_ERROR) return 0;
  long size = _llseek(file, 0, FILE_END);
  int last = -1;
  if (size > 0) {
    unsigned char byte = 0;
    _llseek(file, size - 1, FILE_BEGIN);
    if (_lread(file, &byte, 1) == 1) last = byte;
  }
  long offset = 0;
  bool newline = false;
  KwWininitPlacement(size < 0 ? 0 : size, last, &offset, &newline);
  if (newline) block.insert(0, "\r\n");
  _llseek(file, offset, FILE_BEGIN);
  UINT written = _lwrite(file, block.data(), static_cast<UINT>(block.size()));
  _lclose(file);
  return written == block.size() ? 1 : 0;
}

void DeleteOnReboot(const char* path) {
  if (MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return;
  char windows[kKwPathSize];
  UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  if (n == 0 || n >= sizeof windows) return;
  std::string ini = std::string(windows);
  if (ini.back() != '\\') ini += "\\";
  ini += "WININIT.INI";
  KwAppendWininitRename(ini.c_str(), path);
}
