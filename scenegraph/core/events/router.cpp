#include "scenegraph/core/events/router.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/name_text.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_reading.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
const char kRouteName[] = "KsRoute";
const char kRouterName[] = "KsRouter";
KsClassRecord* g_routeRecord = nullptr;
KsClassRecord* g_routerRecord = nullptr;

// Reports of dropped events per process; a cycle runs every frame.
constexpr int kDropWarnings = 5;

struct DeliveryGlobals {
  int depth = 0;          // deliveries running
  unsigned step = 0;      // the clock step the counts below belong to
  unsigned loadStep = 0;  // the clock step of the last file read
  unsigned toldStep = 0;  // the clock step at which the bound was told
  int deliveries = 0;     // within that time step
  int64_t values = 0;     // copied within that time step
  int warnings = 0;
  int frameTold = 0;          // 1 once this file was told of the frame bound
  int holds = 0;              // KsEventHold scopes open
  std::vector<KsNode*> held;  // referenced until the outermost ends
  int64_t listWork = 0;
  int64_t valuesCopied = 0;  // since the last reset
};

DeliveryGlobals& Delivery() {
  static DeliveryGlobals globals;
  return globals;
}

// The routers holding routes that name each node, so that a destroyed node
// visits exactly those.
std::unordered_map<KsNode*, std::vector<KsRouter*>>& RouteEnds() {
  static std::unordered_map<KsNode*, std::vector<KsRouter*>> ends;
  return ends;
}

void EnterEnd(KsNode* node, KsRouter* router) {
  RouteEnds()[node].push_back(router);
  node->MarkRouted();
}

void LeaveEnd(KsNode* node, KsRouter* router) {
  auto entry = RouteEnds().find(node);
  if (entry == RouteEnds().end()) return;
  auto& routers = entry->second;
  routers.erase(std::remove(routers.begin(), routers.end(), router), routers.end());
  if (routers.empty()) RouteEnds().erase(entry);
}

// Values a delivery of the field copies: its elements, an image's pixels.
int64_t ValueCount(const KsField* field) {
  if (!field) return 1;
  const char* name = field->GetClassName();
  if (std::strncmp(name, "KsMF", 4) != 0) {
    if (std::strcmp(name, "KsSFImage") == 0)
      return 1 + static_cast<const KsSFImage*>(field)->Get().GetPixelCount();
    return 1;
  }
  int64_t count = 0;
  if (std::strcmp(name, "KsMFInt") == 0)
    count = static_cast<const KsMFInt*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFFloat") == 0 || std::strcmp(name, "KsMFTime") == 0)
    count = static_cast<const KsMFFloat*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFVec2f") == 0)
    count = static_cast<const KsMFVec2f*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFVec3f") == 0)
    count = static_cast<const KsMFVec3f*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFRotation") == 0)
    count = static_cast<const KsMFRotation*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFString") == 0)
    count = static_cast<const KsMFString*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFColor") == 0)
    count = static_cast<const KsMFColor*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFBool") == 0)
    count = static_cast<const KsMFBool*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFNode") == 0)
    count = static_cast<const KsMFNode*>(field)->GetCount();
  else if (std::strcmp(name, "KsMFImage") == 0) {
    const KsMFImage* images = static_cast<const KsMFImage*>(field);
    for (int i = 0; i < images->GetCount(); ++i)
      count += 1 + images->GetElements()[i].GetPixelCount();
  }
  return count > 0 ? count : 1;
}

// The bound of one time step is told once per loaded file: a scene that
// meets it meets it every frame.
void WarnFrameBound(const char* event) {
  DeliveryGlobals& g = Delivery();
  if (g.frameTold != 0) return;
  g.frameTold = 1;
  g.toldStep = KsClock::GetStep();
  std::fprintf(stderr, "KsRoute::EventOut()\n");
  std::fprintf(stderr,
               "  Too many events in one frame; the rest of the frame's events are dropped.\n");
  std::fprintf(stderr, "  Event : %s\n", event ? event : "");
}

