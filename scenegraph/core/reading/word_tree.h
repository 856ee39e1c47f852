#ifndef KS_WORD_TREE_H
#define KS_WORD_TREE_H

#include <cstdint>
#include <cstring>

#include "scenegraph/core/reading/local_heap.h"
#include "scenegraph/core/reading/word_run.h"
#include "scenegraph/core/object/object.h"

class QmReadWordFile;
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

// The same 8 bytes read as the word's line number.
struct KsWordLine : KsWordText {
    operator int() const { return Line(); }
};

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
    union {
        KsWordText text;
        KsWordLine line;
    };
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
    int PackBracket(char* buffer, KsWordRun** run, KsWordNode** head, KsWordNode** tail,
                    int* length);
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

#endif
