#include <cstring>
#include <initializer_list>

#include "scenegraph/core/reading/word_reader.h"

namespace {

enum : unsigned char { kWordChar = 0, kBlank = 1, kDelimiter = 2 };

struct CharClasses {
  unsigned char kind[256];
  // Single-byte characters the fast paths may pass over: never a sequence
  // start (CR, LF, backslash), a double-byte lead or '#'.
  unsigned char plainWord[256];
  unsigned char plainBlank[256];
  unsigned char plainString[256];
  unsigned char plainComment[256];
  CharClasses() {
    std::memset(kind, kWordChar, sizeof kind);
    // A NUL byte inside a file is white space, not the end of input.
    for (unsigned char c : {0x00, 0x09, 0x0A, 0x0D, 0x20}) kind[c] = kBlank;
    for (unsigned char c : {'"', '\'', '(', ')', ',', ':', ';', '<', '>', '[', ']', '{', '}'})
      kind[c] = kDelimiter;
    for (int c = 0; c < 256; ++c) {
      const bool special = c >= 0x80 || c == 0x0A || c == 0x0D || c == 0x5C || c == '#';
      plainWord[c] = !special && kind[c] == kWordChar;
      plainBlank[c] = c == 0x20 || c == 0x09;
      plainString[c] = c < 0x80 && c != 0x0A && c != 0x0D && c != 0x5C && c != '"' && c != 0;
      // In a comment only line ends matter: a double-byte trail byte is
      // never below 0x40, so no pair can hide one.
      plainComment[c] = c != 0x0A && c != 0x0D;
    }
  }
};

const CharClasses& Classes() {
  static const CharClasses classes;
  return classes;
}

KsClassRecord* g_charFileRecord = nullptr;
KsClassRecord* g_wordFileRecord = nullptr;

}  // namespace

// ---- character source ------------------------------------------------------

QmCharSource::QmCharSource() {
  std::memset(buffer_, 0, sizeof buffer_);
  std::memset(sequences_, 0, sizeof sequences_);
  static const unsigned char initial[4][2] = {
      {0x0D, 0x0A}, {0x0A, 0x0D}, {0x5C, 0x5C}, {0x5C, 0x22}};
  for (int i = 0; i < 4; ++i) {
    sequences_[i][0] = initial[i][0];
    sequences_[i][1] = initial[i][1];
    sequenceStart_[initial[i][0]] = 1;
  }
  sequenceCount_ = 4;
}

QmCharSource::~QmCharSource() = default;

int QmCharSource::Fill(unsigned char*, int) { return 0; }

void QmCharSource::ResetBuffer() {
  valid_ = 0;
  position_ = 0;
  exhausted_ = 0;
  buffer_[0] = 0;
}

void QmCharSource::Refill() {
  int unread = valid_ - position_;
  if (unread > 0 && position_ > 0) std::memmove(buffer_, buffer_ + position_, (size_t)unread);
  if (unread < 0) unread = 0;
  position_ = 0;
  valid_ = unread;
  // A source may deliver less than asked (a pipe): keep filling until a
  // whole sequence fits, so that none straddles two fills.
  while (!exhausted_ && valid_ < kMaxCharBytes) {
    int room = kBlockSize - valid_;
    int got = Fill(buffer_ + valid_, room);
    if (got <= 0) {
      exhausted_ = 1;
      break;
    }
    valid_ += got > room ? room : got;
  }
  buffer_[valid_] = 0;
}

int QmCharSource::ReadChar(unsigned char* out, int* lineCount) {
  if (valid_ - position_ < kMaxCharBytes) Refill();
  const int left = valid_ - position_;
  if (left <= 0) {
    out[0] = 0;
    return 0;
  }
  const unsigned char* p = buffer_ + position_;
  int length = 1;
  if (sequenceStart_[p[0]]) {
    for (int i = 0; i < sequenceCount_; ++i) {
      const unsigned char* s = sequences_[i];
      int n = 0;
      while (n < left && s[n] != 0 && p[n] == s[n]) ++n;
      if (n > 0 && s[n] == 0) {
        length = n;
        break;
      }
    }
  }
  if (length == 1 && p[0] >= 0x80 && left >= 2 && p[1] >= 0x40) {
    // Double-byte character; UTF-8 continuation bytes (below 0x40 never
    // trail a double-byte lead) and ASCII below 0x40 stay separate.
    length = 2;
  }
  std::memcpy(out, p, (size_t)length);
  out[length] = 0;
  if (out[0] == 0) out[0] = ' ';
  position_ += length;
  if (out[0] == 0x0A || out[0] == 0x0D) ++*lineCount;
  return length;
}

