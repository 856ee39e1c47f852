// Paths as Windows resolves them, so that "root", "same folder" and
// "inside" are judged on what a path names rather than on how it is
// spelled ("C:\.\", "C:\\" and "C:\Windows\..\" all name "C:\").
#pragma once

#include <cstddef>

// 1 when path is a full path: "X:\..." or "\\server\share\...".
int KwIsFullPath(const char* path);

// The full path in its plain form: "/" read as "\", repeated separators
// and "." parts dropped, ".." taking back the part before it (never the
// root), trailing dots and blanks of each part dropped as Windows drops
// them. A trailing separator stays (a root always has one). 0 (out
// emptied) when path is not a full path or the result does not fit.
int KwNormalizePath(const char* path, char* out, std::size_t size);

// 1 when a normalised path is a root: "X:\" or "\\server\share\".
int KwIsRootPath(const char* normalised);

// 1 when normalised folder inner lies inside (or is) normalised folder
// outer; both end in a backslash.
int KwIsInsideFolder(const char* inner, const char* outer);

// The full path through the platform's own resolution (long names,
// case on disk) when it has one, else KwNormalizePath.
int KwFullPath(const char* path, char* out, std::size_t size);
