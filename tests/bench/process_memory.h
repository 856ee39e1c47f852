// The process's own peak memory as the system counts it (the wine process
// itself under Wine): what the allocator counter cannot see, such as
// malloc, the C library's buffers and address space kept by the heap.
#ifndef LV_BENCH_PROCESS_MEMORY_H
#define LV_BENCH_PROCESS_MEMORY_H

namespace lvbench {

struct ProcessPeaks {
  double residentMb = -1;  // peak working set (VmHWM); -1 when not told
  // Peak committed memory on Windows (PeakPagefileUsage); the peak address
  // space (VmPeak) on Linux. Wine's has been seen to miss a peak between
  // two calls (lower than the resident peak): the resident one is the
  // figure to trust there.
  double committedMb = -1;
};

// The peaks of the process since it started.
ProcessPeaks ReadProcessPeaks();

}  // namespace lvbench

#endif
