#ifndef KS_WORD_TREE_H
#define KS_WORD_TREE_H

#include <cstdint>
#include <cstring>

#include "scenegraph/core/reading/word_run.h"

struct KsWordNode;

// The text of a word and the line it starts on, in 8 bytes on every build.
// With 64-bit pointers a separate line would round a node from 24 bytes to
// 32, and big worlds are mostly short numbers: a text of up to three bytes
// is held inline with its line (bytes 0-3 the text and its NUL, 4-6 the
// line, 7 the tag no user-space pointer has); a longer one is a pointer to
// its arena copy, which starts 4 bytes after the line.
#if UINTPTR_MAX > 0xFFFFFFFFu
struct KsWordText {
  enum : unsigned char { kInlineTag = 0xFF };
  enum { kInlineLength = 3, kInlineLines = 1 << 24 };
  unsigned char raw[8];

  bool IsInline() const { return raw[7] == kInlineTag; }
  operator const char*() const {
    if (IsInline()) return reinterpret_cast<const char*>(raw);
    const char* p;
    std::memcpy(&p, raw, sizeof p);
    return p;
  }
  int Line() const {
    if (IsInline()) return raw[4] | raw[5] << 8 | raw[6] << 16;
    const char* p = *this;
    int line = 0;
    if (p) std::memcpy(&line, p - sizeof line, sizeof line);
    return line;
  }
  // Holds a text of at most kInlineLength bytes with its line; false when
  // they do not fit.
  bool SetInline(const char* text, int length, int line) {
    if (length > kInlineLength || line < 0 || line >= kInlineLines) return false;
    std::memset(raw, 0, sizeof raw);
    std::memcpy(raw, text, (size_t)length);
    raw[4] = (unsigned char)line;
    raw[5] = (unsigned char)(line >> 8);
    raw[6] = (unsigned char)(line >> 16);
    raw[7] = kInlineTag;
    return true;
  }
  // Writes line, text and NUL into room (4 + length + 1 bytes); returns
  // the stored text for SetStored.
  static const char* Store(char* room, const char* text, int length, int line) {
    std::memcpy(room, &line, sizeof line);
    std::memcpy(room + sizeof line, text, (size_t)length);
    room[sizeof line + (size_t)length] = 0;
    return room + sizeof line;
  }
  // Refers to a stored text whose line is in the 4 bytes before it; false
  // for a pointer that would read as inline.
  bool SetStored(const char* text) {
    std::memcpy(raw, &text, sizeof text);
    return !IsInline();
  }
};
#else
struct KsWordText {
  const char* text;
  int line;
  operator const char*() const { return text; }
  int Line() const { return line; }
};
#endif
static_assert(sizeof(KsWordText) == 8, "a word's text and line take 8 bytes");

// A group's first child. A bracket of plain numbers may be held as a packed
// run instead (tagged in the low bit): reading this member then makes its
// words' nodes, once, so that every walk of the tree sees the same words
// with the same lines. Null when memory runs out for them, which the read
// in progress is told.
class KsWordChild {
 public:
  // Left unset, as a plain pointer would be: windows of nodes are made often.
  KsWordChild() = default;
  KsWordChild(KsWordNode* first) : bits_(reinterpret_cast<uintptr_t>(first)) {}
  KsWordChild& operator=(KsWordNode* first) {
    bits_ = reinterpret_cast<uintptr_t>(first);
    return *this;
  }
  operator KsWordNode*() const {
    return (bits_ & 1) ? Expand() : reinterpret_cast<KsWordNode*>(bits_);
  }
  KsWordNode* operator->() const { return *this; }

  // The packed run, null when the words are nodes.
  const KsWordRun* Run() const {
    return (bits_ & 1) ? reinterpret_cast<const KsWordRun*>(bits_ - 1) : nullptr;
  }
  void SetRun(KsWordRun* run) { bits_ = reinterpret_cast<uintptr_t>(run) | 1; }

 private:
  KsWordNode* Expand() const;
  mutable uintptr_t bits_;
};

// One node of the pre-pass tree. Groups carry "[]", "{}" or two double quotes
// and hold the words between their marks as children.
//
// A cursor is a KsWordNode whose first child is the current word; advancing
// the cursor replaces that child by the next sibling.
struct KsWordNode {
  KsWordChild child;
  KsWordNode* next;
  KsWordText text;  // with the line the word starts on: text.Line()
};

inline KsWordNode KsMakeCursor(KsWordNode* first) {
  KsWordNode cursor = {first, nullptr, KsWordText{}};
  return cursor;
}
// The word under the cursor, null when the chain is exhausted.
inline KsWordNode* KsCursorWord(const KsWordNode* cursor) {
  return cursor ? cursor->child : nullptr;
}
inline void KsCursorAdvance(KsWordNode* cursor) {
  if (cursor && cursor->child) cursor->child = cursor->child->next;
}
// Whether the word under the cursor and count - 1 siblings after it exist.
inline bool KsCursorHasWords(const KsWordNode* cursor, int count) {
  const KsWordNode* w = KsCursorWord(cursor);
  for (int i = 0; i < count; ++i, w = w->next)
    if (!w) return false;
  return true;
}
// Line number of the word under the cursor, 0 when there is none.
inline int KsCursorLine(const KsWordNode* cursor) {
  const KsWordNode* w = KsCursorWord(cursor);
  return w ? w->text.Line() : 0;
}

#endif
