#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/software/screen.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/nodes/geometry/extrusion_node.h"

namespace {

using kstest::Contains;
using kstest::Primitive;
using kstest::Recorded;

class ExtrusionTest : public kstest::RenderTest {
 protected:
  std::vector<Primitive> Frame() {
    Recorded().clear();
    err = Draw();
    return Recorded();
  }
  KsExtrusion* Root() { return static_cast<KsExtrusion*>(scene->GetNode(0)); }
  std::string err;
};

bool Near(const PwVec3& v, float x, float y, float z) {
  return std::fabs(v.x - x) < 1e-5f && std::fabs(v.y - y) < 1e-5f && std::fabs(v.z - z) < 1e-5f;
}

bool Degenerate(const Primitive& p) {
  for (size_t i = 1; i < p.vertices.size(); ++i) {
    const PwVec3& a = p.vertices[0];
    const PwVec3& b = p.vertices[i];
    if (std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z) > 1e-6f) {
      // Not all one point: a quad whose two ends coincide still has area 0.
      return p.vertices.size() == 4 &&
             Near(p.vertices[0], p.vertices[1].x, p.vertices[1].y, p.vertices[1].z);
    }
  }
  return true;
}

TEST_F(ExtrusionTest, MembersAndDefaults) {
  ASSERT_EQ(Read("Extrusion { }"), "");
  KsExtrusion* e = Root();
  EXPECT_STREQ(e->GetClassName(), "KsExtrusion");
  const char* names[] = {"beginCap", "ccw",         "convex", "creaseAngle", "crossSection",
                         "endCap",   "orientation", "scale",  "solid",       "spine"};
  ASSERT_EQ(e->GetMemberCount(), 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_STREQ(e->GetMember(i)->name, names[i]);
    // set_crossSection, set_orientation, set_scale and set_spine.
    const bool takes = i == 4 || i == 6 || i == 7 || i == 9;
    EXPECT_EQ(e->GetMember(i)->noEventIn, takes ? 0 : 1) << i;
    EXPECT_EQ(e->GetMember(i)->noEventOut, 1) << i;
  }
  EXPECT_EQ(e->beginCap.Get(), KS_TRUE);
  EXPECT_EQ(e->endCap.Get(), KS_TRUE);
  EXPECT_EQ(e->ccw.Get(), KS_TRUE);
  EXPECT_EQ(e->convex.Get(), KS_TRUE);
  EXPECT_EQ(e->solid.Get(), KS_TRUE);
  EXPECT_EQ(e->creaseAngle.Get(), 0.0f);
  ASSERT_EQ(e->crossSection.GetCount(), 5);
  EXPECT_EQ(e->crossSection.GetElements()[1].y, -1.0f);
  EXPECT_EQ(e->crossSection.GetElements()[4].x, 1.0f);
  ASSERT_EQ(e->orientation.GetCount(), 1);
  EXPECT_EQ(e->orientation.GetElements()[0].axis.y, 1.0f);
  EXPECT_EQ(e->orientation.GetElements()[0].angle, 0.0f);
  ASSERT_EQ(e->scale.GetCount(), 1);
  EXPECT_EQ(e->scale.GetElements()[0].x, 1.0f);
  ASSERT_EQ(e->spine.GetCount(), 2);
  EXPECT_EQ(e->spine.GetElements()[1].y, 1.0f);
  KsVec3f lo, hi;
  EXPECT_EQ(e->GetBoundingBox(&lo, &hi), 1);

  // The default spine runs up y: each section lies flat at its spine point.
  std::vector<Primitive> p = Frame();
  EXPECT_EQ(err, "");
  ASSERT_EQ(p.size(), 7u);
  for (const PwVec3& v : p[5].vertices) {
    EXPECT_NEAR(v.y, 0.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(v.x), 1.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(v.z), 1.0f, 1e-5f);
  }
  for (const PwVec3& v : p[6].vertices) EXPECT_NEAR(v.y, 1.0f, 1e-5f);
}

