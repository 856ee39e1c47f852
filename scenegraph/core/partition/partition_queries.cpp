// What the viewer and the node classes ask of a loaded scene while it runs:
// walks, the drawing entry, viewpoints, extent, pointing and time.
#include <cstdio>
#include <cstring>

#include <unordered_map>
#include <vector>

#include "scenegraph/core/partition/box_query.h"
#include "scenegraph/core/events/drag_sensor.h"
#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/partition/partition_hooks.h"
#include "scenegraph/core/events/sensor_table.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/math/vec.h"

namespace {
const char kViewpointClass[] = "KsViewpoint";
const char kTimeSensorClass[] = "KsTimeSensor";

class ViewpointPathScanner : public KsNodeScanner {
 public:
  int Visit(KsNode* node) override {
    if (std::strcmp(node->GetClassName(), kViewpointClass) != 0) return 0;
    KsViewpointPathHook hook = KsGetViewpointPathHook();
    if (!hook) return 0;
    KsObject* items[KS_SCAN_PATH_SIZE];
    int count = GetDepth() < KS_SCAN_PATH_SIZE ? GetDepth() : KS_SCAN_PATH_SIZE;
    for (int i = 0; i < count; ++i) items[i] = GetPathItem(i);
    hook(node, count, items);
    return 0;
  }
};

class TimeScanner : public KsNodeScanner {
 public:
  explicit TimeScanner(float now) : now_(now) {}
  int Visit(KsNode* node) override {
    if (std::strcmp(node->GetClassName(), kTimeSensorClass) != 0) return 0;
    KsTimeTickHook tick = KsGetTimeTickHook();
    if (tick) tick(node, now_);
    return 0;
  }

 private:
  float now_;
};
struct KnownBox {
  int result = 1;  // 1 while it is being worked out, and for no box
  KsVec3f lo, hi;
};

struct BoxQuery {
  int open = 0;
  long computed = 0;
  int depth = 0;  // boxes being worked out inside one another
  int deepest = 0;
  int cutTold = 0;  // the query was told it went too deep
  std::unordered_map<const KsNode*, KnownBox> shared;
};

// The node's own box, one level deeper.
int AskBox(BoxQuery& q, KsNode* node, KsVec3f* min, KsVec3f* max) {
  if (q.depth >= KS_MAX_BOX_DEPTH) {
    if (!q.cutTold) {
      q.cutTold = 1;
      std::fprintf(stderr, "KsPartition::GetBoundingBox()\n");
      std::fprintf(stderr,
                   "  The scene nests deeper than %d levels; the deeper nodes are "
                   "left out of its box.\n",
                   KS_MAX_BOX_DEPTH);
    }
    return 1;
  }
  ++q.computed;
  if (++q.depth > q.deepest) q.deepest = q.depth;
  const int result = node->GetBoundingBox(min, max);
  --q.depth;
  return result;
}

BoxQuery& Boxes() {
  static BoxQuery query;
  return query;
}

long& Scans() {
  static long scans = 0;
  return scans;
}
}  // namespace

long KsPartition::GetScanCount() { return Scans(); }
void KsPartition::ResetScanCount() { Scans() = 0; }

KsBoxQueryScope::KsBoxQueryScope() : outermost_(Boxes().open == 0) {
  BoxQuery& q = Boxes();
  if (outermost_) {
    q.shared.clear();
    q.computed = 0;
    q.deepest = 0;
    q.cutTold = 0;
  }
  ++q.open;
}

KsBoxQueryScope::~KsBoxQueryScope() {
  BoxQuery& q = Boxes();
  --q.open;
  if (outermost_) q.shared.clear();
}

long KsBoxQueryComputed() { return Boxes().computed; }
int KsBoxQueryDeepest() { return Boxes().deepest; }

int KsChildBoundingBox(KsNode* node, KsVec3f* min, KsVec3f* max) {
  if (!node || !min || !max) return 1;
  BoxQuery& q = Boxes();
  // A node held once is reached as often as its holder: only shared
  // ones are kept.
  if (q.open == 0 || node->GetRefCount() <= 1) return AskBox(q, node, min, max);
  auto found = q.shared.find(node);
  if (found != q.shared.end()) {
    if (found->second.result != 0) return 1;
    *min = found->second.lo;
    *max = found->second.hi;
    return 0;
  }
  q.shared.emplace(node, KnownBox());
  KnownBox box;
  box.result = AskBox(q, node, &box.lo, &box.hi) != 0 ? 1 : 0;
  q.shared[node] = box;
  if (box.result != 0) return 1;
  *min = box.lo;
  *max = box.hi;
  return 0;
}

