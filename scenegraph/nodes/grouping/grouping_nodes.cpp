#include "scenegraph/nodes/grouping/grouping_nodes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <unordered_set>
#include <vector>

#include "scenegraph/core/partition/box_query.h"
#include "scenegraph/core/object/node_containment.h"

KS_NODE_CLASS_IMPL(KsGroup, KsNode)
KS_NODE_CLASS_IMPL(KsInline, KsGroup)
KS_NODE_CLASS_IMPL(KsTransform, KsGroup)
KS_NODE_CLASS_IMPL(KsAnchor, KsGroup)
KS_NODE_CLASS_IMPL(KsCollision, KsGroup)
KS_NODE_CLASS_IMPL(KsBillboard, KsGroup)
KS_NODE_CLASS_IMPL(KsLOD, KsNode)
KS_NODE_CLASS_IMPL(KsSwitch, KsNode)

namespace {
void Extend(KsVec3f* min, KsVec3f* max, const KsVec3f& lo, const KsVec3f& hi, bool first) {
  if (first) {
    *min = lo;
    *max = hi;
    return;
  }
  if (lo.x < min->x) min->x = lo.x;
  if (lo.y < min->y) min->y = lo.y;
  if (lo.z < min->z) min->z = lo.z;
  if (hi.x > max->x) max->x = hi.x;
  if (hi.y > max->y) max->y = hi.y;
  if (hi.z > max->z) max->z = hi.z;
}
}  // namespace

// ---- Group ---------------------------------------------------------------

KsGroup::KsGroup() {
  EnsureRecord();
  RegisterEventIn("addChildren");
  RegisterEventIn("removeChildren");
  RegisterDone();
}

KsNode* KsGroup::NewInstance() { return new (std::nothrow) KsGroup(); }

KsMFNode* KsGroup::GetChildren() { return &children; }

int KsGroup::ExecSpecialEvent(const char* name, KsField* field, KsNode* source) {
  const bool add = name && std::strcmp(name, "addChildren") == 0;
  const bool remove = name && std::strcmp(name, "removeChildren") == 0;
  if ((!add && !remove) || !field || std::strcmp(field->GetClassName(), "KsMFNode") != 0)
    return KsNode::ExecSpecialEvent(name, field, source);
  const KsMFNode* given = static_cast<const KsMFNode*>(field);
  KsNode* const* begin = given->GetElements();
  KsNode* const* end = begin ? begin + given->GetCount() : begin;
  std::vector<KsNode*> next;
  if (children.GetCount() > 0)
    next.assign(children.GetElements(), children.GetElements() + children.GetCount());
  const size_t before = next.size();
  if (add) {
    // A node already among the children is not added twice.
    // Nor is one that contains this group: refused here, so that a
    // refusal alone changes nothing and sends nothing.
    std::unordered_set<KsNode*> present(next.begin(), next.end());
    for (KsNode* const* it = begin; it != end; ++it) {
      if (!*it || present.count(*it) != 0) continue;
      if (KsContainsNode(*it, this)) {
        KsReportHolderRefused(this, name);
        continue;
      }
      present.insert(*it);
      next.push_back(*it);
    }
  } else {
    std::unordered_set<KsNode*> gone(begin, end);
    next.erase(std::remove_if(next.begin(), next.end(),
                              [&gone](KsNode* node) { return gone.count(node) != 0; }),
               next.end());
  }
  if (next.size() == before) return 0;
  return children.Set(static_cast<int>(next.size()), next.data());
}

int KsGroup::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  bool found = false;
  KsVec3f lo, hi;
  for (int i = 0; i < children.GetCount(); ++i) {
    KsNode* child = children.GetElements()[i];
    if (!child || KsChildBoundingBox(child, &lo, &hi) != 0) continue;
    if (min && max) Extend(min, max, lo, hi, !found);
    found = true;
  }
  return found ? 0 : 1;
}

// ---- Inline --------------------------------------------------------------

KsInline::KsInline() {
  EnsureRecord();
  RegisterDone();
}

// ---- Transform -----------------------------------------------------------

KsTransform::KsTransform() {
  EnsureRecord();
  // A transform's box defaults to empty, unlike a group's.
  bboxSize.Set(0.0f, 0.0f, 0.0f);
  RegisterDone();
}

KsNode* KsTransform::NewInstance() { return new (std::nothrow) KsTransform(); }

void KsTransform::BuildMatrix(KsMatrix* matrix) const {
  if (!matrix) return;
  const KsVec3f& c = center.Get();
  const KsRotation& so = scaleOrientation.Get();
  matrix->Identity();
  matrix->Translate(translation.Get());
  matrix->Translate(c);
  matrix->Rotate(rotation.Get());
  matrix->Rotate(so);
  matrix->Scale(scale.Get());
  matrix->Rotate(so.axis.x, so.axis.y, so.axis.z, -so.angle);
  matrix->Translate(-c.x, -c.y, -c.z);
}

int KsTransform::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  KsVec3f lo, hi;
  if (KsGroup::GetBoundingBox(&lo, &hi) != 0) return 1;
  KsMatrix m;
  BuildMatrix(&m);
  KsVec3f rmin, rmax;
  for (int k = 0; k < 8; ++k) {
    KsVec3f corner((k & 1) ? hi.x : lo.x, (k & 2) ? hi.y : lo.y, (k & 4) ? hi.z : lo.z);
    KsVec3f p;
    m.Apply(p, corner, 1.0f);
    Extend(&rmin, &rmax, p, p, k == 0);
  }
  if (min) *min = rmin;
  if (max) *max = rmax;
  return 0;
}

// ---- Anchor, Collision, Billboard ----------------------------------------

KsAnchor::KsAnchor() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsAnchor::NewInstance() { return new (std::nothrow) KsAnchor(); }

KsCollision::KsCollision() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsCollision::NewInstance() { return new (std::nothrow) KsCollision(); }

KsBillboard::KsBillboard() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsBillboard::NewInstance() { return new (std::nothrow) KsBillboard(); }

// ---- LOD -----------------------------------------------------------------

KsLOD::KsLOD() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsLOD::NewInstance() { return new (std::nothrow) KsLOD(); }

KsNode* KsLOD::SelectLevel(const KsMatrix& current, const KsVec3f* viewpointPosition) {
  int i = 0;
  if (viewpointPosition) {
    KsVec3f c;
    current.Apply(c, center.Get(), 1.0f);
    KsVec3f d = c - *viewpointPosition;
    float distance = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    int n = range.GetCount();
    while (i < n && !(distance < range.GetElements()[i])) ++i;
  }
  KsNode** chosen = level.Get(i);
  return chosen ? *chosen : nullptr;
}

// ---- Switch --------------------------------------------------------------

KsSwitch::KsSwitch() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsSwitch::NewInstance() { return new (std::nothrow) KsSwitch(); }

KsNode* KsSwitch::GetChosen() {
  int i = whichChoice.Get();
  if (i < 0) return nullptr;
  KsNode** chosen = choice.Get(i);
  return chosen ? *chosen : nullptr;
}