int QmCharSource::TakeRun(char* destination, int room, const unsigned char* table) {
  const unsigned char* p = buffer_ + position_;
  int n = valid_ - position_;
  if (n > room) n = room;
  int k = 0;
  while (k < n && table[p[k]]) {
    destination[k] = (char)p[k];
    ++k;
  }
  position_ += k;
  return k;
}

void QmCharSource::SkipRun(const unsigned char* table) {
  const unsigned char* p = buffer_ + position_;
  const unsigned char* end = buffer_ + valid_;
  while (p < end && table[*p]) ++p;
  position_ = (int)(p - buffer_);
}

// ---- file and memory sources -----------------------------------------------

QmReadCharFile::QmReadCharFile() {
  KsClassManager::Ensure(&g_charFileRecord, "QmReadCharFile", KsObject::ClassRecord());
}

QmReadCharFile::~QmReadCharFile() { Close(); }

const char* QmReadCharFile::GetClassName() const { return "QmReadCharFile"; }

KsClassRecord* QmReadCharFile::GetClassInfo() const { return g_charFileRecord; }

std::FILE* QmReadCharFile::Open(const char* path) {
  Close();
  ResetBuffer();
  openResult_ = KsOpenRegularFile(path, "rb", &file_);
  return file_;
}

void QmReadCharFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

int QmReadCharFile::Fill(unsigned char* destination, int maximum) {
  if (!file_ || maximum <= 0) return 0;
  return (int)std::fread(destination, 1, (size_t)maximum, file_);
}

QmReadCharMemory::QmReadCharMemory(const void* data, size_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0) {}

int QmReadCharMemory::Fill(unsigned char* destination, int maximum) {
  if (maximum <= 0 || offset_ >= size_) return 0;
  size_t n = size_ - offset_;
  if (n > (size_t)maximum) n = (size_t)maximum;
  std::memcpy(destination, data_ + offset_, n);
  offset_ += n;
  return (int)n;
}

// ---- word reader -----------------------------------------------------------

QmReadWordFile::QmReadWordFile() : source_(&file_) {
  KsClassManager::Ensure(&g_wordFileRecord, "QmReadWordFile", KsObject::ClassRecord());
}

QmReadWordFile::QmReadWordFile(QmCharSource* source) : source_(source ? source : &file_) {
  KsClassManager::Ensure(&g_wordFileRecord, "QmReadWordFile", KsObject::ClassRecord());
}

QmReadWordFile::~QmReadWordFile() { Close(); }

const char* QmReadWordFile::GetClassName() const { return "QmReadWordFile"; }

KsClassRecord* QmReadWordFile::GetClassInfo() const { return g_wordFileRecord; }

std::FILE* QmReadWordFile::Open(const char* path) {
  state_ = 1;
  pushBackLength_ = 0;
  lineCount_ = 1;
  wordLine_ = 1;
  stringPieces_ = 0;
  source_ = &file_;
  return file_.Open(path);
}

void QmReadWordFile::Close() { file_.Close(); }

int QmReadWordFile::NextChar(unsigned char* out) {
  if (pushBackLength_ > 0) {
    std::memcpy(out, pushBack_, (size_t)pushBackLength_ + 1);
    int n = pushBackLength_;
    pushBackLength_ = 0;
    return n;
  }
  return source_->ReadChar(out, &lineCount_);
}

// ---- word reader steps -----------------------------------------------------

namespace {
constexpr int kGoOn = -1;
}  // namespace

