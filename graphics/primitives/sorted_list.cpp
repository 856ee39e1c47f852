// The painter's list. Items arrive in any order; the list is threaded in
// non-increasing depth, equal depths in arrival order. Arrivals are ordered
// when the list is next walked: by a radix sort of depth keys held in
// arrays (a frame's items lie all over the pools, and chasing their links
// while sorting costs a cache miss each), or, without memory for the keys,
// by a stable merge sort of the chain.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/state3d.h"

namespace {

struct ListState {
  PwSortedItem* first = nullptr;  // ordered part, farthest first
  PwSortedItem* last = nullptr;
  PwSortedItem* pending = nullptr;  // arrivals not yet ordered, in order
  PwSortedItem* pending_last = nullptr;
  std::size_t pending_count = 0;
  bool all_noted = true;          // every pending item is in the arrivals array
  std::size_t ordered_count = 0;  // items in the order array, 0 when stale
  bool links_pending = false;     // the order array holds the list; links not yet made
  std::uint64_t steps = 0;        // items visited while ordering and linking
};

ListState& List() {
  static ListState state;
  return state;
}

// Merges two chains ordered farthest first; on equal depths a goes first
// (it holds the earlier arrivals). Only next links are used.
PwSortedItem* Merge(PwSortedItem* a, PwSortedItem* b) {
  PwSortedItem head;
  PwSortedItem* tail = &head;
  std::uint64_t steps = 0;
  while (a != nullptr && b != nullptr) {
    ++steps;
    if (a->depth >= b->depth) {
      tail->next = a;
      a = a->next;
    } else {
      tail->next = b;
      b = b->next;
    }
    tail = tail->next;
  }
  tail->next = a != nullptr ? a : b;
  List().steps += steps;
  return head.next;
}

// Stable sort of a chain without recursion: bins[i] holds a sorted run of
// 2^i items (older than everything after it).
PwSortedItem* SortChain(PwSortedItem* chain) {
  constexpr int kBins = 64;
  PwSortedItem* bins[kBins] = {};
  while (chain != nullptr) {
    PwSortedItem* run = chain;
    chain = chain->next;
    run->next = nullptr;
    int i = 0;
    for (; i < kBins - 1 && bins[i] != nullptr; ++i) {
      run = Merge(bins[i], run);
      bins[i] = nullptr;
    }
    bins[i] = bins[i] != nullptr ? Merge(bins[i], run) : run;
  }
  PwSortedItem* result = nullptr;
  for (int i = 0; i < kBins; ++i) {
    if (bins[i] != nullptr) result = result != nullptr ? Merge(bins[i], result) : bins[i];
  }
  return result;
}

// Arrivals are noted in an array as they come, and ordered by a radix sort
// of keys: the depth's bits, turned so that farther sorts first, above the
// arrival number. The buffers are kept between frames.
struct RadixBuffers {
  PwSortedItem** items = nullptr;  // by arrival number
  std::size_t items_capacity = 0;
  std::uint32_t* depth_keys = nullptr;  // FarFirstKey of each arrival, noted with it
  std::size_t depth_keys_capacity = 0;
  std::uint64_t* keys = nullptr;
  std::uint64_t* spare = nullptr;
  std::size_t keys_capacity = 0;
  PwSortedItem** order = nullptr;  // the whole list in drawing order
  std::size_t order_capacity = 0;
};

RadixBuffers& Radix() {
  static RadixBuffers buffers;
  return buffers;
}

// Grows *block (of *capacity elements) to hold n, keeping what it holds.
template <typename T>
bool Reserve(T** block, std::size_t* capacity, std::size_t n) {
  if (n <= *capacity) return true;
  std::size_t grown = *capacity < 1024 ? 1024 : *capacity;
  while (grown < n && grown <= static_cast<std::size_t>(-1) / sizeof(T) / 2) grown *= 2;
  if (grown < n) return false;
  void* p = std::realloc(*block, grown * sizeof(T));
  if (p == nullptr) return false;
  *block = static_cast<T*>(p);
  *capacity = grown;
  return true;
}

bool ReserveKeys(std::size_t n) {
  RadixBuffers& r = Radix();
  if (n <= r.keys_capacity) return true;
  std::size_t spare_capacity = r.keys_capacity;
  if (!Reserve(&r.spare, &spare_capacity, n)) return false;
  std::size_t keys_capacity = r.keys_capacity;
  if (!Reserve(&r.keys, &keys_capacity, n)) return false;
  r.keys_capacity = keys_capacity < spare_capacity ? keys_capacity : spare_capacity;
  return true;
}

// Smaller for farther items; equal depths (0 and -0 too) give equal keys.
std::uint32_t FarFirstKey(float depth) {
  if (depth == 0.0f) depth = 0.0f;
  std::uint32_t bits;
  std::memcpy(&bits, &depth, sizeof bits);
  const std::uint32_t ascending = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
  return ~ascending;
}

// Stable least-significant-digit passes over the depth half of the keys;
// the arrival number below keeps equal depths in arrival order.
std::uint64_t* RadixSort(std::uint64_t* keys, std::uint64_t* spare, std::size_t n) {
  constexpr int kDigitBits = 11, kPasses = 3, kBuckets = 1 << kDigitBits;
  static std::size_t counts[kPasses][kBuckets];
  std::memset(counts, 0, sizeof counts);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t k = static_cast<std::uint32_t>(keys[i] >> 32);
    for (int p = 0; p < kPasses; ++p) ++counts[p][(k >> (p * kDigitBits)) & (kBuckets - 1)];
  }
  for (int p = 0; p < kPasses; ++p) {
    std::size_t* c = counts[p];
    const int shift = 32 + p * kDigitBits;
    if (c[(keys[0] >> shift) & (kBuckets - 1)] == n) continue;  // one digit: nothing moves
    std::size_t sum = 0;
    for (int b = 0; b < kBuckets; ++b) {
      const std::size_t count = c[b];
      c[b] = sum;
      sum += count;
    }
    for (std::size_t i = 0; i < n; ++i) spare[c[(keys[i] >> shift) & (kBuckets - 1)]++] = keys[i];
    std::uint64_t* t = keys;
    keys = spare;
    spare = t;
  }
  return keys;
}

