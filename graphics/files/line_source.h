// Where the text readers take their lines: a stack of sources, each an open
// file or a null-terminated array of strings, and one raw line buffer that
// is cut into logical lines at '|'.
#pragma once

#include <cstdio>

// Kinds of a line source record.
constexpr int kPwSourceNone = 0;
constexpr int kPwSourceFile = 1;
constexpr int kPwSourceStrings = 2;

// A raw line holds at most this many characters and its terminator.
constexpr int kPwRawLineSize = 256;

// Pushes a record of kind none: 1, or 0 when it cannot be allocated.
int PwPushLineSource();
// The top record reads the open file / the array from its first string.
void PwLineSourceFile(std::FILE* file);
void PwLineSourceStrings(const char* const* strings);
// Removes the top record unless it is the bottom one; returns 0.
int PwPopLineSource();
// The kind of the top record (kPwSourceNone for the bottom one).
int PwLineSourceKind();

// Empties the raw line buffer; every read starts with it.
void PwResetLineBuffer();
// The next raw line of the top source into buffer (size > 0): a file line
// of at most size - 1 characters (newline kept, longer lines in pieces) or
// the next string (at most 255 characters). null at the end, with buffer
// empty; a source of kind none is always at its end.
char* PwNextRawLine(char* buffer, int size);
// The next logical line: up to '|', the end of the raw line or limit
// characters; out holds limit + 1. null when the source is exhausted.
char* PwReadLine(char* out, int limit);

// One read over a pushed source: the named file (path normalised) or the
// strings, popped again after. read's result, or 0 when the file cannot be
// opened or the source pushed.
using PwLineSourceRead = int (*)(void* target);
int PwReadLinesFromFile(const char* file_name, PwLineSourceRead read, void* target);
int PwReadLinesFromStrings(const char* const* strings, PwLineSourceRead read, void* target);
