#include "scenegraph/nodes/bindable/bindable_nodes.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "graphics/math/pw_types.h"
#include "graphics/window/drawing_area.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/nodes/node_helpers.h"
#include "scenegraph/nodes/render/primitive_buffer.h"

KS_NODE_CLASS_IMPL(KsViewpoint, KsNode)
KS_NODE_CLASS_IMPL(KsNavigationInfo, KsNode)
KS_NODE_CLASS_IMPL(KsFog, KsNode)
KS_NODE_CLASS_IMPL(KsBackground, KsNode)

namespace {
struct Bindings {
  KsViewpoint* viewpoint = nullptr;
  KsViewpoint* defaultViewpoint = nullptr;  // set while it is alive
  int makingDefault = 0;
  KsFog* fog = nullptr;
  KsBackground* background = nullptr;
  KsNavigationInfo* navigation = nullptr;
};

Bindings& Bound() {
  static Bindings bindings;
  return bindings;
}

int SendBindTime(KsNode* node) {
  KsSFTime event;
  event.Set(KsClock::GetTime());
  return node->SendEventOut("bindTime", &event);
}

int IsBindEvent(const char* name) { return name && std::strcmp(name, "bind") == 0; }

void ReportUnknown(const char* header, const char* name) {
  if (header) std::fprintf(stderr, "%s", header);
  std::fprintf(stderr, "  Unknown Event %s is detected.\n", name ? name : "");
}

}  // namespace

// The path keeps nodes only: the partitions a walk passes are left out, and
// so is the viewpoint itself, which comes last.
int KsStoreViewpointPath(KsNode* viewpoint, int count, KsObject* const* items) {
  if (!viewpoint || std::strcmp(viewpoint->GetClassName(), "KsViewpoint") != 0) return 0;
  KsNode* nodes[64];
  int n = 0;
  for (int i = 0; i < count && n < 64; ++i) {
    KsObject* item = items[i];
    if (!item || item == viewpoint) continue;
    if (std::strcmp(item->GetClassName(), "KsPartition") == 0) continue;
    nodes[n++] = static_cast<KsNode*>(item);
  }
  return static_cast<KsViewpoint*>(viewpoint)->SetPath(n, nodes);
}

namespace {
KsVec3f ApplyPoint(const KsMatrix& m, const KsVec3f& v) {
  KsVec3f out;
  m.Apply(out, v, 1.0f);
  return out;
}
}  // namespace

// ---- Viewpoint -------------------------------------------------------------

KsViewpoint::KsViewpoint() {
  EnsureRecord();
  RegisterEventIn("bind");
  RegisterDone();
  if (!Bound().viewpoint && Bound().makingDefault == 0) Bind();
}

// A viewpoint destroyed without being released must not stay bound.
KsViewpoint::~KsViewpoint() {
  Bindings& b = Bound();
  if (b.defaultViewpoint == this) b.defaultViewpoint = nullptr;
  if (b.viewpoint == this) b.viewpoint = b.defaultViewpoint;
}

KsNode* KsViewpoint::NewInstance() { return new (std::nothrow) KsViewpoint(); }

void KsViewpoint::ReleaseHook() {
  if (Bound().viewpoint != this) return;
  KsViewpoint* fallback = KsDefaultViewpoint();
  if (fallback != this) fallback->Bind();
}

int KsViewpoint::ExecSpecialEvent(const char* name, KsField*, KsNode*) {
  if (IsBindEvent(name)) {
    Bind();
    return 0;
  }
  ReportUnknown("KsViewpoint::ExecSpecialEvent()\n", name);
  return 1;
}

int KsViewpoint::Bind() {
  KsSendBool(this, "isBound", KS_TRUE);
  int status = SendBindTime(this);
  Bound().viewpoint = this;
  return status;
}

int KsViewpoint::SetPath(int count, KsNode* const* nodes) {
  if (count < 0 || (count > 0 && !nodes)) count = 0;
  std::vector<KsNode*> copy;
  copy.reserve(static_cast<size_t>(count));
  if (static_cast<int>(copy.capacity()) < count) return 0;
  copy.assign(nodes, nodes + count);
  path_.swap(copy);
  return count;
}

