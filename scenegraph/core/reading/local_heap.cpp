#include <algorithm>
#include <initializer_list>
#include <new>

#include "scenegraph/core/reading/local_heap.h"

namespace {
KsClassRecord* g_heapRecord = nullptr;
KsClassRecord* g_blockRecord = nullptr;

const std::align_val_t kAlign{KsLocalHeap::kGranularity};

struct HeapBudget {
  size_t limit = 0;  // 0: none
  size_t held = 0;
};
HeapBudget& Budget() {
  static HeapBudget budget;
  return budget;
}
}  // namespace

void KsSetLocalHeapLimit(size_t bytes) { Budget().limit = bytes; }
size_t KsLocalHeapBytes() { return Budget().held; }
void KsResetLocalHeapLimit() { Budget().limit = 0; }

KsLocalHeapLst::KsLocalHeapLst() {
  KsClassManager::Ensure(&g_blockRecord, "KsLocalHeapLst", KsObject::ClassRecord());
}

KsLocalHeapLst::~KsLocalHeapLst() {
  if (data) {
    ::operator delete(data, kAlign);
    Budget().held -= (size_t)capacity;
  }
}

const char* KsLocalHeapLst::GetClassName() const { return "KsLocalHeapLst"; }

KsClassRecord* KsLocalHeapLst::GetClassInfo() const { return g_blockRecord; }

KsLocalHeap::KsLocalHeap() {
  KsClassManager::Ensure(&g_heapRecord, "KsLocalHeap", KsObject::ClassRecord());
}

KsLocalHeap::~KsLocalHeap() {
  for (KsLocalHeapLst* list : {head_, texts_, packed_}) {
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
  HeapBudget& budget = Budget();
  if (budget.limit != 0 && (size_t)capacity > budget.limit - std::min(budget.limit, budget.held)) {
    delete block;
    return nullptr;
  }
  block->data = static_cast<unsigned char*>(::operator new((size_t)capacity, kAlign, std::nothrow));
  if (!block->data) {
    delete block;
    return nullptr;
  }
  budget.held += (size_t)capacity;
  block->capacity = capacity;
  block->used = size;
  block->next = *list;
  *list = block;
  return block->data;
}

char* KsLocalHeap::StrDup(const char* text) {
  return text ? StrDup(text, std::strlen(text)) : nullptr;
}
