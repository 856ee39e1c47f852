#include "scratch_file.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <process.h>
#define LV_GETPID _getpid
#else
#include <unistd.h>
#define LV_GETPID getpid
#endif

namespace lvbench {

namespace {

// The one live scratch file, for the exit and terminate handlers.
std::string& Pending() {
  static std::string path;
  return path;
}

void RemovePending() {
  if (!Pending().empty()) std::remove(Pending().c_str());
  Pending().clear();
}

[[noreturn]] void RemoveAndAbort() {
  RemovePending();
  std::abort();
}

void InstallHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  std::atexit(RemovePending);
  std::set_terminate(RemoveAndAbort);
}

}  // namespace

ScratchFile::ScratchFile(const char* name) {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return;
  path_ = (folder / (std::to_string(LV_GETPID()) + "-" + name)).string();
  // The path's static first: it must outlive the exit handler.
  Pending() = path_;
  InstallHandlers();
}

ScratchFile::~ScratchFile() { Remove(); }

long long ScratchFile::FreeBytes() const {
  if (path_.empty()) return -1;
  std::error_code error;
  const std::filesystem::space_info space =
      std::filesystem::space(std::filesystem::path(path_).parent_path(), error);
  return error ? -1 : static_cast<long long>(space.available);
}

void ScratchFile::Remove() {
  if (path_.empty()) return;
  std::remove(path_.c_str());
  if (Pending() == path_) Pending().clear();
}

}  // namespace lvbench
