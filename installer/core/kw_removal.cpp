#include "installer/core/kw_removal.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "installer/core/kw_config.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/core/kw_uninstall.h"

namespace {

constexpr char kStagePrefix[] = "KwUninstall-";
constexpr char kStageCopy[] = "KwUninstall.exe";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A name of [begin, end): Windows drops trailing dots and blanks, so a
// name of nothing else is "." or ".." in disguise.
bool PlainPart(const char* begin, const char* end) {
  bool substance = false;
  for (const char* p = begin; p < end; p += KwCharLength(p)) {
    if (KwCharLength(p) == 2) {
      substance = true;
      continue;
    }
    if (IsSeparator(*p) || *p == ':') return false;
    if (*p != '.' && *p != ' ') substance = true;
  }
  return substance;
}

}  // namespace

int KwIsPlainName(const char* name) { return PlainPart(name, name + std::strlen(name)) ? 1 : 0; }

int KwIsInsideDestination(const char* destination) {
  const char* part = destination;
  for (const char* p = destination;; p += KwCharLength(p)) {
    if (*p == '\0' || (KwCharLength(p) == 1 && IsSeparator(*p))) {
      if (!PlainPart(part, p)) return 0;
      if (*p == '\0') return 1;
      part = p + 1;
    }
  }
}

KwUninstallSource KwCheckUninstallSource(const char* registered_program, const char* running) {
  if (registered_program[0] == '\0') return KwUninstallSource::kNotInstalled;
  return KwSamePath(registered_program, running) ? KwUninstallSource::kOk : KwUninstallSource::kOtherCopy;
}

KwWalkAction KwFolderEntryAction(const char* name, bool directory, bool link) {
  if (link) return directory ? KwWalkAction::kKeep : KwWalkAction::kAsk;
  if (directory) return KwWalkAction::kRecurse;
  return KwIsHelpIndexFile(name) ? KwWalkAction::kDeleteQuietly : KwWalkAction::kAsk;
}

int KwStageCopyName(const char* temp_folder, unsigned stamp, char* folder, std::size_t folder_size, char* out,
                    std::size_t size) {
  char name[sizeof kStagePrefix + kKwKeySize];
  std::snprintf(name, sizeof name, "%s%u\\", kStagePrefix, stamp);
  if (!KwCopy(folder, folder_size, temp_folder) || !AddBackslash(folder, folder_size) ||
      !KwAppend(folder, folder_size, name) || !KwCopy(out, size, folder) || !KwAppend(out, size, kStageCopy)) {
    if (folder_size) folder[0] = '\0';
    if (size) out[0] = '\0';
    return 0;
  }
  return 1;
}

int KwIsStageCopy(const char* path, const char* temp_folder) {
  char temp[kKwPathSize];
  if (!KwCopy(temp, sizeof temp, temp_folder) || !AddBackslash(temp, sizeof temp)) return 0;
  std::size_t n = std::strlen(temp);
  if (std::strlen(path) <= n || IsTrailByteAt(path, n)) return 0;
  if (!KwSamePath(std::string(path, n).c_str(), temp)) return 0;
  // What follows is "KwUninstall-<digits>\KwUninstall.exe" and nothing else.
  std::string rest = path + n;
  const std::size_t prefix = sizeof kStagePrefix - 1, copy = sizeof kStageCopy - 1;
  if (rest.size() < prefix + 2 + copy) return 0;
  if (!KwSamePath(rest.substr(0, prefix).c_str(), kStagePrefix)) return 0;
  std::size_t i = prefix;
  while (i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i]))) ++i;
  if (i == prefix || rest[i] != '\\') return 0;
  return KwSamePath(rest.substr(i + 1).c_str(), kStageCopy);
}

int KwIsStageProgramPath(const char* path) {
  std::size_t root = 0;
  if (KwHasDriveRoot(path)) {
    root = 3;
  } else if (path[0] == '\\' && path[1] == '\\') {
    root = 2;  // server and share must be plain names as well
  } else {
    return 0;
  }
  if (!KwIsInsideDestination(path + root)) return 0;
  const char* name = FindLastCharDbcs(path, '\\');
  char config[kKwPathSize];
  return name && KwIsPlainName(name + 1) && KwConfigFileName(name + 1, config, sizeof config) &&
                 KwIsPlainName(config)
             ? 1
             : 0;
}
