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
// Delivery is bounded, since routes come from the file: a route that is
// still delivering is not entered again (a cycle stops after one lap, a
// route from a field to itself fires once), the cascades of one time step
// of the scene clock deliver at most KS_MAX_FRAME_DELIVERIES events and
// copy at most about KS_MAX_FRAME_VALUES values in all (so many paths into
// one event, or a large value carried along many of them, cannot make a
// frame last without end), and deliveries nest at most KS_MAX_EVENT_DEPTH
// deep.
//
// A route removed while events run (its end destroyed by a delivery) is
// marked dead where it stands in the lists being walked, and the lists are
// compacted once no walk is on them: every live route of a source gets the
// event once, in ROUTE order, whatever the deliveries remove.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "scenegraph/core/object/object.h"
#include "scenegraph/core/fields/string_value.h"

class KsField;
class KsNode;
class KsPartition;
class KsRouter;
struct KsWordNode;

// Deepest nesting of deliveries; a deeper event is dropped.
constexpr int KS_MAX_EVENT_DEPTH = 256;
// Deliveries within one time step of the scene clock (every cascade that
// starts between two advances of the clock, each with all it sets off).
// While a file is read, before the clock first moves, the bound is per
// cascade.
constexpr int KS_MAX_FRAME_DELIVERIES = 100000;
// Values copied by the deliveries of one time step: an element of a list,
// a pixel of an image, or one single value. The delivery that crosses the
// bound still runs, so one large value always gets through.
constexpr int64_t KS_MAX_FRAME_VALUES = 4000000;

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
  // The lists of its router that still hold it.
  int GetLinks() const { return links_; }
  // Takes both ends away: the route delivers nothing from then on.
  void Forget() {
    source_ = target_ = nullptr;
    dead_ = 1;
  }
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
  int links_ = 0;   // index lists holding it; freed only at 0

  friend class KsRouter;
};

// The routes of one end of one router, in ROUTE order. A removed route stays
// as a dead entry until the list is compacted, which never happens while the
// list is being walked.
struct KsRouteList {
  std::vector<KsRoute*> routes;
  size_t dead = 0;
  int walks = 0;
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
  int AddRoute(KsNode* source, const char* sourceEvent, KsNode* target, const char* targetEvent);
  // Removes the first route with exactly these ends (names normalised);
  // 1 when there is none. A walk of its list in progress passes over it.
  int DeleteRoute(KsNode* source, const char* sourceEvent, KsNode* target, const char* targetEvent);

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

  // Delivery state of the process (nesting, the time step's counts,
  // warnings).
  static int GetEventDepth();
  static void ResetGlobals();
  // A file is about to be read: until the clock next moves, each cascade
  // has an allowance of its own (reading is no frame), and the file's
  // first frame over the bound is told again. Making a router (a
  // partition) does the same, except that a notice told in this very time
  // step stands.
  static void NewFile();
  // What the current time step has delivered and copied so far, and all
  // that was copied since the last reset (ResetGlobals).
  static int GetFrameDeliveries();
  static int64_t GetFrameValues();
  static int64_t GetValuesCopied();
  // Route-list entries visited or moved by index maintenance since the
  // last reset (ResetGlobals): the work that removing routes costs.
  static int64_t GetListWork();

 private:
  using RouteIndex = std::unordered_map<KsNode*, KsRouteList>;

  void Add(KsRoute* route);
  // Marks the route dead and leaves a dead entry in the lists of its ends
  // other than `dropping` (whose lists go whole).
  void Kill(KsRoute* route, KsNode* dropping);
  void Forget(KsNode* node);
  // Compacts every list not being walked and frees the routes that are
  // dead and in no list.
  void Settle() const;
  static void Compact(RouteIndex& index, KsNode* node);
  static void Tombstone(RouteIndex& index, KsNode* node);
  static void DropList(RouteIndex& index, KsNode* node);
  static bool HasLive(const RouteIndex& index, KsNode* node);

  KsPartition* owner_;
  // Owned, in the order they were added; forgotten routes stay until
  // Settle frees them, so that a delivery never loses its own route.
  mutable std::vector<KsRoute*> routes_;
  mutable int dead_ = 0;
  mutable int waiting_ = 0;  // dead but held by a walk at the last Settle
  // Routes by source node, each list in the order of routes_, so that an
  // event only meets the routes that can take it; and by target node.
  mutable RouteIndex bySource_;
  mutable RouteIndex byTarget_;
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

// Work that a cascade does besides its deliveries: values handed on through
// IS from an instance into its body, nodes walked by the check that keeps
// the graph free of cycles. Charge counts it in the time step's bound of
// values (outside any cascade it begins one, as an event does) and answers
// 1 once the bound is spent, told once as dropped events are: work that may
// be left undone is then not done. While the scope lives, what the work sets
// off belongs to the same cascade (it nests as a delivery does).
class KsCascadeWork {
 public:
  KsCascadeWork();
  ~KsCascadeWork();
  KsCascadeWork(const KsCascadeWork&) = delete;
  KsCascadeWork& operator=(const KsCascadeWork&) = delete;

  int Charge(int64_t values, const char* what);
  // What a copy of the field copies: its elements, an image's pixels.
  static int64_t ValuesOf(const KsField* field);
};

// Splits "node.event" at the first '.' into the two buffers (KS_NAME_SIZE
// characters each, cut at 255). Without a '.' reports and returns 1.
int KsSeparateEventString(const char* text, char* nodeName, char* eventName);
