// The system's open and save dialogs with a one-extension filter. The
// dialogs work in wide names, so that any file can be chosen; the name comes
// back in ANSI (through its short name where needed).
#include <windows.h>
#include <commdlg.h>

#include "graphics/window/window.h"
#include "viewer/toolkit/file_filter.h"
#include "viewer/toolkit/toolkit.h"

namespace {

// Room for any path the dialog can return; what does not fit the caller's
// buffer is refused afterwards.
constexpr int kDialogPathSize = MAX_PATH + 1;

// ANSI text (length characters, terminators included) as wide text.
void Widen(wchar_t* out, int out_size, const char* text, int length) {
  if (MultiByteToWideChar(CP_ACP, 0, text, length, out, out_size) <= 0) out[0] = L'\0';
}

int RunFileDialog(int save, char* out, const char* title, const char* default_name,
                  const char* extension) {
  char filter[kr::kFilterSize] = {};
  char default_ext[kr::kExtensionMax + 1];
  kr::BuildFilter(filter, extension);
  kr::DefaultExtension(default_ext, extension);
  char file[kDialogPathSize];
  // A default name that does not fit the callers' buffers starts empty.
  if (kr::CopyPath(file, kKrPathSize, default_name) == 0) file[0] = '\0';

  wchar_t wide_filter[kr::kFilterSize];
  wchar_t wide_ext[kr::kExtensionMax + 1];
  wchar_t wide_title[kKrItemTextSize];
  wchar_t wide_file[kDialogPathSize];
  Widen(wide_filter, kr::kFilterSize, filter, kr::kFilterSize);
  Widen(wide_ext, kr::kExtensionMax + 1, default_ext, -1);
  Widen(wide_title, kKrItemTextSize, title ? title : (save == 1 ? "Save" : "Load"), -1);
  Widen(wide_file, kDialogPathSize, file, -1);

  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(PwGetWindowHandle());
  ofn.lpstrFilter = wide_filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = wide_file;
  ofn.nMaxFile = kDialogPathSize;
  ofn.lpstrDefExt = wide_ext;
  ofn.lpstrTitle = wide_title;
  ofn.Flags = OFN_HIDEREADONLY;

  // Browsing must not move the current directory.
  wchar_t cwd[kDialogPathSize];
  DWORD cwd_length = GetCurrentDirectoryW(kDialogPathSize, cwd);
  const bool restore = cwd_length > 0 && cwd_length < kDialogPathSize;
  BOOL chosen = save == 1 ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (restore) SetCurrentDirectoryW(cwd);

  if (!chosen || KrAnsiName(wide_file, out, save) == 0) {
    out[0] = '\0';
    return 0;
  }
  kr::LowerAscii(out);
  return 1;
}

}  // namespace

int KrFileOpen(char* out, const char* title, const char* default_name, const char* extension) {
  return RunFileDialog(0, out, title, default_name, extension);
}

int KrFileSave(char* out, const char* title, const char* default_name, const char* extension) {
  return RunFileDialog(1, out, title, default_name, extension);
}
