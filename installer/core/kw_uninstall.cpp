#include "installer/core/kw_uninstall.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct RootName {
  const char* name;
  KwRegRoot root;
};

}  // namespace

KwRegRoot KwParseRegEntry(const char* value, const char** subkey) {
  static const RootName kRoots[] = {
      {"HKEY_CURRENT_USER", KwRegRoot::kCurrentUser},
      {"HKEY_LOCAL_MACHINE", KwRegRoot::kLocalMachine},
      {"HKEY_CLASSES_ROOT", KwRegRoot::kClassesRoot},
  };
  for (const RootName& r : kRoots) {
    std::size_t n = std::strlen(r.name);
    // An empty subkey, or one led by a backslash, opens the root itself:
    // only keys strictly under a root may go.
    if (std::strncmp(value, r.name, n) == 0 && value[n] == '\\' && value[n + 1] != '\0' &&
        value[n + 1] != '\\') {
      if (subkey) *subkey = value + n + 1;
      return r.root;
    }
  }
  if (subkey) *subkey = nullptr;
  return KwRegRoot::kNone;
}

namespace {

bool SameWord(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

KwRegCheck KwJudgeRegEntry(const char* value) {
  const char* subkey = nullptr;
  KwRegRoot root = KwParseRegEntry(value, &subkey);
  if (root == KwRegRoot::kNone) {
    // A root named with nothing under it is no broken entry but the root.
    for (const char* r : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT"}) {
      std::size_t n = std::strlen(r);
      if (std::strncmp(value, r, n) == 0 &&
          (value[n] == '\0' || (value[n] == '\\' && value[n + 1] == '\0'))) {
        return KwRegCheck::kTooBroad;
      }
    }
    return KwRegCheck::kBroken;
  }
  std::vector<std::string> parts;
  std::string part;
  for (const char* p = subkey;; ++p) {
    if (*p == '\\' || *p == '\0') {
      // An empty part ("a\\b", a trailing "\") is not the key it seems.
      if (part.empty()) return KwRegCheck::kNotOwn;
      parts.push_back(part);
      part.clear();
      if (*p == '\0') break;
    } else {
      part += *p;
    }
  }
  if (root == KwRegRoot::kClassesRoot)
    return parts.size() < 2 ? KwRegCheck::kTooBroad : KwRegCheck::kNotOwn;
  if (parts.size() < 2) return KwRegCheck::kTooBroad;
  if (!SameWord(parts[0], "Software")) return KwRegCheck::kNotOwn;
  for (const char* shared : {"Microsoft", "Classes", "Policies", "Wow6432Node", "Wine",
                             "RegisteredApplications", "Clients"}) {
    if (SameWord(parts[1], shared)) return KwRegCheck::kNotOwn;
  }
  return parts.size() < 3 ? KwRegCheck::kTooBroad : KwRegCheck::kOk;
}

int KwIsHelpIndexFile(const char* name) {
  const char* dot = std::strchr(name, '.');
  if (!dot) return 0;
  const char* ext = dot + 1;
  if (std::strlen(ext) != 3) return 0;
  return std::tolower(static_cast<unsigned char>(ext[0])) == 'g' &&
                 std::tolower(static_cast<unsigned char>(ext[1])) == 'i' &&
                 std::tolower(static_cast<unsigned char>(ext[2])) == 'd'
             ? 1
             : 0;
}

int KwBuildWininitBlock(const char* section_lines, const char* short_path, std::string* block) {
  block->assign("[Rename]\r\n");
  for (const char* line = section_lines; line && *line; line += std::strlen(line) + 1) {
    block->append(line);
    block->append("\r\n");
    if (block->size() > kKwWininitLimit) {
      block->clear();
      return 0;
    }
  }
  block->append("NUL=");
  block->append(short_path);
  block->append("\r\n");
  return 1;
}

void KwWininitPlacement(long size, int last_byte, long* offset, bool* newline) {
  if (size <= 0) {
    *offset = 0;
    *newline = false;
  } else if (last_byte == 26) {
    *offset = size - 1;
    *newline = false;
  } else {
    *offset = size;
    *newline = last_byte != '\n';
  }
}
