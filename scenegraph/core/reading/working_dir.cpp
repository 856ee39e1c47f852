#include "scenegraph/core/reading/working_dir.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <direct.h>
#define KS_GETCWD _getcwd
#define KS_CHDIR _chdir
#else
#include <unistd.h>
#define KS_GETCWD getcwd
#define KS_CHDIR chdir
#endif

std::string KsFolderOfPath(const char* path) {
  if (!path) return std::string();
  const char* slash = std::strrchr(path, '/');
  const char* backslash = std::strrchr(path, '\\');
  const char* last = slash;
  if (!last || (backslash && backslash > last)) last = backslash;
  if (!last || last == path) return std::string();
  size_t length = static_cast<size_t>(last - path);
  // "C:" alone names the drive's current directory, not its root.
  if (length == 2 && path[1] == ':') ++length;
  return std::string(path, length);
}

KsWorkingDirScope::KsWorkingDirScope(const std::string& folder) {
  if (folder.empty()) return;
  // A null buffer makes the runtime allocate one that fits any path.
  saved_ = KS_GETCWD(nullptr, 0);
  if (!saved_) return;
  changed_ = KS_CHDIR(folder.c_str()) == 0 ? 1 : 0;
}

KsWorkingDirScope::~KsWorkingDirScope() {
  if (saved_ && changed_) {
    if (KS_CHDIR(saved_) != 0) {
      // Nothing sensible is left to do: the old folder is gone.
    }
  }
  std::free(saved_);
}
