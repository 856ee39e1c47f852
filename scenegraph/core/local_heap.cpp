#include <climits>
#include <cstring>
#include <new>

#include "scenegraph/core/local_heap.h"

namespace {
KsClassRecord* g_heapRecord = nullptr;
KsClassRecord* g_blockRecord = nullptr;

const std::align_val_t kAlign{KsLocalHeap::kGranularity};
}  // namespace

KsLocalHeapLst::KsLocalHeapLst() {
    KsClassManager::Ensure(&g_blockRecord, "KsLocalHeapLst", KsObject::ClassRecord());
}

KsLocalHeapLst::~KsLocalHeapLst() {
    if (data) ::operator delete(data, kAlign);
}

const char* KsLocalHeapLst::GetClassName() const { return "KsLocalHeapLst"; }

KsClassRecord* KsLocalHeapLst::GetClassInfo() const { return g_blockRecord; }

KsLocalHeap::KsLocalHeap() {
    KsClassManager::Ensure(&g_heapRecord, "KsLocalHeap", KsObject::ClassRecord());
}

KsLocalHeap::~KsLocalHeap() {
    while (head_) {
        KsLocalHeapLst* next = head_->next;
        delete head_;
        head_ = next;
    }
}

const char* KsLocalHeap::GetClassName() const { return "KsLocalHeap"; }

KsClassRecord* KsLocalHeap::GetClassInfo() const { return g_heapRecord; }

void* KsLocalHeap::Alloc(size_t size) {
    if (size == 0) size = 1;  // distinct pointers for empty requests
    if (size > (size_t)INT_MAX - kGranularity) return nullptr;
    const int rounded = (int)((size + kGranularity - 1) / kGranularity * kGranularity);
    if (!head_ || head_->capacity - head_->used < rounded) {
        KsLocalHeapLst* block = new (std::nothrow) KsLocalHeapLst;
        if (!block) return nullptr;
        const int capacity = rounded > kBlockSize ? rounded : (int)kBlockSize;
        block->data = static_cast<unsigned char*>(
            ::operator new((size_t)capacity, kAlign, std::nothrow));
        if (!block->data) {
            delete block;
            return nullptr;
        }
        block->capacity = capacity;
        block->next = head_;
        head_ = block;
    }
    void* p = head_->data + head_->used;
    head_->used += rounded;
    return p;
}

char* KsLocalHeap::StrDup(const char* text, size_t length) {
    if (!text) return nullptr;
    if (length == (size_t)-1) return nullptr;
    char* copy = static_cast<char*>(Alloc(length + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

char* KsLocalHeap::StrDup(const char* text) {
    return text ? StrDup(text, std::strlen(text)) : nullptr;
}
