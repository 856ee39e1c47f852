#ifndef KS_LOCAL_HEAP_H
#define KS_LOCAL_HEAP_H

#include <cstddef>

#include "scenegraph/core/object.h"

// One block of the parse arena.
class KsLocalHeapLst : public KsObject {
public:
    KsLocalHeapLst();
    ~KsLocalHeapLst() override;

    const char* GetClassName() const override;
    KsClassRecord* GetClassInfo() const override;

    KsLocalHeapLst* next = nullptr;
    int capacity = 0;
    int used = 0;
    unsigned char* data = nullptr;
};

// Arena of blocks of at least 64 KB, newest first, freed in one piece. Texts
// are packed byte by byte in blocks of their own: rounding each word of a
// large world to 16 bytes would cost more than the words themselves.
class KsLocalHeap : public KsObject {
public:
    enum { kBlockSize = 65536 };
    static constexpr size_t kGranularity =
        alignof(std::max_align_t) > 16 ? alignof(std::max_align_t) : 16;

    KsLocalHeap();
    ~KsLocalHeap() override;
    KsLocalHeap(const KsLocalHeap&) = delete;
    KsLocalHeap& operator=(const KsLocalHeap&) = delete;

    const char* GetClassName() const override;
    KsClassRecord* GetClassInfo() const override;

    // Null when the arena cannot grow.
    void* Alloc(size_t size);
    // A copy of the text and its NUL, not aligned; null when the arena
    // cannot grow.
    char* StrDup(const char* text);
    char* StrDup(const char* text, size_t length);

    const KsLocalHeapLst* Head() const { return head_; }

private:
    // Takes size bytes from the head of *list, adding a block of at least
    // kBlockSize bytes when they do not fit.
    static unsigned char* Take(KsLocalHeapLst** list, int size);

    KsLocalHeapLst* head_ = nullptr;
    KsLocalHeapLst* texts_ = nullptr;
};

#endif
