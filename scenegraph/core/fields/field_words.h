// Word readers shared by the single- and multiple-value fields.
#ifndef KS_FIELD_WORDS_H
#define KS_FIELD_WORDS_H

#include "scenegraph/core/ks_types.h"

class KsString;
class KsOutStream;
struct KsWordNode;

// "TRUE" gives KS_TRUE and "FALSE" KS_FALSE, in any case; any other word is
// reported and gives KS_FALSE.
KSBOOL KsParseBoolWord(const char* text);

// The text of a string word: the pieces of a quoted group joined without
// separators (no piece gives the empty text), or any other word unchanged.
// 1 when the text cannot be allocated (out untouched), else 0.
int KsReadStringWord(const KsWordNode* word, KsString* out);

// Whether the word is a quoted-string group.
bool KsIsStringGroup(const KsWordNode* word);

// Writes text through the stream's Write, so that no length limit of the
// formatted print applies.
void KsWriteText(KsOutStream* stream, const char* text);

#endif
