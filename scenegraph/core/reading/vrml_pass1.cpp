#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"

namespace {

KsClassRecord* g_pass1Record = nullptr;

bool Is(const char* word, char c) { return word[0] == c && word[1] == 0; }

// Appends the reader's fast-path words to a run.
struct RunSink : QmWordSink {
  KsWordRun* run;
  KsLocalHeap* heap;
  int failedLine = 0;
  RunSink(KsWordRun* r, KsLocalHeap* h) : run(r), heap(h) {}
  bool Take(const char* word, int length, int line) override {
    if (KsAppendRunWord(run, heap, word, length, line)) return true;
    failedLine = line;
    return false;
  }
};

void DumpList(const KsWordNode* node, int depth) {
  for (; node; node = node->next) {
    const char* text = node->text;
    std::printf("%*s%s(%d)\n", depth * 2, "", text ? text : "", node->text.Line());
    if (node->child) DumpList(node->child, depth + 1);
  }
}

}  // namespace

KsWordNode* KsWordChild::Expand() const {
  const KsWordRun* run = Run();
  KsWordNode* head = run->owner ? run->owner->ExpandRun(run, nullptr) : nullptr;
  if (!head) {
    // The list reads as empty, and the read fails.
    std::fprintf(stderr, "Local Heap Allocation Error!!\n");
    KsNoteReadOutOfMemory(run->line);
  }
  bits_ = reinterpret_cast<uintptr_t>(head);
  return head;
}

KsVrmlPass1::KsVrmlPass1() {
  KsClassManager::Ensure(&g_pass1Record, "KsVrmlPass1", KsObject::ClassRecord());
}

KsVrmlPass1::~KsVrmlPass1() = default;

const char* KsVrmlPass1::GetClassName() const { return "KsVrmlPass1"; }

KsClassRecord* KsVrmlPass1::GetClassInfo() const { return g_pass1Record; }

int KsVrmlPass1::Run(QmReadWordFile* reader) {
  root_ = nullptr;
  error_ = kErrorNone;
  errorLine_ = 0;
  cutLine_ = 0;
  message_[0] = 0;
  reader_ = reader;
  if (!reader) return 1;
  reader->CommentOn();
  char buffer[kWordSize];
  buffer[0] = 0;
  root_ = BuildList(buffer, 0, 0);
  if (error_ != kErrorMemory && (Is(buffer, '}') || Is(buffer, ']') || Is(buffer, '"'))) {
    const int line = reader->GetWordLine();
    std::snprintf(message_, sizeof message_, "Parentheses No Match at %d", line);
    // The rest of the file is not read: that must not pass for success.
    error_ = kErrorBracket;
    errorLine_ = line;
    cutLine_ = line;
  }
  return (!root_ || error_ != kErrorNone) ? 1 : 0;
}

void KsVrmlPass1::NoteOutOfMemory(int line) {
  if (error_ == kErrorMemory) return;
  std::fprintf(stderr, "Local Heap Allocation Error!!\n");
  error_ = kErrorMemory;
  errorLine_ = line;
  std::snprintf(message_, sizeof message_, "Out Of Memory.");
}

KsWordNode* KsVrmlPass1::NewNode(const char* text, int length, int line) {
  KsWordNode* node = static_cast<KsWordNode*>(heap_.AllocPacked(sizeof(KsWordNode)));
  // The caller reports it: a failed read, not the end of the program.
  if (!node) return nullptr;
  node->child = nullptr;
  node->next = nullptr;
#if UINTPTR_MAX > 0xFFFFFFFFu
  if (node->text.SetInline(text, length, line)) return node;
  char* room = heap_.AllocText(sizeof line + (size_t)length + 1);
  if (!room || !node->text.SetStored(KsWordText::Store(room, text, length, line))) return nullptr;
#else
  // Words of at most one byte (commas, digits, the empty text) share a copy.
  const char*& shared = shared_[length == 1 ? (unsigned char)text[0] : 0];
  if (length <= 1 && !shared) shared = heap_.StrDup(text, (size_t)length);
  node->text.text = length <= 1 ? shared : heap_.StrDup(text, (size_t)length);
  node->text.line = line;
  if (!node->text.text) return nullptr;
#endif
  return node;
}

KsWordNode* KsVrmlPass1::ExpandRun(const KsWordRun* run, KsWordNode** tail) {
  KsWordNode* head = nullptr;
  KsWordNode* last = nullptr;
  KsWordRunReader words(run);
  int length = 0, line = 0;
  while (const char* text = words.Next(&length, &line)) {
    KsWordNode* node = NewNode(text, length, line);
    if (!node) return nullptr;
    (last ? last->next : head) = node;
    last = node;
  }
  if (tail) *tail = last;
  return head;
}