KsNode* KsViewpoint::GetPathNode(int i) const {
  if (i < 0 || i >= GetPathCount()) return nullptr;
  return path_[static_cast<size_t>(i)];
}

void KsViewpoint::GetMatrix(KsMatrix* matrix) const {
  if (!matrix) return;
  matrix->Identity();
  for (KsNode* node : path_) {
    if (!node || std::strcmp(node->GetClassName(), "KsTransform") != 0) continue;
    KsSFVec3f* translation = static_cast<KsSFVec3f*>(node->LookUpMember("translation"));
    KsSFRotation* rotation = static_cast<KsSFRotation*>(node->LookUpMember("rotation"));
    if (translation) matrix->Translate(translation->Get());
    if (rotation) matrix->Rotate(rotation->Get());
  }
  matrix->Translate(position.Get());
  matrix->Rotate(orientation.Get());
}

void KsViewpoint::MouseToVec3f(KsVec3f* origin, KsVec3f* direction, int x, int y) const {
  KsVec3f o(0.0f, 0.0f, 0.0f);
  KsVec3f d(0.0f, 0.0f, -1.0f);
  KsMatrix m;
  GetMatrix(&m);
  PwProjection projection;
  KsInitProjection(&projection);
  if (KsGetProjectionKind() == 0) {
    int w = 0;
    int h = 0;
    PwGetSurfaceSize(&w, &h);
    float dx = static_cast<float>(x - w / 2);
    float dy = static_cast<float>(h / 2 - y);
    KsVec3f local(dx / projection.magx, dy / projection.magy, -1.0f);
    m.Apply(d, local, 0.0f);
    o = ApplyPoint(m, KsVec3f(0.0f, 0.0f, 0.0f));
  } else {
    std::fprintf(stderr, "KsViewpoint::MouseToVec3f\n");
    std::fprintf(stderr, "  VRML does not support Orthographic view.\n");
  }
  if (origin) *origin = o;
  if (direction) *direction = d;
}

KsViewpoint* KsViewpoint::GetBound() { return Bound().viewpoint; }

// The default never binds itself, so that whichever start-up object comes
// first, the application's own viewpoint is the one bound at start.
KsViewpoint* KsDefaultViewpoint() {
  static KsViewpoint* made = [] {
    Bound().makingDefault = 1;
    static KsViewpoint fallback;
    Bound().makingDefault = 0;
    Bound().defaultViewpoint = &fallback;
    return &fallback;
  }();
  return made;
}

namespace {
// Made before main, like the other start-up objects, so that no scene's
// node counts ever include it.
KsViewpoint* const g_defaultAtStart = KsDefaultViewpoint();
}  // namespace

// ---- NavigationInfo --------------------------------------------------------

KsNavigationInfo::KsNavigationInfo() {
  EnsureRecord();
  RegisterEventIn("bind");
  RegisterDone();
}

KsNavigationInfo::~KsNavigationInfo() {
  if (Bound().navigation == this) Bound().navigation = nullptr;
}

KsNode* KsNavigationInfo::NewInstance() { return new (std::nothrow) KsNavigationInfo(); }

void KsNavigationInfo::ReleaseHook() {
  if (Bound().navigation == this) Bound().navigation = nullptr;
}

int KsNavigationInfo::Bind() {
  int status = KsSendBool(this, "isBound", KS_TRUE);
  Bound().navigation = this;
  return status;
}

KsNavigationInfo* KsNavigationInfo::GetCurrent() { return Bound().navigation; }

int KsNavigationInfo::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  if (IsBindEvent(name)) return SendEventOut("bind", field);
  ReportUnknown("KsNavigaionInfo::ExecSpecialEvent()\n", name);
  return 1;
}

// ---- Fog -------------------------------------------------------------------

KsFog::KsFog() {
  EnsureRecord();
  RegisterEventIn("bind");
  RegisterDone();
}

KsFog::~KsFog() {
  if (Bound().fog == this) Bound().fog = nullptr;
}

KsNode* KsFog::NewInstance() { return new (std::nothrow) KsFog(); }

void KsFog::ReleaseHook() {
  if (Bound().fog == this) Bound().fog = nullptr;
}

int KsFog::ExecSpecialEvent(const char* name, KsField*, KsNode*) {
  if (IsBindEvent(name)) {
    Bind();
    return 0;
  }
  ReportUnknown(nullptr, name);
  return 1;
}

