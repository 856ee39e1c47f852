// The second uninstall stage: its dialog, the removal, and the deletion
// of the running copy at the next start of Windows.
#include <windows.h>

#include <cstring>
#include <vector>

#include "installer/core/kw_config.h"
#include "installer/core/kw_location.h"
#include "installer/core/kw_normalize.h"
#include "installer/core/kw_record.h"
#include "installer/core/kw_removal.h"
#include "installer/core/kw_shortcuts.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/core/kw_uninstall.h"
#include "installer/kitwright_win32.h"
#include "resources/kitwright_resource.h"

namespace {

constexpr UINT_PTR kStartTimer = 1;
// The possessive particle and the word for removal: wide, so they read
// right whatever the code page.
constexpr wchar_t kRemovalSuffix[] = L"\x306e\x524a\x9664";

bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// 1 when deleted; otherwise says the file is skipped, 0.
int ReportSkipped(const char* path, bool deleted) {
  if (deleted) return 1;
  KwMessage(KwWin().page, KwFormat("Failed to delete %s. Skipping this file.", path).c_str(),
            nullptr, MB_OK | MB_ICONERROR);
  return 0;
}

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
      SetWindowTextW(dialog, KwRemovalCaption().c_str());
      return TRUE;
    case WM_TIMER: {
      if (wparam != kStartTimer) return TRUE;
      KillTimer(dialog, kStartTimer);
      SetForegroundWindow(dialog);
      std::string text =
          UninstallAll() ? std::string(s.title) + " is deleted successfully."
                         : std::string(s.location) + " contains some files. Delete manually later.";
      for (const std::string& file : w.kept_links) {
        bool group = !file.empty() && file.back() == '\\';
        text += KwFormat(group ? " \"%s\" is a link to another folder and was kept."
                               : " \"%s\" points at another program and was kept.",
                         file.c_str());
      }
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

std::wstring KwRemovalCaption() {
  const char* title = KwGlobal().title;
  wchar_t wide[kKwNameSize];
  if (!MultiByteToWideChar(CP_ACP, 0, title, -1, wide,
                           static_cast<int>(sizeof wide / sizeof wide[0]))) {
    wide[0] = L'\0';
  }
  return std::wstring(wide) + kRemovalSuffix;
}

namespace {

// Why a folder may not be swept; null when it may.
const char* RefusedFolder(KwLocationCheck check, bool link) {
  if (link) return "\"%s\" is a link to another folder. Nothing was deleted.";
  switch (check) {
    case KwLocationCheck::kOk: return nullptr;
    case KwLocationCheck::kRoot: return "\"%s\" is a drive root. Nothing was deleted.";
    case KwLocationCheck::kProtected:
      return "\"%s\" is a folder of the system or a user profile. Nothing was deleted.";
    case KwLocationCheck::kBadName:
    case KwLocationCheck::kTooLong:
    case KwLocationCheck::kNotFullPath: break;
  }
  return "\"%s\" is not a full path. Nothing was deleted.";
}

}  // namespace

int KwMayUninstall(const char* copy) {
  KwState& s = KwGlobal();
  std::string running = KwFullLongPath(copy);
  std::string registered =
      s.installed_program[0] ? KwFullLongPath(s.installed_program) : std::string();
  switch (KwCheckUninstallSource(registered.c_str(), running.c_str())) {
    case KwUninstallSource::kOk: break;
    case KwUninstallSource::kNotInstalled:
      KwMessage(nullptr, KwFormat("\"%s\" is not installed. Nothing was deleted.", s.title).c_str(),
                s.title, MB_OK | MB_ICONERROR);
      return 0;
    case KwUninstallSource::kOtherCopy:
      KwMessage(
          nullptr,
          KwFormat(
              "\"%s\" is not the installed copy of \"%s\", which is \"%s\". Nothing was deleted.",
              running.c_str(), s.title, registered.c_str())
              .c_str(),
          s.title, MB_OK | MB_ICONERROR);
      return 0;
  }
  // The folder swept is the one the installed copy really lies in, never
  // the entry's text as typed.
  char folder[kKwPathSize];
  if (!KwLocationFromProgram(running.c_str(), folder, sizeof folder)) folder[0] = '\0';
  std::string normalised;
  std::vector<KwProtectedFolder> system = KwSystemFolders();
  KwLocationCheck check = KwJudgeLocation(folder, system, &normalised);
  const char* refused =
      RefusedFolder(check, check == KwLocationCheck::kOk && KwIsReparsePoint(normalised.c_str()));
  if (refused) {
    KwMessage(nullptr, KwFormat(refused, normalised.empty() ? folder : normalised.c_str()).c_str(),
              s.title, MB_OK | MB_ICONERROR);
    return 0;
  }
  KwCopy(s.location, sizeof s.location, normalised.c_str());
  return 1;
}

void UninstallSecondStage() {
  KwState& s = KwGlobal();
  // The copy named by "x" must be the registered installed copy; the
  // location becomes its own normalised folder.
  if (KwMayUninstall((std::string(s.program_folder) + s.program_file).c_str())) {
    DialogBoxParamW(KwWin().instance, MAKEINTRESOURCEW(KW_DLG_UNINSTALL), nullptr, UninstallDlgProc,
                    0);
  }
  // Only the copy the first stage made may go, with the folder made for
  // it, never a program run here by hand.
  char temp[kKwPathSize];
  DWORD n = GetTempPathA(sizeof temp, temp);
  std::string running = KwFullLongPath(s.program_path);
  if (n > 0 && n < sizeof temp && KwIsStageCopy(running.c_str(), KwFullLongPath(temp).c_str())) {
    DeleteOnReboot(s.program_path);
    char folder[kKwPathSize];
    if (KwLocationFromProgram(running.c_str(), folder, sizeof folder)) {
      KwStripBackslash(folder);
      DeleteOnReboot(folder);
    }
  }
}

namespace {

// The Reg entries, asked about one by one (No is the default): only after
// every file of the product is gone, so an uninstall that stops loses
// none of them.
std::vector<std::string> ReadRegEntries() {
  std::vector<std::string> entries;
  char key[kKwKeySize];
  char value[kKwPathSize];
  for (unsigned n = 1;; ++n) {
    EntryKey(n, key);
    KwReadProfile("Reg", key, value, sizeof value);
    if (value[0] == '\0') break;
    entries.push_back(value);
  }
  return entries;
}

void DeleteRegEntries(HWND owner, const std::vector<std::string>& entries) {
  const KwState& s = KwGlobal();
  for (const std::string& entry : entries) {
    const char* value = entry.c_str();
    const char* subkey = nullptr;
    HKEY root = RootKey(KwParseRegEntry(value, &subkey));
    KwRegCheck check = KwJudgeRegEntry(value);
    if (!root || check == KwRegCheck::kBroken) {
      KwMessage(owner, "Reg section might be broken.", nullptr, MB_OK | MB_ICONERROR);
      continue;
    }
    // The product's own entry goes last, with the uninstall entry.
    if (check != KwRegCheck::kOk) continue;
    if (KwMessage(owner, KwFormat("Delete the registry key \"%s\"?", value).c_str(), s.title,
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
      DeleteRegTree(root, subkey);
    }
  }
}

}  // namespace

int DeleteRecordedFile(const char* path, const KwInstallRecord& record, bool* kept) {
  if (!KwRecordHas(record.files, KwFullLongPath(path))) return 1;
  switch (KwExistingFileKind(path)) {
    case KwFileKind::kAbsent: return 1;
    case KwFileKind::kPlain: return DeleteInstalledFile(path);
    default: *kept = true; return 1;
  }
}

int UninstallAll() {
  const KwState& s = KwGlobal();
  KwWindows& w = KwWin();
  HWND owner = w.page;
  int result = 1;
  KwInstallRecord record = KwReadRecord();
  w.previous = record;
  // The configuration file names the shortcuts, and it goes with the files.
  std::vector<KwShortcutRemoval> shortcuts;
  for (int kind : {kKwPrograms, kKwDesktop, kKwStartup})
    shortcuts.push_back(PlanShortcutRemoval(kind));
  // The Reg entries too: read before the configuration file goes.
  std::vector<std::string> reg_entries = ReadRegEntries();
  bool files_gone = true;

  for (int n = s.install_count; n >= -1; --n) {
    // An entry whose destination never fitted was never installed.
    if (!GetInstallEntry(n)) continue;
    // Through a link the entry names another program's file: never ours.
    if (KwLinkOnTheWay(s.entry_dest, s.location)) {
      result = 0;
      continue;
    }
    bool kept = false;
    if (DeleteRecordedFile(s.entry_dest, record, &kept)) {
      if (kept) result = 0;
      continue;
    }
    result = 0;
    files_gone = false;
    if (n == 1) {
      KwMessage(owner,
                KwFormat("Failed to delete \"%s\". Quit \"%s\" and retry uninstallation.",
                         s.entry_dest, s.title)
                    .c_str(),
                nullptr, MB_OK | MB_ICONERROR);
      return 0;
    }
  }

  if (files_gone) DeleteRegEntries(owner, reg_entries);
  if (!DeleteFolderTree(s.location)) result = 0;
  // Only folders of the install: its own, those in it, and the levels
  // above it that it made (each only when empty).
  std::vector<std::string> made;
  for (const std::string& f : record.folders) {
    if (KwIsInsideFolder(f.c_str(), s.location) ||
        (KwIsInsideFolder(s.location, f.c_str()) &&
         KwJudgeLocation(f.c_str(), KwSystemFolders(), nullptr) == KwLocationCheck::kOk)) {
      made.push_back(f);
    }
  }
  RemoveMadeFolders(made);
  DeleteRegTree(HKEY_LOCAL_MACHINE, KwUninstallKey().c_str());
  w.kept_links.clear();
  for (const KwShortcutRemoval& plan : shortcuts) {
    for (const std::string& file : RemoveShortcuts(plan)) w.kept_links.push_back(file);
  }
  return result;
}

int DeleteInstalledFile(const char* path) {
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return 1;
  return ReportSkipped(path, DeleteFileA(path) != 0);
}

int DeleteFolderTree(const char* folder) {
  const KwState& s = KwGlobal();
  // A drive root is never an install folder, however it is spelled
  // ("C:\\.\\"), and a link leads elsewhere: sweep neither. Nor a folder
  // this product did not make: it is someone else's.
  char resolved[kKwPathSize];
  if (!KwFullPath(folder, resolved, sizeof resolved) || KwIsRootPath(resolved) ||
      KwIsReparsePoint(folder) || !KwRecordHas(KwWin().previous.folders, KwFullLongPath(folder))) {
    return 0;
  }
  int result = 1;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((std::string(folder) + "*.*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const char* name = found.cFileName;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      std::string full = std::string(folder) + name;
      bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      // Wine shows a link to a file as a plain file: what it opens tells.
      bool link = IsLink(found.dwFileAttributes) ||
                  (!directory && KwExistingFileKind(full.c_str()) != KwFileKind::kPlain);
      switch (KwFolderEntryAction(name, directory, link)) {
        case KwWalkAction::kRecurse:
          full += "\\";
          if (full.size() >= kKwPathSize) {
            FindClose(h);
            return 0;
          }
          // A folder the install did not make stays, with what is in it.
          if (!DeleteFolderTree(full.c_str())) result = 0;
          break;
        case KwWalkAction::kDeleteQuietly: DeleteFileA(full.c_str()); break;
        case KwWalkAction::kAsk: {
          int answer = KwMessage(KwWin().page, KwFormat("Delete \"%s\"?", full.c_str()).c_str(),
                                 s.title, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
          if (answer == IDCANCEL) {
            FindClose(h);
            return 0;
          }
          if (answer == IDYES && !DeleteInstalledFile(full.c_str())) result = 0;
          break;
        }
        case KwWalkAction::kKeep: result = 0; break;
      }
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  char trimmed[kKwPathSize];
  if (!KwCopy(trimmed, sizeof trimmed, folder)) return 0;
  KwStripBackslash(trimmed);
  if (GetFileAttributesA(trimmed) != INVALID_FILE_ATTRIBUTES && !RemoveDirectoryA(trimmed)) {
    KwMessage(KwWin().page, KwFormat("Failed to delete the directory \"%s\".", trimmed).c_str(),
              nullptr, MB_OK | MB_ICONERROR);
    result = 0;
  }
  return result;
}

namespace {

unsigned& RegistryOpens() {
  static unsigned opens = 0;
  return opens;
}

}  // namespace

unsigned KwRegistryOpenCount() { return RegistryOpens(); }
void KwResetRegistryOpenCount() { RegistryOpens() = 0; }

void DeleteRegTree(HKEY root, const char* subkey) {
  // An empty or backslash-led subkey would name the root itself (under
  // HKEY_CLASSES_ROOT the system reads past one leading backslash).
  if (!subkey || subkey[0] == '\0' || subkey[0] == '\\') return;
  HKEY key;
  ++RegistryOpens();
  if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char last[256] = "";
    DWORD index = 0;
    for (;;) {
      char name[256];
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
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
  DWORD got =
      GetPrivateProfileSectionA("Rename", lines.data(), static_cast<DWORD>(lines.size()), ini_path);
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
