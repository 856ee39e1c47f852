#include "scenegraph/nodes/geometry/point_line_face_sets.h"

#include <cstdio>
#include <initializer_list>
#include <new>

KS_NODE_CLASS_IMPL(KsPointSet, KsNode)
KS_NODE_CLASS_IMPL(KsIndexedLineSet, KsNode)
KS_NODE_CLASS_IMPL(KsIndexedFaceSet, KsNode)

namespace {
int CoordBox(KsNode* coord, KsVec3f* min, KsVec3f* max) {
  return coord ? coord->GetBoundingBox(min, max) : 1;
}

// Positions of the entries that begin a run: not -1 and first or after -1.
int SegmentStarts(const KsMFInt& coordIndex, const char* operation, int* starts, int* count) {
  *count = 0;
  const int n = coordIndex.GetCount();
  if (n < 2) return 0;
  const int* idx = coordIndex.GetElements();
  for (int i = 0; i < n; ++i) {
    if (idx[i] == -1 || (i > 0 && idx[i - 1] != -1)) continue;
    if (*count == KS_SEGMENT_CAPACITY) {
      std::fprintf(stderr, "%s\n", operation);
      std::fprintf(stderr, "  Too Many Segments.\n");
      return 1;
    }
    starts[(*count)++] = i;
  }
  return 0;
}
}  // namespace

KsPointSet::KsPointSet() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsPointSet::NewInstance() { return new (std::nothrow) KsPointSet(); }

int KsPointSet::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  return CoordBox(coord.Get(), min, max);
}

KsIndexedLineSet::KsIndexedLineSet() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsIndexedLineSet::NewInstance() { return new (std::nothrow) KsIndexedLineSet(); }

int KsIndexedLineSet::InvalidateCache() {
  points_ = KsListCache<KsMFVec3f>();
  colours_ = KsListCache<KsMFColor>();
  return 0;
}

int KsIndexedLineSet::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  return CoordBox(coord.Get(), min, max);
}

int KsIndexedLineSet::GetNumSegment(int* starts, int* count) {
  return SegmentStarts(coordIndex, "KsIndexedLineSet::GetNumSegment()", starts, count);
}

KsIndexedFaceSet::KsIndexedFaceSet() {
  EnsureRecord();
  RegisterDone();
}

KsIndexedFaceSet::~KsIndexedFaceSet() { DropCornerNormals(); }

KsNode* KsIndexedFaceSet::NewInstance() { return new (std::nothrow) KsIndexedFaceSet(); }

void KsIndexedFaceSet::DropCornerNormals() {
  delete[] corners_;
  corners_ = nullptr;
  cornerCount_ = 0;
}

int KsIndexedFaceSet::InvalidateCache() {
  points_ = KsListCache<KsMFVec3f>();
  colours_ = KsListCache<KsMFColor>();
  normals_ = KsListCache<KsMFVec3f>();
  texPoints_ = KsListCache<KsMFVec2f>();
  DropCornerNormals();
  return 0;
}

int KsIndexedFaceSet::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  return CoordBox(coord.Get(), min, max);
}

int KsIndexedFaceSet::GetNumSegment(int* starts, int* count) {
  return SegmentStarts(coordIndex, "KsIndexedFaceSet::GetNumSegment()", starts, count);
}
