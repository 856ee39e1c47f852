// Merging captured points. A point matches a record within 0.0001 on every
// axis; the first such record in list order wins, exactly as a search from
// the start of the list would find it. The records are indexed by cells of
// 0.001 per axis, so a match lies in one of at most eight cells around the
// point. From 2048 up a float's spacing exceeds the tolerance, so there only
// equal values match and the value itself is the cell.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/formats/model_capture_internal.h"

namespace {

constexpr double kTolerance = 0.0001;
constexpr double kCellsPerUnit = 1000.0;
constexpr float kExactFrom = 2048.0f;
constexpr int kFirstBuckets = 1024;

bool Finite(const PwCapturedVertex& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool Matches(const PwCapturedVertex& r, const PwCapturedVertex& p) {
  return r.flag == p.flag && std::fabs(r.x - p.x) <= kTolerance &&
         std::fabs(r.y - p.y) <= kTolerance && std::fabs(r.z - p.z) <= kTolerance;
}

// Cells of one coordinate: the record's own cell, and the range of cells
// that a match of v may lie in (a wider margin than the tolerance keeps the
// range safe from rounding).
std::int64_t CellOf(float v) {
  if (std::fabs(v) >= kExactFrom) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return (static_cast<std::int64_t>(1) << 40) + bits;
  }
  return static_cast<std::int64_t>(std::floor(static_cast<double>(v) * kCellsPerUnit));
}

void CellRange(float v, std::int64_t* lo, std::int64_t* hi) {
  if (std::fabs(v) >= kExactFrom) {
    *lo = *hi = CellOf(v);
    return;
  }
  const double margin = kTolerance * 1.5;
  *lo = static_cast<std::int64_t>(std::floor((v - margin) * kCellsPerUnit));
  *hi = static_cast<std::int64_t>(std::floor((v + margin) * kCellsPerUnit));
}

std::uint64_t Mix(std::uint64_t h, std::uint64_t v) {
  h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
  return h;
}

std::uint64_t CellHash(std::int64_t cx, std::int64_t cy, std::int64_t cz, int flag) {
  std::uint64_t h = static_cast<std::uint64_t>(flag);
  h = Mix(h, static_cast<std::uint64_t>(cx));
  h = Mix(h, static_cast<std::uint64_t>(cy));
  h = Mix(h, static_cast<std::uint64_t>(cz));
  h ^= h >> 29;
  h *= 0xbf58476d1ce4e5b9ull;
  h ^= h >> 32;
  return h;
}

int BucketOf(const PwCapturedPoints& list, const PwCapturedVertex& v) {
  const std::uint64_t h = CellHash(CellOf(v.x), CellOf(v.y), CellOf(v.z), v.flag);
  return static_cast<int>(h & static_cast<std::uint64_t>(list.bucket_count - 1));
}

void Link(PwCapturedPoints* list, int i) {
  if (!Finite(list->records[i])) return;  // never matches anything
  const int b = BucketOf(*list, list->records[i]);
  list->chain[i] = list->buckets[b];
  list->buckets[b] = i;
}

// Buckets for the records in chains of decreasing index (newest first).
bool Rehash(PwCapturedPoints* list, int bucket_count) {
  auto* buckets = static_cast<int*>(
      PwCaptureRealloc(nullptr, sizeof(int) * static_cast<std::size_t>(bucket_count)));
  if (buckets == nullptr) return false;
  PwCaptureRealloc(list->buckets, 0);
  list->buckets = buckets;
  list->bucket_count = bucket_count;
  for (int b = 0; b < bucket_count; ++b) buckets[b] = -1;
  for (int i = 0; i < list->count; ++i) Link(list, i);
  return true;
}

bool Grow(PwCapturedPoints* list) {
  if (list->count < list->capacity) return true;
  if (list->capacity > (1 << 28)) return false;
  const int capacity = list->capacity == 0 ? 256 : list->capacity * 2;
  auto* records = static_cast<PwCapturedVertex*>(PwCaptureRealloc(
      list->records, sizeof(PwCapturedVertex) * static_cast<std::size_t>(capacity)));
  if (records == nullptr) return false;
  list->records = records;
  auto* chain = static_cast<int*>(
      PwCaptureRealloc(list->chain, sizeof(int) * static_cast<std::size_t>(capacity)));
  if (chain == nullptr) return false;
  list->chain = chain;
  list->capacity = capacity;
  return true;
}

int Find(const PwCapturedPoints& list, const PwCapturedVertex& p) {
  if (list.bucket_count == 0 || !Finite(p)) return -1;
  std::int64_t lo[3], hi[3];
  CellRange(p.x, &lo[0], &hi[0]);
  CellRange(p.y, &lo[1], &hi[1]);
  CellRange(p.z, &lo[2], &hi[2]);
  int best = -1;
  for (std::int64_t cx = lo[0]; cx <= hi[0]; ++cx) {
    for (std::int64_t cy = lo[1]; cy <= hi[1]; ++cy) {
      for (std::int64_t cz = lo[2]; cz <= hi[2]; ++cz) {
        const std::uint64_t h = CellHash(cx, cy, cz, p.flag);
        const int b = static_cast<int>(h & static_cast<std::uint64_t>(list.bucket_count - 1));
        for (int i = list.buckets[b]; i >= 0; i = list.chain[i]) {
          if ((best < 0 || i < best) && Matches(list.records[i], p)) best = i;
        }
      }
    }
  }
  return best;
}

}  // namespace

int PwCapturedPointsMerge(PwCapturedPoints* list, PwVec3 p, int flag) {
  const PwCapturedVertex v = {p.x, p.y, p.z, flag};
  const int found = Find(*list, v);
  if (found >= 0) return found;
  if (!Grow(list)) return -1;
  if (list->bucket_count == 0 || list->count >= list->bucket_count) {
    const int wanted = list->bucket_count == 0 ? kFirstBuckets : list->bucket_count * 2;
    if (!Rehash(list, wanted)) return -1;
  }
  const int i = list->count++;
  list->records[i] = v;
  Link(list, i);
  return i;
}

void PwCapturedPointsTruncate(PwCapturedPoints* list, int count) {
  while (list->count > count) {
    const int i = --list->count;
    if (!Finite(list->records[i])) continue;
    // The newest record heads its bucket's chain.
    const int b = BucketOf(*list, list->records[i]);
    if (list->buckets[b] == i) list->buckets[b] = list->chain[i];
  }
}

void PwCapturedPointsFree(PwCapturedPoints* list) {
  PwCaptureRealloc(list->records, 0);
  PwCaptureRealloc(list->chain, 0);
  PwCaptureRealloc(list->buckets, 0);
  *list = PwCapturedPoints();
}
