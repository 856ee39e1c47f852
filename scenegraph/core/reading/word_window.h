// Word nodes for a packed run, a window of them at a time, so that the
// element parsers read a run's numbers as they read any words without its
// whole list ever being nodes.
#ifndef KS_WORD_WINDOW_H
#define KS_WORD_WINDOW_H

#include <cstdint>

#include "scenegraph/core/reading/word_run.h"
#include "scenegraph/core/reading/word_tree.h"

class KsWordWindow {
public:
    // Words an element may read past the cursor's: a rotation reads four.
    enum { kWords = 512, kAhead = 8 };

    explicit KsWordWindow(const KsWordRun* run);
    KsWordWindow(const KsWordWindow&) = delete;
    KsWordWindow& operator=(const KsWordWindow&) = delete;

    // The run's first word, its successors chained behind it.
    KsWordNode* First();
    // Before each element: when fewer than kAhead words follow the cursor's
    // word in the window and the run has more, the window moves on to start
    // at that word. A word not of the window is left alone.
    void Keep(KsWordNode* cursor);

private:
    void Fill(const KsWordRunReader::Position& from);

    KsWordRunReader reader_;
    int count_ = 0;
    bool complete_ = false;  // the window holds the run's last word
    KsWordNode nodes_[kWords];
    KsWordRunReader::Position at_[kWords];
#if UINTPTR_MAX > 0xFFFFFFFFu
    // Texts too long to sit in their node, each after its line.
    enum { kTextBytes = 16384, kLongestText = 4 + 255 + 1 };
    char texts_[kTextBytes];
#endif
};

#endif
