// Word nodes for a packed run, a window of them at a time, so that the
// element parsers read a run's numbers as they read any words without its
// whole list ever being nodes.
#ifndef KS_WORD_WINDOW_H
#define KS_WORD_WINDOW_H

#include <cstddef>

#include "scenegraph/core/reading/word_run.h"
#include "scenegraph/core/reading/word_tree.h"

class KsWordWindow {
 public:
  // Words an element may read past the cursor's: a rotation reads four.
  enum { kWords = 512, kAhead = 8 };

  // Sized for the run: most lists are small, and take no memory beyond
  // the window itself.
  explicit KsWordWindow(const KsWordRun* run);
  ~KsWordWindow();
  // False when memory ran out for the window.
  bool Ready() const { return room_ != nullptr; }
  KsWordWindow(const KsWordWindow&) = delete;
  KsWordWindow& operator=(const KsWordWindow&) = delete;

  // The run's first word, its successors chained behind it.
  KsWordNode* First();
  // Before each element: when fewer than kAhead words follow the cursor's
  // word in the window and the run has more, the window moves on to start
  // at that word. A word not of the window is left alone.
  void Keep(KsWordNode* cursor);

 private:
  enum { kInlineBytes = 2048 };
  void Fill(const KsWordRunReader::Position& from);

  KsWordRunReader reader_;
  alignas(std::max_align_t) unsigned char inline_[kInlineBytes];
  unsigned char* room_;  // the nodes, their positions and texts: inline_ or owned
  KsWordNode* nodes_;
  KsWordRunReader::Position* at_;
  char* texts_;  // texts too long to sit in their node, each after its line
  int words_;
  size_t textBytes_;
  int count_ = 0;
  bool complete_ = false;  // the window holds the run's last word
};

#endif
