#include "process_memory.h"

#include <cstdio>

namespace lvbench {

// Linux: /proc/self/status, in kB.
ProcessPeaks ReadProcessPeaks() {
  ProcessPeaks p;
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return p;
  char line[256];
  while (std::fgets(line, sizeof line, f) != nullptr) {
    long kb = 0;
    if (std::sscanf(line, "VmHWM: %ld", &kb) == 1) p.residentMb = kb / 1024.0;
    if (std::sscanf(line, "VmPeak: %ld", &kb) == 1) p.committedMb = kb / 1024.0;
  }
  std::fclose(f);
  return p;
}

}  // namespace lvbench
