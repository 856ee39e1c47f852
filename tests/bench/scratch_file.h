// A file in the temporary folder that is removed when it goes out of scope,
// and also when the program ends through exit() or std::terminate (an
// allocation that threw), so that a failed run does not leave hundreds of
// megabytes behind. A killed process still does.
#ifndef LV_BENCH_SCRATCH_FILE_H
#define LV_BENCH_SCRATCH_FILE_H

#include <string>

namespace lvbench {

class ScratchFile {
 public:
  // name gets the process id in front, so that runs side by side (in
  // other build trees) never share a file.
  explicit ScratchFile(const char* name);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Empty when the temporary folder could not be found.
  const std::string& Path() const { return path_; }
  // Bytes free where the file goes, -1 when unknown.
  long long FreeBytes() const;
  void Remove();

 private:
  std::string path_;
};

}  // namespace lvbench

#endif
