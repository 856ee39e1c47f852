#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/software/screen.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/geometry/point_line_face_sets.h"
#include "scenegraph/nodes/geometry/property_nodes.h"

namespace {

using kstest::Contains;
using kstest::Primitive;
using kstest::Recorded;

// The cube spanning -1..1, its faces counter-clockwise seen from outside.
const char kCubePoints[] =
    "coord Coordinate { point [ -1 -1 1, 1 -1 1, 1 1 1, -1 1 1,"
    " -1 -1 -1, 1 -1 -1, 1 1 -1, -1 1 -1 ] }";
const char kCubeIndex[] =
    "coordIndex [ 0 1 2 3 -1 5 4 7 6 -1 1 5 6 2 -1 4 0 3 7 -1 3 2 6 7 -1 4 5 1 0 -1 ]";

class SetsTest : public kstest::RenderTest {
 protected:
  // One frame of the scene; what the walk printed goes to err.
  std::vector<Primitive> Frame() {
    Recorded().clear();
    err = Draw();
    return Recorded();
  }
  template <class T>
  T* Root(int i = 0) {
    return static_cast<T*>(scene->GetNode(i));
  }
  std::string err;
};

bool Near(const PwVec3& v, float x, float y, float z) {
  return std::fabs(v.x - x) < 1e-5f && std::fabs(v.y - y) < 1e-5f && std::fabs(v.z - z) < 1e-5f;
}

bool SameColour(PwColor a, PwColor b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST_F(SetsTest, MembersDefaultsBoxesAndDuplication) {
  ASSERT_EQ(Read("PointSet { } IndexedLineSet { } IndexedFaceSet { }"), "");
  struct Expect {
    const char* names[14];
    int count;
    int exposed;  // the first members accept events, the rest are fields
  };
  const Expect expect[3] = {
      {{"color", "coord"}, 2, 2},
      {{"color", "coord", "colorIndex", "colorPerVertex", "coordIndex"}, 5, 2},
      {{"color", "coord", "normal", "texCoord", "ccw", "colorIndex", "colorPerVertex", "convex",
        "coordIndex", "creaseAngle", "normalIndex", "normalPerVertex", "solid", "texCoordIndex"},
       14,
       4},
  };
  const char* classes[3] = {"KsPointSet", "KsIndexedLineSet", "KsIndexedFaceSet"};
  for (int c = 0; c < 3; ++c) {
    KsNode* node = scene->GetNode(c);
    SCOPED_TRACE(classes[c]);
    EXPECT_STREQ(node->GetClassName(), classes[c]);
    ASSERT_EQ(node->GetMemberCount(), expect[c].count);
    for (int i = 0; i < expect[c].count; ++i) {
      EXPECT_STREQ(node->GetMember(i)->name, expect[c].names[i]);
      // The index lists are fields with event-ins of their own.
      const std::string name = expect[c].names[i];
      const bool index = name.size() > 5 && name.compare(name.size() - 5, 5, "Index") == 0;
      EXPECT_EQ(node->GetMember(i)->noEventIn, i < expect[c].exposed || index ? 0 : 1) << i;
      EXPECT_EQ(node->GetMember(i)->noEventOut, i < expect[c].exposed ? 0 : 1) << i;
    }
    KsVec3f lo, hi;
    EXPECT_EQ(node->GetBoundingBox(&lo, &hi), 1);  // no coordinate node
  }
  auto* lines = Root<KsIndexedLineSet>(1);
  EXPECT_EQ(lines->colorPerVertex.Get(), KS_TRUE);
  EXPECT_EQ(lines->coordIndex.GetCount(), 0);
  auto* faces = Root<KsIndexedFaceSet>(2);
  EXPECT_EQ(faces->ccw.Get(), KS_TRUE);
  EXPECT_EQ(faces->colorPerVertex.Get(), KS_TRUE);
  EXPECT_EQ(faces->convex.Get(), KS_TRUE);
  EXPECT_EQ(faces->creaseAngle.Get(), 0.0f);
  EXPECT_EQ(faces->normalPerVertex.Get(), KS_TRUE);
  EXPECT_EQ(faces->solid.Get(), KS_TRUE);
  EXPECT_EQ(faces->color.Get(), nullptr);
  EXPECT_EQ(faces->texCoord.Get(), nullptr);
  EXPECT_EQ(Frame().size(), 0u);  // nothing to draw, nothing to say
  EXPECT_EQ(err, "");

  // The coordinate node's box, and a copy that keeps every value.
  Read(std::string("IndexedFaceSet { ") + kCubePoints +
       " ccw FALSE solid FALSE creaseAngle 0.5 coordIndex [0 1 2 -1] }"
       " PointSet { coord Coordinate { point [1 2 3, -1 5 0] } }"
       " IndexedLineSet { coord Coordinate { } }");
  KsVec3f lo, hi;
  ASSERT_EQ(scene->GetNode(0)->GetBoundingBox(&lo, &hi), 0);
  EXPECT_EQ(lo.x, -1.0f);
  EXPECT_EQ(hi.z, 1.0f);
  ASSERT_EQ(scene->GetNode(1)->GetBoundingBox(&lo, &hi), 0);
  EXPECT_EQ(lo.x, -1.0f);
  EXPECT_EQ(lo.y, 2.0f);
  EXPECT_EQ(hi.y, 5.0f);
  EXPECT_EQ(hi.z, 3.0f);
  EXPECT_EQ(scene->GetNode(2)->GetBoundingBox(&lo, &hi), 1);  // empty coordinate node
  KsNode* copy = scene->GetNode(0)->Duplicate();
  ASSERT_NE(copy, nullptr);
  copy->Ref();
  auto* f = static_cast<KsIndexedFaceSet*>(copy);
  EXPECT_STREQ(copy->GetClassName(), "KsIndexedFaceSet");
  EXPECT_EQ(f->ccw.Get(), KS_FALSE);
  EXPECT_EQ(f->solid.Get(), KS_FALSE);
  EXPECT_EQ(f->creaseAngle.Get(), 0.5f);
  EXPECT_EQ(f->coordIndex.GetCount(), 4);
  ASSERT_NE(f->coord.Get(), nullptr);
  Recorded().clear();
  KsTraverseNode(copy, nullptr);
  EXPECT_EQ(Recorded().size(), 1u);
  copy->Unref();
}

TEST_F(SetsTest, CubeFacesReachTheBufferWithComputedCornerNormals) {
  Read(std::string("IndexedFaceSet { ") + kCubePoints + " " + kCubeIndex + " }");
  auto* cube = Root<KsIndexedFaceSet>();
  for (int frame = 0; frame < 2; ++frame) {
    const auto prims = Frame();
    EXPECT_EQ(err, "");
    ASSERT_EQ(prims.size(), 6u) << frame;
    for (const Primitive& p : prims) {
      EXPECT_EQ(p.mode, KS_PRIMITIVE_POLYGON);
      ASSERT_EQ(p.vertices.size(), 4u);
      ASSERT_EQ(p.normals.size(), 4u);  // smooth
      PwVec3 c = {0, 0, 0};
      for (const PwVec3& v : p.vertices) {
        EXPECT_EQ(std::fabs(v.x) + std::fabs(v.y) + std::fabs(v.z), 3.0f);
        c.x += v.x / 4;
        c.y += v.y / 4;
        c.z += v.z / 4;
      }
      // Edges of length 2: each corner's cross product is 4 times the
      // outward normal, given back with z negated like the vertices.
      for (const PwVec3& n : p.normals) EXPECT_TRUE(Near(n, 4 * c.x, 4 * c.y, 4 * c.z));
    }
    // Front face: (-1 -1 1) (1 -1 1) (1 1 1) (-1 1 1), z negated.
    EXPECT_TRUE(Near(prims[0].vertices[0], -1, -1, -1));
    EXPECT_TRUE(Near(prims[0].vertices[2], 1, 1, -1));
    EXPECT_TRUE(Near(prims[0].normals[0], 0, 0, -4));
  }
  EXPECT_EQ(cube->GetCornerNormalCount(), cube->coordIndex.GetCount());
}

TEST_F(SetsTest, ShortCornerNormalsAreKeptForLaterFrames) {
  // Legs of 0.5: cross products of squared length 0.0625.
  Read(
      "IndexedFaceSet { coord Coordinate { point [0 0 0, 0.5 0 0, 0 0.5 0] }"
      " coordIndex [0 1 2 -1] }");
  auto first = Frame();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].normals.size(), 0u);  // drawn two-sided
  auto later = Frame();
  ASSERT_EQ(later.size(), 1u);
  ASSERT_EQ(later[0].normals.size(), 3u);
  for (const PwVec3& n : later[0].normals) EXPECT_TRUE(Near(n, 0, 0, -0.25f));

