#include "installer/core/kw_removal.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/core/kw_uninstall.h"

namespace {

constexpr char kStagePrefix[] = "KwUninstall-";
constexpr char kStageSuffix[] = ".exe";

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
  if (link) return KwWalkAction::kAsk;
  if (directory) return KwWalkAction::kRecurse;
  return KwIsHelpIndexFile(name) ? KwWalkAction::kDeleteQuietly : KwWalkAction::kAsk;
}

int KwStageCopyName(const char* temp_folder, unsigned stamp, char* out, std::size_t size) {
  char name[sizeof kStagePrefix + kKwKeySize + sizeof kStageSuffix];
  std::snprintf(name, sizeof name, "%s%u%s", kStagePrefix, stamp, kStageSuffix);
  if (!KwCopy(out, size, temp_folder) || !AddBackslash(out, size) || !KwAppend(out, size, name)) {
    if (size) out[0] = '\0';
    return 0;
  }
  return 1;
}

int KwIsStageCopy(const char* path, const char* temp_folder) {
  const char* slash = FindLastCharDbcs(path, '\\');
  if (!slash) return 0;
  std::string folder(path, static_cast<std::size_t>(slash - path) + 1);
  char temp[kKwPathSize];
  if (!KwCopy(temp, sizeof temp, temp_folder) || !AddBackslash(temp, sizeof temp)) return 0;
  if (!KwSamePath(folder.c_str(), temp)) return 0;
  std::string name = slash + 1;
  const std::size_t prefix = sizeof kStagePrefix - 1, suffix = sizeof kStageSuffix - 1;
  if (name.size() <= prefix + suffix) return 0;
  if (!KwSamePath(name.substr(0, prefix).c_str(), kStagePrefix) ||
      !KwSamePath(name.substr(name.size() - suffix).c_str(), kStageSuffix)) {
    return 0;
  }
  for (std::size_t i = prefix; i < name.size() - suffix; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
  }
  return 1;
}
