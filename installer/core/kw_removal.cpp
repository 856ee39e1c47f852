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

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

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
  return substance && !KwIsDeviceName(begin, end);
}

}  // namespace

bool KwIsDeviceName(const char* begin, const char* end) {
  // The stem: up to the first dot, trailing blanks dropped ("nul.txt",
  // "COM1 .log" and "lpt1." all name the device).
  const char* stop = begin;
  while (stop < end && *stop != '.') ++stop;
  while (stop > begin && stop[-1] == ' ') --stop;
  std::size_t n = static_cast<std::size_t>(stop - begin);
  if (n < 3 || n > 7) return false;
  char stem[8] = {0};
  for (std::size_t i = 0; i < n; ++i) stem[i] = Upper(begin[i]);
  for (const char* d : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
    if (std::strcmp(stem, d) == 0) return true;
  }
  // COM1-COM9 and LPT1-LPT9; COM0 and LPT0 are ordinary names.
  return n == 4 && (std::strncmp(stem, "COM", 3) == 0 || std::strncmp(stem, "LPT", 3) == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

int KwIsPlainName(const char* name) { return PlainPart(name, name + std::strlen(name)) ? 1 : 0; }

int KwNamesDevice(const char* path) {
  const char* part = path;
  for (const char* p = path;; p += KwCharLength(p)) {
    if (*p == '\0' || (KwCharLength(p) == 1 && IsSeparator(*p))) {
      if (p > part && KwIsDeviceName(part, p)) return 1;
      if (*p == '\0') return 0;
      part = p + 1;
    }
  }
}

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
  return KwSamePath(registered_program, running) ? KwUninstallSource::kOk
                                                 : KwUninstallSource::kOtherCopy;
}

KwWalkAction KwFolderEntryAction(const char* name, bool directory, bool link) {
  if (link) return KwWalkAction::kKeep;
  if (directory) return KwWalkAction::kRecurse;
  return KwIsHelpIndexFile(name) ? KwWalkAction::kDeleteQuietly : KwWalkAction::kAsk;
}

int KwStageCopyName(const char* temp_folder, unsigned stamp, char* folder, std::size_t folder_size,
                    char* out, std::size_t size) {
  char name[sizeof kStagePrefix + kKwKeySize];
  std::snprintf(name, sizeof name, "%s%u\\", kStagePrefix, stamp);
  if (!KwCopy(folder, folder_size, temp_folder) || !AddBackslash(folder, folder_size) ||
      !KwAppend(folder, folder_size, name) || !KwCopy(out, size, folder) ||
      !KwAppend(out, size, kStageCopy)) {
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
