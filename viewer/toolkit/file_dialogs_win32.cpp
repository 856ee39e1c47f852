// The system's open and save dialogs with a one-extension filter.
#include <windows.h>
#include <commdlg.h>

#include "graphics/window.h"
#include "viewer/toolkit/file_filter.h"
#include "viewer/toolkit/toolkit.h"

namespace {

// Room for any path the dialog can return; what does not fit the caller's
// buffer is refused afterwards.
constexpr int kDialogPathSize = MAX_PATH + 1;

int RunFileDialog(int save, char* out, const char* title, const char* default_name,
                  const char* extension) {
  char filter[kr::kFilterSize];
  char default_ext[kr::kExtensionMax + 1];
  kr::BuildFilter(filter, extension);
  kr::DefaultExtension(default_ext, extension);
  char file[kDialogPathSize];
  // A default name that does not fit the callers' buffers starts empty.
  if (kr::CopyPath(file, kKrPathSize, default_name) == 0) file[0] = '\0';

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(PwGetWindowHandle());
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrDefExt = default_ext;
  ofn.lpstrTitle = title ? title : (save == 1 ? "Save" : "Load");
  ofn.Flags = OFN_HIDEREADONLY;

  // Browsing must not move the current directory.
  char cwd[kDialogPathSize];
  DWORD cwd_length = GetCurrentDirectoryA(sizeof cwd, cwd);
  const bool restore = cwd_length > 0 && cwd_length < sizeof cwd;
  BOOL chosen = save == 1 ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (restore) SetCurrentDirectoryA(cwd);

  if (!chosen || kr::CopyPath(out, kKrPathSize, file) == 0) {
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
