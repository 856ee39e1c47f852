// Small reads of a word tree's words that the statement readers share: a
// word's text, its bracket group, and runs of numbers.
#pragma once

#include <cstring>

#include "scenegraph/core/reading/word_tree.h"

// The word's text; empty for no word or no text.
inline const char* KsWordTextOf(const KsWordNode* word) {
  return word && word->text ? word->text : "";
}

// Whether the word is a bracket group of that kind: "[]", "{}" or "\"\"".
inline bool KsIsGroupWord(const KsWordNode* word, const char* marks) {
  return word && word->text && std::strcmp(word->text, marks) == 0;
}

inline bool KsIsAnyGroup(const KsWordNode* word) {
  return KsIsGroupWord(word, "[]") || KsIsGroupWord(word, "{}") || KsIsGroupWord(word, "\"\"");
}

// Converts up to count words from the cursor on into out, moving the cursor
// past each; stops at the end of the chain and returns how many were read.
// Vectors built from a cursor read through this.
int KsReadFloatWords(KsWordNode* cursor, float* out, int count);
