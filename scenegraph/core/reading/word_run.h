// A bracket whose words are all plain numbers, held as packed text until
// something walks its words. The coordinate and index lists of a big world
// are most of its text, and a tree node per word costs several times the
// word: packed, a word costs its bytes and a NUL, and the multiple-value
// fields convert the numbers straight from the text.
#ifndef KS_WORD_RUN_H
#define KS_WORD_RUN_H

#include <cstdint>

class KsLocalHeap;
class KsVrmlPass1;

// One piece of a run's text. Each word is preceded by one '\n' for every line
// it starts below the word before it and is followed by its NUL; a word never
// straddles two pieces, line ends may.
struct KsWordRunChunk {
  KsWordRunChunk* next;
  int used;
  int capacity;
  char* Bytes() { return reinterpret_cast<char*>(this + 1); }
  const char* Bytes() const { return reinterpret_cast<const char*>(this + 1); }
};

struct KsWordRun {
  KsVrmlPass1* owner;  // makes the words' nodes when something walks them
  KsWordRunChunk* first;
  KsWordRunChunk* last;
  int line;           // the first word's
  int lastLine;       // the last word's
  int words;          // commas included
  int values;         // commas left out
  int64_t textBytes;  // the words' bytes and one more each, as their nodes would count them
};

// Whether a word may go into a run: a comma, or digits, signs, points,
// exponents and hexadecimal digits. Anything else in a bracket makes it
// ordinary nodes.
bool KsIsRunWord(const char* word, int length);
// Which bytes such a word may hold, by byte.
const bool* KsRunWordBytes();

// Appends a word of length bytes that starts on line; a piece that cannot
// hold it comes from the heap. False when no piece can be had, or the run
// holds as many words as an int counts.
bool KsAppendRunWord(KsWordRun* run, KsLocalHeap* heap, const char* word, int length, int line);

// The words of a run in order.
class KsWordRunReader {
 public:
  struct Position {
    const KsWordRunChunk* chunk;
    int offset;
    int line;
  };

  explicit KsWordRunReader(const KsWordRun* run);

  // The next word, NUL-terminated where the run holds it, with its length
  // and line; null after the last.
  const char* Next(int* length, int* line);

  Position Tell() const { return at_; }
  void Seek(const Position& at) { at_ = at; }

 private:
  Position at_;
};

#endif
