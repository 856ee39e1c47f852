// The allowance of nodes that PROTO expansion may make while one file is
// read (EXTERNPROTO files read and copied meanwhile included), the values
// the copies duplicate counted with their nodes: a fixed ceiling far
// above what real worlds expand to, plus a multiple of the file's size, so
// that a small file of instances nested in one another's bodies cannot
// multiply into millions of nodes. Past it, instances are refused.
#pragma once

#include <cstdint>

struct KsWordNode;

// Nodes any read may make by expansion, whatever the size of its file.
constexpr int64_t KS_PROTO_EXPANSION_BASE = 200000;
// Further nodes for each byte of the file's words.
constexpr int64_t KS_PROTO_EXPANSION_PER_BYTE = 4;
// A copy duplicates its nodes' values as well (a Coordinate of 10,000
// points is 120 KB): every so many bytes of values copied are charged as
// one node, about what a node itself takes.
constexpr int64_t KS_PROTO_VALUE_BYTES_PER_NODE = 512;

// What has been made so far, process-wide, in nodes: the nodes constructed
// and the values copied. Expansion is charged the difference across a build.
int64_t KsExpansionCost();

// While it lives, PROTO instances made are charged to one read of the word
// tree root. A scope opened inside another (an EXTERNPROTO file) shares the
// outer read's allowance, widened by its own file.
class KsProtoBudgetScope {
 public:
  explicit KsProtoBudgetScope(KsWordNode* root);
  ~KsProtoBudgetScope();
  KsProtoBudgetScope(const KsProtoBudgetScope&) = delete;
  KsProtoBudgetScope& operator=(const KsProtoBudgetScope&) = delete;

 private:
  KsProtoBudgetScope* outer_;
  KsWordNode* root_;
  int counted_ = 0;  // root_'s size is in the allowance
  friend struct KsProtoBudgetAccess;
};

// Whether an instance may go on being built with pending nodes made so
// far (not yet charged). The first refusal of a read prints its one
// message; from then on every instance of the read is refused. Outside a
// read only each instance's own allowance applies.
bool KsProtoBudgetAllows(int64_t pending, const char* protoName);
// An outermost instance was built with that many nodes, or was refused.
void KsProtoBudgetCharge(int64_t nodes);
void KsProtoBudgetNoteRefused();
// Whether the read under way has refused its instances: copies then stop
// at once, without reporting every copy they could not make.
bool KsProtoBudgetSpent();
// Nodes charged and instances refused in the read under way (or the last).
int64_t KsProtoBudgetUsed();
int KsProtoBudgetRefused();
// The allowance of the read under way, as far as it is known (-1 outside).
int64_t KsProtoBudgetLimit();
// For tests: no read under way, nothing charged.
void KsResetProtoBudget();