// The arrivals' keys in drawing order (arrival numbers below the depth),
// or null when they could not all be noted or there is no memory for keys.
const std::uint64_t* RadixOrder(std::size_t n, bool noted) {
  RadixBuffers& r = Radix();
  if (!noted || n == 0 || n > 0xffffffffu || !ReserveKeys(n)) return nullptr;
  for (std::size_t i = 0; i < n; ++i) {
    r.keys[i] = static_cast<std::uint64_t>(r.depth_keys[i]) << 32 | i;
  }
  return RadixSort(r.keys, r.spare, n);
}

// An empty list takes the sorted arrivals as they are, in the order array
// that walkers index to fetch items ahead. The items' links are made only
// when the list is walked by them (the flush walks the array and never
// needs them): the items lie anywhere, and each link costs a miss.
bool TakeSorted(const std::uint64_t* sorted, std::size_t n) {
  RadixBuffers& r = Radix();
  if (!Reserve(&r.order, &r.order_capacity, n)) return false;
  for (std::size_t i = 0; i < n; ++i) r.order[i] = r.items[sorted[i] & 0xffffffffu];
  ListState& s = List();
  s.first = r.order[0];
  s.last = r.order[n - 1];
  s.ordered_count = n;
  s.links_pending = true;
  return true;
}

void MakeLinks() {
  ListState& s = List();
  if (!s.links_pending) return;
  s.links_pending = false;
  PwSortedItem* const* order = Radix().order;
  const std::size_t n = s.ordered_count;
  s.steps += n;
  PwSortedItem* prev = nullptr;
  constexpr std::size_t kAhead = 16;  // the items lie anywhere: fetch early
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) __builtin_prefetch(order[i + kAhead], 1);
    PwSortedItem* it = order[i];
    it->prev = prev;
    if (prev != nullptr) prev->next = it;
    prev = it;
  }
  if (prev != nullptr) prev->next = nullptr;
}

PwSortedItem* ChainOf(const std::uint64_t* sorted, std::size_t n) {
  RadixBuffers& r = Radix();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    r.items[sorted[i] & 0xffffffffu]->next = r.items[sorted[i + 1] & 0xffffffffu];
  }
  r.items[sorted[n - 1] & 0xffffffffu]->next = nullptr;
  return r.items[sorted[0] & 0xffffffffu];
}

void Order() {
  ListState& s = List();
  if (s.pending == nullptr) return;
  const std::size_t n = s.pending_count;
  s.steps += n;
  const std::uint64_t* sorted = RadixOrder(n, s.all_noted);
  PwSortedItem* arrivals = s.pending;
  s.pending = s.pending_last = nullptr;
  s.pending_count = 0;
  s.all_noted = true;
  if (sorted != nullptr && s.first == nullptr && TakeSorted(sorted, n)) return;
  MakeLinks();
  arrivals = sorted != nullptr ? ChainOf(sorted, n) : SortChain(arrivals);
  s.first = Merge(s.first, arrivals);
  s.ordered_count = 0;
  PwSortedItem* prev = nullptr;
  for (PwSortedItem* it = s.first; it != nullptr; it = it->next) {
    it->prev = prev;
    prev = it;
    ++s.steps;
  }
  s.last = prev;
}

}  // namespace

PwSortedItem* const* PwSortedOrdered(std::size_t* count) {
  Order();
  const ListState& s = List();
  *count = s.ordered_count;
  return s.ordered_count != 0 ? Radix().order : nullptr;
}

namespace {

// Every item is drawn with at least this many vertices' room.
constexpr int kMinFlushVertices = 4;

std::size_t HeaderSize() {
  constexpr std::size_t grain = alignof(void*);
  return (sizeof(PwSortedItem) + grain - 1) / grain * grain;
}

}  // namespace

