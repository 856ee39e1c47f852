#include <climits>
#include <initializer_list>
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
    for (KsLocalHeapLst* list : {head_, texts_}) {
        while (list) {
            KsLocalHeapLst* next = list->next;
            delete list;
            list = next;
        }
    }
}

const char* KsLocalHeap::GetClassName() const { return "KsLocalHeap"; }

KsClassRecord* KsLocalHeap::GetClassInfo() const { return g_heapRecord; }

unsigned char* KsLocalHeap::Take(KsLocalHeapLst** list, int size) {
    KsLocalHeapLst* head = *list;
    if (!head || head->capacity - head->used < size) {
        KsLocalHeapLst* block = new (std::nothrow) KsLocalHeapLst;
        if (!block) return nullptr;
        const int capacity = size > kBlockSize ? size : (int)kBlockSize;
        block->data = static_cast<unsigned char*>(
            ::operator new((size_t)capacity, kAlign, std::nothrow));
        if (!block->data) {
            delete block;
            return nullptr;
        }
        block->capacity = capacity;
        block->next = head;
        *list = head = block;
    }
    unsigned char* p = head->data + head->used;
    head->used += size;
    return p;
}

void* KsLocalHeap::Alloc(size_t size) {
    if (size == 0) size = 1;  // distinct pointers for empty requests
    if (size > (size_t)INT_MAX - kGranularity) return nullptr;
    return Take(&head_, (int)((size + kGranularity - 1) / kGranularity * kGranularity));
}

char* KsLocalHeap::StrDup(const char* text, size_t length) {
    if (!text) return nullptr;
    if (length >= (size_t)INT_MAX) return nullptr;
    char* copy = reinterpret_cast<char*>(Take(&texts_, (int)length + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

char* KsLocalHeap::StrDup(const char* text) {
    return text ? StrDup(text, std::strlen(text)) : nullptr;
}
