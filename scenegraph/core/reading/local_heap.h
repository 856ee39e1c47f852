#ifndef KS_LOCAL_HEAP_H
#define KS_LOCAL_HEAP_H

#include <climits>
#include <cstddef>
#include <cstring>

#include "scenegraph/core/object/object.h"

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
  static constexpr size_t kGranularity = alignof(std::max_align_t) > 16 ? alignof(std::max_align_t)
                                                                        : 16;

  KsLocalHeap();
  ~KsLocalHeap() override;
  KsLocalHeap(const KsLocalHeap&) = delete;
  KsLocalHeap& operator=(const KsLocalHeap&) = delete;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  // Null when the arena cannot grow.
  void* Alloc(size_t size) {
    if (size == 0) size = 1;  // distinct pointers for empty requests
    if (size > (size_t)INT_MAX - kGranularity) return nullptr;
    return Take(&head_, (int)((size + kGranularity - 1) / kGranularity * kGranularity));
  }
  // A copy of the text and its NUL, not aligned; null when the arena
  // cannot grow.
  char* StrDup(const char* text);
  char* StrDup(const char* text, size_t length) {
    if (!text || length >= (size_t)INT_MAX) return nullptr;
    char* copy = reinterpret_cast<char*>(Take(&texts_, (int)length + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
  }

  // Room for a small record aligned for pointers only: word nodes are 24
  // bytes natively, which 16-byte rounding would make 32.
  void* AllocPacked(size_t size) {
    const size_t align = alignof(void*);
    if (size == 0 || size > (size_t)INT_MAX - align) return nullptr;
    return Take(&packed_, (int)((size + align - 1) / align * align));
  }
  // Unaligned room among the texts; null when the arena cannot grow.
  char* AllocText(size_t size) {
    if (size == 0 || size >= (size_t)INT_MAX) return nullptr;
    return reinterpret_cast<char*>(Take(&texts_, (int)size));
  }

  const KsLocalHeapLst* Head() const { return head_; }

 private:
  // Takes size bytes from the head of *list, adding a block of at least
  // kBlockSize bytes when they do not fit.
  static unsigned char* Take(KsLocalHeapLst** list, int size) {
    KsLocalHeapLst* head = *list;
    if (!head || head->capacity - head->used < size) return TakeNewBlock(list, size);
    unsigned char* p = head->data + head->used;
    head->used += size;
    return p;
  }
  static unsigned char* TakeNewBlock(KsLocalHeapLst** list, int size);

  KsLocalHeapLst* head_ = nullptr;
  KsLocalHeapLst* texts_ = nullptr;
  KsLocalHeapLst* packed_ = nullptr;
};

// The bytes all arenas together may hold; an arena that would pass it cannot
// grow, as when memory runs out. Unlimited (0) unless a test sets one.
void KsSetLocalHeapLimit(size_t bytes);
size_t KsLocalHeapBytes();  // held by all arenas now
void KsResetLocalHeapLimit();

#endif