int KsFog::Bind() {
  KsSendBool(this, "isBound", KS_TRUE);
  int status = SendBindTime(this);
  Bound().fog = this;
  return status;
}

KsFog* KsFog::GetCurrent() { return Bound().fog; }

// ---- Background ------------------------------------------------------------

KsBackground::KsBackground() {
  EnsureRecord();
  RegisterEventIn("bind");
  RegisterDone();
  if (!Bound().background) Bind();
}

KsBackground::~KsBackground() {
  if (Bound().background == this) Bound().background = nullptr;
}

KsNode* KsBackground::NewInstance() { return new (std::nothrow) KsBackground(); }

void KsBackground::ReleaseHook() {
  if (Bound().background == this) Bound().background = nullptr;
}

int KsBackground::ExecSpecialEvent(const char* name, KsField*, KsNode*) {
  if (IsBindEvent(name)) {
    Bind();
    return 0;
  }
  ReportUnknown("KsBackground::ExecSpecialEvent()\n", name);
  return 1;
}

int KsBackground::Bind() {
  int status = KsSendBool(this, "isBound", KS_TRUE);
  Bound().background = this;
  return status;
}

KsBackground* KsBackground::GetCurrent() { return Bound().background; }

// ---- a newly opened world ------------------------------------------------

namespace {
// The first node of each kind that the walk meets.
class FirstBindables : public KsNodeScanner {
 public:
  explicit FirstBindables(bool paths = false, KsNodeScanner* also = nullptr)
      : paths_(paths), also_(also) {
    SetEnterProto(0);
  }
  int Visit(KsNode* node) override {
    if (also_) also_->Visit(node);
    const char* name = node->GetClassName();
    if (paths_ && std::strcmp(name, "KsViewpoint") == 0) {
      // As StoreViewpointPaths hands it on, the viewpoint last.
      KsObject* items[KS_SCAN_PATH_SIZE];
      const int count = GetDepth() < KS_SCAN_PATH_SIZE ? GetDepth() : KS_SCAN_PATH_SIZE;
      for (int i = 0; i < count; ++i) items[i] = GetPathItem(i);
      KsStoreViewpointPath(node, count, items);
    } else if (!background && std::strcmp(name, "KsBackground") == 0) {
      background = static_cast<KsBackground*>(node);
    } else if (!fog && std::strcmp(name, "KsFog") == 0) {
      fog = static_cast<KsFog*>(node);
    } else if (!navigation && std::strcmp(name, "KsNavigationInfo") == 0) {
      navigation = static_cast<KsNavigationInfo*>(node);
    }
    return 0;
  }

  KsBackground* background = nullptr;
  KsFog* fog = nullptr;
  KsNavigationInfo* navigation = nullptr;

 private:
  bool paths_;
  KsNodeScanner* also_;
};

void BindFirst(KsPartition* scene, bool paths, KsNodeScanner* also) {
  FirstBindables first(paths, also);
  if (scene) scene->Scan(&first);
  Bindings& b = Bound();
  b.background = nullptr;
  b.fog = nullptr;
  b.navigation = nullptr;
  if (first.background) first.background->Bind();
  if (first.fog) first.fog->Bind();
  if (first.navigation) first.navigation->Bind();
}
}  // namespace

void KsBindFirstOfScene(KsPartition* scene) { BindFirst(scene, false, nullptr); }
void KsPrepareScene(KsPartition* scene, KsNodeScanner* also) { BindFirst(scene, true, also); }

// ---- registration ----------------------------------------------------------

void KsRegisterBindableNodes() {
  KsRegisterNodeConstructor("Viewpoint", KsMakeNode<KsViewpoint>);
  KsRegisterNodeConstructor("NavigationInfo", KsMakeNode<KsNavigationInfo>);
  KsRegisterNodeConstructor("Fog", KsMakeNode<KsFog>);
  KsRegisterNodeConstructor("Background", KsMakeNode<KsBackground>);
}

void KsResetBindings() {
  Bindings& b = Bound();
  b.viewpoint = nullptr;
  b.fog = nullptr;
  b.background = nullptr;
  b.navigation = nullptr;
}
