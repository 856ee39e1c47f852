#include "scenegraph/core/object/node_containment.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/fields/sf_fields.h"

namespace {
constexpr int kReports = 5;

struct Checks {
  long long visits = 0;
  int reports = 0;
};

Checks& State() {
  static Checks checks;
  return checks;
}

using NodeSet = std::unordered_set<KsNode*>;

void Push(std::vector<KsNode*>& stack, NodeSet& seen, const NodeSet* clean, KsNode* node) {
  if (!node || (clean && clean->count(node) != 0)) return;
  if (seen.insert(node).second) stack.push_back(node);
}

// Whether node lies at or below candidate, walking nothing in clean (nodes
// known to lead nowhere near it). Each node walked is charged to the
// cascade under way, so that routes that hand large subtrees about spend
// the time step's bound instead of walking them without end. Without a
// find, what was walked joins clean.
bool Contains(KsNode* candidate, KsNode* node, NodeSet* clean) {
  if (!candidate || !node) return false;
  // Iterative, each node once: the graph below may be deep and shared.
  std::vector<KsNode*> stack;
  NodeSet seen;
  Push(stack, seen, clean, candidate);
  bool found = false;
  long long walked = 0;
  while (!stack.empty() && !found) {
    KsNode* at = stack.back();
    stack.pop_back();
    ++walked;
    if (at == node) {
      found = true;
      break;
    }
    for (int i = 0; i < at->GetMemberCount(); ++i) {
      const KsField* field = at->GetMember(i)->field;
      if (!field) continue;
      const char* kind = field->GetClassName();
      if (std::strcmp(kind, "KsSFNode") == 0) {
        Push(stack, seen, clean, static_cast<const KsSFNode*>(field)->Get());
      } else if (std::strcmp(kind, "KsMFNode") == 0) {
        const KsMFNode* list = static_cast<const KsMFNode*>(field);
        for (int k = 0; k < list->GetCount(); ++k) Push(stack, seen, clean, list->GetElements()[k]);
      }
    }
    if (std::strcmp(at->GetClassName(), "KsCustomNode") == 0) {
      KsPartition* copy = static_cast<KsCustomNode*>(at)->GetPrivateCopy();
      for (int k = 0; copy && k < copy->GetNodeCount(); ++k)
        Push(stack, seen, clean, copy->GetNode(k));
    }
  }
  State().visits += walked;
  // Counted, never refused: a check left undone could let a cycle in.
  KsCascadeWork work;
  work.Charge(walked, "children");
  if (!found && clean) clean->insert(seen.begin(), seen.end());
  return found;
}
}  // namespace

bool KsContainsNode(KsNode* candidate, KsNode* node) { return Contains(candidate, node, nullptr); }

void KsReportHolderRefused(KsNode* owner, const char* member) {
  if (!owner || State().reports >= kReports) return;
  ++State().reports;
  std::fprintf(stderr, "%s::%s\n", owner->GetClassName(), member ? member : "");
  std::fprintf(stderr, "  A node holding this one cannot be its child; not added.\n");
}

int KsDropHoldersOf(KsNode* owner, const char* member, KsNode** nodes, int count,
                    KsNode* const* held, int heldCount) {
  if (!owner || !nodes || count <= 0 || owner->GetRefCount() <= 0) return count;
  // A node the member held already was checked as it came: were it to
  // hold the owner now, the graph would have had a cycle.
  NodeSet before;
  for (int i = 0; held && i < heldCount; ++i)
    if (held[i]) before.insert(held[i]);
  // What one candidate's walk found clear is not walked again for the next.
  NodeSet clean;
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    if (before.count(nodes[i]) == 0 && Contains(nodes[i], owner, &clean))
      KsReportHolderRefused(owner, member);
    else
      nodes[kept++] = nodes[i];
  }
  return kept;
}

long long KsGetContainmentVisits() { return State().visits; }
void KsResetContainmentChecks() { State() = Checks(); }
