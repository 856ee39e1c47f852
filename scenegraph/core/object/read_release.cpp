#include "scenegraph/core/object/read_release.h"

#include "scenegraph/core/object/node.h"

namespace {
KsReadReleaseScope*& Current() {
  static KsReadReleaseScope* current = nullptr;
  return current;
}
}  // namespace

KsReadReleaseScope::KsReadReleaseScope() : outer_(Current()) { Current() = this; }

KsReadReleaseScope::~KsReadReleaseScope() {
  Current() = outer_;
  // Each is a reference of its own: a node freed here may release others
  // of the list, which their own entries still hold.
  std::vector<KsNode*> held;
  held.swap(held_);
  for (KsNode* node : held) KsNode::Unref(node);
}

void KsReleaseAfterRead(KsNode* node) {
  if (!node) return;
  if (KsReadReleaseScope* scope = Current()) {
    scope->held_.push_back(node);
    return;
  }
  KsNode::Unref(node);
}

long long KsReadReleasesPending() {
  KsReadReleaseScope* scope = Current();
  return scope ? static_cast<long long>(scope->held_.size()) : 0;
}
