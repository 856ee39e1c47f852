// Entry, configuration and the shared Win32 helpers of the installer.
#include <windows.h>
#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "installer/core/kw_command_line.h"
#include "installer/core/kw_config.h"
#include "installer/core/kw_location.h"
#include "installer/core/kw_removal.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/kitwright_win32.h"

namespace {

KwMessageHook& MessageHook() {
  static KwMessageHook hook = nullptr;
  return hook;
}

void ReadProfile(const char* section, const char* key, char* out, std::size_t size) {
  GetPrivateProfileStringA(section, key, "", out, static_cast<DWORD>(size), KwGlobal().config_path);
}

int LeadByte(unsigned char c) { return IsDBCSLeadByte(c) ? 1 : 0; }

int WindowsFolder(char* out, std::size_t size) {
  UINT n = GetWindowsDirectoryA(out, static_cast<UINT>(size));
  return n > 0 && n < size ? 1 : 0;
}

int ReadDisplayName(const char* folder, char* out, std::size_t size) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KwUninstallKeyName(folder).c_str(), 0, KEY_READ, &k) !=
      ERROR_SUCCESS)
    return 0;
  DWORD type = 0, bytes = static_cast<DWORD>(size - 1);
  LONG r = RegQueryValueExA(k, "DisplayName", nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS || type != REG_SZ) bytes = 0;
  out[bytes < size ? bytes : size - 1] = '\0';
  return 1;
}

int ReadUninstallString(const char* folder, char* out, std::size_t size) {
  std::string key =
      std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + folder;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
  DWORD type = 0, bytes = static_cast<DWORD>(size - 1);
  if (RegQueryValueExA(k, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(out),
                       &bytes) != ERROR_SUCCESS ||
      type != REG_SZ) {
    bytes = 0;
  }
  out[bytes < size ? bytes : size - 1] = '\0';
  RegCloseKey(k);
  return 1;
}

// Copies the installer into a folder of its own, made afresh under the
// temporary folder, and starts that copy with the second stage, so the
// installed copy can be deleted. Nothing but the copy lies beside it, and
// it starts in the system folder, so no file another program dropped in
// the temporary folder is loaded with it. Only the installed copy may ask.
void RequestUninstall() {
  KwState& s = KwGlobal();
  if (!KwMayUninstall(s.program_path)) return;
  std::string text = KwFormat("Delete \"%s\"", s.title);
  if (s.resident) text += "If still regidence, quit the program. Then press OK.";
  // Cancel is the default: a key pressed by habit deletes nothing.
  if (KwMessage(nullptr, text.c_str(), s.title, MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2) !=
      IDOK)
    return;
  char temp[kKwPathSize];
  char folder[kKwPathSize] = "";
  char copy[kKwPathSize] = "";
  char system[kKwPathSize];
  DWORD n = GetTempPathA(sizeof temp, temp);
  UINT system_length = GetSystemDirectoryA(system, sizeof system);
  bool made = false;
  // A name that exists already is someone else's: try the next.
  for (unsigned i = 0; n > 0 && n < sizeof temp && i < 100 && !made; ++i) {
    if (!KwStageCopyName(temp, GetTickCount() + i, folder, sizeof folder, copy, sizeof copy)) break;
    made = CreateDirectoryA(folder, nullptr) != 0;
    if (!made && GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
      break;
  }
  bool started = false;
  if (made && system_length > 0 && system_length < sizeof system &&
      CopyFileA(s.program_path, copy, TRUE)) {
    // The second stage takes only a plain full path ("Q:\\.\\App\\..." is not).
    std::string command =
        "\"" + std::string(copy) + "\" x \"" + KwFullLongPath(s.program_path) + "\"";
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    started = CreateProcessA(copy, line.data(), nullptr, nullptr, FALSE, 0, nullptr, system,
                             &startup, &process) != 0;
    if (started) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    } else {
      DeleteFileA(copy);
    }
  }
  if (!started) {
    if (made) RemoveDirectoryA(folder);
    KwMessage(nullptr, "Failed to launch uninstallation program. Uninstall manually.", nullptr,
              MB_OK | MB_ICONERROR);
  }
}

}  // namespace

KwWindows& KwWin() {
  static KwWindows w;
  return w;
}

void KwResetWindows() {
  HINSTANCE instance = KwWin().instance;
  KwWin() = KwWindows{};
  KwWin().instance = instance;
}

void KwSetMessageHook(KwMessageHook hook) { MessageHook() = hook; }

