// What an install wrote: the files it created or replaced and the folders
// it made. Kept with the product's uninstall entry, so a later install
// knows its own files from another's and the uninstall deletes only those.
#pragma once

#include <string>
#include <vector>

struct KwInstallRecord {
  std::vector<std::string> files;    // full paths
  std::vector<std::string> folders;  // full paths with their backslash, in the order made
};

// 1 when list holds path, compared as the file system compares names.
int KwRecordHas(const std::vector<std::string>& list, const std::string& path);
// Adds path unless it is there already.
void KwRecordAdd(std::vector<std::string>* list, const std::string& path);

// The record as the registry's multi-string (each path ended by a NUL,
// the list by one more) and back; the reading skips what is no full path.
std::string KwRecordToMultiString(const std::vector<std::string>& list);
std::vector<std::string> KwRecordFromMultiString(const char* data, std::size_t size);