TEST_F(ExtrusionTest, StraightSpineAlongZGivesFourSidesAndBothCaps) {
  Read("Extrusion { spine [ 0 0 0, 0 0 1 ] }");
  std::vector<Primitive> p = Frame();
  ASSERT_EQ(p.size(), 7u);  // five quads (the last joins the closing point to itself), two caps
  int sides = 0;
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(p[i].vertices.size(), 4u);
    EXPECT_TRUE(p[i].normals.empty());
    sides += !Degenerate(p[i]);
  }
  EXPECT_EQ(sides, 4);
  // First quad: A[0], A[1], B[1], B[0]; the section's z is the spine's
  // -y, so cross-section (1, 1) stands at y = -1 and (1, -1) at y = 1.
  EXPECT_TRUE(Near(p[0].vertices[0], 1, -1, 0));
  EXPECT_TRUE(Near(p[0].vertices[1], 1, 1, 0));
  EXPECT_TRUE(Near(p[0].vertices[2], 1, 1, -1));
  EXPECT_TRUE(Near(p[0].vertices[3], 1, -1, -1));
  // Begin cap reversed, end cap in cross-section order.
  ASSERT_EQ(p[5].vertices.size(), 5u);
  EXPECT_TRUE(Near(p[5].vertices[1], -1, -1, 0));
  ASSERT_EQ(p[6].vertices.size(), 5u);
  EXPECT_TRUE(Near(p[6].vertices[1], 1, 1, -1));
  EXPECT_TRUE(Near(p[6].vertices[3], -1, -1, -1));
}

TEST_F(ExtrusionTest, SpinesCapsAndDegenerateSegments) {
  struct Case {
    const char* body;
    size_t primitives;
  };
  const Case cases[] = {
      {"spine [ 0 0 0, 0 0 0 ]", 0},
      {"spine [ 0 0 0 ]", 0},
      {"spine [ ]", 0},
      {"spine [ 0 0 0, 1 0 0, 1 1 0, 0 0 0 ]", 17},  // closed: 3 x 5 quads, 2 caps
      {"spine [ 0 0 0, 1 0 0, 1 1 0, 0 0 0 ] beginCap FALSE", 16},
      {"spine [ 0 0 0, 1 0 0, 1 1 0, 0 0 0 ] beginCap FALSE endCap FALSE", 15},
      {"spine [ 0 0 0, 0 0 1, 0 0 1, 0 0 2 ]", 17},  // repeated point: direction kept
      {"spine [ 0 0 0, 0 0 0, 0 0 1 ]", 7},          // starts after the degenerate one
      {"crossSection [ ]", 0},
      {"crossSection [ 0 0, 1 0, 0 1 ]", 5},
  };
  for (const Case& c : cases) {
    Read(std::string("Extrusion { ") + c.body + " }");
    EXPECT_EQ(Frame().size(), c.primitives) << c.body;
    EXPECT_EQ(err, "") << c.body;
  }
  Read("Extrusion { spine [ 0 0 0, 0 0 0, 0 0 1 ] }");
  KsVec3f out[KS_SECTION_CAPACITY];
  int n = -1;
  EXPECT_EQ(Root()->ComputeCrossSection(0, out, KS_SECTION_CAPACITY, &n), 1);
  EXPECT_EQ(Root()->ComputeCrossSection(1, out, KS_SECTION_CAPACITY, &n), 0);
  EXPECT_EQ(n, 5);
  EXPECT_EQ(Root()->ComputeCrossSection(3, out, KS_SECTION_CAPACITY, &n), 1);
  EXPECT_EQ(Root()->ComputeCrossSection(-1, out, KS_SECTION_CAPACITY, &n), 1);
  EXPECT_EQ(Root()->ComputeCrossSection(2, out, 4, &n), 1);  // does not fit
  EXPECT_EQ(n, 0);
}

