#ifndef QM_WORD_READER_H
#define QM_WORD_READER_H

#include <cstddef>
#include <cstdio>

#include "scenegraph/core/reading/file_kind.h"
#include "scenegraph/core/object/object.h"

// Delivers input as characters: single bytes, double-byte characters and
// the multi-byte sequences of the sequence table, which stay together.
class QmCharSource : public KsObject {
 public:
  enum { kBlockSize = 16384, kMaxSequences = 32, kMaxCharBytes = 4 };

  QmCharSource();
  ~QmCharSource() override;

  // Delivers up to maximum bytes into destination; returns how many.
  virtual int Fill(unsigned char* destination, int maximum);

  // Reads one character into out (0 to 4 bytes, NUL-terminated) and
  // returns its length; 0 is the end of input. CR and LF characters add
  // to *lineCount.
  int ReadChar(unsigned char* out, int* lineCount);

  // Forgets buffered input (for a new file).
  void ResetBuffer();

  // Fast paths over buffered bytes that are each a character of one byte
  // and never part of a sequence (table[byte] != 0, no line ends): copies
  // up to room of them into destination, or skips them; returns how many.
  int TakeRun(char* destination, int room, const unsigned char* table);
  void SkipRun(const unsigned char* table);
  // The next buffered byte without consuming it, -1 when none is buffered.
  int PeekByte() const { return position_ < valid_ ? buffer_[position_] : -1; }
  void SkipByte() { ++position_; }
  // The buffered bytes not yet read, and passing over count of them.
  const unsigned char* Buffered(int* count) const {
    *count = valid_ - position_;
    return buffer_ + position_;
  }
  void Consume(int count) { position_ += count; }

 private:
  void Refill();

  unsigned char buffer_[kBlockSize + 1];
  int valid_ = 0;
  int position_ = 0;
  unsigned char sequences_[kMaxSequences][kMaxCharBytes + 1];
  int sequenceCount_ = 0;
  unsigned char sequenceStart_[256] = {0};  // first bytes of the sequences
  int exhausted_ = 0;                       // Fill has reported the end
};

class QmReadCharFile : public QmCharSource {
 public:
  QmReadCharFile();
  ~QmReadCharFile() override;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  // Opens regular files only: null for a device, a folder or a pipe too.
  std::FILE* Open(const char* path);
  void Close();
  int Fill(unsigned char* destination, int maximum) override;
  // Why the last Open gave null; kKsFileOpened after a successful one.
  KsFileOpenResult GetOpenResult() const { return openResult_; }

 private:
  std::FILE* file_ = nullptr;
  KsFileOpenResult openResult_ = kKsFileOpened;
};

// Reads from a block of memory (not owned): tests and in-memory texts.
class QmReadCharMemory : public QmCharSource {
 public:
  QmReadCharMemory(const void* data, size_t size);
  int Fill(unsigned char* destination, int maximum) override;

 private:
  const unsigned char* data_;
  size_t size_;
  size_t offset_ = 0;
};

// Takes the words of QmReadWordFile::TakeListWords.
class QmWordSink {
 public:
  virtual ~QmWordSink() = default;
  // False to stop (memory ran out).
  virtual bool Take(const char* word, int length, int line) = 0;
};

// Cuts characters into words, one-character delimiters and quoted strings,
// drops '#' comments and counts lines.
class QmReadWordFile : public KsObject {
 public:
  QmReadWordFile();                               // reads its own file
  explicit QmReadWordFile(QmCharSource* source);  // source not owned
  ~QmReadWordFile() override;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  std::FILE* Open(const char* path);
  void Close();
  KsFileOpenResult GetOpenResult() const { return file_.GetOpenResult(); }
  void CommentOn() { comment_ = 1; }
  void CommentOff() { comment_ = 0; }
  int GetLineCount() const { return lineCount_; }
  // The line the last word returned by GetWord starts on. GetLineCount
  // has already counted the line end that ended it.
  int GetWordLine() const { return wordLine_; }

  // Stores the next word NUL-terminated in buffer (at most size - 1 bytes)
  // and returns its length; 0 only at the end of input. An empty quoted
  // string yields length 1 with an empty text.
  int GetWord(char* buffer, int size);

  // The fast path of a long list: between words, hands the sink each comma
  // and each word of at most maxLength bytes that are all allowed, as
  // GetWord would return them, passing blanks and line ends, over the
  // bytes already buffered. Stops before anything else (another word, a
  // delimiter, a comment, a word cut by the buffer's end) for GetWord to
  // read. 1 when the sink refused a word, 0 otherwise.
  int TakeListWords(const bool* allowed, int maxLength, QmWordSink* sink);

 private:
  struct WordOut;  // the caller's buffer and what this call has stored

  int NextChar(unsigned char* out);
  // Steps of GetWord. Each returns kGoOn to keep reading, otherwise the
  // length GetWord returns. The run steps take whole runs of plain bytes
  // from the buffer; the character steps handle one character of a state.
  int TakeRuns(WordOut& out);
  int TakeWordRun(WordOut& out);
  int SkipBlankRun(WordOut& out);
  int TakeStringRun(WordOut& out);
  int OnCharacter(WordOut& out, const unsigned char* ch, int n);
  int InWord(WordOut& out, const unsigned char* ch, int n);
  int BetweenWords(WordOut& out, const unsigned char* ch, int n);
  int InString(WordOut& out, const unsigned char* ch, int n);
  void PushBack(const unsigned char* ch, int n);

  int comment_ = 0;
  int state_ = 1;
  QmCharSource* source_;
  unsigned char pushBack_[QmCharSource::kMaxCharBytes + 1] = {0};
  int pushBackLength_ = 0;
  int lineCount_ = 1;
  int wordLine_ = 1;
  int stringPieces_ = 0;  // pieces of the current string already returned
  QmReadCharFile file_;
};

#endif
