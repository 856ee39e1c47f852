// The memory a program holds through operator new, counted by replacing it
// in that program (tests and benchmarks link this file; nothing else does):
// not timed, not a resident-set figure that freed memory hides, and the same
// on every build. A ceiling makes the throwing allocations fail, as a 32-bit
// address space does when it runs out.
#pragma once

#include <cstddef>

namespace kstest {

// Bytes held now, as the allocator would charge them: each block rounded up
// with its header to 16 bytes, at least 32 (as glibc does on 64-bit).
size_t HeldBytes();
// Highest HeldBytes since the last ResetPeak.
size_t PeakBytes();
void ResetPeak();
// While bytes > 0, an allocation by the throwing operator new that would
// hold more than bytes throws std::bad_alloc; the non-throwing ones go on.
void SetThrowingCeiling(size_t bytes);

}  // namespace kstest
