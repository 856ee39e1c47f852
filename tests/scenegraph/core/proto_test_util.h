// Shared set-up of the PROTO tests: probe nodes, clean module state.
#ifndef KS_TESTS_PROTO_TEST_UTIL_H
#define KS_TESTS_PROTO_TEST_UTIL_H

#include <gtest/gtest.h>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/scene_test_util.h"

namespace kstest {

class ProtoTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetProtoGlobals();
    RegisterProbes();
  }
  void TearDown() override {
    KsResetNodeFactory();
    EXPECT_EQ(KsCustomNode::GetBuildDepth(), 0);
  }
  // Every node made since SetUp is gone.
  static void ExpectAllDestroyed() {
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
  }
};

inline PartitionProbe* AsProbe(KsNode* node) { return static_cast<PartitionProbe*>(node); }

inline KsCustomNode* AsCustom(KsNode* node) {
  if (!node || std::string(node->GetClassName()) != "KsCustomNode") return nullptr;
  return static_cast<KsCustomNode*>(node);
}

// Root i of an instance's private scene.
inline KsNode* Inner(KsNode* instance, int i = 0) {
  KsCustomNode* custom = AsCustom(instance);
  if (!custom || !custom->GetPrivateCopy()) return nullptr;
  return custom->GetPrivateCopy()->GetNode(i);
}

}  // namespace kstest

#endif