void WarnDropped(const char* why, const char* event) {
  DeliveryGlobals& g = Delivery();
  if (g.warnings >= kDropWarnings) return;
  ++g.warnings;
  std::fprintf(stderr, "KsRoute::EventOut()\n");
  std::fprintf(stderr, "  %s\n", why);
  std::fprintf(stderr, "  Event : %s\n", event ? event : "");
}

// Whether raw, normalised as the routes' names are, equals normal.
bool SameEvent(const char* normal, const char* raw) {
  if (!normal) normal = "";
  if (!raw) raw = "";
  if (std::strncmp(raw, "set_", 4) == 0) return std::strcmp(normal, raw + 4) == 0;
  size_t length = std::strlen(raw);
  const size_t suffix = 8;  // "_changed"
  if (length >= suffix && std::strcmp(raw + length - suffix, "_changed") == 0) {
    length -= suffix;
    return std::strlen(normal) == length && std::strncmp(normal, raw, length) == 0;
  }
  return std::strcmp(normal, raw) == 0;
}
}  // namespace

// ---- KsRoute -------------------------------------------------------------

KsRoute::KsRoute() { KsClassManager::Ensure(&g_routeRecord, kRouteName, KsObject::ClassRecord()); }
const char* KsRoute::GetClassName() const { return kRouteName; }
KsClassRecord* KsRoute::GetClassInfo() const { return g_routeRecord; }

const char* KsRoute::GetSourceEvent() const {
  return sourceEvent_.GetText() ? sourceEvent_.GetText() : "";
}
const char* KsRoute::GetTargetEvent() const {
  return targetEvent_.GetText() ? targetEvent_.GetText() : "";
}

int KsRoute::Set(KsRouter* router, KsNode* source, const char* sourceEvent, KsNode* target,
                 const char* targetEvent) {
  char name[KS_NAME_SIZE];
  router_ = router;
  source_ = source;
  target_ = target;
  KsCopyEventName(name, sourceEvent);
  int failed = sourceEvent_.Assign(name);
  KsCopyEventName(name, targetEvent);
  failed |= targetEvent_.Assign(name);
  if (source_) source_->SetRouteList(router);
  return failed ? 1 : 0;
}

int KsRoute::EventOut(KsNode* node, const char* event, KsField* field) {
  if (node != source_ || !SameEvent(GetSourceEvent(), event)) return 0;
  DeliveryGlobals& g = Delivery();
  // Still delivering: the event came back round a cycle of routes.
  if (active_ || dead_) return 0;
  if (g.deliveries >= KS_MAX_FRAME_DELIVERIES || g.values >= KS_MAX_FRAME_VALUES) {
    WarnFrameBound(event);
    return 0;
  }
  if (g.depth >= KS_MAX_EVENT_DEPTH) {
    WarnDropped("Event cascade too deep; event dropped.", event);
    return 0;
  }
  ++g.deliveries;
  const int64_t values = ValueCount(field);
  g.values += values;
  g.valuesCopied += values;
  active_ = 1;
  ++g.depth;
  int result = Deliver(field);
  --g.depth;
  active_ = 0;
  return result;
}

int KsRoute::Deliver(KsField* field) {
  if (target_) {
    // A refusal is reported by the target; the other routes still run.
    target_->AcceptEvent(GetTargetEvent(), field, source_);
    return 0;
  }
  KsPartition* partition = router_ ? router_->GetOwner() : nullptr;
  KsNode* instance = partition ? partition->GetOwner() : nullptr;
  if (instance) return instance->SendEventOut(GetTargetEvent(), field);
  std::fprintf(stderr, "KsRoute::EventOut()\n");
  std::fprintf(stderr, "  Outbound event is launched.\n");
  std::fprintf(stderr, "  But it does not have owner node.\n");
  if (partition)
    std::fprintf(stderr, "  KsPartition does not have an owner.\n");
  else if (router_)
    std::fprintf(stderr, "  KsRouter does not have an owner.\n");
  else
    std::fprintf(stderr, "  KsRoute does not have an owner.\n");
  return 0;
}

