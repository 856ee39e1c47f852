#include "installer/core/kw_record.h"

#include "installer/core/kw_normalize.h"
#include "installer/core/kw_strings.h"

int KwRecordHas(const std::vector<std::string>& list, const std::string& path) {
  for (const std::string& p : list) {
    if (KwSamePath(p.c_str(), path.c_str())) return 1;
  }
  return 0;
}

void KwRecordAdd(std::vector<std::string>* list, const std::string& path) {
  if (!KwRecordHas(*list, path)) list->push_back(path);
}

std::string KwRecordToMultiString(const std::vector<std::string>& list) {
  std::string out;
  for (const std::string& p : list) {
    out += p;
    out += '\0';
  }
  out += '\0';
  return out;
}

std::vector<std::string> KwRecordFromMultiString(const char* data, std::size_t size) {
  std::vector<std::string> list;
  std::size_t start = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] != '\0') continue;
    if (i == start) break;
    std::string path(data + start, i - start);
    // A hand-edited value may name anything: only full paths count.
    if (KwIsFullPath(path.c_str())) list.push_back(path);
    start = i + 1;
  }
  return list;
}
