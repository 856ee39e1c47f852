// The process's working directory, saved and restored around reading a
// file so that relative names inside it resolve against its own folder.
#pragma once

#include <string>

// Folder to change to for a file path: the text before the last '/' or '\',
// with the separator kept after a bare drive ("C:\"). Empty when the path
// has no separator or only a leading one (nothing to change).
std::string KsFolderOfPath(const char* path);

// Changes to folder on construction when the current directory could be
// saved, and back on destruction; changes nothing when saving fails.
class KsWorkingDirScope {
 public:
  explicit KsWorkingDirScope(const std::string& folder);
  ~KsWorkingDirScope();
  KsWorkingDirScope(const KsWorkingDirScope&) = delete;
  KsWorkingDirScope& operator=(const KsWorkingDirScope&) = delete;

  int Changed() const { return changed_; }

 private:
  char* saved_ = nullptr;
  int changed_ = 0;
};