// ---- KsRouter ------------------------------------------------------------

KsRouter::KsRouter(KsPartition* owner) : owner_(owner) {
  KsClassManager::Ensure(&g_routerRecord, kRouterName, KsObject::ClassRecord());
  // Partitions, and so routers, are made only while files are read (the
  // file's own, its PROTO copies): the time step is a reading one, and a
  // file read after frames ran is told of the bound again.
  DeliveryGlobals& g = Delivery();
  g.loadStep = KsClock::GetStep();
  if (g.frameTold != 0 && g.toldStep != g.loadStep) g.frameTold = 0;
}

KsRouter::~KsRouter() { Clear(); }

const char* KsRouter::GetClassName() const { return kRouterName; }
KsClassRecord* KsRouter::GetClassInfo() const { return g_routerRecord; }

bool KsRouter::HasLive(const RouteIndex& index, KsNode* node) {
  auto list = index.find(node);
  return list != index.end() && list->second.routes.size() > list->second.dead;
}

void KsRouter::Add(KsRoute* route) {
  KsNode* source = route->GetSource();
  KsNode* target = route->GetTarget();
  if (source && IsRouted(source) != KS_TRUE) EnterEnd(source, this);
  if (target && target != source && IsRouted(target) != KS_TRUE) EnterEnd(target, this);
  bySource_[source].routes.push_back(route);
  ++route->links_;
  if (target) {
    byTarget_[target].routes.push_back(route);
    ++route->links_;
  }
}

void KsRouter::Compact(RouteIndex& index, KsNode* node) {
  auto entry = index.find(node);
  if (entry == index.end()) return;
  KsRouteList& list = entry->second;
  if (list.walks != 0 || list.dead == 0) return;
  Delivery().listWork += static_cast<int64_t>(list.routes.size());
  auto keep = std::remove_if(list.routes.begin(), list.routes.end(), [](KsRoute* route) {
    if (route->IsDead() == 0) return false;
    --route->links_;
    return true;
  });
  list.routes.erase(keep, list.routes.end());
  list.dead = 0;
  if (list.routes.empty()) index.erase(entry);
}

void KsRouter::Tombstone(RouteIndex& index, KsNode* node) {
  auto entry = index.find(node);
  if (entry == index.end()) return;
  KsRouteList& list = entry->second;
  ++list.dead;
  ++Delivery().listWork;
  // Compacted once half of it is dead: a removal costs constant time on
  // average, and a walk at most twice its live routes.
  if (list.dead * 2 > list.routes.size()) Compact(index, node);
}

void KsRouter::DropList(RouteIndex& index, KsNode* node) {
  auto entry = index.find(node);
  if (entry == index.end()) return;
  KsRouteList& list = entry->second;
  if (list.walks != 0) {
    // Every route in it is dead; the end of the walk compacts it.
    list.dead = list.routes.size();
    return;
  }
  Delivery().listWork += static_cast<int64_t>(list.routes.size());
  for (KsRoute* route : list.routes) --route->links_;
  index.erase(entry);
}

void KsRouter::Kill(KsRoute* route, KsNode* dropping) {
  KsNode* source = route->GetSource();
  KsNode* target = route->GetTarget();
  route->Forget();
  ++dead_;
  if (!source || source != dropping) Tombstone(bySource_, source);
  if (target && target != dropping) Tombstone(byTarget_, target);
  if (source && source != dropping && IsRouted(source) != KS_TRUE) LeaveEnd(source, this);
  if (target && target != source && target != dropping && IsRouted(target) != KS_TRUE)
    LeaveEnd(target, this);
}

