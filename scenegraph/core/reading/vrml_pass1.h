// The pre-pass: reads a whole file into a word tree.
#pragma once

#include <cstdint>

#include "scenegraph/core/object/object.h"
#include "scenegraph/core/reading/local_heap.h"
#include "scenegraph/core/reading/word_run.h"
#include "scenegraph/core/reading/word_tree.h"

class QmReadWordFile;

// Reads a whole file into a word tree on its own arena.
class KsVrmlPass1 : public KsObject {
 public:
  // Groups nest no deeper than kMaxDepth. A node level takes two groups
  // as the writer puts it ("children [ Transform { ... } ]") and one as a
  // file may ("children Transform { ... }"), and the deepest body may hold
  // a list of strings: the bound admits twice the nodes the realiser
  // nests, and those two more, so that whatever the realiser takes is
  // written and read back whole. Nodes stay bounded by the realiser.
  enum { kWordSize = 256, kNodeLevels = 1000, kMaxDepth = 2 * kNodeLevels + 2 };
  enum { kErrorNone = 0, kErrorBracket = 1, kErrorMemory = 2 };

  KsVrmlPass1();
  ~KsVrmlPass1() override;
  KsVrmlPass1(const KsVrmlPass1&) = delete;
  KsVrmlPass1& operator=(const KsVrmlPass1&) = delete;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  // 0 when a tree was built without error, non-zero otherwise.
  int Run(QmReadWordFile* reader);

  KsWordNode* GetRoot() const { return root_; }
  int GetErrorCode() const { return error_; }
  const char* GetMessage() const { return message_; }
  // Line of the unmatched bracket, or where memory ran out; 0 without one.
  int GetErrorLine() const { return errorLine_; }
  // Line from which the rest of the file is not in the tree: a closing
  // mark without an opening one, or a group the file ends in. 0 when the
  // tree reaches the end of the file.
  int GetCutLine() const { return cutLine_; }

  // One node a line, "%s(%d)\n", two blanks per level, to standard output.
  void Dump() const;

  // Whether brackets of plain numbers are read into packed runs (on from
  // construction); off, every word is a node, the tree runs are compared with.
  void SetPackNumbers(bool on) { packNumbers_ = on; }

  // Nodes of a run's words, as the tree would hold them without it; null
  // when the arena cannot grow. *tail receives the last one.
  KsWordNode* ExpandRun(const KsWordRun* run, KsWordNode** tail);

 private:
  enum { kScratchBytes = 1024 };

  // Reads the words of a group: into a run while they are plain numbers,
  // then on as nodes. With pending, the word in buffer (length bytes, 0 at
  // the end of input) is taken first.
  // Already read, the list may start with head to tail.
  KsWordNode* BuildList(char* buffer, int stringMode, int depth, KsWordNode* head = nullptr,
                        KsWordNode* tail = nullptr, bool pending = false, int length = 0);
  // Reads a bracket's words into a run while they are plain numbers. 1
  // when its closing mark came with numbers only (*run then holds them, or
  // null for an empty bracket), 0 when another word (left in buffer, its
  // length in *length) or the end ended it and the words read so far are
  // nodes from *head to *tail; -1 when memory ran out.
  int PackBracket(char* buffer, KsWordRun** run, KsWordNode** head, KsWordNode** tail, int* length);
  // The run read into the scratch piece, moved into the arena.
  KsWordRun* KeepRun(const KsWordRun& run);
  // A node of the text and the line its word starts on; null when the
  // arena cannot grow.
  KsWordNode* NewNode(const char* text, int length, int line);
  void NoteOutOfMemory(int line);

  bool packNumbers_ = true;
  int error_ = 0;
  int errorLine_ = 0;
  int cutLine_ = 0;
  char message_[256] = {0};
  QmReadWordFile* reader_ = nullptr;
  KsWordNode* root_ = nullptr;
  KsLocalHeap heap_;
  // The first piece of the run being read, so that a bracket that turns out
  // not to be numbers, or holds few, takes nothing from the arena for it.
  alignas(KsWordRunChunk) unsigned char scratch_[sizeof(KsWordRunChunk) + kScratchBytes];
#if UINTPTR_MAX <= 0xFFFFFFFFu
  const char* shared_[256] = {nullptr};  // by the word's byte; [0] is the empty text
#endif
};
