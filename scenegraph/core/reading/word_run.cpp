#include "scenegraph/core/reading/word_run.h"

#include <climits>
#include <cstring>

#include "scenegraph/core/reading/local_heap.h"

namespace {

// Pieces grow to 16 KB in all, so that four fill an arena block exactly.
constexpr int kLargestPiece = 16384 - (int)sizeof(KsWordRunChunk);

struct RunBytes {
  bool table[256];
  RunBytes() : table() {
    for (const char* c = "0123456789+-.eExXabcdfABCDF"; *c; ++c) table[(unsigned char)*c] = true;
  }
};

KsWordRunChunk* AddPiece(KsWordRun* run, KsLocalHeap* heap, int atLeast) {
  if (!heap) return nullptr;
  int capacity = run->last && run->last->capacity < kLargestPiece / 2 ? run->last->capacity * 2
                                                                      : kLargestPiece;
  if (capacity < atLeast) capacity = atLeast;
  void* room = heap->AllocPacked(sizeof(KsWordRunChunk) + (size_t)capacity);
  if (!room) return nullptr;
  KsWordRunChunk* piece = static_cast<KsWordRunChunk*>(room);
  piece->next = nullptr;
  piece->used = 0;
  piece->capacity = capacity;
  if (run->last)
    run->last->next = piece;
  else
    run->first = piece;
  run->last = piece;
  return piece;
}

}  // namespace

const bool* KsRunWordBytes() {
  static const RunBytes bytes;
  return bytes.table;
}

bool KsIsRunWord(const char* word, int length) {
  if (length <= 0 || !word) return false;
  if (length == 1 && word[0] == ',') return true;
  const bool* allowed = KsRunWordBytes();
  for (int i = 0; i < length; ++i)
    if (!allowed[(unsigned char)word[i]]) return false;
  return true;
}

bool KsAppendRunWord(KsWordRun* run, KsLocalHeap* heap, const char* word, int length, int line) {
  // Counts are ints: a list beyond them is too large, as when memory runs out.
  if (run->words == INT_MAX) return false;
  if (run->words == 0) {
    run->line = line;
    run->lastLine = line;
  }
  KsWordRunChunk* piece = run->last;
  for (int gap = line - run->lastLine; gap > 0;) {
    if (!piece || piece->used == piece->capacity) piece = AddPiece(run, heap, 1);
    if (!piece) return false;
    int n = piece->capacity - piece->used;
    if (n > gap) n = gap;
    std::memset(piece->Bytes() + piece->used, '\n', (size_t)n);
    piece->used += n;
    gap -= n;
  }
  if (!piece || piece->capacity - piece->used < length + 1) piece = AddPiece(run, heap, length + 1);
  if (!piece) return false;
  char* at = piece->Bytes() + piece->used;
  std::memcpy(at, word, (size_t)length);
  at[length] = 0;
  piece->used += length + 1;
  run->lastLine = line;
  ++run->words;
  if (!(length == 1 && word[0] == ',')) ++run->values;
  run->textBytes += length + 1;
  return true;
}

KsWordRunReader::KsWordRunReader(const KsWordRun* run)
    : at_{run ? run->first : nullptr, 0, run ? run->line : 0} {}

const char* KsWordRunReader::Next(int* length, int* line) {
  while (at_.chunk) {
    if (at_.offset >= at_.chunk->used) {
      at_.chunk = at_.chunk->next;
      at_.offset = 0;
      continue;
    }
    const char* p = at_.chunk->Bytes() + at_.offset;
    if (*p == '\n') {
      ++at_.line;
      ++at_.offset;
      continue;
    }
    const int n = (int)std::strlen(p);
    at_.offset += n + 1;
    *length = n;
    *line = at_.line;
    return p;
  }
  return nullptr;
}
