// Folders, free space, file copy and the uninstall entry of the install.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "installer/core/kw_config.h"
#include "installer/core/kw_location.h"
#include "installer/core/kw_normalize.h"
#include "installer/core/kw_record.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/kitwright_win32.h"

std::string KwUninstallKey() { return KwUninstallKeyName(KwGlobal().folder); }

std::uint64_t GetFreeSpace() {
  char full[kKwPathSize];
  DWORD n = GetFullPathNameA(KwGlobal().location, sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full || !KwHasDriveRoot(full)) return 0;
  char root[4] = {full[0], ':', '\\', '\0'};
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &free_clusters, &clusters)) return 0;
  return KwFreeSpaceTenth(sectors, bytes, free_clusters);
}

namespace {

int CreateOneFolderNoting(const char* path, std::vector<std::string>* made) {
  if (std::strlen(path) == 3 && KwHasDriveRoot(path)) return 1;
  char folder[kKwPathSize];
  if (!KwCopy(folder, sizeof folder, path)) return 0;
  KwStripBackslash(folder);
  DWORD attributes = GetFileAttributesA(folder);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 1;
    KwMessage(KwWin().page,
              KwFormat("%s - Cannot create folder. File already exists.", folder).c_str(), nullptr,
              MB_OK | MB_ICONERROR);
    return 0;
  }
  if (!CreateDirectoryA(folder, nullptr)) {
    KwMessage(KwWin().page, KwFormat("Failed to create \"%s\".", folder).c_str(), nullptr,
              MB_OK | MB_ICONERROR);
    return 0;
  }
  if (made) made->push_back(KwFullLongPath(path));
  return 1;
}

int Refused(const char* format, const char* path) {
  KwMessage(KwWin().page, KwFormat(format, path, KwGlobal().title).c_str(), nullptr,
            MB_OK | MB_ICONERROR);
  return 0;
}

std::vector<std::string> ReadMultiString(HKEY key, const char* name) {
  DWORD type = 0, bytes = 0;
  // A hand-made value may claim any size: a record is far smaller.
  constexpr DWORD kLimit = 1u << 20;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_MULTI_SZ || bytes > kLimit) {
    return {};
  }
  std::string data(bytes, '\0');
  if (bytes == 0 || RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                                     &bytes) != ERROR_SUCCESS) {
    return {};
  }
  return KwRecordFromMultiString(data.data(), bytes < data.size() ? bytes : data.size());
}

void WriteMultiString(HKEY key, const char* name, const std::vector<std::string>& list) {
  std::string data = KwRecordToMultiString(list);
  RegSetValueExA(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(data.size()));
}

}  // namespace

int CreateOneFolder(const char* path) { return CreateOneFolderNoting(path, nullptr); }

int CreateFolderPath(const char* path) { return CreateFolderPathNoting(path, nullptr); }

int CreateFolderPathNoting(const char* path, std::vector<std::string>* made) {
  for (const std::string& level : KwFolderLevels(path)) {
    if (!CreateOneFolderNoting(level.c_str(), made)) return 0;
  }
  return 1;
}

void RemoveMadeFolders(const std::vector<std::string>& made) {
  for (auto it = made.rbegin(); it != made.rend(); ++it) {
    std::string folder = *it;
    if (!KwIsRootPath(folder.c_str()) && folder.back() == '\\') folder.pop_back();
    RemoveDirectoryA(folder.c_str());
  }
}

KwInstallRecord KwReadRecord() {
  KwInstallRecord record;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KwUninstallKey().c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return record;
  record.files = ReadMultiString(key, "KwFiles");
  record.folders = ReadMultiString(key, "KwFolders");
  RegCloseKey(key);
  return record;
}

int CopyInstallFile() {
  const KwState& s = KwGlobal();
  KwWindows& w = KwWin();
  if (s.entry_dest[0] == '\0') {
    KwMessage(w.page, KwFormat("Failed to copy %s.", s.entry_source).c_str(), nullptr,
              MB_OK | MB_ICONERROR);
    return 0;
  }
  // Each level is made first, then looked at: a link among them (or the
  // file itself a link) would have the copy overwrite another's file.
  for (const std::string& level : KwDestinationLevels(s.entry_dest, std::strlen(s.location))) {
    if (!CreateOneFolderNoting(level.c_str(), &w.written.folders)) return 0;
  }
  if (KwLinkOnTheWay(s.entry_dest, s.location)) {
    return Refused("\"%s\" would be written through a link. Not copied.", s.entry_dest);
  }
  std::string dest = KwFullLongPath(s.entry_dest);
  BOOL copied = FALSE;
  switch (KwExistingFileKind(s.entry_dest)) {
    case KwFileKind::kAbsent:
      // Never over what appeared meanwhile, nor through a dangling link.
      copied = CopyFileA(s.entry_source, s.entry_dest, TRUE);
      break;
    case KwFileKind::kPlain:
      // Only a file this product's earlier install wrote is replaced.
      if (!KwRecordHas(w.previous.files, dest)) {
        return Refused("\"%s\" already exists and is not a file of %s. It was left as it is.",
                       s.entry_dest);
      }
      copied = CopyFileA(s.entry_source, s.entry_dest, FALSE);
      break;
    case KwFileKind::kLink:
    case KwFileKind::kHardLink:
      return Refused("\"%s\" is a link to another file. Not copied.", s.entry_dest);
    case KwFileKind::kFolder:
    case KwFileKind::kOther: break;
  }
  if (copied) {
    SetFileAttributesA(s.entry_dest, FILE_ATTRIBUTE_NORMAL);
    KwRecordAdd(&w.written.files, dest);
    return 1;
  }
  DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS)
    return Refused("\"%s\" is a link to another file. Not copied.", s.entry_dest);
  if (error == ERROR_SHARING_VIOLATION) {
    KwMessage(
        w.page,
        KwFormat("%s is used by other process. Cannot overwrite this file.", s.entry_dest).c_str(),
        nullptr, MB_OK | MB_ICONERROR);
  } else {
    KwMessage(w.page, KwFormat("Failed to copy %s.", s.entry_source).c_str(), nullptr,
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
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, KwUninstallKey().c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                      &disposition) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(s.title),
                 static_cast<DWORD>(std::strlen(s.title) + 1));
  RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                 static_cast<DWORD>(std::strlen(command) + 1));
  // What this install and the earlier ones wrote: the uninstall deletes
  // those and nothing else.
  KwInstallRecord record = KwWin().previous;
  for (const std::string& f : KwWin().written.files) KwRecordAdd(&record.files, f);
  for (const std::string& f : KwWin().written.folders) KwRecordAdd(&record.folders, f);
  WriteMultiString(key, "KwFiles", record.files);
  WriteMultiString(key, "KwFolders", record.folders);
  RegCloseKey(key);
}