struct QmReadWordFile::WordOut {
  char* buffer;
  int max;
  int length;

  void Append(const unsigned char* ch, int n) {
    std::memcpy(buffer + length, ch, (size_t)n);
    length += n;
  }
  int Finish() {
    buffer[length] = 0;
    return length;
  }
};

void QmReadWordFile::PushBack(const unsigned char* ch, int n) {
  std::memcpy(pushBack_, ch, (size_t)n + 1);
  pushBackLength_ = n;
}

int QmReadWordFile::TakeWordRun(WordOut& out) {
  const CharClasses& classes = Classes();
  out.length += source_->TakeRun(out.buffer + out.length, out.max - out.length, classes.plainWord);
  if (out.length >= out.max) return out.Finish();
  const int next = source_->PeekByte();
  if (next < 0 || out.length == 0) return kGoOn;
  if (classes.plainBlank[next]) {
    source_->SkipByte();
    state_ = 1;
    return out.Finish();
  }
  // A delimiter ends the word unread: state 1 takes it next.
  if (classes.kind[next] == kDelimiter) {
    state_ = 1;
    return out.Finish();
  }
  return kGoOn;
}

int QmReadWordFile::SkipBlankRun(WordOut& out) {
  const CharClasses& classes = Classes();
  source_->SkipRun(classes.plainBlank);
  const int next = source_->PeekByte();
  if (next < 0) return kGoOn;
  if (classes.plainWord[next]) {
    state_ = 0;
    return TakeWordRun(out);
  }
  if (classes.kind[next] == kDelimiter && next != '"') {
    source_->SkipByte();
    out.buffer[0] = (char)next;
    out.length = 1;
    return out.Finish();
  }
  return kGoOn;
}

int QmReadWordFile::TakeStringRun(WordOut& out) {
  out.length +=
      source_->TakeRun(out.buffer + out.length, out.max - out.length, Classes().plainString);
  if (out.length < out.max) return kGoOn;
  ++stringPieces_;
  return out.Finish();
}

int QmReadWordFile::TakeRuns(WordOut& out) {
  switch (state_) {
    case 0: return TakeWordRun(out);
    case 1: return SkipBlankRun(out);
    case 2: return TakeStringRun(out);
    case 4: source_->SkipRun(Classes().plainComment); return kGoOn;
    default: return kGoOn;
  }
}

int QmReadWordFile::InWord(WordOut& out, const unsigned char* ch, int n) {
  const unsigned char c = ch[0];
  const unsigned char* kind = Classes().kind;
  if (out.length + n > out.max) {
    if (out.length == 0) {
      // A buffer too small for one character: keep what fits.
      out.Append(ch, out.max);
      return out.Finish();
    }
    PushBack(ch, n);
    return out.Finish();
  }
  if (c == '#' && comment_) {
    state_ = 4;
    return out.length > 0 ? out.Finish() : kGoOn;
  }
  if (kind[c] == kDelimiter) {
    PushBack(ch, n);
    state_ = 1;
    return out.length > 0 ? out.Finish() : kGoOn;
  }
  if (kind[c] == kBlank) {
    state_ = 1;
    // A word cut at max leaves state 0 with nothing pending: the blank
    // must not be mistaken for the end of input.
    return out.length > 0 ? out.Finish() : kGoOn;
  }
  out.Append(ch, n);
  return out.length >= out.max ? out.Finish() : kGoOn;
}

int QmReadWordFile::BetweenWords(WordOut& out, const unsigned char* ch, int n) {
  const unsigned char c = ch[0];
  const unsigned char* kind = Classes().kind;
  if (c == '#' && comment_) {
    state_ = 4;
    return kGoOn;
  }
  if (c == '"') {
    state_ = 2;
    stringPieces_ = 0;
    out.Append(ch, 1);
    return out.Finish();
  }
  if (kind[c] == kDelimiter) {
    out.Append(ch, 1);
    return out.Finish();
  }
  if (kind[c] == kBlank) return kGoOn;
  PushBack(ch, n);
  state_ = 0;
  return kGoOn;
}

