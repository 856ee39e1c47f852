#include "scenegraph/core/object/node_containment.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
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

void Push(std::vector<KsNode*>& stack, std::unordered_set<KsNode*>& seen, KsNode* node) {
    if (node && seen.insert(node).second) stack.push_back(node);
}
}  // namespace

bool KsContainsNode(KsNode* candidate, KsNode* node) {
    if (!candidate || !node) return false;
    // Iterative, each node once: the graph below may be deep and shared.
    std::vector<KsNode*> stack;
    std::unordered_set<KsNode*> seen;
    Push(stack, seen, candidate);
    while (!stack.empty()) {
        KsNode* at = stack.back();
        stack.pop_back();
        ++State().visits;
        if (at == node) return true;
        for (int i = 0; i < at->GetMemberCount(); ++i) {
            const KsField* field = at->GetMember(i)->field;
            if (!field) continue;
            const char* kind = field->GetClassName();
            if (std::strcmp(kind, "KsSFNode") == 0) {
                Push(stack, seen, static_cast<const KsSFNode*>(field)->Get());
            } else if (std::strcmp(kind, "KsMFNode") == 0) {
                const KsMFNode* list = static_cast<const KsMFNode*>(field);
                for (int k = 0; k < list->GetCount(); ++k) Push(stack, seen, list->GetElements()[k]);
            }
        }
        if (std::strcmp(at->GetClassName(), "KsCustomNode") == 0) {
            KsPartition* copy = static_cast<KsCustomNode*>(at)->GetPrivateCopy();
            for (int k = 0; copy && k < copy->GetNodeCount(); ++k) Push(stack, seen, copy->GetNode(k));
        }
    }
    return false;
}

void KsReportHolderRefused(KsNode* owner, const char* member) {
    if (!owner || State().reports >= kReports) return;
    ++State().reports;
    std::fprintf(stderr, "%s::%s\n", owner->GetClassName(), member ? member : "");
    std::fprintf(stderr, "  A node holding this one cannot be its child; not added.\n");
}

int KsDropHoldersOf(KsNode* owner, const char* member, KsNode** nodes, int count) {
    if (!owner || !nodes || count <= 0 || owner->GetRefCount() <= 0) return count;
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (KsContainsNode(nodes[i], owner))
            KsReportHolderRefused(owner, member);
        else
            nodes[kept++] = nodes[i];
    }
    return kept;
}

long long KsGetContainmentVisits() { return State().visits; }
void KsResetContainmentChecks() { State() = Checks(); }
