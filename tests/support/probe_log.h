// The log of a test program that an end-to-end script reads while the
// program runs (every line flushed at once), and the files by which the
// script signals it.
#ifndef TESTS_SUPPORT_PROBE_LOG_H
#define TESTS_SUPPORT_PROBE_LOG_H

#include <cstdarg>
#include <cstdio>
#include <string>

namespace e2e_probe {

inline std::FILE*& LogFile() {
  static std::FILE* file = nullptr;
  return file;
}

// Until it is opened, logging writes nothing.
inline void OpenLog(const std::string& path) { LogFile() = std::fopen(path.c_str(), "w"); }

inline void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline void Log(const char* format, ...) {
  std::FILE* file = LogFile();
  if (!file) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fflush(file);
}

inline bool Exists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

}  // namespace e2e_probe

#endif
