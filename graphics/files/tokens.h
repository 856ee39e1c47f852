// Splitting text lines into tokens and matching keywords, shared by the
// command line and the text readers.
#pragma once

// Splits line in place: blanks and tabs separate, a token that begins with a
// double quote runs to the next one (quotes excluded), trailing control
// characters are dropped. vector receives at most max tokens and a null
// entry, so it holds max + 1; count receives the number stored.
void PwSplitTokens(int* count, char** vector, int max, char* line);

// The first keyword of the null-terminated table that is a prefix of token
// (case-sensitive): its index and 1; without one, index 0 and 0.
int PwFindKeyword(int* index, const char* token, const char* const* keywords);

// A real from the token's longest numeric prefix (0 without one) into out:
// false, out untouched, when it is not finite as a float.
bool PwTokenReal(const char* token, float* out);

// a-z to A-Z in place.
void PwUpperCase(char* text);

// Paths PwSplitPath accepts are shorter than this; folder and name hold it.
constexpr int kPwSplitPathSize = 256;

// Splits path after its last '/', ':' or '\\' (a leading drive is skipped
// when the search starts): folder gets the part up to and including the
// separator, name the rest. 1, or 0 with both empty for a path too long.
int PwSplitPath(char* folder, char* name, const char* path);
