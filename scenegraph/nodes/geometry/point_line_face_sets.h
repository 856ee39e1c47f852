// Index-based geometry: PointSet, IndexedLineSet and IndexedFaceSet. They
// take their points, colours, normals and texture points from the property
// nodes they hold, report the coordinate node's box, and draw themselves as
// points, polylines and polygons through the primitive buffer.
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

// Vertices gathered per polyline or face (the primitive buffer's capacity),
// and starts listed by GetNumSegment.
constexpr int KS_SEGMENT_CAPACITY = 256;

// A property node's list looked up once; kept with the node it came from so
// that a node replaced without a change notice is never read through a
// stale list.
template <class List>
struct KsListCache {
  const KsNode* node = nullptr;
  List* list = nullptr;
};

class KsPointSet : public KsNode {
  KS_NODE_CLASS(KsPointSet)
  KsPointSet();
  KsNode* NewInstance() override;
  // Every point of the coordinate node, each as a point of its own in the
  // colour with the same index (or the current colour).
  int ExecTraverse(KsMatrix* matrix) override;
  // The coordinate node's box; 1 without one.
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  KS_FIELD(KsSFNode, color, exposedField);
  KS_FIELD(KsSFNode, coord, exposedField);
};

class KsIndexedLineSet : public KsNode {
  KS_NODE_CLASS(KsIndexedLineSet)
  KsIndexedLineSet();
  KsNode* NewInstance() override;
  // Drops the cached point and colour lists.
  int InvalidateCache() override;
  // One polyline per run of coordIndex between -1 entries; a run longer
  // than the buffer goes on as a further primitive from its last vertex.
  int ExecTraverse(KsMatrix* matrix) override;
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  // Polyline number k from coordIndex position s: its points and colours
  // (colours null without a colour node), at most KS_SEGMENT_CAPACITY,
  // stopping at -1 or the end. 1 with count 0 when an index misses its
  // list or there is no point list.
  int GetSegment(int k, int s, const KsVec3f** points, const KsCol** colours, int* count);
  // Start positions of the polylines (room for KS_SEGMENT_CAPACITY);
  // 1 after reporting when there are more.
  int GetNumSegment(int* starts, int* count);

  KS_FIELD(KsSFNode, color, exposedField);
  KS_FIELD(KsSFNode, coord, exposedField);
  KS_FIELD(KsMFInt, colorIndex, settableField);
  KS_FIELD(KsSFBool, colorPerVertex, field, KS_TRUE);
  KS_FIELD(KsMFInt, coordIndex, settableField);

 private:
  void FillCaches();

  KsListCache<KsMFVec3f> points_;
  KsListCache<KsMFColor> colours_;
};

class KsIndexedFaceSet : public KsNode {
  KS_NODE_CLASS(KsIndexedFaceSet)
  KsIndexedFaceSet();
  ~KsIndexedFaceSet() override;
  KsNode* NewInstance() override;
  // Drops the cached lists and the computed corner normals.
  int InvalidateCache() override;
  // One polygon per face, with every corner (a face beyond the primitive
  // buffer's bound is refused there); without a normal node, corner
  // normals are computed once and kept.
  int ExecTraverse(KsMatrix* matrix) override;
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  // Face number k from coordIndex position s, as the line set's but with
  // room for capacity corners; entries are null for the lists whose node
  // is absent.
  int GetSegment(int k, int s, const KsVec3f** points, const KsVec3f** normals,
                 const KsCol** colours, const KsVec2f** texPoints, int* count,
                 int capacity = KS_SEGMENT_CAPACITY);
  int GetNumSegment(int* starts, int* count);

  // The computed corner normals, one per coordIndex entry (null when none
  // are held), and their count.
  const KsVec3f* GetCornerNormals() const { return corners_; }
  int GetCornerNormalCount() const { return cornerCount_; }

  KS_FIELD(KsSFNode, color, exposedField);
  KS_FIELD(KsSFNode, coord, exposedField);
  KS_FIELD(KsSFNode, normal, exposedField);
  KS_FIELD(KsSFNode, texCoord, exposedField);
  KS_FIELD(KsSFBool, ccw, field, KS_TRUE);
  KS_FIELD(KsMFInt, colorIndex, settableField);
  KS_FIELD(KsSFBool, colorPerVertex, field, KS_TRUE);
  KS_FIELD(KsSFBool, convex, field, KS_TRUE);
  KS_FIELD(KsMFInt, coordIndex, settableField);
  KS_FIELD(KsSFFloat, creaseAngle, field, 0.0f);
  KS_FIELD(KsMFInt, normalIndex, settableField);
  KS_FIELD(KsSFBool, normalPerVertex, field, KS_TRUE);
  KS_FIELD(KsSFBool, solid, field, KS_TRUE);
  KS_FIELD(KsMFInt, texCoordIndex, settableField);

 private:
  void FillCaches();
  void DropCornerNormals();

  KsListCache<KsMFVec3f> points_;
  KsListCache<KsMFColor> colours_;
  KsListCache<KsMFVec3f> normals_;
  KsListCache<KsMFVec2f> texPoints_;
  KsVec3f* corners_ = nullptr;
  int cornerCount_ = 0;
};