void KsRouter::Forget(KsNode* node) {
  // The node's own lists go whole; each of its routes leaves a dead entry
  // in the list of its other end.
  for (RouteIndex* index : {&bySource_, &byTarget_}) {
    auto entry = index->find(node);
    if (entry == index->end()) continue;
    // By index: a kill compacts other lists, never this one.
    std::vector<KsRoute*>& routes = entry->second.routes;
    for (size_t i = 0; i < routes.size(); ++i)
      if (routes[i]->IsDead() == 0) Kill(routes[i], node);
  }
  DropList(bySource_, node);
  DropList(byTarget_, node);
  // Freed in batches, so that a scene losing many routed nodes stays
  // linear; routes held by a running walk wait, and are not counted again.
  if ((dead_ - waiting_) * 2 > static_cast<int>(routes_.size())) Settle();
}

void KsRouter::Settle() const {
  if (dead_ == 0) return;
  std::vector<KsNode*> dirty;
  Delivery().listWork += static_cast<int64_t>(routes_.size() + bySource_.size() + byTarget_.size());
  for (RouteIndex* index : {&bySource_, &byTarget_}) {
    dirty.clear();
    for (auto& entry : *index)
      if (entry.second.dead != 0 && entry.second.walks == 0) dirty.push_back(entry.first);
    for (KsNode* node : dirty) Compact(*index, node);
  }
  int left = 0;
  auto keep = std::remove_if(routes_.begin(), routes_.end(), [&left](KsRoute* route) {
    if (route->IsDead() == 0) return false;
    if (route->IsActive() != 0 || route->GetLinks() != 0) {
      ++left;
      return false;
    }
    delete route;
    return true;
  });
  routes_.erase(keep, routes_.end());
  dead_ = left;
  waiting_ = left;
}

void KsRouter::ForgetNode(KsNode* node) {
  auto entry = RouteEnds().find(node);
  if (entry == RouteEnds().end()) return;
  std::vector<KsRouter*> routers;
  routers.swap(entry->second);
  RouteEnds().erase(entry);
  for (KsRouter* router : routers) router->Forget(node);
}

int KsRouter::AddRoute(KsNode* source, const char* sourceEvent, KsNode* target,
                       const char* targetEvent) {
  KsRoute* route = new (std::nothrow) KsRoute();
  if (!route) return 1;
  if (route->Set(this, source, sourceEvent, target, targetEvent) != 0) {
    delete route;
    return 1;
  }
  routes_.push_back(route);
  Add(route);
  return 0;
}

int KsRouter::DeleteRoute(KsNode* source, const char* sourceEvent, KsNode* target,
                          const char* targetEvent) {
  char from[KS_NAME_SIZE];
  char to[KS_NAME_SIZE];
  KsCopyEventName(from, sourceEvent);
  KsCopyEventName(to, targetEvent);
  auto list = bySource_.find(source);
  if (list == bySource_.end()) return 1;
  for (KsRoute* route : list->second.routes) {
    if (route->IsDead() != 0 || route->GetTarget() != target) continue;
    if (std::strcmp(route->GetSourceEvent(), from) != 0) continue;
    if (std::strcmp(route->GetTargetEvent(), to) != 0) continue;
    Kill(route, nullptr);
    if ((dead_ - waiting_) * 2 > static_cast<int>(routes_.size())) Settle();
    return 0;
  }
  return 1;
}

void KsRouter::DetachSources() {
  for (auto& entry : bySource_)
    if (entry.first && entry.first->GetRouteList() == this) entry.first->SetRouteList(nullptr);
}

void KsRouter::Clear() {
  DetachSources();
  for (auto& entry : bySource_)
    if (entry.first && entry.second.routes.size() > entry.second.dead) LeaveEnd(entry.first, this);
  for (auto& entry : byTarget_)
    if (entry.second.routes.size() > entry.second.dead) LeaveEnd(entry.first, this);
  bySource_.clear();
  byTarget_.clear();
  for (KsRoute* route : routes_) delete route;
  routes_.clear();
  dead_ = 0;
  waiting_ = 0;
}

int KsRouter::GetRouteCount() const {
  Settle();
  return static_cast<int>(routes_.size());
}

