#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "graphics/software/screen.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/nodes/geometry/geometry_solids.h"

namespace {

using kstest::Primitive;
using kstest::Recorded;

class SolidsTest : public kstest::RenderTest {
 protected:
  // Draws the scene's first root alone at a tessellation level.
  const std::vector<Primitive>& DrawAt(int level) {
    KsSetTessellation(level);
    Recorded().clear();
    Draw();
    return Recorded();
  }
};

float Length(const PwVec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

TEST_F(SolidsTest, SphereBandsAndSectorsPerLevel) {
  Read("Sphere { radius 2 }");
  // Level 1: both corners of each of its two polygons are poles' halves.
  const auto& one = DrawAt(1);
  ASSERT_EQ(one.size(), 2u);
  for (const Primitive& p : one) EXPECT_EQ(p.vertices.size(), 2u);
  EXPECT_EQ(kstest::SortedCount(), 0);

  for (int n : {2, 4, 7, 15}) {
    const auto& prims = DrawAt(n);
    ASSERT_EQ(prims.size(), static_cast<size_t>(2 * n * n)) << n;
    int triangles = 0, quads = 0;
    for (size_t i = 0; i < prims.size(); ++i) {
      const Primitive& p = prims[i];
      const size_t band = i / (2 * n);
      const size_t expected = (band == 0 || band == static_cast<size_t>(n - 1)) ? 3u : 4u;
      ASSERT_EQ(p.vertices.size(), expected) << n << " " << i;
      ASSERT_EQ(p.normals.size(), p.vertices.size());
      (expected == 3 ? triangles : quads) += 1;
      for (size_t k = 0; k < p.vertices.size(); ++k) {
        EXPECT_NEAR(Length(p.normals[k]), 1.0f, 1e-5f);
        EXPECT_NEAR(p.vertices[k].x, 2 * p.normals[k].x, 1e-5f);
        EXPECT_NEAR(p.vertices[k].y, 2 * p.normals[k].y, 1e-5f);
        EXPECT_NEAR(p.vertices[k].z, 2 * p.normals[k].z, 1e-5f);
      }
    }
    EXPECT_EQ(triangles, 4 * n);
    EXPECT_EQ(quads, 2 * n * (n - 2));
  }
  // Level 4, first polygon: (b1, a0) = (45, -90), (45, -45), (0, -45).
  const auto& four = DrawAt(4);
  EXPECT_NEAR(four[0].vertices[0].y, -2.0f, 1e-5f);
  EXPECT_NEAR(four[0].vertices[1].y, -2.0f * std::sqrt(0.5f), 1e-4f);
  EXPECT_NEAR(four[0].vertices[2].x, 2.0f * std::sqrt(0.5f), 1e-4f);
  EXPECT_NEAR(four[0].vertices[2].z, 0.0f, 1e-5f);
}

TEST_F(SolidsTest, CylinderCapsAndSides) {
  Read("Cylinder { radius 2 height 4 }");
  for (int n : {1, 4, 15}) {
    const auto& prims = DrawAt(n);
    ASSERT_EQ(prims.size(), static_cast<size_t>(2 * n + 2)) << n;
    const Primitive& top = prims.front();
    const Primitive& bottom = prims.back();
    ASSERT_EQ(top.vertices.size(), static_cast<size_t>(2 * n));
    ASSERT_EQ(bottom.vertices.size(), static_cast<size_t>(2 * n));
    ASSERT_EQ(top.normals.size(), 1u);
    EXPECT_FLOAT_EQ(top.normals[0].y, 1.0f);
    EXPECT_FLOAT_EQ(bottom.normals[0].y, -1.0f);
    EXPECT_FLOAT_EQ(top.vertices[0].y, 2.0f);
    EXPECT_FLOAT_EQ(bottom.vertices[0].y, -2.0f);
    EXPECT_NEAR(bottom.vertices[0].x, 2.0f, 1e-5f);  // from a full turn down
    for (size_t i = 1; i + 1 < prims.size(); ++i) {
      const Primitive& s = prims[i];
      ASSERT_EQ(s.vertices.size(), 4u);
      ASSERT_EQ(s.normals.size(), 2u);  // drawn one-sided
      EXPECT_FLOAT_EQ(s.normals[0].y, 0.0f);
      EXPECT_NEAR(Length(s.normals[0]), 1.0f, 1e-5f);
      EXPECT_NEAR(s.vertices[0].x, 2 * s.normals[0].x, 1e-5f);
      EXPECT_NEAR(s.vertices[0].z, 2 * s.normals[0].z, 1e-5f);
      EXPECT_FLOAT_EQ(s.vertices[0].y, 2.0f);
      EXPECT_FLOAT_EQ(s.vertices[1].y, -2.0f);
    }
  }
  Read("Cylinder { top FALSE }");
  const auto& noTop = DrawAt(4);
  ASSERT_EQ(noTop.size(), 9u);
  EXPECT_EQ(noTop.front().vertices.size(), 4u);
  Read("Cylinder { side FALSE bottom FALSE }");
  EXPECT_EQ(DrawAt(4).size(), 1u);
}

TEST_F(SolidsTest, ConeSidesAndTwentyDegreeBottom) {
  Read("Cone { bottomRadius 1 height 2 }");
  for (int n : {1, 4, 15}) {
    const auto& prims = DrawAt(n);
    ASSERT_EQ(prims.size(), static_cast<size_t>(2 * n + 1)) << n;
    const Primitive& bottom = prims.back();
    ASSERT_EQ(bottom.vertices.size(), 19u);
    ASSERT_EQ(bottom.normals.size(), 1u);
    EXPECT_FLOAT_EQ(bottom.normals[0].y, -1.0f);
    EXPECT_NEAR(bottom.vertices[0].x, bottom.vertices[18].x, 1e-5f);
    EXPECT_NEAR(bottom.vertices[0].z, bottom.vertices[18].z, 1e-5f);
    for (size_t i = 0; i + 1 < prims.size(); ++i) {
      const Primitive& s = prims[i];
      ASSERT_EQ(s.vertices.size(), 4u);
      ASSERT_EQ(s.normals.size(), 4u);  // smooth
      EXPECT_FLOAT_EQ(s.vertices[0].y, 1.0f);
      EXPECT_FLOAT_EQ(s.vertices[3].y, 1.0f);
      EXPECT_FLOAT_EQ(s.vertices[1].y, -1.0f);
      for (const PwVec3& nrm : s.normals) {
        EXPECT_NEAR(nrm.y, std::sqrt(0.5f), 1e-5f);
        EXPECT_NEAR(Length(nrm), 1.0f, 1e-5f);
      }
    }
  }
  Read("Cone { side FALSE }");
  EXPECT_EQ(DrawAt(4).size(), 1u);
}

TEST_F(SolidsTest, BoxFacesAndBoundingBoxes) {
  Read("Box { size 2 4 6 }");
  const auto& prims = DrawAt(9);  // not subdivided
  ASSERT_EQ(prims.size(), 6u);
  const float normals[6][3] = {{0, 0, -1}, {0, 0, 1}, {0, 1, 0}, {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}};
  for (int f = 0; f < 6; ++f) {
    ASSERT_EQ(prims[f].vertices.size(), 4u);
    ASSERT_EQ(prims[f].normals.size(), 1u);
    EXPECT_EQ(prims[f].normals[0].x, normals[f][0]);
    EXPECT_EQ(prims[f].normals[0].y, normals[f][1]);
    EXPECT_EQ(prims[f].normals[0].z, normals[f][2]);  // z given back negated
    for (const PwVec3& v : prims[f].vertices) {
      EXPECT_EQ(std::fabs(v.x), 1.0f);
      EXPECT_EQ(std::fabs(v.y), 2.0f);
      EXPECT_EQ(std::fabs(v.z), 3.0f);
    }
  }
  EXPECT_EQ(prims[0].vertices[0].x, -1.0f);
  EXPECT_EQ(prims[0].vertices[0].y, -2.0f);
  EXPECT_EQ(prims[0].vertices[0].z, -3.0f);

  struct Case {
    const char* text;
    KsVec3f min, max;
  };
  const Case cases[] = {
      {"Box { size 2 4 6 }", {-1, -2, -3}, {1, 2, 3}},
      {"Box { }", {-1, -1, -1}, {1, 1, 1}},
      {"Sphere { radius 2.5 }", {-2.5f, -2.5f, -2.5f}, {2.5f, 2.5f, 2.5f}},
      {"Cylinder { radius 3 height 4 }", {-3, -2, -3}, {3, 2, 3}},
      {"Cone { bottomRadius 2 height 1 }", {-2, -0.5f, -2}, {2, 0.5f, 2}},
      {"Shape { geometry Cone { } }", {-1, -1, -1}, {1, 1, 1}},
  };
  for (const Case& c : cases) {
    Read(c.text);
    ASSERT_EQ(scene->GetNodeCount(), 1) << c.text;
    KsVec3f lo, hi;
    ASSERT_EQ(scene->GetNode(0)->GetBoundingBox(&lo, &hi), 0) << c.text;
    EXPECT_EQ(lo.x, c.min.x) << c.text;
    EXPECT_EQ(lo.y, c.min.y) << c.text;
    EXPECT_EQ(lo.z, c.min.z) << c.text;
    EXPECT_EQ(hi.x, c.max.x) << c.text;
    EXPECT_EQ(hi.y, c.max.y) << c.text;
    EXPECT_EQ(hi.z, c.max.z) << c.text;
  }
}

TEST_F(SolidsTest, DefaultsAndDuplication) {
  std::string err = Read(
      "Sphere { } Box { } Cylinder { } Cone { }"
      " Cylinder { bottom FALSE height 3 radius 0.5 side FALSE top FALSE }");
  EXPECT_EQ(err, "");
  ASSERT_EQ(scene->GetNodeCount(), 5);
  auto* sphere = static_cast<KsSphere*>(scene->GetNode(0));
  auto* box = static_cast<KsBox*>(scene->GetNode(1));
  auto* cyl = static_cast<KsCylinder*>(scene->GetNode(2));
  auto* cone = static_cast<KsCone*>(scene->GetNode(3));
  EXPECT_STREQ(sphere->GetClassName(), "KsSphere");
  EXPECT_EQ(sphere->radius.Get(), 1.0f);
  EXPECT_EQ(box->size.Get().y, 2.0f);
  EXPECT_EQ(cyl->bottom.Get(), KS_TRUE);
  EXPECT_EQ(cyl->height.Get(), 2.0f);
  EXPECT_EQ(cyl->radius.Get(), 1.0f);
  EXPECT_EQ(cyl->side.Get(), KS_TRUE);
  EXPECT_EQ(cyl->top.Get(), KS_TRUE);
  EXPECT_EQ(cone->bottomRadius.Get(), 1.0f);
  EXPECT_EQ(cone->height.Get(), 2.0f);
  EXPECT_EQ(cone->side.Get(), KS_TRUE);
  EXPECT_EQ(cone->bottom.Get(), KS_TRUE);
  const char* order[] = {"bottomRadius", "height", "side", "bottom"};
  ASSERT_EQ(cone->GetMemberCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_STREQ(cone->GetMember(i)->name, order[i]);
    EXPECT_EQ(cone->GetMember(i)->noEventIn, 1);  // fields, no events
  }

  KsNode* copy = scene->GetNode(4)->Duplicate();
  ASSERT_NE(copy, nullptr);
  auto* c = static_cast<KsCylinder*>(copy);
  EXPECT_STREQ(c->GetClassName(), "KsCylinder");
  EXPECT_EQ(c->bottom.Get(), KS_FALSE);
  EXPECT_EQ(c->height.Get(), 3.0f);
  EXPECT_EQ(c->radius.Get(), 0.5f);
  EXPECT_EQ(c->top.Get(), KS_FALSE);
  copy->Ref();
  copy->Unref();
}

// The picture: background, then the frame's sorted list far to near.
class SolidsPictureTest : public kstest::RenderTest {
 protected:
  unsigned int Paint() {
    PwScreenClear();
    const unsigned int background = surface.At(0, 0);
    PwPose zero = {};
    PwSetEye(&zero);
    Draw();
    PwFlushSorted();
    return background;
  }
};

TEST_F(SolidsPictureTest, RedBoxInFrontOfTheEyeIsRedAndStaysInTheBuffer) {
  Read(
      "Transform { translation 0 0 -5 children Shape {"
      " appearance Appearance { material Material { diffuseColor 1 0 0 } }"
      " geometry Box { } } }");
  const unsigned int background = Paint();
  const unsigned int red = surface.Value(PwColor{0, 255, 0});
  ASSERT_NE(red, background);
  int redPixels = 0, other = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) {
      const unsigned int v = surface.At(x, y);
      if (v == red)
        ++redPixels;
      else if (v != background)
        ++other;
    }
  }
  EXPECT_EQ(surface.At(80, 60), red);
  EXPECT_EQ(surface.At(2, 2), background);
  EXPECT_EQ(surface.At(157, 117), background);
  EXPECT_GT(redPixels, 400);
  EXPECT_EQ(other, 0);
  EXPECT_TRUE(surface.Intact());
}

