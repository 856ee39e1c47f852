// The memory a test's reads take, counted by replacing operator new in the
// test program (not timed, and the same on every build), and a ceiling that
// makes the throwing allocations fail, as a 32-bit address space does when
// it runs out.
#ifndef KS_TESTS_COUNTED_NEW_H
#define KS_TESTS_COUNTED_NEW_H

#include <cstddef>

namespace kstest {

// Bytes held through operator new now, and the most since ResetPeak.
size_t HeldBytes();
size_t PeakBytes();
void ResetPeak();
// While bytes > 0, an allocation by the throwing operator new that would
// hold more than bytes throws std::bad_alloc; the non-throwing ones go on.
void SetThrowingCeiling(size_t bytes);

}  // namespace kstest

#endif
