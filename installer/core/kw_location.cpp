#include "installer/core/kw_location.h"

#include <cstring>

#include "installer/core/kw_normalize.h"
#include "installer/core/kw_removal.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"

KwLocationCheck KwCheckLocation(const char* location) {
  std::size_t n = std::strlen(location);
  bool rooted = KwHasDriveRoot(location) != 0;
  // "C:\" is a root as much as "C\" is.
  if (n <= 2 || (n == 3 && rooted)) return KwLocationCheck::kRoot;
  if (!rooted) return KwLocationCheck::kNotFullPath;
  return KwLocationCheck::kOk;
}

KwLocationCheck KwCheckLocationText(const char* location) {
  std::size_t n = std::strlen(location);
  if (n > kKwLocationLimit) return KwLocationCheck::kTooLong;
  std::size_t from = KwHasDriveRoot(location) ? 3 : 0;
  const char* part = location + from;
  for (const char* p = part;; p += KwCharLength(p)) {
    bool single = KwCharLength(p) == 1;
    if (*p == '\0' || (single && (*p == '\\' || *p == '/'))) {
      if (p > part && KwIsDeviceName(part, p)) return KwLocationCheck::kBadName;
      if (*p == '\0') break;
      part = p + 1;
      continue;
    }
    if (!single) continue;
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 32 || std::strchr("<>\"|?*:", c)) return KwLocationCheck::kBadName;
  }
  return KwLocationCheck::kOk;
}

namespace {

// The folder that holds a normalised folder (ending in a backslash), with
// its backslash; empty for a root.
std::string Parent(const std::string& folder) {
  if (KwIsRootPath(folder.c_str())) return std::string();
  std::string trimmed = folder.substr(0, folder.size() - 1);
  const char* slash = FindLastCharDbcs(trimmed.c_str(), '\\');
  return slash ? trimmed.substr(0, static_cast<std::size_t>(slash - trimmed.c_str()) + 1)
               : std::string();
}

KwLocationCheck JudgeFolder(const char* full,
                            const std::vector<KwProtectedFolder>& protected_folders) {
  if (KwIsRootPath(full)) return KwLocationCheck::kRoot;
  for (const KwProtectedFolder& p : protected_folders) {
    if (p.folder.empty()) continue;
    if (KwIsInsideFolder(p.folder.c_str(), full)) return KwLocationCheck::kProtected;
    if (p.inside && KwIsInsideFolder(full, p.folder.c_str())) return KwLocationCheck::kProtected;
    if (p.children && KwSamePath(Parent(full).c_str(), p.folder.c_str()))
      return KwLocationCheck::kProtected;
  }
  return KwLocationCheck::kOk;
}

}  // namespace

KwLocationCheck KwJudgeLocation(const char* location,
                                const std::vector<KwProtectedFolder>& protected_folders,
                                std::string* normalised) {
  char full[kKwPathSize];
  if (normalised) normalised->clear();
  if (!KwFullPath(location, full, sizeof full) || !AddBackslash(full, sizeof full)) {
    return KwLocationCheck::kNotFullPath;
  }
  if (normalised) *normalised = full;
  KwLocationCheck check = JudgeFolder(full, protected_folders);
  // Where it finally leads counts as much: a mapped drive or a link may
  // reach a folder of the system under another name.
  const KwPlatform& hooks = KwPlatformHooks();
  char final_path[kKwPathSize];
  if (check == KwLocationCheck::kOk && hooks.final_path &&
      hooks.final_path(full, final_path, sizeof final_path) &&
      AddBackslash(final_path, sizeof final_path)) {
    check = JudgeFolder(final_path, protected_folders);
  }
  return check;
}

std::uint64_t KwFreeSpaceTenth(std::uint32_t sectors_per_cluster, std::uint32_t bytes_per_sector,
                               std::uint32_t free_clusters) {
  return static_cast<std::uint64_t>(sectors_per_cluster) * bytes_per_sector * (free_clusters / 10);
}

std::uint32_t KwFreeSpaceShown(std::uint64_t tenth) {
  std::uint64_t shown = tenth / 102 / 1024;
  return shown > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(shown);
}

namespace {

std::vector<std::string> LevelsFrom(const char* path, std::size_t from) {
  std::vector<std::string> levels;
  std::size_t n = std::strlen(path);
  for (std::size_t i = from; i < n; ++i) {
    if (path[i] == '\\' && !IsTrailByteAt(path, i)) levels.emplace_back(path, i + 1);
  }
  return levels;
}

}  // namespace

std::vector<std::string> KwFolderLevels(const char* path) {
  if (!KwHasDriveRoot(path)) return {std::string(path)};
  return LevelsFrom(path, 3);
}

std::vector<std::string> KwDestinationLevels(const char* dest, std::size_t location_length) {
  if (location_length > std::strlen(dest)) return {};
  return LevelsFrom(dest, location_length);
}

int KwUninstallString(const char* location, const char* file, char* out, std::size_t size) {
  if (!KwCopy(out, size, "\"") || !KwAppend(out, size, location) || !KwAppend(out, size, file) ||
      !KwAppend(out, size, "\" /r")) {
    if (size) out[0] = '\0';
    return 0;
  }
  return 1;
}

const KwUninstallEntry* KwForeignOwner(const char* location, const char* own_key,
                                       const std::vector<KwUninstallEntry>& entries) {
  char full[kKwPathSize];
  if (!KwFullPath(location, full, sizeof full) || !AddBackslash(full, sizeof full)) return nullptr;
  for (const KwUninstallEntry& e : entries) {
    if (KwSamePath(e.key.c_str(), own_key)) continue;
    char theirs[kKwPathSize];
    if (!KwFullPath(e.location.c_str(), theirs, sizeof theirs) ||
        !AddBackslash(theirs, sizeof theirs))
      continue;
    // A program at a root owns no folder that a root does not.
    if (KwIsRootPath(theirs)) continue;
    if (KwIsInsideFolder(full, theirs) || KwIsInsideFolder(theirs, full)) return &e;
  }
  return nullptr;
}