int KsPartition::Scan(KsNodeScanner* scanner) {
  if (!scanner) return 0;
  ++Scans();
  scanner->Push(this);
  int result = 0;
  // Visitors may change the roots: read the count each time.
  for (int i = 0; i < GetNodeCount() && result == 0; ++i) {
    KsNode* node = roots_[static_cast<size_t>(i)];
    if (node && node->Scan(scanner) != 0) result = 1;
  }
  scanner->Pop();
  return result;
}

int KsPartition::TraverseFromRoot() {
  KsMatrix identity;
  KsSensorTable::Clear();
  if (KsFrameStartHook reset = KsGetFrameStartHook()) reset();
  pickStale_ = 1;
  return Traverse(&identity);
}

int KsPartition::Traverse(KsMatrix* matrix) {
  pickStale_ = 1;
  for (int i = 0; i < GetNodeCount(); ++i) {
    KsNode* node = roots_[static_cast<size_t>(i)];
    if (node && node->ExecTraverse(matrix) != 0) {
      std::fprintf(stderr, "KsPartition::Traverse\n");
      std::fprintf(stderr, "  Error occured during traverse\n");
      return 1;
    }
  }
  return 0;
}

KsNode* KsPartition::GetViewpoint(int n) {
  std::vector<KsNode*> all;
  GetViewpoints(&all);
  return n >= 0 && n < static_cast<int>(all.size()) ? all[static_cast<size_t>(n)] : nullptr;
}

void KsPartition::GetViewpoints(std::vector<KsNode*>* out) {
  if (!out) return;
  out->clear();
  KsNodeFinder finder;
  finder.SetTargetName(kViewpointClass);
  finder.SetEnterProto(1);
  Scan(&finder);
  for (int i = 0; i < finder.GetCount(); ++i) out->push_back(finder.Get(i));
}

int KsPartition::StoreViewpointPaths() {
  ViewpointPathScanner scanner;
  scanner.SetEnterProto(0);
  return Scan(&scanner);
}

int KsPartition::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  if (!min || !max) return 1;
  KsBoxQueryScope query;
  int found = 0;
  for (int i = 0; i < GetNodeCount(); ++i) {
    KsNode* node = roots_[static_cast<size_t>(i)];
    KsVec3f lo, hi;
    if (!node || KsChildBoundingBox(node, &lo, &hi) != 0) continue;
    if (!found) {
      *min = lo;
      *max = hi;
      found = 1;
      continue;
    }
    if (lo.x < min->x) min->x = lo.x;
    if (lo.y < min->y) min->y = lo.y;
    if (lo.z < min->z) min->z = lo.z;
    if (hi.x > max->x) max->x = hi.x;
    if (hi.y > max->y) max->y = hi.y;
    if (hi.z > max->z) max->z = hi.z;
  }
  return found ? 0 : 1;
}

int KsPartition::GetCenter(KsVec3f* center) {
  if (!center) return 1;
  KsVec3f lo, hi;
  if (GetBoundingBox(&lo, &hi) != 0) {
    *center = KsVec3f(0.0f, 0.0f, 0.0f);
    return 1;
  }
  *center = KsVec3f((lo.x + hi.x) / 2.0f, (lo.y + hi.y) / 2.0f, (lo.z + hi.z) / 2.0f);
  return 0;
}

KsSensorDescriptor* KsPartition::PickSensor(int x, int y) {
  if (pickStale_ != 0) {
    KsPickHook pick = KsGetPickHook();
    lastPickId_ = pick ? pick(x, y) : -1;
    pickStale_ = 0;
  }
  return KsSensorTable::Get(lastPickId_);
}

void KsPartition::Touch(int x, int y, int release, float time) {
  if (release != 0) return;
  KsSensorDescriptor* picked = PickSensor(x, y);
  KsNode* sensor = picked ? picked->GetSensor() : nullptr;
  if (!sensor || sensor->IsDragSensor() != KS_FALSE) return;
  if (time < 0.0f) time = KsClock::GetTime();
  KsSFTime touchTime;
  touchTime.Set(time);
  sensor->SendEventOut("touchTime", &touchTime);
}

// Only classes derived from KsDragSensor answer IsDragSensor with TRUE.
void KsPartition::Drag(int x, int y, int release, float) {
  KsDragSensor* active = KsDragSensor::GetActive();
  if (release != 0) {
    if (active) active->EndDrag();
    return;
  }
  if (active) {
    active->Drag(x, y, 0);
    return;
  }
  KsSensorDescriptor* picked = PickSensor(x, y);
  KsNode* sensor = picked ? picked->GetSensor() : nullptr;
  if (!sensor || sensor->IsDragSensor() != KS_TRUE) return;
  KsMatrix matrix;
  picked->GetMatrix(&matrix);
  static_cast<KsDragSensor*>(sensor)->BeginDrag(&matrix, x, y);
}

int KsPartition::SetTime() {
  TimeScanner scanner(KsClock::GetTime());
  scanner.SetEnterProto(0);
  return Scan(&scanner);
}