int KwMessage(HWND owner, const char* text, const char* caption, UINT flags) {
  if (MessageHook()) return MessageHook()(owner, text, caption, flags);
  return MessageBoxA(owner, text, caption, flags);
}

std::string KwFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(&out[0], out.size(), format, again);
    out.resize(static_cast<std::size_t>(n));
  }
  va_end(again);
  return out;
}

void KwInstallWin32Platform() {
  KwPlatform& p = KwPlatformHooks();
  p.read_profile = &ReadProfile;
  p.is_lead_byte = &LeadByte;
  p.windows_folder = &WindowsFolder;
  p.read_uninstall_string = &ReadUninstallString;
  p.read_display_name = &ReadDisplayName;
  KwInstallPathHooks();
}

void CenterWindow(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int LoadInstallConfig() {
  KwState& s = KwGlobal();
  if (KwLoadConfig()) {
    KwWin().previous = KwReadRecord();
    // A stale or hand-made entry may name a folder of the system or a
    // user's: the wizard offers the default instead.
    char windows[kKwPathSize];
    if (KwJudgeLocation(s.location, KwSystemFolders(), nullptr) != KwLocationCheck::kOk &&
        WindowsFolder(windows, sizeof windows)) {
      KwDefaultLocation(windows, s.folder, s.location, sizeof s.location);
    }
    return 1;
  }
  const char* refused = s.refused;
  const char* format = "The config file entry %s would reach outside its folder. Nothing was done.";
  switch (s.refusal) {
    case KwRefusal::kFolderName:
      format = "The config file entry %s is not one plain folder name. Nothing was done.";
      break;
    case KwRefusal::kDevice:
      format =
          "The config file entry %s names a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to "
          "LPT9). Nothing was done.";
      break;
    case KwRefusal::kRegKey:
      format =
          "The config file entry %s names a registry key that is not the product's own. Nothing "
          "was done.";
      break;
    case KwRefusal::kForeignEntry:
      KwMessage(nullptr,
                KwFormat("The config file entry %s names the uninstall entry of \"%s\", another "
                         "program. Nothing was done.",
                         refused, s.owner)
                    .c_str(),
                nullptr, MB_OK | MB_ICONERROR);
      return 0;
    case KwRefusal::kOutside:
    case KwRefusal::kNone: break;
  }
  if (refused[0] != '\0') {
    KwMessage(nullptr, KwFormat(format, refused).c_str(), nullptr, MB_OK | MB_ICONERROR);
  } else {
    KwMessage(nullptr, "Config file is not found. Or is broken.", nullptr, MB_OK | MB_ICONERROR);
  }
  return 0;
}

int InstallerMain(HINSTANCE instance, LPSTR command_line) {
  InitCommonControls();
  KwResetState();
  KwResetWindows();
  KwWin().instance = instance;
  KwInstallWin32Platform();
  KwState& s = KwGlobal();
  s.new_shell = LOBYTE(LOWORD(GetVersion())) > 3 ? 1 : 0;
  DWORD n = GetModuleFileNameA(nullptr, s.program_path, sizeof s.program_path);
  if (n == 0 || n >= sizeof s.program_path) s.program_path[0] = '\0';

  const char* stage = nullptr;
  KwMode mode = KwChooseMode(command_line, &stage);
  char chosen[kKwPathSize];
  if (mode == KwMode::kSecondStage) {
    // The first stage passes the installed copy's full path; anything
    // else (a relative name, ".." parts) could name files outside it.
    if (!KwStagePath(stage, chosen, sizeof chosen) || !KwIsStageProgramPath(chosen)) {
      KwMessage(
          nullptr,
          KwFormat("\"%s\" is not the full path of an installed program. Nothing was deleted.",
                   chosen)
              .c_str(),
          nullptr, MB_OK | MB_ICONERROR);
      return 1;
    }
    KwCopy(chosen, sizeof chosen, KwFullLongPath(chosen).c_str());
  } else {
    KwCopy(chosen, sizeof chosen, s.program_path);
  }
  // A path that does not fit leaves no configuration path, and the
  // configuration then reads as missing.
  KwSplitProgramPath(chosen);
  if (!LoadInstallConfig()) return 1;

  switch (mode) {
    case KwMode::kUninstallRequest: RequestUninstall(); break;
    case KwMode::kSecondStage: UninstallSecondStage(); break;
    case KwMode::kInstall:
      SetCurrentDirectoryA(s.program_folder);
      RunInstallWizard();
      break;
  }
  return 1;
}