TEST_F(ExtrusionTest, ScaleListsOfOneAndManyAndIgnoredOrientations) {
  // Half-extent of the begin and end caps along x and y.
  struct Case {
    const char* body;
    float x0, y0, x1, y1;
  };
  const Case cases[] = {
      {"scale [ 2 3 ]", 2, 3, 2, 3},
      {"scale [ 1 1, 2 0.5 ]", 1, 1, 2, 0.5f},
      {"scale [ 3 3, 2 2, 7 7 ]", 3, 3, 2, 2},
      {"scale [ ]", 1, 1, 1, 1},
      {"spine [ 0 0 0, 0 0 1, 0 0 2 ] scale [ 2 2, 3 3 ]", 2, 2, 1, 1},  // past the list: 1
      {"orientation [ 1 0 0 1.57 ]", 1, 1, 1, 1},
      {"orientation [ 1 0 0 1.57, 0 1 0 3 ]", 1, 1, 1, 1},
  };
  for (const Case& c : cases) {
    const std::string body = c.body;
    Read("Extrusion { " +
         (body.find("spine") == std::string::npos ? "spine [ 0 0 0, 0 0 1 ] " : std::string()) +
         body + " }");
    std::vector<Primitive> p = Frame();
    ASSERT_GE(p.size(), 2u) << c.body;
    const Primitive& begin = p[5];
    const Primitive& end = p.back();
    for (const PwVec3& v : begin.vertices) {
      EXPECT_NEAR(std::fabs(v.x), c.x0, 1e-5f) << c.body;
      EXPECT_NEAR(std::fabs(v.y), c.y0, 1e-5f) << c.body;
    }
    for (const PwVec3& v : end.vertices) {
      EXPECT_NEAR(std::fabs(v.x), c.x1, 1e-5f) << c.body;
      EXPECT_NEAR(std::fabs(v.y), c.y1, 1e-5f) << c.body;
    }
  }
}

// The cross-section point (x, z) lies in the plane across the spine: at
// (x, 0, z) for a spine up +y, turned with the spine elsewhere (the shortest
// turn of +y onto its direction), never mirrored.
TEST_F(ExtrusionTest, CrossSectionStandsInTheSpinesXZPlane) {
  struct Case {
    const char* spine;
    float x, y, z;  // where cross-section point (1, 2) lands, scene space
  } cases[] = {
      {"0 0 0, 0 1 0", 1, 0, 2},  {"0 0 0, 0 5 0", 1, 0, 2},  // length does not matter
      {"0 0 0, 0 0 1", 1, -2, 0}, {"0 0 0, 0 0 -1", 1, 2, 0},  {"0 0 0, 1 0 0", 0, -1, 2},
      {"0 0 0, -1 0 0", 0, 1, 2}, {"0 0 0, 0 -1 0", 1, 0, -2},  // half a turn about x
      {"3 4 5, 3 6 5", 4, 4, 7},                                // moved to the spine point
  };
  for (const Case& c : cases) {
    Read(std::string("Extrusion { crossSection [ 1 2, 0 0, 1 0 ] spine [ ") + c.spine + " ] }");
    KsVec3f out[KS_SECTION_CAPACITY];
    int n = 0;
    ASSERT_EQ(Root()->ComputeCrossSection(0, out, KS_SECTION_CAPACITY, &n), 0) << c.spine;
    ASSERT_EQ(n, 3);
    EXPECT_NEAR(out[0].x, c.x, 1e-5f) << c.spine;
    EXPECT_NEAR(out[0].y, c.y, 1e-5f) << c.spine;
    EXPECT_NEAR(out[0].z, c.z, 1e-5f) << c.spine;
  }
  // The drawn extrusion of a cross-section at z +2..+3 stays there (the
  // primitive buffer hands z on negated).
  Read("Extrusion { crossSection [ 0 2, 1 2, 1 3, 0 3, 0 2 ] }");
  std::vector<Primitive> p = Frame();
  ASSERT_EQ(p.size(), 7u);
  for (const Primitive& q : p) {
    for (const PwVec3& v : q.vertices) {
      EXPECT_GE(-v.z, 2.0f - 1e-5f);
      EXPECT_LE(-v.z, 3.0f + 1e-5f);
    }
  }
}

