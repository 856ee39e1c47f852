// Base class of every scene-graph node: member table, special event-ins,
// DEF name, reference count and the operations shared by all node classes.
#pragma once

#include "scenegraph/core/object/object.h"

class KsField;
class KsSFNode;
class KsMFNode;
class KsMFVec3f;
class KsMFVec2f;
class KsMFColor;
class KsPartition;
struct KsWordNode;
class KsRouter;
class KsNodeScanner;
class KsOutStream;
class KsMatrix;
class KsVec2f;
class KsVec3f;
class KsCol;
class KsNode;
class KsDuplicatorList;

// Longest DEF name kept, plus its NUL.
constexpr int KS_NAME_SIZE = 256;
// Capacity of the registration scratch tables (members and event-ins).
constexpr int KS_MAX_MEMBERS = 256;

// One registered member: a named field of its owner node.
class KsMemberTable : public KsObject {
 public:
  KsMemberTable();
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  int Print(KsOutStream* stream, int indent) const override;

  const char* name;  // the registration string, not copied
  KsNode* owner;
  KsField* field;  // the node's own field, not owned here
  int noEventIn;   // 1: events sent to this name are not stored
  int noEventOut;  // 1: the member sends no events
};

// One special event-in that the node class handles in ExecSpecialEvent.
class KsEventInTable : public KsObject {
 public:
  KsEventInTable();
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  const char* name;
};

class KsNode : public KsObject {
 public:
  KsNode();
  ~KsNode() override;
  KsNode(const KsNode&) = delete;
  KsNode& operator=(const KsNode&) = delete;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  // The class record, null before the first construction; derived
  // classes link their records under it.
  static KsClassRecord* ClassRecord();

  // Virtual operations, in this order after the object's.
  virtual int Write(KsOutStream* stream, int context);
  virtual KSBOOL IsPointingSensor();
  virtual KSBOOL IsDragSensor();
  virtual KsNode* NewInstance();
  virtual void ReleaseHook();
  virtual int Scan(KsNodeScanner* scanner);
  virtual int ExecTraverse(KsMatrix* matrix);
  virtual int ExecSpecialEvent(const char* name, KsField* field, KsNode* source);
  virtual int OwnerMemberChanged(const char* name, KsField* field);
  virtual int InvalidateCache();
  virtual int GetBoundingBox(KsVec3f* min, KsVec3f* max);
  virtual int WriteTypeName(KsOutStream* stream);
  virtual KsMFNode* GetChildren();

  // Registration, from constructors only: members, then RegisterDone.
  int RegisterMember(const char* name, KsField* field, int noEvents);
  int RegisterEventIn(const char* name);
  int RegisterEventOut(const char* name);
  // Lets events sent to a plain field be stored into it, for the fields
  // that have an event-in of their own (set_spine) but send nothing.
  int RegisterFieldEventIn(const char* name);
  int RegisterDone();

  // Reference counting. The static forms accept null.
  void Ref();
  void Unref();
  static void Ref(KsNode* node);
  static void Unref(KsNode* node);
  static void DisableRefCount();
  static void EnableRefCount();
  static void SetNoDelete(int flag);
  void SetRefCount(int count) { refCount_ = count; }
  int GetRefCount() const { return refCount_; }

  // Names and members.
  int SetDefineName(const char* name);
  const char* GetDefineName() const { return defName_; }
  // Set by a label table that names this node, so that destruction
  // removes the node from the labels instead of leaving them dangling.
  void MarkLabelled() { labelled_ = 1; }
  // Set by a router holding a route from or to this node, likewise.
  void MarkRouted() { routed_ = 1; }
  KsField* LookUpMember(const char* name);
  int GetMemberCount() const { return memberCount_; }
  const KsMemberTable* GetMember(int i) const;
  int GetEventInCount() const { return eventInCount_; }
  const char* GetEventInName(int i) const;

  // Events.
  int AcceptEvent(const char* name, KsField* field, KsNode* source);
  int SendEventOut(const char* name, KsField* field);
  void SetRouteList(KsRouter* router) { routeList_ = router; }
  KsRouter* GetRouteList() const { return routeList_; }

  // Reads a node body at the cursor (a word node whose first child is
  // the current word) into the members.
  int RealizeMember(KsWordNode* cursor, KsPartition* partition);

  // Graph operations.
  KsNode* Duplicate();
  KsDuplicatorList* CollectNodes(KsDuplicatorList* list);
  int ApplyDuplicate(KsDuplicatorList* list);
  int AddChild(KsNode* child);

  // Typed access to the data nodes that geometry reads.
  static KsCol* GetColor(KsNode* node, int i);
  static KsVec3f* GetCoord(KsNode* node, int i);
  static KsVec3f* GetNormal(KsNode* node, int i);
  static KsVec2f* GetTexCoord(KsNode* node, int i);
  static KsMFVec3f* GetMFVec3f(KsNode* node);
  static KsMFVec2f* GetMFVec2f(KsNode* node);
  static KsMFColor* GetMFColor(KsNode* node);

  // Process-wide counters of nodes constructed and destroyed, and the
  // reset of all module state (step, no-delete flag, counters).
  static int GetConstructedCount();
  static int GetDestroyedCount();
  static void ResetGlobals();

 private:
  int RealizeBody(KsWordNode* cursor, KsPartition* partition, int depth);
  void Destroy();
  void ReleaseMembers();
  void ForgetRoutes();

  int memberCount_ = 0;
  int eventInCount_ = 0;
  KsMemberTable* members_ = nullptr;
  KsEventInTable* eventIns_ = nullptr;
  KsRouter* routeList_ = nullptr;
  char defName_[KS_NAME_SIZE] = {0};
  int refCount_ = 0;
  int scanning_ = 0;  // guards Scan against cycles through addChildren
  int labelled_ = 0;
  int routed_ = 0;
  int dying_ = 0;  // queued to be freed by the outermost release
};
