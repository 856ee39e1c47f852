// Copies of names into the fixed KS_NAME_SIZE buffers of labels, interface
// entries and routes.
#pragma once

#include <cstddef>
#include <cstring>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/reading/word_convert.h"

// Copies at most length characters, and never more than a buffer holds, and
// ends the copy. Longer names are cut; look-ups cut the same way, so a long
// name still finds what it named.
inline void KsCopyName(char* out, const char* text, size_t length) {
  if (length > static_cast<size_t>(KS_NAME_SIZE - 1)) length = KS_NAME_SIZE - 1;
  std::memcpy(out, text, length);
  out[length] = '\0';
}

// The whole of text (null reads as empty), cut as above.
inline void KsCopyName(char* out, const char* text) {
  if (!text) text = "";
  KsCopyName(out, text, std::strlen(text));
}

// The copy without "set_" / "_changed", as events are matched.
inline void KsCopyEventName(char* out, const char* text) {
  KsCopyName(out, text);
  KsNormalizeEventName(out);
}
