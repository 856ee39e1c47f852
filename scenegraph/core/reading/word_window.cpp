#include "scenegraph/core/reading/word_window.h"

#include <cstring>

KsWordWindow::KsWordWindow(const KsWordRun* run) : reader_(run) {}

KsWordNode* KsWordWindow::First() {
    Fill(reader_.Tell());
    return count_ > 0 ? &nodes_[0] : nullptr;
}

void KsWordWindow::Keep(KsWordNode* cursor) {
    KsWordNode* word = KsCursorWord(cursor);
    if (complete_ || !word) return;
    if (word < nodes_ || word >= nodes_ + count_) return;
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
    int used = 0;
#endif
    while (count_ < kWords) {
#if UINTPTR_MAX > 0xFFFFFFFFu
        if (used > kTextBytes - kLongestText) break;
#endif
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
            char* stored = texts_ + used;
            std::memcpy(stored, &line, sizeof line);
            std::memcpy(stored + sizeof line, text, (size_t)length + 1);
            used += (int)sizeof line + length + 1;
            // A text in this buffer never has the inline tag's top byte.
            node.text.SetStored(stored + sizeof line);
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
