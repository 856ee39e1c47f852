#include "graphics/files/pw_alloc.h"

#include <cstdlib>

void* PwAlloc(std::size_t bytes) { return std::malloc(bytes ? bytes : 1); }

void PwFree(void* block) { std::free(block); }
