#include "installer/core/kw_command_line.h"

#include <cstring>

#include "installer/core/kw_strings.h"

KwMode KwChooseMode(const char* command_line, const char** stage_path) {
  const char* p = command_line ? command_line : "";
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '/') ++p;
  if (*p == 'x') {
    if (stage_path) *stage_path = p[1] != '\0' ? p + 2 : p + 1;
    return KwMode::kSecondStage;
  }
  if (*p == 'r' || *p == 'R') return KwMode::kUninstallRequest;
  return KwMode::kInstall;
}

int KwStagePath(const char* text, char* out, std::size_t size) {
  while (*text == ' ' || *text == '\t') ++text;
  std::size_t n = std::strlen(text);
  while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t')) --n;
  // The first stage quotes the path, since it may hold blanks.
  if (n >= 2 && text[0] == '"' && text[n - 1] == '"') {
    ++text;
    n -= 2;
  }
  if (n >= size) {
    if (size) out[0] = '\0';
    return 0;
  }
  std::memcpy(out, text, n);
  out[n] = '\0';
  return 1;
}
