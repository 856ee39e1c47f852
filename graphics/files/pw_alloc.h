// The graphics library's heap blocks for its readers, writers, fonts and
// work buffers (not the per-frame scratch pools).
#pragma once

#include <cstddef>

// null when the block cannot be had.
void* PwAlloc(std::size_t bytes);
// null is allowed.
void PwFree(void* block);
