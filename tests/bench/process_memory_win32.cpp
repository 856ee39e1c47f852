#include "process_memory.h"

#include <windows.h>
#include <psapi.h>

namespace lvbench {

ProcessPeaks ReadProcessPeaks() {
  ProcessPeaks p;
  PROCESS_MEMORY_COUNTERS counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    p.residentMb = counters.PeakWorkingSetSize / 1048576.0;
    p.committedMb = counters.PeakPagefileUsage / 1048576.0;
  }
  return p;
}

}  // namespace lvbench
