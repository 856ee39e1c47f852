// Routes of one partition and synchronous, depth-first event delivery.
//
// A route connects an event of a source node to an event of a target node;
// both names are kept with a leading "set_" or a trailing "_changed" removed.
// A route without source node starts at a PROTO interface eventIn (events
// offered by no node), one without target node ends at a PROTO interface
// eventOut (the event leaves the PROTO instance that owns the partition).
//
// Delivery runs inside the set protocol of the fields: a matching route
// stores the value into its target at once, and everything that sets off
// finishes before the next route is tried. Route ends are not referenced:
// a node that is destroyed takes every route naming it out of every live
// router (ForgetNode), so no route keeps a freed end.
//
// Cascades are bounded, since routes come from the file: a route that is
// still delivering is not entered again (a cycle stops after one lap, a
// route from a field to itself fires once), one cascade delivers at most
// KS_MAX_CASCADE_DELIVERIES events in all (so many paths into one event
// cannot multiply the work without end), and deliveries nest at most
// KS_MAX_EVENT_DEPTH deep.
#pragma once

#include <unordered_map>
#include <vector>

#include "scenegraph/core/node.h"
#include "scenegraph/core/object.h"
#include "scenegraph/core/string_value.h"

class KsField;
class KsPartition;
class KsRouter;
struct KsWordNode;

// Deepest nesting of deliveries; a deeper event is dropped.
constexpr int KS_MAX_EVENT_DEPTH = 256;
// Deliveries within one cascade (one event sent while no delivery runs,
// with everything it sets off).
constexpr int KS_MAX_CASCADE_DELIVERIES = 100000;

class KsRoute : public KsObject {
public:
    KsRoute();
    const char* GetClassName() const override;
    KsClassRecord* GetClassInfo() const override;

    // Stores the ends with normalised names and makes the router the source
    // node's route list. 1 when a name cannot be stored.
    int Set(KsRouter* router, KsNode* source, const char* sourceEvent, KsNode* target,
            const char* targetEvent);
    // Delivers the event when it leaves this route's source; 0, or the
    // result of sending it out of the PROTO instance.
    int EventOut(KsNode* node, const char* event, KsField* field);

    KsRouter* GetRouter() const { return router_; }
    // Takes both ends away: the route delivers nothing from then on.
    void Forget() { source_ = target_ = nullptr; dead_ = 1; }
    int IsDead() const { return dead_; }
    int IsActive() const { return active_; }
    KsNode* GetSource() const { return source_; }
    const char* GetSourceEvent() const;
    KsNode* GetTarget() const { return target_; }
    const char* GetTargetEvent() const;

private:
    int Deliver(KsField* field);

    KsRouter* router_ = nullptr;
    KsNode* source_ = nullptr;
    KsString sourceEvent_;
    KsNode* target_ = nullptr;
    KsString targetEvent_;
    int active_ = 0;  // a delivery through this route is running
    int dead_ = 0;    // an end was destroyed; waits to be freed
};

class KsRouter : public KsObject {
public:
    explicit KsRouter(KsPartition* owner = nullptr);
    ~KsRouter() override;
    KsRouter(const KsRouter&) = delete;
    KsRouter& operator=(const KsRouter&) = delete;

    const char* GetClassName() const override;
    KsClassRecord* GetClassInfo() const override;

    void SetOwner(KsPartition* owner) { owner_ = owner; }
    KsPartition* GetOwner() const { return owner_; }

    // Appends a route; 0, or 1 when no memory is left.
    int AddRoute(KsNode* source, const char* sourceEvent, KsNode* target,
                 const char* targetEvent);
    // Removes the first route with exactly these ends (names normalised);
    // 1 when there is none. Not to be called while the route delivers.
    int DeleteRoute(KsNode* source, const char* sourceEvent, KsNode* target,
                    const char* targetEvent);

    // Clears the route list of every source node that still names this
    // router, so that a node outliving the partition (held elsewhere) sends
    // nothing into a destroyed router. Every source must still be alive:
    // call it before the partition releases its nodes.
    void DetachSources();
    // Detaches the sources and frees every route.
    void Clear();

    // Called as a routed node is destroyed: every route of every live
    // router that names it as source or target goes.
    static void ForgetNode(KsNode* node);

    // Parses one ROUTE statement at the cursor (a word node whose first
    // child is the current word), looking the node names up among the
    // partition's labels; always moves past the word ROUTE. 0 or 1.
    int Realize(KsWordNode* cursor, KsPartition* partition);

    // Offers an event to every route in order; stops at the first route
    // that returns non-zero and returns that, else 0.
    int EventOut(KsNode* node, const char* event, KsField* field);

    int GetRouteCount() const;
    // The ends of route i (any pointer may be null); 1 when out of range.
    int GetRoute(int i, KsNode** source, const char** sourceEvent, KsNode** target,
                 const char** targetEvent) const;
    KsRoute* GetRouteAt(int i) const;
    // KS_TRUE when the node is the source or the target of some route.
    KSBOOL IsRouted(KsNode* node) const;

    // Delivery state of the process (nesting, cascade count, warnings).
    static int GetEventDepth();
    static void ResetGlobals();

private:
    void Index(KsRoute* route);
    void Unindex(KsRoute* route);
    void Forget(KsNode* node);
    // Frees the forgotten routes that are not delivering.
    void Settle() const;

    KsPartition* owner_;
    // Owned, in the order they were added; forgotten routes stay until
    // Settle frees them, so that a delivery never loses its own route.
    mutable std::vector<KsRoute*> routes_;
    mutable int dead_ = 0;
    // Routes by source node, each list in the order of routes_, so that an
    // event only meets the routes that can take it; and by target node.
    std::unordered_map<KsNode*, std::vector<KsRoute*>> bySource_;
    std::unordered_map<KsNode*, std::vector<KsRoute*>> byTarget_;
};

// Keeps a node alive while the event cascade it takes part in runs. A node
// that an event makes its parent drop (its own event, or one its PROTO copy
// is still delivering) goes only when the outermost hold ends, so that no
// running delivery, router or field is freed under it. Nodes that nothing
// owns yet (a count of 0) are not held.
class KsEventHold {
public:
    explicit KsEventHold(KsNode* node);
    ~KsEventHold();
    KsEventHold(const KsEventHold&) = delete;
    KsEventHold& operator=(const KsEventHold&) = delete;
};

// Splits "node.event" at the first '.' into the two buffers (KS_NAME_SIZE
// characters each, cut at 255). Without a '.' reports and returns 1.
int KsSeparateEventString(const char* text, char* nodeName, char* eventName);
