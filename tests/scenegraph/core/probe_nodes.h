// Small node classes for testing the node base and the partition without
// the node library.
#ifndef KS_TESTS_PROBE_NODES_H
#define KS_TESTS_PROBE_NODES_H

#include <new>
#include <string>
#include <vector>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/fields/sf_fields.h"

namespace kstest {

// Members: "x" exposed SFInt (also an event-in), "f" plain SFFloat,
// "child" exposed SFNode, "children" exposed MFNode; event-in "poke".
class PartitionProbe : public KsNode {
 public:
  PartitionProbe() {
    x.Set(0);
    f.Set(0.5f);
    RegisterMember("x", &x, 0);
    RegisterMember("f", &f, 1);
    RegisterMember("child", &child, 0);
    RegisterMember("children", &children, 0);
    RegisterEventIn("poke");
    RegisterEventIn("x");
    RegisterDone();
  }
  const char* GetClassName() const override { return "KsProbe"; }
  KsNode* NewInstance() override { return new (std::nothrow) PartitionProbe(); }
  void ReleaseHook() override { ++ReleaseHooks(); }
  KsMFNode* GetChildren() override { return &children; }
  int ExecSpecialEvent(const char* name, KsField*, KsNode*) override {
    specialEvents.push_back(name);
    return 0;
  }
  int OwnerMemberChanged(const char* name, KsField*) override {
    changes.push_back(name ? name : "");
    return 0;
  }
  static int& ReleaseHooks() {
    static int count = 0;
    return count;
  }

  KsSFInt x;
  KsSFFloat f;
  KsSFNode child;
  KsMFNode children;
  std::vector<std::string> specialEvents;
  std::vector<std::string> changes;
};

inline KsNode* MakeProbe() { return new (std::nothrow) PartitionProbe(); }

// The probe under the keywords the partition tests use.
inline void RegisterProbes() {
  KsResetNodeFactory();
  KsRegisterNodeConstructor("Group", MakeProbe);
  KsRegisterNodeConstructor("Transform", MakeProbe);
  KsRegisterNodeConstructor("Shape", MakeProbe);
}

}  // namespace kstest

#endif