KsRoute* KsRouter::GetRouteAt(int i) const {
  if (i < 0 || i >= GetRouteCount()) return nullptr;
  return routes_[static_cast<size_t>(i)];
}

int KsRouter::GetRoute(int i, KsNode** source, const char** sourceEvent, KsNode** target,
                       const char** targetEvent) const {
  KsRoute* route = GetRouteAt(i);
  if (!route || route->IsDead() != 0) return 1;
  if (source) *source = route->GetSource();
  if (sourceEvent) *sourceEvent = route->GetSourceEvent();
  if (target) *target = route->GetTarget();
  if (targetEvent) *targetEvent = route->GetTargetEvent();
  return 0;
}

KSBOOL KsRouter::IsRouted(KsNode* node) const {
  if (!node) return KS_FALSE;
  if (HasLive(bySource_, node) || HasLive(byTarget_, node)) return KS_TRUE;
  return KS_FALSE;
}

namespace {
// A cascade begins (nothing is delivering): the counts start again in a new
// time step. Reading is no frame: until the clock first moves after a file
// was read, each cascade has an allowance of its own, so that a large world
// reads as it always did.
void BeginCascade(DeliveryGlobals& g) {
  if (g.depth != 0) return;
  const unsigned step = KsClock::GetStep();
  if (g.step != step || step == g.loadStep) {
    g.step = step;
    g.deliveries = 0;
    g.values = 0;
  }
}
}  // namespace

KsCascadeWork::KsCascadeWork() {
  DeliveryGlobals& g = Delivery();
  BeginCascade(g);
  ++g.depth;
}

KsCascadeWork::~KsCascadeWork() { --Delivery().depth; }

int KsCascadeWork::Charge(int64_t values, const char* what) {
  DeliveryGlobals& g = Delivery();
  if (g.values >= KS_MAX_FRAME_VALUES) {
    WarnFrameBound(what);
    return 1;
  }
  g.values += values;
  g.valuesCopied += values;
  return 0;
}

int64_t KsCascadeWork::ValuesOf(const KsField* field) { return ValueCount(field); }

int KsRouter::EventOut(KsNode* node, const char* event, KsField* field) {
  auto entry = bySource_.find(node);
  if (entry == bySource_.end()) return 0;
  BeginCascade(Delivery());
  // The list stays where it is while walked (map entries do not move, and
  // no compaction runs on it): routes that deliveries add are appended
  // and served in turn, removed ones are passed over.
  KsRouteList& list = entry->second;
  ++list.walks;
  int result = 0;
  for (size_t i = 0; i < list.routes.size() && result == 0; ++i) {
    KsRoute* route = list.routes[i];
    if (route->IsDead() == 0) result = route->EventOut(node, event, field);
  }
  --list.walks;
  if (list.walks == 0 && list.dead * 2 > list.routes.size()) Compact(bySource_, node);
  return result;
}

int KsRouter::GetEventDepth() { return Delivery().depth; }

KsEventHold::KsEventHold(KsNode* node) {
  DeliveryGlobals& g = Delivery();
  ++g.holds;
  if (!node || node->GetRefCount() <= 0) return;
  node->Ref();
  g.held.push_back(node);
}

KsEventHold::~KsEventHold() {
  DeliveryGlobals& g = Delivery();
  if (--g.holds > 0) return;
  // One at a time: a release may destroy a node whose release holds (and
  // so drains) again. The list keeps its room for the next cascade.
  while (!g.held.empty()) {
    KsNode* node = g.held.back();
    g.held.pop_back();
    node->Unref();
  }
}

void KsRouter::ResetGlobals() {
  Delivery() = DeliveryGlobals();
  Delivery().step = Delivery().loadStep = KsClock::GetStep();
}

void KsRouter::NewFile() {
  DeliveryGlobals& g = Delivery();
  g.frameTold = 0;
  g.deliveries = 0;
  g.values = 0;
  g.step = g.loadStep = KsClock::GetStep();
}

