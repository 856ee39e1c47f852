// Folders, free space, file copy and the uninstall entry of the install.
#include <windows.h>

#include <cstring>

#include "installer/core/kw_location.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/kitwright_win32.h"

std::string KwUninstallKey() {
  return std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + KwGlobal().folder;
}

std::uint64_t GetFreeSpace() {
  char full[kKwPathSize];
  DWORD n = GetFullPathNameA(KwGlobal().location, sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full || !KwHasDriveRoot(full)) return 0;
  char root[4] = {full[0], ':', '\\', '\0'};
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &free_clusters, &clusters)) return 0;
  return KwFreeSpaceTenth(sectors, bytes, free_clusters);
}

int CreateOneFolder(const char* path) {
  if (std::strlen(path) == 3 && KwHasDriveRoot(path)) return 1;
  char folder[kKwPathSize];
  if (!KwCopy(folder, sizeof folder, path)) return 0;
  KwStripBackslash(folder);
  DWORD attributes = GetFileAttributesA(folder);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 1;
    KwMessage(KwWin().page, KwFormat("%s - Cannot create folder. File already exists.", folder).c_str(),
              nullptr, MB_OK | MB_ICONERROR);
    return 0;
  }
  if (!CreateDirectoryA(folder, nullptr)) {
    KwMessage(KwWin().page, KwFormat("Failed to create \"%s\".", folder).c_str(), nullptr,
              MB_OK | MB_ICONERROR);
    return 0;
  }
  return 1;
}

int CreateFolderPath(const char* path) {
  for (const std::string& level : KwFolderLevels(path)) {
    if (!CreateOneFolder(level.c_str())) return 0;
  }
  return 1;
}

int CopyInstallFile() {
  const KwState& s = KwGlobal();
  if (s.entry_dest[0] == '\0') {
    KwMessage(KwWin().page, KwFormat("Failed to copy %s.", s.entry_source).c_str(), nullptr,
              MB_OK | MB_ICONERROR);
    return 0;
  }
  // Each level is made first, then looked at: a link among them (or the
  // file itself a link) would have the copy overwrite another's file.
  for (const std::string& level : KwDestinationLevels(s.entry_dest, std::strlen(s.location))) {
    if (!CreateOneFolder(level.c_str())) return 0;
  }
  if (KwLinkOnTheWay(s.entry_dest, s.location)) {
    KwMessage(KwWin().page, KwFormat("\"%s\" would be written through a link. Not copied.", s.entry_dest).c_str(),
              nullptr, MB_OK | MB_ICONERROR);
    return 0;
  }
  if (CopyFileA(s.entry_source, s.entry_dest, FALSE)) {
    SetFileAttributesA(s.entry_dest, FILE_ATTRIBUTE_NORMAL);
    return 1;
  }
  DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS) return 1;
  if (error == ERROR_SHARING_VIOLATION) {
    KwMessage(KwWin().page,
              KwFormat("%s is used by other process. Cannot overwrite this file.", s.entry_dest).c_str(),
              nullptr, MB_OK | MB_ICONERROR);
  } else {
    KwMessage(KwWin().page, KwFormat("Failed to copy %s.", s.entry_source).c_str(), nullptr,
              MB_OK | MB_ICONERROR);
  }
  return 0;
}

void WriteUninstallEntry() {
  const KwState& s = KwGlobal();
  char command[kKwPathSize];
  if (!KwUninstallString(s.location, s.program_file, command, sizeof command)) return;
  HKEY key;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, KwUninstallKey().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(s.title),
                 static_cast<DWORD>(std::strlen(s.title) + 1));
  RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                 static_cast<DWORD>(std::strlen(command) + 1));
  RegCloseKey(key);
}