int QmReadWordFile::InString(WordOut& out, const unsigned char* ch, int n) {
  if (out.length + n > out.max) {
    if (out.length == 0)
      out.Append(ch, out.max);
    else
      PushBack(ch, n);
    ++stringPieces_;
    return out.Finish();
  }
  if (ch[0] == '"') {
    PushBack(ch, n);
    state_ = 3;
    if (out.length > 0) {
      ++stringPieces_;
      return out.Finish();
    }
    if (stringPieces_ == 0) {
      // Empty string: an empty text of length 1, so that it is not
      // taken for the end of input.
      ++stringPieces_;
      out.buffer[0] = 0;
      return 1;
    }
    // Contents already delivered (cut exactly at max): close now.
    return kGoOn;
  }
  out.Append(ch, n);
  if (out.length < out.max) return kGoOn;
  ++stringPieces_;
  return out.Finish();
}

int QmReadWordFile::OnCharacter(WordOut& out, const unsigned char* ch, int n) {
  switch (state_) {
    case 0: return InWord(out, ch, n);
    case 1: return BetweenWords(out, ch, n);
    case 2: return InString(out, ch, n);
    case 3:  // string closed: the pushed-back double quote
      out.Append(ch, n);
      state_ = 1;
      return out.Finish();
    default:  // 4, in a comment
      if (ch[0] == 0x0D || ch[0] == 0x0A) state_ = 1;
      return kGoOn;
  }
}

int QmReadWordFile::GetWord(char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  WordOut out = {buffer, size - 1, 0};
  if (out.max <= 0) return 0;
  unsigned char ch[QmCharSource::kMaxCharBytes + 1];
  for (;;) {
    // Until the word's first byte is stored, the next one read starts it.
    if (out.length == 0) wordLine_ = lineCount_;
    if (pushBackLength_ == 0) {
      const int result = TakeRuns(out);
      if (result != kGoOn) return result;
    }
    const int n = NextChar(ch);
    if (n == 0) return out.Finish();
    const int result = OnCharacter(out, ch, n);
    if (result != kGoOn) return result;
  }
}

// ---- list fast path --------------------------------------------------------

int QmReadWordFile::TakeListWords(const bool* allowed, int maxLength, QmWordSink* sink) {
  if (state_ != 1 || pushBackLength_ > 0 || !sink) return 0;
  const CharClasses& classes = Classes();
  int available = 0;
  const unsigned char* start = source_->Buffered(&available);
  const unsigned char* end = start + available;
  const unsigned char* at = start;
  int result = 0;
  while (at < end) {
    const unsigned char c = *at;
    if (classes.plainBlank[c]) {
      ++at;
      continue;
    }
    if (c == 0x0A || c == 0x0D) {
      // A CR LF or LF CR pair is one line end: its second byte may not
      // have been read yet.
      if (end - at < 2) break;
      at += at[1] == (c == 0x0A ? 0x0D : 0x0A) ? 2 : 1;
      ++lineCount_;
      continue;
    }
    if (c == ',') {
      if (!sink->Take(",", 1, lineCount_)) {
        result = 1;
        break;
      }
      wordLine_ = lineCount_;
      ++at;
      continue;
    }
    if (!classes.plainWord[c]) break;
    const unsigned char* word = at;
    bool plain = true;
    while (at < end && classes.plainWord[*at]) plain = allowed[*at++] && plain;
    const int length = (int)(at - word);
    // GetWord ends a word at a blank, a line end or a delimiter; at the
    // buffer's end or at any other byte it is left to GetWord.
    const bool ended = at < end && (classes.plainBlank[*at] || *at == 0x0A || *at == 0x0D ||
                                    classes.kind[*at] == kDelimiter);
    if (!ended || !plain || length > maxLength) {
      at = word;
      break;
    }
    if (!sink->Take(reinterpret_cast<const char*>(word), length, lineCount_)) {
      at = word;
      result = 1;
      break;
    }
    wordLine_ = lineCount_;
    if (classes.plainBlank[*at]) ++at;
  }
  source_->Consume((int)(at - start));
  return result;
}
