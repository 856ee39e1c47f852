#include "scenegraph/core/router.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "scenegraph/core/field.h"
#include "scenegraph/core/name_text.h"
#include "scenegraph/core/partition.h"
#include "scenegraph/core/word_convert.h"
#include "scenegraph/core/word_reading.h"
#include "scenegraph/core/word_tree.h"

namespace {
const char kRouteName[] = "KsRoute";
const char kRouterName[] = "KsRouter";
KsClassRecord* g_routeRecord = nullptr;
KsClassRecord* g_routerRecord = nullptr;

// Reports of dropped events per process; a cycle runs every frame.
constexpr int kDropWarnings = 5;

struct DeliveryGlobals {
    int depth = 0;       // deliveries running
    int deliveries = 0;  // within the current cascade
    int warnings = 0;
    int holds = 0;                // KsEventHold scopes open
    std::vector<KsNode*> held;    // referenced until the outermost ends
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

void Remove(std::unordered_map<KsNode*, std::vector<KsRoute*>>& index, KsNode* node,
            KsRoute* route) {
    auto list = index.find(node);
    if (list == index.end()) return;
    auto& routes = list->second;
    auto at = std::find(routes.begin(), routes.end(), route);
    if (at != routes.end()) routes.erase(at);
    if (routes.empty()) index.erase(list);
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

KsRoute::KsRoute() {
    KsClassManager::Ensure(&g_routeRecord, kRouteName, KsObject::ClassRecord());
}
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
    if (g.deliveries >= KS_MAX_CASCADE_DELIVERIES) {
        WarnDropped("Event cascade too long; event dropped.", event);
        return 0;
    }
    if (g.depth >= KS_MAX_EVENT_DEPTH) {
        WarnDropped("Event cascade too deep; event dropped.", event);
        return 0;
    }
    ++g.deliveries;
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
}

KsRouter::~KsRouter() { Clear(); }

const char* KsRouter::GetClassName() const { return kRouterName; }
KsClassRecord* KsRouter::GetClassInfo() const { return g_routerRecord; }

void KsRouter::Index(KsRoute* route) {
    KsNode* source = route->GetSource();
    KsNode* target = route->GetTarget();
    if (source && IsRouted(source) != KS_TRUE) EnterEnd(source, this);
    if (target && target != source && IsRouted(target) != KS_TRUE) EnterEnd(target, this);
    bySource_[source].push_back(route);
    if (target) byTarget_[target].push_back(route);
}

void KsRouter::Unindex(KsRoute* route) {
    KsNode* source = route->GetSource();
    KsNode* target = route->GetTarget();
    Remove(bySource_, source, route);
    if (target) Remove(byTarget_, target, route);
    if (source && IsRouted(source) != KS_TRUE) LeaveEnd(source, this);
    if (target && target != source && IsRouted(target) != KS_TRUE) LeaveEnd(target, this);
}

void KsRouter::Forget(KsNode* node) {
    std::vector<KsRoute*> gone;
    auto from = bySource_.find(node);
    if (from != bySource_.end()) gone = from->second;
    auto to = byTarget_.find(node);
    if (to != byTarget_.end())
        for (KsRoute* route : to->second)
            if (route->GetSource() != node) gone.push_back(route);
    for (KsRoute* route : gone) {
        Unindex(route);
        route->Forget();
        ++dead_;
    }
    // Freed in batches, so that a scene losing many routed nodes stays linear.
    if (dead_ * 2 > static_cast<int>(routes_.size())) Settle();
}

void KsRouter::Settle() const {
    if (dead_ == 0) return;
    int left = 0;
    auto keep = std::remove_if(routes_.begin(), routes_.end(), [&left](KsRoute* route) {
        if (route->IsDead() == 0) return false;
        if (route->IsActive() != 0) {
            ++left;
            return false;
        }
        delete route;
        return true;
    });
    routes_.erase(keep, routes_.end());
    dead_ = left;
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
    Index(route);
    return 0;
}

int KsRouter::DeleteRoute(KsNode* source, const char* sourceEvent, KsNode* target,
                          const char* targetEvent) {
    char from[KS_NAME_SIZE];
    char to[KS_NAME_SIZE];
    KsCopyEventName(from, sourceEvent);
    KsCopyEventName(to, targetEvent);
    for (auto it = routes_.begin(); it != routes_.end(); ++it) {
        KsRoute* route = *it;
        if (route->IsDead() != 0) continue;
        if (route->GetSource() != source || route->GetTarget() != target) continue;
        if (std::strcmp(route->GetSourceEvent(), from) != 0) continue;
        if (std::strcmp(route->GetTargetEvent(), to) != 0) continue;
        Unindex(route);
        routes_.erase(it);
        delete route;
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
        if (entry.first) LeaveEnd(entry.first, this);
    for (auto& entry : byTarget_) LeaveEnd(entry.first, this);
    bySource_.clear();
    byTarget_.clear();
    for (KsRoute* route : routes_) delete route;
    routes_.clear();
    dead_ = 0;
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
    if (bySource_.count(node) != 0 || byTarget_.count(node) != 0) return KS_TRUE;
    return KS_FALSE;
}

int KsRouter::EventOut(KsNode* node, const char* event, KsField* field) {
    auto list = bySource_.find(node);
    if (list == bySource_.end()) return 0;
    DeliveryGlobals& g = Delivery();
    if (g.depth == 0) g.deliveries = 0;
    // By index, and looked up again after each delivery: a delivery may
    // add routes to this very router.
    for (size_t i = 0;; ++i) {
        list = bySource_.find(node);
        if (list == bySource_.end() || i >= list->second.size()) break;
        int result = list->second[i]->EventOut(node, event, field);
        if (result != 0) return result;
    }
    return 0;
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

void KsRouter::ResetGlobals() { Delivery() = DeliveryGlobals(); }

// ROUTE source-node.event TO target-node.event
int KsRouter::Realize(KsWordNode* cursor, KsPartition* partition) {
    if (!partition) partition = owner_;
    KsWordNode* first = KsCursorWord(cursor);
    if (!first) {
        std::fprintf(stderr, "KsRouter::Realize()\n");
        std::fprintf(stderr, "  No Routing Data.\n");
        return 1;
    }
    const int line = first->line;
    if (std::strcmp(KsWordText(first), "ROUTE") == 0) KsCursorAdvance(cursor);
    if (!KsCursorHasWords(cursor, 3)) {
        std::fprintf(stderr, "KsRouter::Realize()\n");
        std::fprintf(stderr, "  Unexpected End Of File. (or End of block.)\n");
        std::fprintf(stderr, "  line %d\n", line);
        return 1;
    }
    const char* sourceWord = KsWordText(KsCursorWord(cursor));
    KsCursorAdvance(cursor);
    const char* to = KsWordText(KsCursorWord(cursor));
    if (std::strcmp(to, "TO") != 0) {
        std::fprintf(stderr, "KsRouter::Realize()\n");
        std::fprintf(stderr, "  Warning : ROUTE xx TO yy.\n");
        std::fprintf(stderr, "  Unexpected \"%s\" is detected.\n", to);
        std::fprintf(stderr, "  \"TO\" is expected.\n");
    }
    KsCursorAdvance(cursor);
    const char* targetWord = KsWordText(KsCursorWord(cursor));
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
