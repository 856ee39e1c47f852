#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/software/screen.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/nodes/geometry/elevation_grid_node.h"

namespace {

using kstest::Contains;
using kstest::Primitive;
using kstest::Recorded;

class GridTest : public kstest::RenderTest {
 protected:
  std::vector<Primitive> Frame() {
    Recorded().clear();
    err = Draw();
    return Recorded();
  }
  std::string err;
};

bool Near(const PwVec3& v, float x, float y, float z) {
  return std::fabs(v.x - x) < 1e-5f && std::fabs(v.y - y) < 1e-5f && std::fabs(v.z - z) < 1e-5f;
}

const PwColor kRed = {0, 255, 0};
const PwColor kGreen = {255, 0, 0};
const PwColor kBlue = {0, 0, 255};
const PwColor kWhite = {255, 255, 255};

bool Same(PwColor a, PwColor b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

TEST_F(GridTest, MembersAndDefaults) {
  ASSERT_EQ(Read("ElevationGrid { }"), "");
  KsNode* node = scene->GetNode(0);
  EXPECT_STREQ(node->GetClassName(), "KsElevationGrid");
  const char* names[] = {"color",          "normal",      "texCoord",        "height",
                         "colorPerVertex", "creaseAngle", "normalPerVertex", "solid",
                         "xDimension",     "xSpacing",    "zDimension",      "zSpacing"};
  ASSERT_EQ(node->GetMemberCount(), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_STREQ(node->GetMember(i)->name, names[i]);
    // height is a field with an event-in of its own (set_height).
    EXPECT_EQ(node->GetMember(i)->noEventIn, i < 4 ? 0 : 1) << i;
    EXPECT_EQ(node->GetMember(i)->noEventOut, i < 3 ? 0 : 1) << i;
  }
  auto* g = static_cast<KsElevationGrid*>(node);
  EXPECT_EQ(g->colorPerVertex.Get(), KS_TRUE);
  EXPECT_EQ(g->normalPerVertex.Get(), KS_TRUE);
  EXPECT_EQ(g->solid.Get(), KS_TRUE);
  EXPECT_EQ(g->xDimension.Get(), 0);
  EXPECT_EQ(g->zDimension.Get(), 0);
  EXPECT_EQ(g->xSpacing.Get(), 0.0f);
  EXPECT_EQ(g->height.GetCount(), 0);
  KsVec3f lo, hi;
  EXPECT_EQ(node->GetBoundingBox(&lo, &hi), 1);
  EXPECT_TRUE(Frame().empty());
  EXPECT_EQ(err, "");
}

TEST_F(GridTest, ThreeByTwoGivesFourTrianglesWithTheirHeights) {
  Read(
      "ElevationGrid { xDimension 3 zDimension 2 xSpacing 1 zSpacing 2"
      " height [ 0 1 2 3 4 5 ] }");
  std::vector<Primitive> p = Frame();
  EXPECT_EQ(err, "");
  ASSERT_EQ(p.size(), 4u);
  for (const Primitive& t : p) {
    EXPECT_EQ(t.mode, KS_PRIMITIVE_POLYGON);
    ASSERT_EQ(t.vertices.size(), 3u);
    EXPECT_TRUE(t.normals.empty());  // two-sided
  }
  // Cell (0, 0): corners 1, 2, 4 then 2, 3, 4; z is negated on the way.
  EXPECT_TRUE(Near(p[0].vertices[0], 0, 0, 0));
  EXPECT_TRUE(Near(p[0].vertices[1], 1, 1, 0));
  EXPECT_TRUE(Near(p[0].vertices[2], 0, 3, -2));
  EXPECT_TRUE(Near(p[1].vertices[0], 1, 1, 0));
  EXPECT_TRUE(Near(p[1].vertices[1], 1, 4, -2));
  EXPECT_TRUE(Near(p[1].vertices[2], 0, 3, -2));
  // Vertex (2, 1) has the last height.
  EXPECT_TRUE(Near(p[3].vertices[1], 2, 5, -2));
}

TEST_F(GridTest, ColoursPerVertexAndPerCell) {
  const char* colours = "color Color { color [ 1 0 0, 0 1 0, 0 0 1, 1 1 1, 1 0 0, 0 1 0 ] }";
  Read(std::string("Shape { appearance Appearance { material Material { diffuseColor 0 0 1 } }"
                   " geometry ElevationGrid { xDimension 3 zDimension 2 height [ 0 0 0 0 0 0 ] ") +
       colours + " } }");
  std::vector<Primitive> p = Frame();
  ASSERT_EQ(p.size(), 4u);
  // One colour per primitive: the one set before its last vertex, (i, j + 1).
  EXPECT_TRUE(Same(p[0].colour, kWhite));
  EXPECT_TRUE(Same(p[1].colour, kWhite));
  EXPECT_TRUE(Same(p[2].colour, kRed));

  Read(std::string("ElevationGrid { xDimension 3 zDimension 2 colorPerVertex FALSE"
                   " height [ 0 0 0 0 0 0 ] ") +
       colours + " }");
  p = Frame();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_TRUE(Same(p[0].colour, kRed));
  EXPECT_TRUE(Same(p[1].colour, kRed));
  EXPECT_TRUE(Same(p[2].colour, kGreen));
  EXPECT_TRUE(Same(p[3].colour, kGreen));

  // A missing entry keeps the colour current (the previous cell's); a node
  // that is not Color leaves the material's.
  const struct {
    const char* colour;
    PwColor expect;
  } others[] = {{"color Color { color [ 1 0 0 ] }", kRed},
                {"color Coordinate { point [ 1 0 0 ] }", kBlue}};
  for (const auto& other : others) {
    Read(std::string("Shape { appearance Appearance { material Material { diffuseColor 0 0 1 } }"
                     " geometry ElevationGrid { xDimension 3 zDimension 2 colorPerVertex FALSE"
                     " height [ 0 0 0 0 0 0 ] ") +
         other.colour + " } }");
    p = Frame();
    ASSERT_EQ(p.size(), 4u) << other.colour;
    for (const Primitive& t : p) EXPECT_TRUE(Same(t.colour, other.expect)) << other.colour;
    EXPECT_EQ(err, "") << other.colour;
  }
}

TEST_F(GridTest, HeightCountsThatDoNotMatchTheDimensions) {
  struct Case {
    const char* text;
    size_t triangles;
    bool reported;
  };
  const Case cases[] = {
      {"ElevationGrid { xDimension 3 zDimension 2 height [ 0 1 2 3 4 ] }", 2, true},
      {"ElevationGrid { xDimension 3 zDimension 2 height [ 0 1 2 3 4 5 6 7 ] }", 4, false},
      {"ElevationGrid { xDimension 3 zDimension 3 height [ 0 1 2 3 4 5 ] }", 4, true},
      {"ElevationGrid { xDimension 3 zDimension 2 }", 0, true},
      {"ElevationGrid { xDimension 1 zDimension 5 height [ 0 1 2 3 4 ] }", 0, false},
      {"ElevationGrid { xDimension 5 zDimension 1 height [ 0 1 2 3 4 ] }", 0, false},
      {"ElevationGrid { xDimension -3 zDimension -2 height [ 0 1 2 3 4 5 ] }", 0, false},
  };
  for (const Case& c : cases) {
    Read(c.text);
    EXPECT_EQ(Frame().size(), c.triangles) << c.text;
    EXPECT_EQ(Contains(err, "Index Out Of Range."), c.reported) << c.text << err;
  }
}

// Dimensions whose product overflows an int cost only what the height list
// holds, and are reported once.
TEST_F(GridTest, HugeDimensionsDrawOnlyWhatTheHeightsCover) {
  // Cells looked at by one frame: no more than the heights given.
  long long steps = KsDrawSteps();
  auto cells = [&steps]() {
    const long long n = KsDrawSteps() - steps;
    steps = KsDrawSteps();
    return n;
  };
  // First the one whose walk past the heights would still end.
  Read("ElevationGrid { xDimension 2 zDimension 2147483647 height [ 0 1 2 3 4 5 ] }");
  cells();
  EXPECT_EQ(Frame().size(), 4u);
  ASSERT_LE(cells(), 6);
  Read("ElevationGrid { xDimension 2147483647 zDimension 2147483647 height [ 0 1 2 3 ] }");
  cells();
  EXPECT_TRUE(Frame().empty());
  EXPECT_LE(cells(), 4);
  EXPECT_TRUE(Contains(err, "Index Out Of Range."));
  EXPECT_EQ(err.find("Index Out Of Range."), err.rfind("Index Out Of Range."));
  Read("ElevationGrid { xDimension 1000000 zDimension 1000000 height [ 0 1 2 ] }");
  cells();
  EXPECT_TRUE(Frame().empty());
  EXPECT_LE(cells(), 3);
}

class GridPictureTest : public GridTest {};

TEST_F(GridPictureTest, GridsInViewAndFarOutsideStayInTheBuffer) {
  const char* scenes[] = {
      "Transform { translation -2 -1 -6 children Shape {"
      " appearance Appearance { material Material { diffuseColor 1 0 0 } } geometry ElevationGrid {"
      " xDimension 5 zDimension 5 xSpacing 1 zSpacing 1"
      " height [ 0 0 0 0 0 0 1 1 1 0 0 1 2 1 0 0 1 1 1 0 0 0 0 0 0 ] } } }",
      "Shape { geometry ElevationGrid { xDimension 3 zDimension 3 xSpacing 1e30 zSpacing -1e30"
      " height [ 0 1e30 0 -1e30 0 1e30 0 -1e30 0 ] } }",
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
