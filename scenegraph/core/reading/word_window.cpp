#include "scenegraph/core/reading/word_window.h"

#include <cstring>
#include <new>

namespace {
constexpr size_t kMostTextBytes = 16384;
constexpr size_t kLineBytes = sizeof(int);
}  // namespace

KsWordWindow::KsWordWindow(const KsWordRun* run) : reader_(run) {
  words_ = run->words < kWords ? run->words : (int)kWords;
  textBytes_ = 0;
#if UINTPTR_MAX > 0xFFFFFFFFu
  // Every text with its line and NUL: an upper bound for the whole run.
  const int64_t all = run->textBytes + (int64_t)kLineBytes * run->words;
  textBytes_ = all < (int64_t)kMostTextBytes ? (size_t)all : kMostTextBytes;
#endif
  const size_t nodeBytes = words_ * sizeof(KsWordNode);
  const size_t bytes = nodeBytes + words_ * sizeof(KsWordRunReader::Position) + textBytes_;
  room_ = bytes <= sizeof inline_ ? inline_ : new (std::nothrow) unsigned char[bytes];
  nodes_ = reinterpret_cast<KsWordNode*>(room_);
  at_ = reinterpret_cast<KsWordRunReader::Position*>(room_ + nodeBytes);
  texts_ = reinterpret_cast<char*>(at_ + words_);
}

KsWordWindow::~KsWordWindow() {
  if (room_ != inline_) delete[] room_;
}

KsWordNode* KsWordWindow::First() {
  Fill(reader_.Tell());
  return count_ > 0 ? &nodes_[0] : nullptr;
}

void KsWordWindow::Keep(KsWordNode* cursor) {
  KsWordNode* word = KsCursorWord(cursor);
  if (complete_ || !word || word < nodes_ || word >= nodes_ + count_) return;
  const int index = (int)(word - nodes_);
  if (count_ - index >= kAhead) return;
  Fill(at_[index]);
  cursor->child = &nodes_[0];
}

void KsWordWindow::Fill(const KsWordRunReader::Position& from) {
  reader_.Seek(from);
  count_ = 0;
  complete_ = false;
#if UINTPTR_MAX > 0xFFFFFFFFu
  size_t used = 0;
#endif
  while (count_ < words_) {
    const KsWordRunReader::Position at = reader_.Tell();
    int length = 0, line = 0;
    const char* text = reader_.Next(&length, &line);
    if (!text) {
      complete_ = true;
      break;
    }
    KsWordNode& node = nodes_[count_];
    node.child = nullptr;
    node.next = nullptr;
#if UINTPTR_MAX > 0xFFFFFFFFu
    if (!node.text.SetInline(text, length, line)) {
      if (used + kLineBytes + (size_t)length + 1 > textBytes_) {
        reader_.Seek(at);  // the next window starts with it
        break;
      }
      // A heap or stack pointer never has the inline tag's top byte.
      node.text.SetStored(KsWordText::Store(texts_ + used, text, length, line));
      used += kLineBytes + (size_t)length + 1;
    }
#else
    // The run's own copy is NUL-terminated and outlives the window.
    node.text.text = text;
    node.text.line = line;
#endif
    if (count_ > 0) nodes_[count_ - 1].next = &node;
    at_[count_++] = at;
  }
}
