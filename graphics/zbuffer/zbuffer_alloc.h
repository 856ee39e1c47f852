// Where the z-buffer renderer, the image output and the image writers take
// their heap blocks: PwAlloc, or a replacement that tests install to make
// allocation fail or to see the sizes asked for. Blocks go back with PwFree,
// so a replacement must hand out blocks that PwFree accepts (malloc's).
#pragma once

#include <cstddef>
#include <cstdint>

using PwZAllocFunc = void* (*)(std::size_t bytes);

// null restores PwAlloc.
void PwZSetAllocFunc(PwZAllocFunc alloc);
void* PwZAlloc(std::size_t bytes);
// count * size bytes, or null when the product does not fit in size_t.
void* PwZAllocArray(std::uint64_t count, std::size_t size);
