#include "scenegraph/core/fields/field_words.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/fields/string_value.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_tree.h"

KSBOOL KsParseBoolWord(const char* text) {
  // The reader's words hold at most 255 bytes; a longer text is cut.
  char upper[256];
  size_t length = text ? std::strlen(text) : 0;
  if (length > sizeof(upper) - 1) length = sizeof(upper) - 1;
  char word[256];
  if (length > 0) std::memcpy(word, text, length);
  word[length] = '\0';
  KsCopyUpper(upper, word);
  if (std::strcmp(upper, "TRUE") == 0) return KS_TRUE;
  if (std::strcmp(upper, "FALSE") == 0) return KS_FALSE;
  std::fprintf(stderr, "Unknown KSBOOL specifier %s\n", upper);
  return KS_FALSE;
}

bool KsIsStringGroup(const KsWordNode* word) {
  return word != nullptr && word->text != nullptr && std::strcmp(word->text, "\"\"") == 0;
}

int KsReadStringWord(const KsWordNode* word, KsString* out) {
  if (!KsIsStringGroup(word))
    return out->Assign(word ? static_cast<const char*>(word->text) : nullptr);
  // A long string arrives in 255-byte pieces; join them, whatever the length.
  size_t total = 0;
  for (const KsWordNode* piece = word->child; piece; piece = piece->next)
    total += piece->text ? std::strlen(piece->text) : 0;
  char* joined = static_cast<char*>(std::malloc(total + 1));
  if (joined == nullptr) return 1;
  size_t at = 0;
  for (const KsWordNode* piece = word->child; piece; piece = piece->next) {
    if (piece->text == nullptr) continue;
    size_t n = std::strlen(piece->text);
    std::memcpy(joined + at, piece->text, n);
    at += n;
  }
  joined[at] = '\0';
  int result = out->Assign(joined);
  std::free(joined);
  return result;
}

void KsWriteText(KsOutStream* stream, const char* text) {
  if (stream != nullptr && text != nullptr && text[0] != '\0') stream->Write(text);
}