std::size_t PwSortedPayloadSize(int type) {
  switch (type) {
    case kPwSortedNone: return 0;
    case kPwSortedPoint: return sizeof(PwSortedPointData);
    case kPwSortedLine: return sizeof(PwSortedLineData);
    case kPwSortedDisc: return sizeof(PwSortedDiscData);
    case 4:
    case 5: return sizeof(PwSortedReservedData);
    case kPwSortedPolygon: return sizeof(PwSortedPolygonData);
    case kPwSortedMarker: return sizeof(PwSortedMarkerData);
    case kPwSortedLabel: return sizeof(PwSortedLabelData);
    case kPwSortedSrf: return sizeof(PwSortedSrfData);
    case kPwSortedPict: return sizeof(PwSortedPictData);
    case kPwSortedSmoothPolygon: return sizeof(PwSortedSmoothData);
    default: return 0;
  }
}

namespace {

// Summed in 64 bits and held to SIZE_MAX: a 32-bit size_t would wrap for a
// hostile vertex count and keep back almost nothing.
constexpr std::uint64_t FlushRoom(std::uint64_t n, bool eps) {
  // The screen: projected points and near-clipped points, twice the count.
  const std::uint64_t screen = n * 2 * (sizeof(PwPoint2) + sizeof(PwVec3));
  // The EPS page, only while it is being written: flattened, clipped and
  // projected points, then the page clip of up to 2n points (its result and
  // its two pass buffers).
  const std::uint64_t page = n * (3 * sizeof(PwVec3) + 2 * sizeof(PwPoint2)) +
                             8 * n * sizeof(PwPoint2) + 2 * (8 * n + 8) * sizeof(PwPoint2);
  constexpr std::uint64_t kSlack = 16 * alignof(void*);  // rounding of each block
  return (eps && page > screen ? page : screen) + kSlack;
}

// Every item's own room (nearly every item of a big frame asks for it).
constexpr std::size_t kSmallScreenRoom = FlushRoom(kMinFlushVertices, false);
constexpr std::size_t kSmallPageRoom = FlushRoom(kMinFlushVertices, true);

}  // namespace

std::size_t PwSortedFlushRoom(int vertices) {
  const bool eps = PwEpsIsActive() != 0;
  if (vertices <= kMinFlushVertices) return eps ? kSmallPageRoom : kSmallScreenRoom;
  return PwSaturatedSize(FlushRoom(static_cast<std::uint64_t>(vertices), eps));
}

void PwSortedClear() { List() = ListState(); }

std::uint64_t PwSortedSteps() { return List().steps; }

PwSortedItem* PwSortedFirst() {
  Order();
  MakeLinks();
  return List().first;
}

PwSortedItem* PwSortedInsert(int type, float depth) {
  return PwSortedInsertCopy(type, depth, nullptr, 0, nullptr);
}

PwSortedItem* PwSortedInsertCopy(int type, float depth, const void* data, std::size_t bytes,
                                 void** copy) {
  if (type < 0 || type >= kPwSortedTypeCount || std::isnan(depth)) return nullptr;
  if (PwScratchKeepBack(PwSortedFlushRoom(kMinFlushVertices)) != 0) return nullptr;
  return PwSortedInsertCopyKept(type, depth, data, bytes, copy);
}

PwSortedItem* PwSortedInsertCopyKept(int type, float depth, const void* data, std::size_t bytes,
                                     void** copy) {
  if (type < 0 || type >= kPwSortedTypeCount || std::isnan(depth)) return nullptr;
  const std::size_t payload = PwSortedPayloadSize(type);
  const std::size_t head = HeaderSize() + payload;
  if (bytes > static_cast<std::size_t>(-1) - head) return nullptr;
  unsigned char* block = static_cast<unsigned char*>(PwScratchAlloc(head + bytes));
  if (block == nullptr) return nullptr;
  // The data may lie where the block now starts (memory just given back):
  // it moves before the header is written over it.
  if (bytes != 0) {
    std::memmove(block + head, data, bytes);
    *copy = block + head;
  }
  PwSortedItem* item = new (block) PwSortedItem{};
  item->depth = depth;
  item->type = type;
  item->payload = payload != 0 ? block + HeaderSize() : nullptr;
  if (payload != 0) std::memset(item->payload, 0, payload);
  PwSortedLink(item);
  return item;
}

void PwSortedLink(PwSortedItem* item) {
  if (item == nullptr || std::isnan(item->depth)) return;
  ListState& s = List();
  item->prev = s.pending_last;
  item->next = nullptr;
  if (s.pending_last != nullptr) {
    s.pending_last->next = item;
  } else {
    s.pending = item;
  }
  s.pending_last = item;
  RadixBuffers& r = Radix();
  if (s.all_noted && Reserve(&r.items, &r.items_capacity, s.pending_count + 1) &&
      Reserve(&r.depth_keys, &r.depth_keys_capacity, s.pending_count + 1)) {
    r.items[s.pending_count] = item;
    r.depth_keys[s.pending_count] = FarFirstKey(item->depth);
  } else {
    s.all_noted = false;
  }
  ++s.pending_count;
}
