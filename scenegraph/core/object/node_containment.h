// Keeping the scene graph free of cycles: no node-valued field takes a node
// that is its owner or holds it, since that would put the owner under
// itself, a cycle that no reference count frees and no walk ends.
#pragma once

class KsNode;

// Whether node is candidate itself or lies below it through node-valued
// members (and the private scenes of PROTO instances). Walks each node once,
// without recursion, charged to the cascade's bound of values.
bool KsContainsNode(KsNode* candidate, KsNode* node);

// Drops from nodes[0..count) every node that holds owner, keeping the order
// of the rest, and reports each drop (a few times per process: a route may
// repeat it every frame). Returns the count kept. A node that nothing
// references yet (one being read) cannot be held, and is not searched for;
// nor are the nodes of held[0..heldCount), which the member held before
// (checked as they came). Each node is walked at most once a call, and
// every walk is charged to the cascade's bound of values.
int KsDropHoldersOf(KsNode* owner, const char* member, KsNode** nodes, int count,
                    KsNode* const* held = nullptr, int heldCount = 0);
// The report of a refused node under the owner's member.
void KsReportHolderRefused(KsNode* owner, const char* member);

// Nodes visited by KsContainsNode since the last reset, and the reset of
// the count and of the reports.
long long KsGetContainmentVisits();
void KsResetContainmentChecks();