  // Two triangles sharing an edge; new points alone keep the stored
  // normals, a change of the node's own member computes them again.
  Read(
      "IndexedFaceSet { coord DEF C Coordinate { point [0 0 0, 2 0 0, 2 2 0, 0 2 0] }"
      " coordIndex [0 1 2 -1 2 3 0 -1] }");
  auto* faces = Root<KsIndexedFaceSet>();
  auto two = Frame();
  ASSERT_EQ(two.size(), 2u);
  for (const Primitive& p : two) {
    ASSERT_EQ(p.vertices.size(), 3u);
    ASSERT_EQ(p.normals.size(), 3u);
    for (const PwVec3& n : p.normals) EXPECT_TRUE(Near(n, 0, 0, -4));
  }
  auto* coord = static_cast<KsCoordinate*>(faces->coord.Get());
  const KsVec3f tilted[4] = {{0, 0, 0}, {2, 0, 0}, {2, 0, 2}, {0, 0, 2}};
  coord->point.Set(4, tilted);
  auto kept = Frame();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_TRUE(Near(kept[0].normals[0], 0, 0, -4));
  EXPECT_TRUE(Near(kept[0].vertices[2], 2, 0, -2));
  const int index[4] = {0, 1, 2, -1};
  faces->coordIndex.Set(4, index);
  auto fresh = Frame();
  ASSERT_EQ(fresh.size(), 1u);
  ASSERT_EQ(fresh[0].normals.size(), 3u);
  // (2 0 0) x (0 0 2) = (0 -4 0).
  EXPECT_TRUE(Near(fresh[0].normals[1], 0, -4, 0));
  EXPECT_EQ(faces->GetCornerNormalCount(), 4);
}