TEST_F(SolidsPictureTest, LitSolidsAroundAndBehindTheEyeStayInTheBuffer) {
  // A lit sphere that fills the view, a cone behind the eye and a cylinder
  // that straddles the near plane: reds only, nothing outside the buffer.
  Read(
      "DirectionalLight { direction 0 0 -1 }"
      "Shape { appearance Appearance { material Material { diffuseColor 1 0 0 } }"
      " geometry Sphere { radius 0.9 } }"
      "Transform { translation 0 0 -3 children Shape { geometry Sphere { } } }"
      "Transform { translation 0 0 4 children Shape { geometry Cone { } } }"
      "Transform { translation 1 0 -0.5 children Shape { geometry Cylinder { height 10 } } }");
  KsSetTessellation(15);
  const unsigned int background = Paint();
  int lit = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) {
      const unsigned int v = surface.At(x, y);
      if (v == background) continue;
      ++lit;
      const unsigned int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
      EXPECT_GT(r, 0u);
      EXPECT_GE(r, g);
      EXPECT_EQ(g, b);
    }
  }
  EXPECT_GT(lit, 1000);
  EXPECT_TRUE(surface.Intact());
}

}  // namespace

namespace {

class WorldPictureTest : public kstest::RenderTest {
 protected:
  // Reads a file and draws it from the sample's front view.
  unsigned int PaintFile(const std::string& path) {
    delete scene;
    scene = new KsPartition;
    testing::internal::CaptureStderr();
    scene->ReadFile(path.c_str());
    testing::internal::GetCapturedStderr();
    PwSetLighting(0);
    PwScreenClear();
    const unsigned int background = surface.At(0, 0);
    PwPose eye = {0.0f, 1.0f, -10.0f, 0, 0, 0};  // scene (0, 1, 10)
    PwSetEye(&eye);
    PwPickClear();
    Draw();
    PwFlushSorted();
    return background;
  }
};

TEST_F(WorldPictureTest, SampleWorldDrawsItsFourSolids) {
  const unsigned int background = PaintFile(LV_SOURCE_DIR "/examples/sample.wrl");
  // Box on the left, sphere in the middle, cone on the right, a disc below.
  // The strongest channel of a 5-5-5 pixel, '.' for the background.
  auto hue = [&](int x, int y) {
    const unsigned int v = surface.At(x, y);
    if (v == background) return '.';
    const unsigned int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
    if (r > g && r > b) return 'r';
    return b > g ? 'b' : 'g';
  };
  const PwProjection* p = PwGetProjection();
  auto sx = [&](float x) { return p->cx + static_cast<int>(x * p->magx / 10.0f); };
  auto sy = [&](float y) { return p->cy - static_cast<int>((y - 1.0f) * p->magy / 10.0f); };
  EXPECT_EQ(hue(sx(-3), sy(0.2f)), 'r');
  EXPECT_EQ(hue(sx(0), sy(0.2f)), 'g');
  EXPECT_EQ(hue(sx(3), sy(-0.5f)), 'b');
  EXPECT_EQ(hue(2, 2), '.');
  EXPECT_TRUE(surface.Intact());
}

TEST_F(WorldPictureTest, EveryCorpusFileDrawsInsideTheBuffer) {
  int files = 0;
  for (const char* dir : {"good", "bad"}) {
    std::error_code ec;
    const std::string base = LV_SOURCE_DIR "/../shared/corpus/parse-suite/";
    for (const auto& entry : std::filesystem::directory_iterator(base + dir, ec)) {
      if (entry.path().extension() != ".wrl") continue;
      ++files;
      PaintFile(entry.path().string());
      EXPECT_TRUE(surface.Intact()) << entry.path();
      EXPECT_EQ(KsCurrentMatrix().Elements()[3], 0.0f) << entry.path();
      EXPECT_EQ(KsSensorTable::GetCurrent(), -1) << entry.path();
    }
  }
  EXPECT_GT(files, 20);
}

}  // namespace
