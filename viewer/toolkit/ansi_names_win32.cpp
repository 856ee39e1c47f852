// Wide file names made usable by a program that stays with ANSI names.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "graphics/window/window.h"
#include "viewer/toolkit/toolkit.h"

namespace {

constexpr int kWideSize = 32768;  // the longest name the system has

// 1 when wide goes to the ANSI code page and back unchanged, out (size
// bytes) then holding it.
int Lossless(const wchar_t* wide, char* out, int size) {
  BOOL used_default = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out, size, nullptr,
                              &used_default);
  // Some code pages (UTF-8) take neither the flag nor the default check;
  // the round trip below decides for them.
  if (n == 0 &&
      (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER)) {
    used_default = FALSE;
    n = WideCharToMultiByte(CP_ACP, 0, wide, -1, out, size, nullptr, nullptr);
  }
  if (n <= 0 || used_default) return 0;
  static wchar_t back[kWideSize];
  const int m = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, out, -1, back, kWideSize);
  return m > 0 && std::wcscmp(back, wide) == 0 ? 1 : 0;
}

// The short name of an existing file or folder, when ANSI holds it.
int ShortName(const wchar_t* wide, char* out, int size) {
  static wchar_t short_name[kWideSize];
  const DWORD n = GetShortPathNameW(wide, short_name, kWideSize);
  if (n == 0 || n >= static_cast<DWORD>(kWideSize)) return 0;
  return Lossless(short_name, out, size);
}

// A file still to be made: its folder's short name and its own name.
int ShortFolderName(const wchar_t* wide, char* out, int size) {
  const wchar_t* slash = std::wcsrchr(wide, L'\\');
  const wchar_t* other = std::wcsrchr(wide, L'/');
  if (!slash || (other && other > slash)) slash = other;
  if (!slash || slash == wide) return 0;
  static wchar_t folder[kWideSize];
  const std::size_t length = static_cast<std::size_t>(slash - wide);
  if (length >= static_cast<std::size_t>(kWideSize)) return 0;
  std::wmemcpy(folder, wide, length);
  folder[length] = L'\0';
  char name[kKrPathSize];
  if (!ShortName(folder, out, size) || !Lossless(slash, name, sizeof name)) return 0;
  const std::size_t used = std::strlen(out);
  if (used + std::strlen(name) >= static_cast<std::size_t>(size)) return 0;
  std::memcpy(out + used, name, std::strlen(name) + 1);
  return 1;
}

void TellUnusable(const wchar_t* wide) {
  wchar_t caption[kPwTitleSize];
  if (MultiByteToWideChar(CP_ACP, 0, PwGetTitle(), -1, caption, kPwTitleSize) <= 0) {
    caption[0] = L'\0';
  }
  static const wchar_t kWhy[] =
      L"\n\nThis file name cannot be used: it is too long or has characters that the "
      L"system's code page lacks, and it has no short (8.3) name.";
  static wchar_t text[kWideSize];
  const std::size_t room = kWideSize - sizeof kWhy / sizeof kWhy[0];
  std::size_t length = std::wcslen(wide);
  if (length > room) length = room;
  std::wmemcpy(text, wide, length);
  std::wmemcpy(text + length, kWhy, sizeof kWhy / sizeof kWhy[0]);
  MessageBoxW(static_cast<HWND>(PwGetWindowHandle()), text, caption, MB_OK | MB_ICONERROR);
}

}  // namespace

int KrAnsiName(const wchar_t* wide, char* out, int for_writing) {
  out[0] = '\0';
  if (!wide || !wide[0]) return 0;
  if (Lossless(wide, out, kKrPathSize) || ShortName(wide, out, kKrPathSize)) return 1;
  if (for_writing == 1 && ShortFolderName(wide, out, kKrPathSize)) return 1;
  out[0] = '\0';
  TellUnusable(wide);
  return 0;
}
