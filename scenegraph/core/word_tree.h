#ifndef KS_WORD_TREE_H
#define KS_WORD_TREE_H

#include "scenegraph/core/local_heap.h"
#include "scenegraph/core/object.h"

class QmReadWordFile;

// One node of the pre-pass tree. Groups carry "[]", "{}" or two double quotes
// and hold the words between their marks as children.
//
// A cursor is a KsWordNode whose first child is the current word; advancing
// the cursor replaces that child by the next sibling.
struct KsWordNode {
    KsWordNode* child;
    KsWordNode* next;
    char* text;
    int line;
};

inline KsWordNode KsMakeCursor(KsWordNode* first) {
    KsWordNode cursor = {first, nullptr, nullptr, 0};
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
    return w ? w->line : 0;
}

// Reads a whole file into a word tree on its own arena.
class KsVrmlPass1 : public KsObject {
public:
    enum { kWordSize = 256, kMaxDepth = 1000 };
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
    // Line of the unmatched bracket, 0 without one.
    int GetErrorLine() const { return errorLine_; }

    // One node a line, "%s(%d)\n", two blanks per level, to standard output.
    void Dump() const;

private:
    KsWordNode* BuildList(char* buffer, int stringMode, int depth);
    KsWordNode* NewNode();
    // The arena copy of a word; words of at most one byte (commas, digits,
    // the empty string) share one copy each, as do the group marks.
    char* WordText(const char* word, int length);
    // "[]", "{}" or two double quotes (kind 0, 1, 2), one copy each.
    char* MarkText(int kind);


    int error_ = 0;
    int errorLine_ = 0;
    char message_[256] = {0};
    QmReadWordFile* reader_ = nullptr;
    KsWordNode* root_ = nullptr;
    KsLocalHeap heap_;
    char* shared_[256] = {nullptr};  // by the word's byte; [0] is the empty text
    char* marks_[3] = {nullptr};
};

#endif
