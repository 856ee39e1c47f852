// Entry, configuration and the shared Win32 helpers of the installer.
#include <windows.h>
#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "installer/core/kw_command_line.h"
#include "installer/core/kw_config.h"
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

int ReadUninstallString(const char* folder, char* out, std::size_t size) {
  std::string key = std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + folder;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
  DWORD type = 0, bytes = static_cast<DWORD>(size - 1);
  if (RegQueryValueExA(k, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    bytes = 0;
  }
  out[bytes < size ? bytes : size - 1] = '\0';
  RegCloseKey(k);
  return 1;
}

// Copies the installer under a new name in the temporary folder and
// starts that copy with the second stage, so the installed copy can be
// deleted. Only the installed copy may ask.
void RequestUninstall() {
  KwState& s = KwGlobal();
  if (!KwMayUninstall(s.program_path)) return;
  std::string text = KwFormat("Delete \"%s\"", s.title);
  if (s.resident) text += "If still regidence, quit the program. Then press OK.";
  if (KwMessage(nullptr, text.c_str(), s.title, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return;
  char temp[kKwPathSize];
  char copy[kKwPathSize] = "";
  DWORD n = GetTempPathA(sizeof temp, temp);
  bool copied = false;
  // A name that exists already is someone else's file: try the next.
  for (unsigned i = 0; n > 0 && n < sizeof temp && i < 100 && !copied; ++i) {
    if (!KwStageCopyName(temp, GetTickCount() + i, copy, sizeof copy)) break;
    copied = CopyFileA(s.program_path, copy, TRUE) != 0;
    if (!copied && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  bool started = false;
  if (copied) {
    SetCurrentDirectoryA(temp);
    std::string command = "\"" + std::string(copy) + "\" x \"" + s.program_path + "\"";
    started = WinExec(command.c_str(), SW_SHOWNORMAL) >= 32;
    if (!started) DeleteFileA(copy);
  }
  if (!started) {
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
}

void CenterWindow(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int LoadInstallConfig() {
  if (KwLoadConfig()) return 1;
  const char* refused = KwGlobal().refused;
  if (refused[0] != '\0') {
    KwMessage(nullptr,
              KwFormat("The config file entry %s would reach outside its folder. Nothing was done.", refused).c_str(),
              nullptr, MB_OK | MB_ICONERROR);
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
    KwStagePath(stage, chosen, sizeof chosen);
  } else {
    KwCopy(chosen, sizeof chosen, s.program_path);
  }
  // A path that does not fit leaves no configuration path, and the
  // configuration then reads as missing.
  KwSplitProgramPath(chosen);
  if (!LoadInstallConfig()) return 1;

  switch (mode) {
    case KwMode::kUninstallRequest:
      RequestUninstall();
      break;
    case KwMode::kSecondStage:
      UninstallSecondStage();
      break;
    case KwMode::kInstall:
      SetCurrentDirectoryA(s.program_folder);
      RunInstallWizard();
      break;
  }
  return 1;
}
