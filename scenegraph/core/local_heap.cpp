#include <algorithm>
#include <initializer_list>
#include <new>
#include <utility>
#include <vector>

#include "scenegraph/core/local_heap.h"

namespace {
KsClassRecord* g_heapRecord = nullptr;
KsClassRecord* g_blockRecord = nullptr;

const std::align_val_t kAlign{KsLocalHeap::kGranularity};

// Slot 0 holds null so that reference 0 resolves to null without a test.
std::vector<unsigned char*>& Bases() {
    static std::vector<unsigned char*> bases(1, nullptr);
    return bases;
}
std::vector<uint32_t>& FreeSlots() {
    static std::vector<uint32_t> slots;
    return slots;
}
// (block start, slot), sorted, for RefOf.
std::vector<std::pair<const unsigned char*, uint32_t>>& ByAddress() {
    static std::vector<std::pair<const unsigned char*, uint32_t>> blocks;
    return blocks;
}

// The slot of a new block, 0 when none is left.
uint32_t TakeSlot(unsigned char* data) {
    std::vector<unsigned char*>& bases = Bases();
    uint32_t slot;
    if (!FreeSlots().empty()) {
        slot = FreeSlots().back();
        FreeSlots().pop_back();
    } else {
        if (bases.size() >= ks_arena_refs::kMaxSlots) return 0;
        slot = (uint32_t)bases.size();
        bases.push_back(nullptr);
    }
    bases[slot] = data;
    ks_arena_refs::g_bases = bases.data();
    auto& blocks = ByAddress();
    const std::pair<const unsigned char*, uint32_t> entry(data, slot);
    blocks.insert(std::upper_bound(blocks.begin(), blocks.end(), entry), entry);
    return slot;
}

void ReleaseSlot(uint32_t slot) {
    auto& blocks = ByAddress();
    const std::pair<const unsigned char*, uint32_t> entry(Bases()[slot], slot);
    blocks.erase(std::lower_bound(blocks.begin(), blocks.end(), entry));
    Bases()[slot] = nullptr;
    FreeSlots().push_back(slot);
}
}  // namespace

namespace ks_arena_refs {
unsigned char** g_bases = Bases().data();

uint32_t RefOf(const void* p) {
    const unsigned char* at = static_cast<const unsigned char*>(p);
    if (!at) return 0;
    const auto& blocks = ByAddress();
    auto it = std::upper_bound(blocks.begin(), blocks.end(),
                               std::make_pair(at, kMaxSlots));
    if (it == blocks.begin()) return 0;
    --it;
    const size_t offset = (size_t)(at - it->first);
    if (offset >= (size_t)kBlockSize) return 0;
    return (it->second << kOffsetBits) | (uint32_t)(offset >> 2);
}
}  // namespace ks_arena_refs

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
    for (KsLocalHeapLst* block = refs_; block; block = block->next)
        ReleaseSlot(ks_arena_refs::RefOf(block->data) >> ks_arena_refs::kOffsetBits);
    for (KsLocalHeapLst* list : {head_, texts_, refs_}) {
        while (list) {
            KsLocalHeapLst* next = list->next;
            delete list;
            list = next;
        }
    }
}

const char* KsLocalHeap::GetClassName() const { return "KsLocalHeap"; }

KsClassRecord* KsLocalHeap::GetClassInfo() const { return g_heapRecord; }

unsigned char* KsLocalHeap::TakeNewBlock(KsLocalHeapLst** list, int size) {
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
    block->used = size;
    block->next = *list;
    *list = block;
    return block->data;
}

char* KsLocalHeap::StrDup(const char* text) {
    return text ? StrDup(text, std::strlen(text)) : nullptr;
}

bool KsLocalHeap::NewRefBlock() {
    KsLocalHeapLst* block = new (std::nothrow) KsLocalHeapLst;
    if (!block) return false;
    block->data = static_cast<unsigned char*>(
        ::operator new((size_t)ks_arena_refs::kBlockSize, kAlign, std::nothrow));
    const uint32_t slot = block->data ? TakeSlot(block->data) : 0;
    if (!slot) {
        delete block;
        return false;
    }
    block->capacity = ks_arena_refs::kBlockSize;
    block->next = refs_;
    refs_ = block;
    refBase_ = slot << ks_arena_refs::kOffsetBits;
    refUsed_ = 0;
    return true;
}
