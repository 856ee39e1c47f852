// Paths as the system resolves them: full long names, the system's own
// folders that no install may take, links, and file-name comparison.
#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "installer/core/kw_normalize.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/kitwright_win32.h"

namespace {

// The long form of the longest part of full that exists, with the rest as
// it stands: a location that is still to be made resolves as well.
std::string LongForm(const std::string& full) {
  std::string head = full;
  std::string tail;
  while (!head.empty()) {
    char long_path[kKwPathSize];
    DWORD n = GetLongPathNameA(head.c_str(), long_path, sizeof long_path);
    if (n > 0 && n < sizeof long_path) {
      std::string joined = long_path;
      if (!tail.empty() && joined.back() != '\\') joined += '\\';
      return joined + tail;
    }
    if (KwIsRootPath(head.c_str())) break;
    std::string trimmed = head;
    if (trimmed.back() == '\\') trimmed.pop_back();
    const char* slash = FindLastCharDbcs(trimmed.c_str(), '\\');
    if (!slash) break;
    std::size_t at = static_cast<std::size_t>(slash - trimmed.c_str()) + 1;
    tail = trimmed.substr(at) + (head.back() == '\\' ? "\\" : "") + tail;
    head = trimmed.substr(0, at);
  }
  return full;
}

int FullPathHook(const char* path, char* out, std::size_t size) {
  std::string full = KwFullLongPath(path);
  return KwIsFullPath(full.c_str()) ? KwCopy(out, size, full.c_str()) : (size ? (out[0] = '\0', 0) : 0);
}

// Windows compares file names ordinally after upper-casing them.
int SamePathHook(const char* a, const char* b) {
  WCHAR wa[kKwPathSize * 2], wb[kKwPathSize * 2];
  int na = MultiByteToWideChar(CP_ACP, 0, a, -1, wa, kKwPathSize * 2);
  int nb = MultiByteToWideChar(CP_ACP, 0, b, -1, wb, kKwPathSize * 2);
  if (na == 0 || nb == 0 || na != nb) return 0;
  CharUpperBuffW(wa, static_cast<DWORD>(na));
  CharUpperBuffW(wb, static_cast<DWORD>(nb));
  return std::memcmp(wa, wb, static_cast<std::size_t>(na) * sizeof(WCHAR)) == 0 ? 1 : 0;
}

void AddFolder(std::vector<KwProtectedFolder>* out, const char* folder, bool children) {
  if (!folder || folder[0] == '\0') return;
  char full[kKwPathSize];
  if (!KwFullPath(folder, full, sizeof full) || !AddBackslash(full, sizeof full)) return;
  out->push_back({full, children});
}

}  // namespace

std::string KwFullLongPath(const char* path) {
  char full[kKwPathSize];
  DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return path;
  // The system's own form may keep what the plain form drops.
  char plain[kKwPathSize];
  if (!KwNormalizePath(full, plain, sizeof plain)) return full;
  return LongForm(plain);
}

void KwInstallPathHooks() {
  KwPlatform& p = KwPlatformHooks();
  p.same_path = &SamePathHook;
  p.full_path = &FullPathHook;
}

std::vector<KwProtectedFolder> KwSystemFolders() {
  std::vector<KwProtectedFolder> folders;
  char path[kKwPathSize];
  UINT n = GetWindowsDirectoryA(path, sizeof path);
  if (n > 0 && n < sizeof path) AddFolder(&folders, path, false);
  n = GetSystemDirectoryA(path, sizeof path);
  if (n > 0 && n < sizeof path) AddFolder(&folders, path, false);
  const int kinds[] = {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROFILE};
  for (int kind : kinds) {
    if (SUCCEEDED(SHGetFolderPathA(nullptr, kind, nullptr, 0, path))) AddFolder(&folders, path, false);
  }
  // The profiles folder holds every user's profile.
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, path))) {
    char parent[kKwPathSize];
    if (KwFullPath(path, parent, sizeof parent)) {
      KwStripBackslash(parent);
      if (char* slash = const_cast<char*>(FindLastCharDbcs(parent, '\\'))) {
        slash[1] = '\0';
        if (!KwIsRootPath(parent)) AddFolder(&folders, parent, true);
      }
    }
  }
  return folders;
}

int KwIsReparsePoint(const char* path) {
  // With its trailing backslash a link reports what it points at.
  char trimmed[kKwPathSize];
  if (!KwCopy(trimmed, sizeof trimmed, path)) return 0;
  if (!KwIsRootPath(trimmed)) KwStripBackslash(trimmed);
  DWORD attributes = GetFileAttributesA(trimmed);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? 1 : 0;
}

int KwLinkOnTheWay(const char* path, const char* location) {
  if (KwIsReparsePoint(location)) return 1;
  for (const std::string& level : KwDestinationLevels(path, std::strlen(location))) {
    if (KwIsReparsePoint(level.c_str())) return 1;
  }
  return KwIsReparsePoint(path);
}