TEST_F(SetsTest, GivenNormalsPerVertexPerFaceAndIndexed) {
  const std::string square =
      "coord Coordinate { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] } coordIndex [0 1 2 3 -1 0 1 2 -1]";
  const std::string normals = " normal Normal { vector [1 0 0, 0 1 0, 0 0 1, 0 0 -1] }";
  struct Case {
    const char* extra;
    int counts[2];      // normals reaching the buffer per face
    float first[2][3];  // first normal of each face, as handed on
  };
  const Case cases[] = {
      // Per vertex through the coordinate indices.
      {"", {4, 3}, {{1, 0, 0}, {1, 0, 0}}},
      // Per vertex indexed; repeated entries are added once.
      {"normalIndex [2 2 2 2 -1 0 1 1 -1]", {1, 2}, {{0, 0, -1}, {1, 0, 0}}},
      // Per face: one face normal each, the face number or its index.
      {"normalPerVertex FALSE", {1, 1}, {{1, 0, 0}, {0, 1, 0}}},
      {"normalPerVertex FALSE normalIndex [3 2]", {1, 1}, {{0, 0, 1}, {0, 0, -1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extra);
    Read("IndexedFaceSet { " + square + normals + " " + c.extra + " }");
    auto prims = Frame();
    EXPECT_EQ(err, "");
    ASSERT_EQ(prims.size(), 2u);
    for (int f = 0; f < 2; ++f) {
      ASSERT_EQ(prims[f].normals.size(), static_cast<size_t>(c.counts[f]));
      EXPECT_TRUE(Near(prims[f].normals[0], c.first[f][0], c.first[f][1], c.first[f][2]));
    }
    EXPECT_EQ(Root<KsIndexedFaceSet>()->GetCornerNormals(), nullptr);
  }
}

TEST_F(SetsTest, ColoursPerVertexPerFaceAndIndexed) {
  const std::string tris =
      "coord Coordinate { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] } coordIndex [0 1 2 -1 0 2 3 -1]"
      " color Color { color [1 0 0, 0 1 0, 0 0 1, 1 1 1] }";
  const PwColor red{0, 255, 0}, green{255, 0, 0}, blue{0, 0, 255}, white{255, 255, 255};
  struct Case {
    const char* extra;
    PwColor colours[2];
  };
  // The colour current at the end of a face, that of its last corner, is
  // the face's.
  const Case cases[] = {
      {"", {blue, white}},
      {"colorIndex [3 2 1 -1 0 0 0 -1]", {green, red}},
      {"colorPerVertex FALSE", {red, green}},
      {"colorPerVertex FALSE colorIndex [2 3]", {blue, white}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extra);
    Read("IndexedFaceSet { " + tris + " " + c.extra + " }");
    auto prims = Frame();
    EXPECT_EQ(err, "");
    ASSERT_EQ(prims.size(), 2u);
    for (int f = 0; f < 2; ++f) {
      EXPECT_TRUE(SameColour(prims[f].colour, c.colours[f])) << f;
      EXPECT_EQ(prims[f].normals.size(), 0u);  // coloured corners get no normals
    }
  }
  // Without a colour node the shape's material colours every face.
  Read(
      "Shape { appearance Appearance { material Material { diffuseColor 0 1 0 } }"
      " geometry IndexedFaceSet { coord Coordinate { point [0 0 0, 1 0 0, 1 1 0] }"
      " coordIndex [0 1 2] } }");
  auto prims = Frame();
  ASSERT_EQ(prims.size(), 1u);
  EXPECT_TRUE(SameColour(prims[0].colour, green));
  EXPECT_EQ(prims[0].normals.size(), 3u);
}

TEST_F(SetsTest, BrokenIndicesSkipOnlyTheirFace) {
  const std::string base =
      "coord Coordinate { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] }"
      " color Color { color [1 0 0, 0 1 0] } normal Normal { vector [0 0 1] }"
      " texCoord TextureCoordinate { point [0 0, 1 0, 1 1, 0 1] } ";
  struct Case {
    const char* fields;
    int drawn;
    const char* message;  // part of what is printed, or "" for nothing
  };
  const Case cases[] = {
      {"coordIndex [0 1 2 -1] colorIndex [0 0 0] normalIndex [0 0 0]", 1, ""},
      {"coordIndex [0 1 9 -1 0 1 2 -1] colorIndex [0 0 0 0 0 0 0 0] normalIndex [0 0 0 0 0 0 0 0]",
       1, "KsMFVec3f::Get()\n  Index Out Of Range.\n  Requested 9\n  Maximum   4\n"},
      {"coordIndex [0 1 2 -1] colorIndex [0 5 0] normalIndex [0 0 0]", 0,
       "KsMFColor::Get()\n  Index Out Of Range.\n  Requested 5\n"},
      {"coordIndex [0 1 2 -1] colorIndex [0 0] normalIndex [0 0 0]", 0,
       "KsMFInt::Get()\n  Index Out Of Range.\n  Requested 2\n"},
      {"coordIndex [0 1 2 -1] colorIndex [0 0 0] normalIndex [0 -7 0]", 0,
       "KsMFVec3f::Get()\n  Index Out Of Range.\n  Requested -7\n"},
      {"coordIndex [0 1 2 -1] colorIndex [0 0 0] normalIndex [0 0 0] texCoordIndex [0 1 4]", 0,
       "KsMFVec2f::Get()\n  Index Out Of Range.\n  Requested 4\n"},
      // A negative index other than -1 fails its face; the walk goes on
      // after it.
      {"coordIndex [0 1 -2 1 2 3 -1] colorIndex [0 0 0 0 0 0 0] normalIndex [0 0 0 0 0 0 0]", 1,
       "Requested -2"},
      {"coordIndex [-1 -1 0 1 2 -1 -1] colorPerVertex FALSE colorIndex [1] normalPerVertex FALSE",
       1, ""},
      {"coordIndex [0 1 2 -5] colorIndex [0 0 0 0] normalIndex [0 0 0 0]", 0, "Requested -5"},
      {"coordIndex [0 1 2 -1 1 2 3] colorPerVertex FALSE colorIndex [1]"
       " normalPerVertex FALSE normalIndex [0 0]",
       1, "KsMFInt::Get()\n  Index Out Of Range.\n  Requested 1\n"},
      {"coordIndex [2147483647 0 1] colorIndex [0 0 0] normalIndex [0 0 0]", 0,
       "Requested 2147483647"},
      {"coordIndex [-2147483648 0 1 2] colorIndex [0 0 0 0] normalIndex [0 0 0 0]", 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    Read("IndexedFaceSet { " + base + c.fields + " }");
    ASSERT_EQ(scene->GetNodeCount(), 1);
    EXPECT_EQ(Frame().size(), static_cast<size_t>(c.drawn));
    if (*c.message == '\0')
      EXPECT_EQ(err, "");
    else
      EXPECT_TRUE(Contains(err, c.message)) << err;
  }
}

TEST_F(SetsTest, EmptyListsAndMissingCoordinates) {
  struct Case {
    const char* text;
    const char* err;
  };
  const Case cases[] = {
      {"IndexedFaceSet { coord Coordinate { point [0 0 0] } }", ""},
      {"IndexedFaceSet { coord Coordinate { point [0 0 0] } coordIndex [-1 -1 -1] }", ""},
      {"IndexedFaceSet { coordIndex [] }", ""},
      {"IndexedLineSet { coord Coordinate { point [0 0 0] } coordIndex [] }", ""},
      {"IndexedFaceSet { coord Coordinate { } coordIndex [0 1 2] }",
       "KsMFVec3f::Get()\n  Index Out Of Range.\n  Requested 0\n  Maximum   0\n"},
      // Without a coordinate node every face or polyline says so.
      {"IndexedFaceSet { coordIndex [0 1 2 -1 0 2 3] }",
       "KsIndexedFaceSet::GetSegment()\n  Coordinate must be specified.\n"
       "KsIndexedFaceSet::GetSegment()\n  Coordinate must be specified.\n"},
      {"IndexedLineSet { coordIndex [0 1 -1 -1 2 3 -1] }",
       "KsIndexedLineSet::GetSegment()\n  No Coordinate is specified.\n"
       "KsIndexedLineSet::GetSegment()\n  No Coordinate is specified.\n"},
      {"PointSet { color Color { color [1 0 0] } }", ""},
      {"PointSet { coord Coordinate { } }", ""},
      {"IndexedFaceSet { coord Coordinate { point [0 0 0, 1 0 0, 1 1 0] } coordIndex [0 1 2]"
       " color Color { } }",
       "KsMFColor::Get()\n  Index Out Of Range.\n  Requested 0\n  Maximum   0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Read(c.text);
    ASSERT_EQ(scene->GetNodeCount(), 1);
    EXPECT_EQ(Frame().size(), 0u);
    EXPECT_EQ(err, c.err);
  }
}

TEST_F(SetsTest, LongFaceKeepsEveryCornerAndTheNextFaceFollows) {
  std::string text = "IndexedFaceSet { coord Coordinate { point [";
  for (int i = 0; i < 300; ++i) {
    const double a = 2 * 3.14159265358979 * i / 300;
    text += std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " 0, ";
  }
  text += "] } coordIndex [";
  for (int i = 0; i < 300; ++i) text += std::to_string(i) + " ";
  text += "-1 0 100 200 -1 ] }";
  Read(text);
  auto* face = Root<KsIndexedFaceSet>();
  const KsMFVec3f& points = static_cast<KsCoordinate*>(face->coord.Get())->point;
  for (int frame = 0; frame < 2; ++frame) {
    auto prims = Frame();
    ASSERT_EQ(prims.size(), 2u);
    ASSERT_EQ(prims[0].vertices.size(), 300u);
    for (int e = 0; e < 300; ++e) {
      const KsVec3f& p = points.GetElements()[e];
      ASSERT_TRUE(Near(prims[0].vertices[e], p.x, p.y, -p.z)) << e;
    }
    ASSERT_EQ(prims[1].vertices.size(), 3u);
    EXPECT_TRUE(
        Near(prims[1].vertices[1], points.GetElements()[100].x, points.GetElements()[100].y, 0));
  }

  int starts[KS_SEGMENT_CAPACITY];
  int count = -1;
  EXPECT_EQ(face->GetNumSegment(starts, &count), 0);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(starts[0], 0);
  EXPECT_EQ(starts[1], 301);
}

TEST_F(SetsTest, SegmentStartsAreListedUpToTheirCapacity) {
  Read("IndexedLineSet { coordIndex [0] } IndexedLineSet { coordIndex [-1 0 1 -1 -1 2 -1 3] }");
  int starts[KS_SEGMENT_CAPACITY];
  int count = -1;
  EXPECT_EQ(Root<KsIndexedLineSet>(0)->GetNumSegment(starts, &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Root<KsIndexedLineSet>(1)->GetNumSegment(starts, &count), 0);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(starts[0], 1);
  EXPECT_EQ(starts[1], 5);
  EXPECT_EQ(starts[2], 7);

  std::string text = "IndexedFaceSet { coordIndex [";
  for (int i = 0; i < 300; ++i) text += "0 -1 ";
  Read(text + "] }");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Root<KsIndexedFaceSet>()->GetNumSegment(starts, &count), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsIndexedFaceSet::GetNumSegment()\n  Too Many Segments.\n");
  EXPECT_EQ(count, KS_SEGMENT_CAPACITY);
  EXPECT_EQ(starts[255], 510);
}

TEST_F(SetsTest, ConcaveFacesAndUnusedFlagsGiveTheSamePolygon) {
  // A U: its notch is part of no polygon, so the face goes on whole.
  const std::string u =
      "coord Coordinate { point [-1 -1 0, 1 -1 0, 1 1 0, 0.5 1 0, 0.5 -0.5 0,"
      " -0.5 -0.5 0, -0.5 1 0, -1 1 0] } coordIndex [0 1 2 3 4 5 6 7 -1]";
  std::vector<Primitive> reference;
  for (const char* flags : {"", "convex FALSE", "ccw FALSE", "solid FALSE",
                            "ccw FALSE solid FALSE convex FALSE creaseAngle 3"}) {
    SCOPED_TRACE(flags);
    Read("IndexedFaceSet { " + u + " " + flags + " }");
    auto prims = Frame();
    ASSERT_EQ(prims.size(), 1u);
    ASSERT_EQ(prims[0].vertices.size(), 8u);
    EXPECT_TRUE(Near(prims[0].vertices[4], 0.5f, -0.5f, 0));
    if (reference.empty()) {
      reference = prims;
      continue;
    }
    ASSERT_EQ(prims[0].normals.size(), reference[0].normals.size());
    for (size_t i = 0; i < prims[0].normals.size(); ++i) {
      EXPECT_TRUE(Near(prims[0].normals[i], reference[0].normals[i].x, reference[0].normals[i].y,
                       reference[0].normals[i].z));
    }
  }
}

// An L with thin arms listed from its reflex corner, whose cross product is
// the first long enough to be drawn.
const char kThinL[] =
    "IndexedFaceSet { coord Coordinate { point [0 0 0, 0 2 0, -0.3 2 0, -0.3 -0.3 0,"
    " 2 -0.3 0, 2 0 0] } coordIndex [0 1 2 3 4 5 -1] }";

TEST_F(SetsTest, ReflexCornerNormalsFaceTheFront) {
  Read(kThinL);
  auto prims = Frame();
  ASSERT_EQ(prims.size(), 1u);
  // Corners 0 and 3 only; one-sided, so the first must face the viewer
  // (the scene's +z, handed on as -z) or the face would be culled.
  ASSERT_EQ(prims[0].normals.size(), 2u);
  EXPECT_TRUE(Near(prims[0].normals[0], 0, 0, -4));
  EXPECT_TRUE(Near(prims[0].normals[1], 0, 0, -2.3f * 2.3f));
  const KsVec3f* stored = Root<KsIndexedFaceSet>()->GetCornerNormals();
  ASSERT_NE(stored, nullptr);
  for (int i = 0; i < 6; ++i) EXPECT_GT(stored[i].z, 0.0f) << i;
  EXPECT_EQ(Frame()[0].normals.size(), 6u);
}

TEST_F(SetsTest, LineSetPolylinesColoursAndLongRuns) {
  Read(
      "IndexedLineSet { coord Coordinate { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] }"
      " color Color { color [1 0 0, 0 1 0, 0 0 1] } colorPerVertex FALSE"
      " coordIndex [0 1 2 -1 2 3 -1 -1 3 0] }");
  auto prims = Frame();
  EXPECT_EQ(err, "");
  ASSERT_EQ(prims.size(), 3u);
  const PwColor red{0, 255, 0}, green{255, 0, 0}, blue{0, 0, 255};
  const PwColor byLine[3] = {red, green, blue};  // polyline k in colour k
  const size_t sizes[3] = {3, 2, 2};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(prims[k].mode, KS_PRIMITIVE_POLYLINE);
    EXPECT_EQ(prims[k].vertices.size(), sizes[k]);
    EXPECT_TRUE(SameColour(prims[k].colour, byLine[k])) << k;
    EXPECT_EQ(prims[k].normals.size(), 0u);
  }
  EXPECT_TRUE(Near(prims[1].vertices[1], 0, 1, 0));

  // Per vertex through colorIndex; an index beyond the colours drops its
  // polyline only.
  Read(
      "IndexedLineSet { coord Coordinate { point [0 0 0, 1 0 0, 1 1 0] }"
      " color Color { color [1 0 0, 0 1 0, 0 0 1] }"
      " coordIndex [0 1 -1 1 2 -1 0 9 -1 2 0] colorIndex [2 0 -1 0 1 -1 0 0 -1 1 2] }");
  prims = Frame();
  EXPECT_TRUE(Contains(err, "KsMFVec3f::Get()\n  Index Out Of Range.\n  Requested 9\n"));
  ASSERT_EQ(prims.size(), 3u);
  EXPECT_TRUE(SameColour(prims[0].colour, red));
  EXPECT_TRUE(SameColour(prims[1].colour, green));
  EXPECT_TRUE(SameColour(prims[2].colour, blue));

  // A run of 600 vertices goes on from its last drawn vertex, without a
  // gap, as the same polyline; the next one keeps its own colour.
  std::string text = "IndexedLineSet { coord Coordinate { point [";
  for (int i = 0; i < 600; ++i) text += std::to_string(i) + " 0 0, ";
  text += "] } color Color { color [1 0 0, 0 1 0] } colorPerVertex FALSE coordIndex [";
  for (int i = 0; i < 600; ++i) text += std::to_string(i) + " ";
  Read(text + "-1 0 1 ] }");
  prims = Frame();
  EXPECT_EQ(err, "");
  ASSERT_EQ(prims.size(), 4u);
  const int first[3] = {0, 255, 510};
  const size_t counts[3] = {256, 256, 90};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(prims[i].vertices.size(), counts[i]) << i;
    EXPECT_EQ(prims[i].vertices.front().x, static_cast<float>(first[i])) << i;
    EXPECT_TRUE(SameColour(prims[i].colour, red));
  }
  EXPECT_EQ(prims[2].vertices.back().x, 599.0f);
  EXPECT_TRUE(SameColour(prims[3].colour, green));
}

TEST_F(SetsTest, PointSetDrawsEveryPointInItsColour) {
  Read(
      "PointSet { coord Coordinate { point [1 2 3, 4 5 6, 7 8 9] }"
      " color Color { color [0 0 1, 1 0 0] } }");
  auto prims = Frame();
  EXPECT_EQ(err, "");
  ASSERT_EQ(prims.size(), 3u);
  const PwColor blue{0, 0, 255}, red{0, 255, 0};
  for (const Primitive& p : prims) {
    EXPECT_EQ(p.mode, KS_PRIMITIVE_POINTS);
    ASSERT_EQ(p.vertices.size(), 1u);
  }
  EXPECT_TRUE(Near(prims[0].vertices[0], 1, 2, -3));
  EXPECT_TRUE(Near(prims[2].vertices[0], 7, 8, -9));
  EXPECT_TRUE(SameColour(prims[0].colour, blue));
  EXPECT_TRUE(SameColour(prims[1].colour, red));
  EXPECT_TRUE(SameColour(prims[2].colour, red));  // no third colour: the current one

  // More points than one primitive holds, under a material colour.
  std::string text =
      "Shape { appearance Appearance { material Material { diffuseColor 0 1 0 } }"
      " geometry PointSet { coord Coordinate { point [";
  for (int i = 0; i < 300; ++i) text += std::to_string(i) + " 0 0, ";
  Read(text + "] } } }");
  prims = Frame();
  ASSERT_EQ(prims.size(), 300u);
  EXPECT_EQ(prims[299].vertices[0].x, 299.0f);
  EXPECT_TRUE(SameColour(prims[299].colour, PwColor{255, 0, 0}));
}

// Stands for a touch sensor: the group walk only asks whether it points.
class PointingProbe : public KsNode {
 public:
  PointingProbe() { RegisterDone(); }
  const char* GetClassName() const override { return "KsPointingProbe"; }
  KSBOOL IsPointingSensor() override { return KS_TRUE; }
  int ExecTraverse(KsMatrix*) override { return 0; }
};

TEST_F(SetsTest, PrimitivesUnderAPointingSensorCarryItsPickId) {
  Read(std::string("Group { children [ Shape { geometry IndexedFaceSet { ") + kCubePoints + " " +
       kCubeIndex +
       " } } Shape { geometry PointSet { coord Coordinate { point [0 0 0] } } } ] }"
       " Shape { geometry PointSet { coord Coordinate { point [0 0 0] } } }");
  auto* group = Root<KsGroup>();
  KsNode* kids[3] = {group->children.GetElements()[0], group->children.GetElements()[1],
                     new PointingProbe};
  group->children.Set(3, kids);
  auto prims = Frame();
  ASSERT_EQ(prims.size(), 8u);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(prims[i].pickId, 0) << i;
  EXPECT_EQ(prims[7].pickId, -1);
}

// The picture: a frame's sorted list far to near on a guarded surface.
class SetsPictureTest : public SetsTest {
 protected:
  unsigned int Paint() {
    PwSetLighting(0);
    PwScreenClear();
    const unsigned int background = surface.At(0, 0);
    PwPose zero = {};
    PwSetEye(&zero);
    Draw();
    PwFlushSorted();
    return background;
  }
  // The strongest channel of a 5-5-5 pixel, '.' for the background.
  char Hue(int x, int y, unsigned int background) const {
    const unsigned int v = surface.At(x, y);
    if (v == background) return '.';
    const unsigned int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
    if (r > g && r > b) return 'r';
    return b > g ? 'b' : 'g';
  }
  // Screen point of a scene point at depth 5 in front of the eye.
  int Sx(float x) const {
    return PwGetProjection()->cx + static_cast<int>(x * PwGetProjection()->magx / 5);
  }
  int Sy(float y) const {
    return PwGetProjection()->cy - static_cast<int>(y * PwGetProjection()->magy / 5);
  }
};

TEST_F(SetsPictureTest, SceneOfSetsDrawsWhereItsGeometryIsAndNowhereElse) {
  Read(
      "Transform { translation 0 0 -5 children ["
      " Shape { appearance Appearance { material Material { diffuseColor 1 0 0 } }"
      "  geometry IndexedFaceSet { coord Coordinate { point [-1 -1 0, 1 -1 0, 1 1 0, 0.5 1 0,"
      "   0.5 -0.5 0, -0.5 -0.5 0, -0.5 1 0, -1 1 0] } coordIndex [0 1 2 3 4 5 6 7] } }"
      " Shape { geometry IndexedLineSet { coord Coordinate { point [-2 1.5 0, 2 1.5 0] }"
      "  color Color { color [0 1 0, 0 1 0] } coordIndex [0 1] } }"
      " Shape { geometry PointSet { coord Coordinate { point [1.6 -1.5 0] }"
      "  color Color { color [0 0 1] } } } ] }"
      // Around and behind the eye, and far to the side: clipped away.
      "Shape { geometry IndexedFaceSet { coord Coordinate { point [-50 -50 5, 50 -50 5, 50 -40 -5,"
      " -50 -40 -5] } coordIndex [0 1 2 3] } }"
      "Shape { geometry IndexedLineSet { coord Coordinate { point [-1e6 100 1, 1e6 100 -2, 0 -100 "
      "9] }"
      " coordIndex [0 1 2] } }");
  const unsigned int background = Paint();
  EXPECT_EQ(Hue(Sx(0), Sy(-0.75f), background), 'r');     // the U's base
  EXPECT_EQ(Hue(Sx(-0.75f), Sy(0.5f), background), 'r');  // its left arm
  EXPECT_EQ(Hue(Sx(0), Sy(0.5f), background), '.');       // the notch
  EXPECT_EQ(Hue(Sx(0), Sy(1.5f), background), 'g');       // the line
  EXPECT_EQ(Hue(Sx(1.6f), Sy(-1.5f), background), 'b');   // the point
  EXPECT_EQ(Hue(2, 2, background), '.');
  EXPECT_TRUE(surface.Intact());
}

TEST_F(SetsPictureTest, ConcaveFaceFromItsReflexCornerIsSeenFromTheFront) {
  Read(std::string("Transform { translation -0.8 -0.8 -5 children Shape {"
                   " appearance Appearance { material Material { diffuseColor 1 0 0 } }"
                   " geometry ") +
       kThinL + " } }");
  const unsigned int background = Paint();
  EXPECT_EQ(Hue(Sx(0.2f), Sy(-0.95f), background), 'r');  // the lower arm
  EXPECT_EQ(Hue(Sx(-0.95f), Sy(0.2f), background), 'r');  // the left arm
  EXPECT_EQ(Hue(Sx(0.2f), Sy(0.2f), background), '.');    // inside the bend
  EXPECT_TRUE(surface.Intact());
}

}  // namespace
