#include "installer/core/kw_normalize.h"

#include <cstring>
#include <string>
#include <vector>

#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"

namespace {

bool IsSeparator(const char* p) { return KwCharLength(p) == 1 && (*p == '\\' || *p == '/'); }

// Length of the root of a full path ("X:\" or "\\server\share\"), 0 when
// there is none. A share root needs both names.
std::size_t RootLength(const char* path) {
  if (KwHasDriveRoot(path) || (path[0] != '\0' && path[1] == ':' && path[2] == '/' &&
                               ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z'))) {
    return 3;
  }
  if (!IsSeparator(path) || !IsSeparator(path + 1)) return 0;
  const char* p = path + 2;
  for (int names = 0; names < 2; ++names) {
    const char* start = p;
    while (*p && !IsSeparator(p)) p += KwCharLength(p);
    if (p == start) return 0;
    if (*p == '\0') return names == 1 ? static_cast<std::size_t>(p - path) : 0;
    ++p;
  }
  return static_cast<std::size_t>(p - path);
}

// Splits text into its parts between separators.
std::vector<std::string> Parts(const char* text) {
  std::vector<std::string> parts;
  std::string part;
  for (const char* p = text; *p;) {
    std::size_t n = KwCharLength(p);
    if (IsSeparator(p)) {
      parts.push_back(part);
      part.clear();
    } else {
      part.append(p, n);
    }
    p += n;
  }
  parts.push_back(part);
  return parts;
}

// Windows drops a part's trailing dots and blanks (a double-byte
// character's second byte is never one of them here: it is kept whole).
std::string Trimmed(const std::string& part) {
  std::size_t keep = 0;
  for (std::size_t i = 0; i < part.size();) {
    std::size_t n = KwCharLength(part.c_str() + i);
    if (n == 2 || (part[i] != '.' && part[i] != ' ')) keep = i + n;
    i += n;
  }
  return part.substr(0, keep);
}

}  // namespace

int KwIsFullPath(const char* path) { return RootLength(path) > 0 ? 1 : 0; }

int KwNormalizePath(const char* path, char* out, std::size_t size) {
  if (size) out[0] = '\0';
  std::size_t root_length = RootLength(path);
  if (root_length == 0) return 0;
  std::string root(path, root_length);
  for (char& c : root) {
    if (c == '/') c = '\\';
  }
  if (root.back() != '\\') root += '\\';
  std::vector<std::string> kept;
  std::vector<std::string> parts = Parts(path + root_length);
  bool trailing = false;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    trailing = part.empty();
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    std::string name = Trimmed(part);
    // "." and parts of nothing but dots and blanks name the folder itself.
    if (name.empty()) {
      if (!part.empty()) trailing = i + 1 == parts.size();
      continue;
    }
    kept.push_back(name);
  }
  std::string result = root;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    result += kept[i];
    if (i + 1 < kept.size() || trailing) result += '\\';
  }
  return KwCopy(out, size, result.c_str());
}

int KwIsRootPath(const char* normalised) {
  std::size_t n = RootLength(normalised);
  return n > 0 && normalised[n] == '\0' && normalised[n - 1] == '\\' ? 1 : 0;
}

int KwIsInsideFolder(const char* inner, const char* outer) {
  std::size_t n = std::strlen(outer);
  if (n == 0 || std::strlen(inner) < n || IsTrailByteAt(inner, n)) return 0;
  std::string head(inner, n);
  return KwSamePath(head.c_str(), outer);
}

int KwFullPath(const char* path, char* out, std::size_t size) {
  const KwPlatform& p = KwPlatformHooks();
  if (p.full_path) return p.full_path(path, out, size);
  return KwNormalizePath(path, out, size);
}
