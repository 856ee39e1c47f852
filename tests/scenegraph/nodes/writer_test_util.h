// Fixture of tests that read scenes of the node library and write them.
#ifndef KS_TESTS_WRITER_TEST_UTIL_H
#define KS_TESTS_WRITER_TEST_UTIL_H

#include <gtest/gtest.h>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/writing/write_context.h"
#include "scenegraph/nodes/node_library.h"

namespace kstest {

class NodeLibraryWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetProtoGlobals();
    KsResetWriteContexts();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override { KsResetNodeFactory(); }
};

}  // namespace kstest

#endif
