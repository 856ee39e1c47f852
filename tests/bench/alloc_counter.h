// Counts the bytes the process holds through operator new, so that the
// benchmarks can report the peak memory of one read above what was held
// before it, the same way on every build (resident-set figures are neither
// portable nor resettable once freed memory stays in the allocator).
#ifndef LV_BENCH_ALLOC_COUNTER_H
#define LV_BENCH_ALLOC_COUNTER_H

#include <cstddef>

namespace lvbench {

// Bytes held now, as the allocator would charge them: each block rounded up
// with its header to 16 bytes, at least 32 (as glibc does on 64-bit).
size_t HeldBytes();
// Highest HeldBytes since the last ResetPeak.
size_t PeakBytes();
void ResetPeak();

}  // namespace lvbench

#endif
