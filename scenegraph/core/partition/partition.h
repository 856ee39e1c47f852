// One scene: the main file, a PROTO body, or the private copy inside a
// PROTO instance. Reads a VRML file into root nodes statement by statement.
// Its methods live beside it: lifetime, roots and reading (partition.cpp),
// PROTO declarations (partition_proto.cpp), EXTERNPROTO
// (partition_externproto.cpp), copies of PROTO bodies
// (partition_duplicate.cpp), queries (partition_queries.cpp) and writing
// (partition_write.cpp).
#pragma once

#include <unordered_set>
#include <vector>

#include "scenegraph/core/partition/label_table.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/object.h"
#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/events/sensor_table.h"

// Deepest nesting of node statements inside node fields that is realised.
constexpr int KS_MAX_REALIZE_DEPTH = 1000;

class KsField;
struct KsProtoInterface;

class KsPartition : public KsObject {
 public:
  KsPartition();
  ~KsPartition() override;
  KsPartition(const KsPartition&) = delete;
  KsPartition& operator=(const KsPartition&) = delete;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  // Virtual operations, in this order after the object's.
  virtual int Write(KsOutStream* stream, int context);
  virtual int GetBoundingBox(KsVec3f* min, KsVec3f* max);
  virtual int GetCenter(KsVec3f* center);
  virtual int AddLabel(const char* name, KsNode* node);
  virtual int WriteHeader(KsOutStream* stream);
  virtual KsNode* FindLabel(const char* name);

  // Writing: gives every shared or routed node and
  // every PROTO without a unique name a generated label, and writes one
  // PROTO declaration's interface.
  int AssignLabels();
  int WriteProto(KsOutStream* stream);

  // 1 when the file cannot be opened or memory runs out while it is read
  // (GetReadErrors says which); statements that fail are reported and
  // skipped, and never fail the read. The header line is not looked at
  // (a file named by EXTERNPROTO need not have one).
  int ReadFile(const char* path);
  // What the last ReadFile skipped (statements and unmatched brackets).
  const KsReadErrors& GetReadErrors() const { return readErrors_; }
  // Realises a whole word tree (a file's top level) into this partition.
  int RealizeTree(KsWordNode* root);

  // Statement realisers; a cursor is a word node whose first child is the
  // current word, and each advances it past what it consumed.
  int RealizeNodeList(KsWordNode* cursor);
  KsNode* RealizeNode(KsWordNode* cursor);
  KsNode* CreateNode(const char* keyword);
  KsNode* RealizeDef(KsWordNode* cursor);
  KsNode* RealizeUse(KsWordNode* cursor);
  // PROTO declarations, their interfaces and IS.
  KsNode* RealizeProto(KsWordNode* cursor);
  KsNode* RealizeExternProto(KsWordNode* cursor);
  int RealizeMemberTable(KsWordNode* list);
  int IsLookUp(KsNode* inner, const char* innerMember, const char* interfaceName);
  // The first declaration of this partition with that PROTO name, or null.
  KsPartition* FindProto(const char* name) const;
  // A deep copy: nodes, interface, IS bindings, routes and labels.
  KsPartition* Duplicate();
  // Hands a changed member of the owning instance to the IS targets.
  int OwnerMemberChanged(const char* name, KsField* field);
  // The interface, made on first use (null without memory) or only read.
  KsProtoInterface* GetInterface();
  KsProtoInterface* FindInterface() const { return interface_; }

  // Root nodes; the partition holds one reference to each.
  int AppendNode(KsNode* node);
  int DeleteNode(KsNode* node);
  int GetNodeCount() const { return static_cast<int>(roots_.size()); }
  KsNode* GetNode(int i) const;
  // Root entries looked at by AppendNode and DeleteNode, process-wide,
  // since the last reset: what reading and dropping statements cost.
  static long long GetRootVisits();
  static void ResetRootVisits();

  KsNode* LookUpLabel(const char* name) { return FindLabel(name); }
  KsLabelTable* GetLabelTable() { return &labels_; }
  KsRouter* GetRouter() { return &router_; }

  KsNode* GetOwner() const { return owner_; }
  void SetOwner(KsNode* owner) { owner_ = owner; }
  const char* GetProtoName() const { return protoName_; }
  int SetProtoName(const char* name);
  int GetProtoCount() const { return static_cast<int>(protos_.size()); }
  KsPartition* GetProto(int i) const;

  // Queries of a loaded scene (walks, drawing, viewpoints, pointing, time).
  // Scan: each root in order until one stops the walk (1).
  int Scan(KsNodeScanner* scanner);
  // The per-frame drawing entry: identity matrix, empty sensor table.
  int TraverseFromRoot();
  int Traverse(KsMatrix* matrix);
  // The n-th viewpoint in scan order outside PROTO instances, or null.
  KsNode* GetViewpoint(int n);
  // All of them in that order, found in one walk: element n is what
  // GetViewpoint(n) answers.
  void GetViewpoints(std::vector<KsNode*>* out);
  // Walks of the whole scene (Scan) begun since the last reset,
  // process-wide: what opening a world costs besides its read.
  static long GetScanCount();
  static void ResetScanCount();
  // Hands every viewpoint, PROTO instances included, its path.
  int StoreViewpointPaths();
  // The sensor under the window point; one pick per traversal.
  KsSensorDescriptor* PickSensor(int x, int y);
  // A click on a touch sensor sends touchTime (time < 0: scene time).
  void Touch(int x, int y, int release, float time);
  void Drag(int x, int y, int release, float time);
  // Ticks every TimeSensor at the scene time.
  int SetTime();

  // Nodes whose body failed after labels inside it were defined; they
  // live as long as the partition so that those labels stay valid.
  int GetDiscardCount() const { return static_cast<int>(discards_.size()); }

 private:
  // ReadFile without the outermost read's guard against memory running out.
  int ReadFileWhole(const char* path);
  void Discard(KsNode* node);
  void PrintErrorTail(KsWordNode* cursor);
  void ReleaseInterface();

  KsNode* owner_ = nullptr;
  KsRouter router_;
  char protoName_[KS_NAME_SIZE] = {0};
  KsLabelTable labels_;
  std::vector<KsNode*> roots_;
  std::unordered_set<KsNode*> rootSet_;  // the same nodes, for look-ups
  std::vector<KsPartition*> protos_;
  std::vector<KsNode*> discards_;
  int pickStale_ = 1;
  int lastPickId_ = -1;
  int depth_ = 0;                          // nesting of RealizeNode calls
  KsProtoInterface* interface_ = nullptr;  // owned
  KsReadErrors readErrors_;
};
