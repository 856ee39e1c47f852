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

// Arena of blocks of at least 64 KB, newest first, freed in one piece.
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
    char* StrDup(const char* text);
    char* StrDup(const char* text, size_t length);

    const KsLocalHeapLst* Head() const { return head_; }

private:
    KsLocalHeapLst* head_ = nullptr;
};

#endif
