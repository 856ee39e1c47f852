// Fixture for drawing tests of the node library: a guarded 3D surface, a
// pick pool, every module of the drawing walk reset, and a recorder of the
// primitives that reach the primitive buffer's end.
#ifndef KS_TESTS_RENDER_TEST_UTIL_H
#define KS_TESTS_RENDER_TEST_UTIL_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/guarded_surface.h"
#include "graphics/picking/picking.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/sorted_list.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/core/events/sensor_table.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scenegraph/nodes/render/render_traversal.h"

namespace kstest {

struct Primitive {
  int mode;
  std::vector<PwVec3> vertices;
  std::vector<PwVec3> normals;
  PwColor colour;
  int pickId;
};

inline std::vector<Primitive>& Recorded() {
  static std::vector<Primitive> recorded;
  return recorded;
}

inline void Record(int mode, int vertexCount, const PwVec3* vertices, int normalCount,
                   const PwVec3* normals, PwColor colour, int pickId) {
  Recorded().push_back(Primitive{mode, std::vector<PwVec3>(vertices, vertices + vertexCount),
                                 std::vector<PwVec3>(normals, normals + normalCount), colour,
                                 pickId});
}

inline int SortedCount() {
  int n = 0;
  for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) ++n;
  return n;
}

class RenderTest : public testing::Test {
 protected:
  RenderTest() : surface(160, 120), pickPool(1 << 16) {}
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
    KsResetPrimitiveBuffer();
    KsResetRenderTraversal();
    KsSensorTable::Reset();
    PwPickReset();
    PwPickSetPool(pickPool.data(), pickPool.size());
    PwPickClear();
    Recorded().clear();
    KsSetPrimitiveObserver(Record);
  }
  void TearDown() override {
    delete scene;
    scene = nullptr;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
    KsResetPrimitiveBuffer();
    KsSensorTable::Reset();
    PwPickReset();
    KsResetNodeFactory();
    EXPECT_TRUE(surface.Intact());
  }
  // Reads text into a fresh scene; returns what was printed.
  std::string Read(const std::string& text) {
    delete scene;
    scene = new KsPartition;
    return Realize(*scene, text);
  }
  // Draws every root of the scene from the identity, as a frame does;
  // returns what the walk printed.
  std::string Draw() {
    testing::internal::CaptureStderr();
    KsResetMatrix();
    KsSensorTable::Clear();
    for (int i = 0; scene && i < scene->GetNodeCount(); ++i) {
      KsMatrix identity;
      KsTraverseNode(scene->GetNode(i), &identity);
    }
    return testing::internal::GetCapturedStderr();
  }

  GuardedSurface surface;
  std::vector<unsigned char> pickPool;
  KsPartition* scene = nullptr;
};

}  // namespace kstest

#endif
