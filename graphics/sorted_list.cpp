// The painter's list. Items arrive in any order; the list is threaded in
// non-increasing depth, equal depths in arrival order. Arrivals are ordered
// by a stable bottom-up merge sort when the list is next walked, so a frame
// costs O(n log n) whatever order its depths come in.
#include <cmath>
#include <cstring>
#include <new>

#include "graphics/sorted_list.h"
#include "graphics/state3d.h"

namespace {

struct ListState {
  PwSortedItem* first = nullptr;    // ordered part, farthest first
  PwSortedItem* last = nullptr;
  PwSortedItem* pending = nullptr;  // arrivals not yet ordered, in order
  PwSortedItem* pending_last = nullptr;
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
  while (a != nullptr && b != nullptr) {
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

void Order() {
  ListState& s = List();
  if (s.pending == nullptr) return;
  PwSortedItem* arrivals = SortChain(s.pending);
  s.pending = s.pending_last = nullptr;
  s.first = Merge(s.first, arrivals);
  PwSortedItem* prev = nullptr;
  for (PwSortedItem* it = s.first; it != nullptr; it = it->next) {
    it->prev = prev;
    prev = it;
  }
  s.last = prev;
}

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

std::size_t PwSortedFlushRoom(int vertices) {
  const std::size_t n =
      static_cast<std::size_t>(vertices > kMinFlushVertices ? vertices : kMinFlushVertices);
  // The screen: projected points and near-clipped points, twice the count.
  const std::size_t screen = n * 2 * (sizeof(PwPoint2) + sizeof(PwVec3));
  // The EPS page: flattened, clipped and projected points, then the page
  // clip of up to 2n points (its result and its two pass buffers).
  const std::size_t page = n * (3 * sizeof(PwVec3) + 2 * sizeof(PwPoint2)) +
                           8 * n * sizeof(PwPoint2) + 2 * (8 * n + 8) * sizeof(PwPoint2);
  constexpr std::size_t kSlack = 16 * alignof(void*);  // rounding of each block
  return (screen > page ? screen : page) + kSlack;
}

void PwSortedClear() { List() = ListState(); }

PwSortedItem* PwSortedFirst() {
  Order();
  return List().first;
}

PwSortedItem* PwSortedInsert(int type, float depth) {
  if (type < 0 || type >= kPwSortedTypeCount || std::isnan(depth)) return nullptr;
  if (PwScratchKeepBack(PwSortedFlushRoom(kMinFlushVertices)) != 0) return nullptr;
  std::size_t payload = PwSortedPayloadSize(type);
  unsigned char* block = static_cast<unsigned char*>(PwScratchAlloc(HeaderSize() + payload));
  if (block == nullptr) return nullptr;
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
}
