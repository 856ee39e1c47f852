// A viewer on a guarded heap surface with every module it drives reset,
// and scene files written into the test's temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/formats/eps_output.h"
#include "graphics/formats/model_capture.h"
#include "graphics/guarded_surface.h"
#include "graphics/picking/picking.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/events/sensor_table.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scenegraph/nodes/render/render_traversal.h"
#include "viewer/viewer.h"

namespace lvtest {

inline std::string WriteTextFile(const std::string& name, const std::string& text) {
  std::string path = testing::TempDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  return path;
}

inline std::string ReadFileBytes(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

class ViewerTest : public testing::Test {
 protected:
  ViewerTest() : surface(160, 120), pickPool(1 << 18) {}
  void SetUp() override {
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
    KsResetBindings();
    KsResetPrimitiveBuffer();
    KsResetRenderTraversal();
    KsSensorTable::Reset();
    KsClock::Reset();
    KsSetTessellation(4);
    PwPickReset();
    PwPickSetPool(pickPool.data(), pickPool.size());
    PwImageReset();
    PwEpsResetState();
    PwModelResetState();
    PwZInit();
    viewer = new Viewer();
  }
  void TearDown() override {
    delete viewer;
    viewer = nullptr;
    KsResetBindings();
    PwImageReset();
    PwEpsResetState();
    PwModelResetState();
    PwPickReset();
    KsResetNodeFactory();
    EXPECT_TRUE(surface.Intact());
  }
  // Loads text written to a file of that name; the viewer's result.
  int Load(const std::string& name, const std::string& text) {
    return viewer->LoadFile(WriteTextFile(name, text).c_str());
  }
  KsVec3f BoundPosition() const {
    KsMatrix m;
    KsViewpoint::GetBound()->GetMatrix(&m);
    KsVec3f p;
    m.Apply(p, KsVec3f(0, 0, 0), 1.0f);
    return p;
  }

  GuardedSurface surface;
  std::vector<unsigned char> pickPool;
  Viewer* viewer = nullptr;
};

}  // namespace lvtest
