#include "scenegraph/core/reading/word_reading.h"

#include "scenegraph/core/reading/word_convert.h"

int KsReadFloatWords(KsWordNode* cursor, float* out, int count) {
  int read = 0;
  while (read < count) {
    KsWordNode* word = KsCursorWord(cursor);
    if (word == nullptr) break;
    out[read++] = KsParseFloat(word->text);
    KsCursorAdvance(cursor);
  }
  return read;
}
