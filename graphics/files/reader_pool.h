// The block pool from which the text readers take their temporary nodes;
// a read frees it as a whole when it ends.
#pragma once

#include <cstddef>

constexpr int kPwPoolBlocks = 128;
constexpr std::size_t kPwPoolBlockSize = 131072;

// Block 0 of 128 KB becomes current (full when it cannot be had). Blocks
// left from an earlier read are freed first.
void PwPoolInit();
// n * size bytes, rounded up to keep every allocation aligned for any type;
// not zeroed. null when the blocks run out.
void* PwPoolAlloc(int n, int size);
// Stores the current block and its used count, then allocates.
void* PwPoolMark(int* block, int* used, int n, int size);
// The block becomes current again with its used count set back; later
// blocks stay allocated until PwPoolFree. Returns the block.
int PwPoolRelease(int block, int used);
// Frees every block made since PwPoolInit.
void PwPoolFree();

// For tests: blocks made so far, the current one, and one block's size.
int PwPoolBlocksMade();
int PwPoolCurrentBlock();
std::size_t PwPoolBlockBytes(int block);