// Newell's normal of a recorded polygon, back in scene space.
KsVec3f SceneNormal(const Primitive& p) {
  KsVec3f n(0, 0, 0);
  const size_t k = p.vertices.size();
  for (size_t i = 0; i < k; ++i) {
    const PwVec3& a = p.vertices[i];
    const PwVec3& b = p.vertices[(i + 1) % k];
    const float az = -a.z, bz = -b.z;
    n.x += (a.y - b.y) * (az + bz);
    n.y += (az - bz) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

// Even-odd test of (x, z) against a closed cross-section.
bool InSection(const std::vector<KsVec2f>& cs, float x, float z) {
  bool in = false;
  for (size_t i = 0, j = cs.size() - 1; i < cs.size(); j = i++) {
    if ((cs[i].y > z) != (cs[j].y > z) &&
        x < (cs[j].x - cs[i].x) * (z - cs[i].y) / (cs[j].y - cs[i].y) + cs[i].x)
      in = !in;
  }
  return in;
}

// Sides face out of the solid and the caps away from it along the spine, for
// a convex and a concave (L-shaped) cross-section, both counter-clockwise
// seen from the spine's direction as VRML's ccw TRUE has them.
TEST_F(ExtrusionTest, SidesAndCapsFaceOutward) {
  const std::vector<std::vector<KsVec2f>> sections = {
      {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}},
      {{0, 0}, {0, -3}, {-1, -3}, {-1, 1}, {2, 1}, {2, 0}},
  };
  for (const auto& cs : sections) {
    std::string text = "Extrusion { spine [ 0 0 0, 0 2 0 ] crossSection [";
    for (const KsVec2f& v : cs) text += " " + std::to_string(v.x) + " " + std::to_string(v.y) + ",";
    text += " " + std::to_string(cs[0].x) + " " + std::to_string(cs[0].y) + " ] }";
    Read(text);
    std::vector<Primitive> p = Frame();
    const size_t sides = cs.size() + 1;
    ASSERT_EQ(p.size(), sides + 2) << text;
    for (size_t i = 0; i < sides; ++i) {
      KsVec3f n = SceneNormal(p[i]);
      if (n.SquaredLength() < 1e-8f) continue;  // the closing point's empty quad
      n.Normalize();
      float x = 0, y = 0, z = 0;
      for (const PwVec3& v : p[i].vertices) {
        x += v.x / 4;
        y += v.y / 4;
        z += -v.z / 4;
      }
      const float e = 0.01f;
      EXPECT_FALSE(InSection(cs, x + e * n.x, z + e * n.z)) << text << " side " << i;
      EXPECT_TRUE(InSection(cs, x - e * n.x, z - e * n.z)) << text << " side " << i;
      EXPECT_NEAR(n.y, 0.0f, 1e-5f);
      EXPECT_GT(y, 0.9f);
    }
    const KsVec3f begin = SceneNormal(p[sides]), end = SceneNormal(p[sides + 1]);
    EXPECT_LT(begin.y, 0.0f) << text;
    EXPECT_GT(end.y, 0.0f) << text;
    // Newell's normal of a plane polygon is its area: the concave cap
    // keeps its own shape (no vertex skipped or moved).
    float area = 0;
    for (size_t i = 0, j = cs.size() - 1; i < cs.size(); j = i++)
      area += cs[j].x * cs[i].y - cs[i].x * cs[j].y;
    EXPECT_NEAR(end.y, std::fabs(area), 1e-4f) << text;
    for (const PwVec3& v : p[sides].vertices) EXPECT_NEAR(v.y, 0.0f, 1e-5f);
    for (const PwVec3& v : p[sides + 1].vertices) EXPECT_NEAR(v.y, 2.0f, 1e-5f);
  }
}

TEST_F(ExtrusionTest, BrokenInputsDrawNothingAndLongSpinesStayLinear) {
  std::string many = "Extrusion { crossSection [";
  for (int i = 0; i < KS_SECTION_CAPACITY + 1; ++i) many += " 0 " + std::to_string(i);
  many += " ] spine [ 0 0 0, 0 0 1 ] }";
  Read(many);
  // The first KS_SECTION_CAPACITY points are drawn: a quad each, closed
  // from the last of them back to the first, and the two caps.
  std::vector<Primitive> drawn = Frame();
  EXPECT_EQ(err, "");
  ASSERT_EQ(drawn.size(), static_cast<size_t>(KS_SECTION_CAPACITY + 2));
  // The section lies in the spine's x-z plane, turned onto the +z spine:
  // its point (0, i) lands at y = -i (up to the rotation's rounding).
  auto at = [](const PwVec3& v, float y, float z) {
    return std::fabs(v.x) < 1e-3f && std::fabs(v.y - y) < 1e-3f && std::fabs(v.z - z) < 1e-3f;
  };
  const float last = -(KS_SECTION_CAPACITY - 1);
  bool closes = false;
  for (const Primitive& q : drawn)
    if (q.vertices.size() == 4 && at(q.vertices[0], last, 0) && at(q.vertices[1], 0, 0) &&
        at(q.vertices[2], 0, -1) && at(q.vertices[3], last, -1))
      closes = true;
  EXPECT_TRUE(closes);
  Read("Extrusion { crossSection [ 1 0 ] spine [ 0 0 0, 0 0 1 ] }");
  EXPECT_EQ(Frame().size(), 1u);  // one point: one quad, no caps

  // Spine points looked at while drawing: at most two per point, however
  // long the runs without a direction of their own. First a step then a
  // long run that borrows its direction: 3 quads per segment.
  Read("Extrusion { crossSection [ 1 0, 0 1, 0 0 ] }");
  const int m = 20000;
  std::vector<KsVec3f> borrowed(m + 1, KsVec3f(0, 0, 1));
  borrowed[0] = KsVec3f(0, 0, 0);
  ASSERT_EQ(Root()->spine.Set(m + 1, borrowed.data()), 0);
  long long steps = KsDrawSteps();
  EXPECT_EQ(Frame().size(), static_cast<size_t>(3 * m + 2));
  ASSERT_LE(KsDrawSteps() - steps, 2LL * m);
  // A spine of one repeated point and then a step: only the last segment
  // draws, found without looking back from every point.
  const int n = 200000;
  std::vector<KsVec3f> spine(n + 1, KsVec3f(0, 0, 0));
  spine[n] = KsVec3f(0, 0, 1);
  ASSERT_EQ(Root()->spine.Set(n + 1, spine.data()), 0);
  steps = KsDrawSteps();
  EXPECT_EQ(Frame().size(), 5u);
  EXPECT_LE(KsDrawSteps() - steps, 2LL * n);
}

class ExtrusionPictureTest : public ExtrusionTest {};

TEST_F(ExtrusionPictureTest, SweptSquareInViewAndFarOutsideStayInTheBuffer) {
  const char* scenes[] = {
      "Transform { translation 0 0 -6 children Shape {"
      " appearance Appearance { material Material { diffuseColor 1 0 0 } }"
      " geometry Extrusion { spine [ 0 -1 0, 0 1 0 ] } } }",
      "Shape { geometry Extrusion { spine [ 0 0 0, 1e30 -1e30 1e30, 0 0 -1e30 ]"
      " scale [ 1e30 1e30 ] } }",
  };
  for (const char* s : scenes) {
    Read(s);
    PwScreenClear();
    const unsigned int background = surface.At(0, 0);
    PwPose zero = {};
    PwSetEye(&zero);
    Draw();
    PwFlushSorted();
    int drawn = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x) drawn += surface.At(x, y) != background;
    if (s == scenes[0]) {
      EXPECT_GT(drawn, 0);
    }
    EXPECT_TRUE(surface.Intact());
  }
}

}  // namespace
