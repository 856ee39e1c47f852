#include "scenegraph/core/protos/proto_budget.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "scenegraph/core/fields/value_bytes.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/reading/word_tree.h"

struct KsProtoBudgetAccess {
  static KsProtoBudgetScope* Outer(KsProtoBudgetScope* s) { return s->outer_; }
  static KsWordNode* Root(KsProtoBudgetScope* s) { return s->root_; }
  static int& Counted(KsProtoBudgetScope* s) { return s->counted_; }
};

namespace {
struct Budget {
  KsProtoBudgetScope* scope = nullptr;  // innermost read under way
  int64_t used = 0;
  int64_t limit = KS_PROTO_EXPANSION_BASE;
  int sized = 0;            // the files' sizes are in the limit
  int64_t closedBytes = 0;  // words of files read and closed before then
  int spent = 0;            // refused once: every further instance is refused
  int refused = 0;
};

Budget& State() {
  static Budget budget;
  return budget;
}

// Bytes of the words of a tree, a blank after each: the file's text less
// its comments and runs of blanks. Only counted once a read goes past the
// fixed ceiling, so that ordinary reads never walk their tree for it.
int64_t TreeBytes(KsWordNode* root) {
  int64_t bytes = 0;
  std::vector<KsWordNode*> stack;
  if (root) stack.push_back(root);
  while (!stack.empty()) {
    KsWordNode* node = stack.back();
    stack.pop_back();
    for (; node; node = node->next) {
      const char* text = node->text;
      bytes += (text ? (int64_t)std::strlen(text) : 0) + 1;
      // A packed run knows its words' bytes: counting them must not make their nodes.
      if (const KsWordRun* run = node->child.Run())
        bytes += run->textBytes;
      else if (node->child)
        stack.push_back(node->child);
    }
  }
  return bytes;
}

void AddSizes(Budget& b) {
  b.limit += KS_PROTO_EXPANSION_PER_BYTE * b.closedBytes;
  b.closedBytes = 0;
  for (KsProtoBudgetScope* s = b.scope; s; s = KsProtoBudgetAccess::Outer(s)) {
    int& counted = KsProtoBudgetAccess::Counted(s);
    if (counted) continue;
    counted = 1;
    b.limit += KS_PROTO_EXPANSION_PER_BYTE * TreeBytes(KsProtoBudgetAccess::Root(s));
  }
}
}  // namespace

KsProtoBudgetScope::KsProtoBudgetScope(KsWordNode* root) : outer_(State().scope), root_(root) {
  Budget& b = State();
  if (!outer_) b = Budget();
  b.scope = this;
  // Once the ceiling is passed, a nested file widens the allowance at once.
  if (b.sized) AddSizes(b);
}

KsProtoBudgetScope::~KsProtoBudgetScope() {
  Budget& b = State();
  b.scope = outer_;
  // An EXTERNPROTO file read before the ceiling was passed still widens
  // the allowance once it is: what reading and copying it made is charged.
  if (outer_ && !counted_ && !b.sized) b.closedBytes += TreeBytes(root_);
  // What the read used and refused stays readable until the next one.
}

bool KsProtoBudgetAllows(int64_t pending, const char* protoName) {
  Budget& b = State();
  // Outside a read only each instance's own allowance applies.
  if (!b.scope) return true;
  if (b.spent) return false;
  if (b.used + pending <= b.limit) return true;
  if (!b.sized) {
    b.sized = 1;
    AddSizes(b);
    if (b.used + pending <= b.limit) return true;
  }
  b.spent = 1;
  std::fprintf(stderr, "KsCustomNode::KsCustomNode()\n");
  std::fprintf(stderr, "  PROTO instances add too many nodes to this file.\n");
  std::fprintf(stderr, "  PROTO = %s\n", protoName ? protoName : "");
  std::fprintf(stderr, "  Further instances are not built.\n");
  return false;
}

int64_t KsExpansionCost() {
  return (int64_t)KsNode::GetConstructedCount() +
         KsValueBytesHeld() / KS_PROTO_VALUE_BYTES_PER_NODE;
}

void KsProtoBudgetCharge(int64_t nodes) {
  Budget& b = State();
  if (b.scope && nodes > 0) b.used += nodes;
}

void KsProtoBudgetNoteRefused() {
  if (State().scope) ++State().refused;
}

bool KsProtoBudgetSpent() { return State().scope && State().spent; }

int64_t KsProtoBudgetUsed() { return State().used; }
int KsProtoBudgetRefused() { return State().refused; }
int64_t KsProtoBudgetLimit() { return State().scope ? State().limit : -1; }

void KsResetProtoBudget() { State() = Budget(); }