int KsRouter::GetFrameDeliveries() { return Delivery().deliveries; }
int64_t KsRouter::GetFrameValues() { return Delivery().values; }
int64_t KsRouter::GetListWork() { return Delivery().listWork; }
int64_t KsRouter::GetValuesCopied() { return Delivery().valuesCopied; }

// ROUTE source-node.event TO target-node.event
int KsRouter::Realize(KsWordNode* cursor, KsPartition* partition) {
  if (!partition) partition = owner_;
  KsWordNode* first = KsCursorWord(cursor);
  if (!first) {
    std::fprintf(stderr, "KsRouter::Realize()\n");
    std::fprintf(stderr, "  No Routing Data.\n");
    return 1;
  }
  const int line = first->text.Line();
  if (std::strcmp(KsWordTextOf(first), "ROUTE") == 0) KsCursorAdvance(cursor);
  if (!KsCursorHasWords(cursor, 3)) {
    std::fprintf(stderr, "KsRouter::Realize()\n");
    std::fprintf(stderr, "  Unexpected End Of File. (or End of block.)\n");
    std::fprintf(stderr, "  line %d\n", line);
    return 1;
  }
  const char* sourceWord = KsWordTextOf(KsCursorWord(cursor));
  KsCursorAdvance(cursor);
  const char* to = KsWordTextOf(KsCursorWord(cursor));
  if (std::strcmp(to, "TO") != 0) {
    std::fprintf(stderr, "KsRouter::Realize()\n");
    std::fprintf(stderr, "  Warning : ROUTE xx TO yy.\n");
    std::fprintf(stderr, "  Unexpected \"%s\" is detected.\n", to);
    std::fprintf(stderr, "  \"TO\" is expected.\n");
  }
  KsCursorAdvance(cursor);
  const char* targetWord = KsWordTextOf(KsCursorWord(cursor));
  KsCursorAdvance(cursor);

  char targetNode[KS_NAME_SIZE], targetEvent[KS_NAME_SIZE];
  char sourceNode[KS_NAME_SIZE], sourceEvent[KS_NAME_SIZE];
  if (KsSeparateEventString(targetWord, targetNode, targetEvent) != 0 ||
      KsSeparateEventString(sourceWord, sourceNode, sourceEvent) != 0) {
    std::fprintf(stderr, "KsRouter::Realize()\n");
    std::fprintf(stderr, "  LineNumber %d\n", line);
    return 1;
  }
  KsNormalizeEventName(targetEvent);
  KsNormalizeEventName(sourceEvent);

  KsNode* target = partition ? partition->FindLabel(targetNode) : nullptr;
  KsNode* source = target && partition ? partition->FindLabel(sourceNode) : nullptr;
  if (!target || !source) {
    std::fprintf(stderr, "KsRouter::Realize()\n");
    std::fprintf(stderr, "  Failed to look up %s\n", target ? sourceNode : targetNode);
    std::fprintf(stderr, "  LineNumber %d\n", line);
    return 1;
  }
  if (AddRoute(source, sourceEvent, target, targetEvent) != 0) {
    std::fprintf(stderr, "KsRouter::Realize()\n");
    std::fprintf(stderr, "  Failed to AddRoute\n");
    std::fprintf(stderr, "  LineNumber %d\n", line);
    return 1;
  }
  return 0;
}

int KsSeparateEventString(const char* text, char* nodeName, char* eventName) {
  if (!text) text = "";
  const char* dot = std::strchr(text, '.');
  if (!dot) {
    std::fprintf(stderr, "KsSeparateEventString()\n");
    std::fprintf(stderr, "  Error in ROUTE definition.\n");
    std::fprintf(stderr, "    %s\n", text);
    if (nodeName) nodeName[0] = '\0';
    if (eventName) eventName[0] = '\0';
    return 1;
  }
  if (nodeName) KsCopyName(nodeName, text, static_cast<size_t>(dot - text));
  if (eventName) KsCopyName(eventName, dot + 1, std::strlen(dot + 1));
  return 0;
}
