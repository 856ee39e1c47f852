// Paths as the system resolves them: full long names, the system's own
// folders that no install may take, links, and file-name comparison.
#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "installer/core/kw_config.h"
#include "installer/core/kw_normalize.h"
#include "installer/core/kw_record.h"
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
  return KwIsFullPath(full.c_str()) ? KwCopy(out, size, full.c_str())
                                    : (size ? (out[0] = '\0', 0) : 0);
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

// Each folder goes in as named and as it finally resolves, so a location
// reached through a link or a mapped drive meets it in one of the forms.
void AddFolder(std::vector<KwProtectedFolder>* out, const char* folder, bool children,
               bool inside = false) {
  if (!folder || folder[0] == '\0') return;
  char full[kKwPathSize];
  if (!KwFullPath(folder, full, sizeof full) || !AddBackslash(full, sizeof full)) return;
  out->push_back({full, children, inside});
  std::string final_path = KwFinalPath(full);
  if (!final_path.empty() && !KwSamePath(final_path.c_str(), full))
    out->push_back({final_path, children, inside});
}

HANDLE OpenAny(const char* path, DWORD flags) {
  return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// The final path of an open handle in its plain DOS form; empty when the
// system cannot tell.
std::string HandleFinalPath(HANDLE h) {
  char buffer[kKwPathSize * 2];
  DWORD n =
      GetFinalPathNameByHandleA(h, buffer, sizeof buffer, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0 || n >= sizeof buffer) return std::string();
  std::string path = buffer;
  if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\\\" + path.substr(8);
  if (path.compare(0, 4, "\\\\?\\") == 0) return path.substr(4);
  return path;
}

int FinalPathHook(const char* path, char* out, std::size_t size) {
  std::string final_path = KwFinalPath(path);
  return KwIsFullPath(final_path.c_str()) ? KwCopy(out, size, final_path.c_str())
                                          : (size ? (out[0] = '\0', 0) : 0);
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
  p.final_path = &FinalPathHook;
}

std::string KwFinalPath(const char* path) {
  std::string full = KwFullLongPath(path);
  if (!KwIsFullPath(full.c_str())) return std::string();
  // The longest part that exists resolves; the rest is still to be made.
  std::string head = full, tail;
  for (;;) {
    std::string opened = head;
    if (!KwIsRootPath(opened.c_str()) && !opened.empty() && opened.back() == '\\')
      opened.pop_back();
    HANDLE h = OpenAny(opened.c_str(), 0);
    if (h != INVALID_HANDLE_VALUE) {
      std::string resolved = HandleFinalPath(h);
      CloseHandle(h);
      if (resolved.empty()) return full;
      if (!tail.empty() || full.back() == '\\') {
        if (resolved.back() != '\\') resolved += '\\';
      }
      return resolved + tail;
    }
    if (KwIsRootPath(head.c_str())) return full;
    std::string trimmed = head;
    if (trimmed.back() == '\\') trimmed.pop_back();
    const char* slash = FindLastCharDbcs(trimmed.c_str(), '\\');
    if (!slash) return full;
    std::size_t at = static_cast<std::size_t>(slash - trimmed.c_str()) + 1;
    tail = trimmed.substr(at) + (head.back() == '\\' ? "\\" : "") + tail;
    head = trimmed.substr(0, at);
  }
}

KwFileKind KwExistingFileKind(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // A dangling link reads as missing, but a new file cannot be made there.
    WIN32_FIND_DATAA found;
    HANDLE f = FindFirstFileA(path, &found);
    if (f != INVALID_HANDLE_VALUE) {
      FindClose(f);
      return KwFileKind::kLink;
    }
    return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND
               ? KwFileKind::kAbsent
               : KwFileKind::kLink;
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return KwFileKind::kLink;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return KwFileKind::kFolder;
  // Wine shows a link to a file as a plain file: the file it opens tells.
  HANDLE h = OpenAny(path, FILE_FLAG_OPEN_REPARSE_POINT);
  if (h == INVALID_HANDLE_VALUE) return KwFileKind::kOther;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(h, &info) != 0;
  std::string opened = HandleFinalPath(h);
  CloseHandle(h);
  if (!known) return KwFileKind::kOther;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return KwFileKind::kLink;
  if (info.nNumberOfLinks > 1) return KwFileKind::kHardLink;
  // Its own folder's final path and its own name, or it lies elsewhere.
  char folder[kKwPathSize];
  std::string full = KwFullLongPath(path);
  if (opened.empty() || !KwLocationFromProgram(full.c_str(), folder, sizeof folder))
    return KwFileKind::kOther;
  std::string expected = KwFinalPath(folder);
  if (!expected.empty() && expected.back() != '\\') expected += '\\';
  expected += full.substr(std::strlen(folder));
  return KwSamePath(expected.c_str(), opened.c_str()) ? KwFileKind::kPlain : KwFileKind::kLink;
}

std::vector<KwProtectedFolder> KwSystemFolders() {
  std::vector<KwProtectedFolder> folders;
  char path[kKwPathSize];
  UINT n = GetWindowsDirectoryA(path, sizeof path);
  if (n > 0 && n < sizeof path) AddFolder(&folders, path, false, true);
  n = GetSystemDirectoryA(path, sizeof path);
  if (n > 0 && n < sizeof path) AddFolder(&folders, path, false, true);
  for (int kind : {CSIDL_PROGRAM_FILES, CSIDL_PROFILE}) {
    if (SUCCEEDED(SHGetFolderPathA(nullptr, kind, nullptr, 0, path)))
      AddFolder(&folders, path, false);
  }
  // What the system and the users keep their own things in: nothing at or
  // inside them is an install folder.
  const int kInside[] = {CSIDL_WINDOWS,
                         CSIDL_SYSTEM,
                         CSIDL_FONTS,
                         CSIDL_PROGRAM_FILES_COMMON,
                         CSIDL_COMMON_APPDATA,
                         CSIDL_COMMON_DOCUMENTS,
                         CSIDL_COMMON_DESKTOPDIRECTORY,
                         CSIDL_COMMON_PROGRAMS,
                         CSIDL_COMMON_STARTMENU,
                         CSIDL_COMMON_STARTUP,
                         CSIDL_COMMON_TEMPLATES,
                         CSIDL_DESKTOPDIRECTORY,
                         CSIDL_PERSONAL,
                         CSIDL_APPDATA,
                         CSIDL_LOCAL_APPDATA,
                         CSIDL_PROGRAMS,
                         CSIDL_STARTMENU,
                         CSIDL_STARTUP,
                         CSIDL_FAVORITES,
                         CSIDL_TEMPLATES,
                         CSIDL_SENDTO,
                         CSIDL_RECENT,
                         CSIDL_NETHOOD,
                         CSIDL_PRINTHOOD,
                         CSIDL_MYMUSIC,
                         CSIDL_MYPICTURES,
                         CSIDL_MYVIDEO,
                         CSIDL_COOKIES,
                         CSIDL_HISTORY,
                         CSIDL_INTERNET_CACHE,
                         CSIDL_RESOURCES};
  for (int kind : kInside) {
    if (SUCCEEDED(SHGetFolderPathA(nullptr, kind, nullptr, SHGFP_TYPE_CURRENT, path))) {
      AddFolder(&folders, path, false, true);
    }
  }
  // Every program folder already under Program Files is that program's;
  // only a new one (or the one this product's earlier install made) is free.
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path))) {
    std::string base = path;
    if (base.back() != '\\') base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE f = FindFirstFileA((base + "*").c_str(), &found);
    if (f != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == ".." || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          continue;
        std::string child = base + name + "\\";
        if (KwRecordHas(KwWin().previous.folders, KwFullLongPath(child.c_str()))) continue;
        AddFolder(&folders, child.c_str(), false, true);
      } while (FindNextFileA(f, &found));
      FindClose(f);
    }
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
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
             ? 1
             : 0;
}

int KwLinkOnTheWay(const char* path, const char* location) {
  if (KwIsReparsePoint(location)) return 1;
  for (const std::string& level : KwDestinationLevels(path, std::strlen(location))) {
    if (KwIsReparsePoint(level.c_str())) return 1;
  }
  return KwIsReparsePoint(path);
}