KsWordRun* KsVrmlPass1::KeepRun(const KsWordRun& run) {
  KsWordRun* kept = static_cast<KsWordRun*>(heap_.Alloc(sizeof(KsWordRun)));
  const KsWordRunChunk* scratch = run.first;
  const size_t bytes = sizeof(KsWordRunChunk) + (size_t)scratch->used;
  KsWordRunChunk* piece = static_cast<KsWordRunChunk*>(heap_.AllocPacked(bytes));
  if (!kept || !piece) return nullptr;
  std::memcpy(piece, scratch, bytes);
  piece->capacity = scratch->used;
  *kept = run;
  kept->first = piece;
  if (run.last == scratch) kept->last = piece;
  return kept;
}

int KsVrmlPass1::PackBracket(char* buffer, KsWordRun** out, KsWordNode** head, KsWordNode** tail,
                             int* length) {
  KsWordRunChunk* scratch = reinterpret_cast<KsWordRunChunk*>(scratch_);
  scratch->next = nullptr;
  scratch->used = 0;
  scratch->capacity = kScratchBytes;
  KsWordRun run = {this, scratch, scratch, 0, 0, 0, 0, 0};
  *out = nullptr;
  *head = *tail = nullptr;
  RunSink sink(&run, &heap_);
  for (;;) {
    if (reader_->TakeListWords(KsRunWordBytes(), kWordSize - 1, &sink) != 0) {
      NoteOutOfMemory(sink.failedLine);
      return -1;
    }
    const int n = reader_->GetWord(buffer, kWordSize);
    if (n > 0 && Is(buffer, ']')) {
      if (run.words == 0) return 1;
      *out = KeepRun(run);
      if (*out) return 1;
      NoteOutOfMemory(reader_->GetWordLine());
      return -1;
    }
    if (n <= 0 || !KsIsRunWord(buffer, n)) {
      // Not numbers only: the words so far become the nodes they always were.
      if (run.words > 0 && !(*head = ExpandRun(&run, tail))) {
        NoteOutOfMemory(reader_->GetWordLine());
        return -1;
      }
      *length = n;
      return 0;
    }
    if (!KsAppendRunWord(&run, &heap_, buffer, n, reader_->GetWordLine())) {
      NoteOutOfMemory(reader_->GetWordLine());
      return -1;
    }
  }
}

// The word buffer is shared by every level: a level that returns leaves its
// closing word there for the caller to check.
KsWordNode* KsVrmlPass1::BuildList(char* buffer, int stringMode, int depth, KsWordNode* head,
                                   KsWordNode* tail, bool pending, int pendingLength) {
  KsWordNode** link = tail ? &tail->next : &head;
  for (;;) {
    int length = pendingLength;
    if (!pending) length = reader_->GetWord(buffer, kWordSize);
    pending = false;
    if (length <= 0) {
      buffer[0] = 0;
      return head;
    }
    if (stringMode) {
      // Inside a string every other word, brackets included, is text.
      if (Is(buffer, '"')) return head;
    } else if (Is(buffer, ']') || Is(buffer, '}')) {
      return head;
    }
    const char open = stringMode ? 0 : buffer[1] == 0 ? buffer[0] : 0;
    const bool group = open == '[' || open == '{' || open == '"';
    static const char* const kMarks[3] = {"[]", "{}", "\"\""};
    const int line = reader_->GetWordLine();
    KsWordNode* node = group ? NewNode(kMarks[open == '['   ? 0
                                              : open == '{' ? 1
                                                            : 2],
                                       2, line)
                             : NewNode(buffer, buffer[0] ? length : 0, line);
    if (!node) {
      NoteOutOfMemory(line);
      return head;
    }
    if (group) {
      const char close = open == '[' ? ']' : open == '{' ? '}' : '"';
      const char* missing = open == '['   ? "']' is missing for '[' at %d"
                            : open == '{' ? "'}' is missing for '{' at %d"
                                          : "Open String at %d";
      if (depth >= kMaxDepth) {
        // Too deep to follow: reported as unmatched, nothing more read.
        error_ = kErrorBracket;
        errorLine_ = node->text.Line();
        cutLine_ = node->text.Line();
        std::snprintf(message_, sizeof message_, missing, node->text.Line());
        buffer[0] = 0;
        return head;
      }
      if (open == '[' && packNumbers_) {
        KsWordRun* run = nullptr;
        KsWordNode* first = nullptr;
        KsWordNode* last = nullptr;
        int next = 0;
        const int packed = PackBracket(buffer, &run, &first, &last, &next);
        if (packed < 0)
          buffer[0] = 0;
        else if (packed == 0)
          node->child = BuildList(buffer, 0, depth + 1, first, last, true, next);
        else if (run)
          node->child.SetRun(run);
      } else {
        node->child = BuildList(buffer, open == '"', depth + 1);
      }
      if (!Is(buffer, close)) {
        if (error_ == kErrorMemory) return head;
        error_ = kErrorBracket;
        errorLine_ = node->text.Line();
        // Ended by the end of the file, every enclosing group is left
        // open too: the outermost is where the loss begins.
        if (buffer[0] == 0) cutLine_ = node->text.Line();
        std::snprintf(message_, sizeof message_, missing, node->text.Line());
        return head;
      }
    }
    *link = node;
    link = &node->next;
  }
}

void KsVrmlPass1::Dump() const { DumpList(root_, 0); }
