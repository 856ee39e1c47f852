// File names as the library's readers and writers open them.
#pragma once

#include <cstddef>

// The buffer size the library's file operations normalise into.
constexpr std::size_t kPwPathSize = 256;

// Copies path into destination (size characters, terminator included),
// turning every backslash, and every colon but a drive letter's (second
// character), into '/'; a network name (two leading backslashes) is copied
// unchanged. Returns the length; 0 for an empty or null path, or one that
// does not fit (destination then empty), which callers treat as "cannot
// open".
int PwNormalizePath(char* destination, std::size_t size, const char* path);
