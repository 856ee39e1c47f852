// Extrusion: a cross-section swept along a spine into side quads and caps.
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

// Points per cross-section: the primitive buffer's capacity. A longer
// cross-section is refused whole rather than cut.
constexpr int KS_SECTION_CAPACITY = 256;

class KsExtrusion : public KsNode {
  KS_NODE_CLASS(KsExtrusion)
  KsExtrusion();
  // Side quads between consecutive sections (two-sided, no normals) and
  // the caps; ccw, convex, creaseAngle, solid and orientation are kept
  // for writing only.
  int ExecTraverse(KsMatrix* matrix) override;

  // Section at spine point i: the scaled cross-section (x, z) turned from
  // +y onto the spine's direction there and moved to the spine point. 0 with
  // *count points in out, 1 when every segment up to i is degenerate, the
  // index is outside the spine or the cross-section does not fit.
  int ComputeCrossSection(int i, KsVec3f* out, int capacity, int* count);

  KS_FIELD(KsSFBool, beginCap, field, KS_TRUE);
  KS_FIELD(KsSFBool, ccw, field, KS_TRUE);
  KS_FIELD(KsSFBool, convex, field, KS_TRUE);
  KS_FIELD(KsSFFloat, creaseAngle, field, 0.0f);
  KS_FIELD(KsMFVec2f, crossSection, settableField,
           {KsVec2f(1, 1), KsVec2f(1, -1), KsVec2f(-1, -1), KsVec2f(-1, 1), KsVec2f(1, 1)});
  KS_FIELD(KsSFBool, endCap, field, KS_TRUE);
  KS_FIELD(KsMFRotation, orientation, settableField, {KsRotation(0, 1, 0, 0)});
  KS_FIELD(KsMFVec2f, scale, settableField, {KsVec2f(1, 1)});
  KS_FIELD(KsSFBool, solid, field, KS_TRUE);
  KS_FIELD(KsMFVec3f, spine, settableField, {KsVec3f(0, 0, 0), KsVec3f(0, 1, 0)});

 private:
  // Section i with fallback, the direction of the nearest earlier
  // segment that is not degenerate (null when there is none).
  int SectionAt(int i, const KsVec3f* fallback, KsVec3f* out, int capacity, int* count);
};
