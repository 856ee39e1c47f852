#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scenegraph/nodes/render_test_util.h"

namespace {

using kstest::Recorded;
using kstest::SortedCount;

class PrimitiveBufferTest : public kstest::RenderTest {};

void ExpectVec(const PwVec3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-5f);
  EXPECT_NEAR(v.y, y, 1e-5f);
  EXPECT_NEAR(v.z, z, 1e-5f);
}

TEST_F(PrimitiveBufferTest, VerticesAndNormalsGoThroughTheMatrixWithZNegated) {
  KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
  KsAddVertex(1, 2, 3);
  KsAddNormal(0, 0, 1);
  ExpectVec(KsGetPrimitiveVertices()[0], 1, 2, -3);
  ExpectVec(KsGetPrimitiveNormals()[0], 0, 0, -1);

  // Translation moves points, not directions; scaling stretches both and
  // the normal is not renormalised.
  KsCurrentMatrix().Translate(10, 0, 5);
  KsCurrentMatrix().Scale(2, 2, 2);
  KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
  const float v[3] = {1, 1, 1};
  const float n[3] = {0, 1, 0};
  KsAddVertexv(v);
  KsAddNormalv(n);
  ExpectVec(KsGetPrimitiveVertices()[0], 12, 2, -7);
  ExpectVec(KsGetPrimitiveNormals()[0], 0, 2, 0);

  KsResetMatrix();
  KsAddVertex(0, 0, 1);  // no begin: extends the last primitive
  EXPECT_EQ(KsGetPrimitiveVertexCount(), 2);
  ExpectVec(KsGetPrimitiveVertices()[1], 0, 0, -1);
}

TEST_F(PrimitiveBufferTest, KeepsEveryVertexAndHandsABigPolygonOnInPieces) {
  // 300 vertices: all kept, and handed on in pieces the graphics library
  // takes whole, sharing their edges (a fan about the first vertex): 298
  // fan triangles, 62 to a piece of 64 vertices (5 pieces), or as
  // triangles when smooth.
  struct Case {
    const char* name;
    int normals;
    int type;
    int pieces, largest;
  };
  const Case cases[] = {
      {"smooth", 300, kPwSortedSmoothPolygon, 298, 3},
      {"two-sided", 0, kPwSortedPolygon, 5, 64},
      {"one-sided", 1, kPwSortedPolygon, 5, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded().clear();
    PwPose zero = {};
    PwSetEye(&zero);
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    for (int i = 0; i < 300; ++i) {
      float a = 6.2831853f * i / 300.0f;
      KsAddVertex(std::cos(a), std::sin(a), -10);
      if (i < c.normals) KsAddNormal(0, 0, 1);
    }
    EXPECT_EQ(KsGetPrimitiveVertexCount(), 300);
    EXPECT_EQ(KsGetPrimitiveNormalCount(), c.normals);
    ExpectVec(KsGetPrimitiveVertices()[299], std::cos(6.2831853f * 299 / 300.0f),
              std::sin(6.2831853f * 299 / 300.0f), 10);
    KsEndPrimitive();
    ASSERT_EQ(Recorded().size(), 1u);
    EXPECT_EQ(Recorded()[0].vertices.size(), 300u);
    ASSERT_EQ(SortedCount(), c.pieces);
    int corners = 0, largest = 0;
    for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) {
      ASSERT_EQ(it->type, c.type);
      const int n = c.type == kPwSortedSmoothPolygon
                        ? static_cast<PwSortedSmoothData*>(it->payload)->count
                        : static_cast<PwSortedPolygonData*>(it->payload)->count;
      if (n > largest) largest = n;
      corners += n - 2;
    }
    EXPECT_EQ(largest, c.largest);
    EXPECT_EQ(corners, 298);
  }
}

TEST_F(PrimitiveBufferTest, APrimitiveBeyondTheBoundIsRefusedWhole) {
  // At the bound a polygon is drawn; one vertex or normal more, and even a
  // million, refuse it without drawing; the next primitive is drawn again.
  struct Case {
    const char* name;
    int vertices, normals;
    bool drawn;
  };
  const Case cases[] = {
      {"at the bound", KS_PRIMITIVE_MAX_VERTICES, 0, true},
      {"one vertex more", KS_PRIMITIVE_MAX_VERTICES + 1, 0, false},
      {"one normal more", 3, KS_PRIMITIVE_MAX_VERTICES + 1, false},
      {"a million", 1000000, 1000000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded().clear();
    PwSortedClear();
    PwPose zero = {};
    PwSetEye(&zero);
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    for (int i = 0; i < c.normals; ++i) KsAddNormal(0, 0, 1);
    for (int i = 0; i < c.vertices; ++i) {
      const float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(c.vertices);
      KsAddVertex(std::cos(a), std::sin(a), -10);
    }
    EXPECT_EQ(KsPrimitiveRefused(), !c.drawn);
    KsEndPrimitive();
    EXPECT_EQ(Recorded().size(), c.drawn ? 1u : 0u);
    EXPECT_EQ(SortedCount() > 0, c.drawn);

    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    KsAddVertex(0, 0, -10);
    KsAddVertex(1, 0, -10);
    KsAddVertex(0, 1, -10);
    EXPECT_FALSE(KsPrimitiveRefused());
    KsEndPrimitive();
    EXPECT_EQ(Recorded().size(), c.drawn ? 2u : 1u);
  }
}

TEST_F(PrimitiveBufferTest, NormalCountChoosesTheGraphicsCall) {
  struct Case {
    const char* name;
    int normals;
    int type;
    int hasNormal;
  };
  const Case cases[] = {
      {"one normal per vertex: smooth", 3, kPwSortedSmoothPolygon, -1},
      {"no normal: two-sided", 0, kPwSortedPolygon, 0},
      {"one normal: one-sided face normal", 1, kPwSortedPolygon, 1},
      {"two normals for three vertices: one-sided", 2, kPwSortedPolygon, 1},
  };
  for (const Case& c : cases) {
    PwSortedClear();
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    for (int i = 0; i < c.normals; ++i) KsAddNormal(0, 0, 1);
    KsAddVertex(-1, -1, -10);
    KsAddVertex(1, -1, -10);
    KsAddVertex(0, 1, -10);
    KsEndPrimitive();
    ASSERT_EQ(SortedCount(), 1) << c.name;
    EXPECT_EQ(PwSortedFirst()->type, c.type) << c.name;
    if (c.hasNormal >= 0) {
      auto* p = static_cast<PwSortedPolygonData*>(PwSortedFirst()->payload);
      EXPECT_EQ(p->has_normal, c.hasNormal) << c.name;
    }
  }
  // A one-sided polygon whose face normal points away from the eye is
  // culled; drawn two-sided, the same polygon stays.
  PwSortedClear();
  KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
  KsAddNormal(0, 0, -1);
  KsAddVertex(-1, -1, -10);
  KsAddVertex(1, -1, -10);
  KsAddVertex(0, 1, -10);
  KsEndPrimitive();
  EXPECT_EQ(SortedCount(), 0);
}

TEST_F(PrimitiveBufferTest, DegeneratePrimitivesDrawNothing) {
  KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
  KsAddVertex(0, 0, -10);
  KsAddVertex(1, 0, -10);
  KsEndPrimitive();
  KsBeginPrimitive(KS_PRIMITIVE_POLYLINE);
  KsAddVertex(0, 0, -10);
  KsEndPrimitive();
  KsBeginPrimitive(KS_PRIMITIVE_POINTS);
  KsEndPrimitive();
  KsBeginPrimitive(7);
  KsAddVertex(0, 0, -10);
  KsAddVertex(1, 0, -10);
  KsAddVertex(0, 1, -10);
  KsEndPrimitive();
  EXPECT_EQ(SortedCount(), 0);
}

TEST_F(PrimitiveBufferTest, PointsAndPolylinesAndTheirPickRegistrations) {
  KsSensorTable::SetCurrent(7);
  KsBeginPrimitive(KS_PRIMITIVE_POLYLINE);
  KsAddVertex(-2, 0, -10);
  KsAddVertex(0, 0, -10);
  KsAddVertex(0, 2, -10);
  KsAddVertex(2, 2, -10);
  KsEndPrimitive();
  EXPECT_EQ(SortedCount(), 3);
  int lines = 0;
  for (const PwSortedItem* it = PwSortedFirst(); it; it = it->next)
    lines += it->type == kPwSortedLine;
  EXPECT_EQ(lines, 3);
  // Each segment is registered with the current id.
  const PwProjection* proj = PwGetProjection();
  int id = -1;
  EXPECT_EQ(PwPickFindLine(&id, nullptr, nullptr, nullptr, PwPoint2{proj->cx - 10, proj->cy}, 1),
            1);
  EXPECT_EQ(id, 7);
  EXPECT_EQ(PwPickFindLine(&id, nullptr, nullptr, nullptr, PwPoint2{proj->cx, proj->cy - 10}, 1),
            1);
  EXPECT_EQ(
      PwPickFindLine(nullptr, nullptr, nullptr, nullptr, PwPoint2{proj->cx + 5, proj->cy - 20}, 1),
      1);

  KsBeginPrimitive(KS_PRIMITIVE_POINTS);
  KsAddVertex(0, -3, -10);
  KsAddVertex(1, -3, -10);
  KsEndPrimitive();
  EXPECT_EQ(SortedCount(), 5);
  int points = 0;
  for (const PwSortedItem* it = PwSortedFirst(); it; it = it->next)
    points += it->type == kPwSortedPoint;
  EXPECT_EQ(points, 2);
  EXPECT_EQ(PwPickFindPoint(&id, nullptr, nullptr, nullptr, PwPoint2{proj->cx, proj->cy + 30}, 2),
            0);
  id = -1;
  EXPECT_EQ(
      PwPickFindPoint(&id, nullptr, nullptr, nullptr,
                      PwPoint2{proj->cx, proj->cy + static_cast<int>(3 * proj->magy / 10)}, 1),
      1);
  EXPECT_EQ(id, 7);
}

TEST_F(PrimitiveBufferTest, PickIdTagsPolygonsAndNoIdRegistersNothing) {
  const PwProjection* proj = PwGetProjection();
  auto square = [](float z) {
    KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
    KsAddVertex(-1, -1, z);
    KsAddVertex(1, -1, z);
    KsAddVertex(1, 1, z);
    KsAddVertex(-1, 1, z);
    KsEndPrimitive();
  };
  square(-10);  // no id current
  EXPECT_EQ(KsPickAt(proj->cx, proj->cy), -1);
  KsSensorTable::SetCurrent(4);
  square(-20);
  KsSensorTable::SetCurrent(2);
  square(-8);
  EXPECT_EQ(KsPickAt(proj->cx, proj->cy), 2);  // nearest
  EXPECT_EQ(KsPickAt(0, 0), -1);
  EXPECT_EQ(kstest::Recorded().back().pickId, 2);
  // Ending again draws (and registers) the same contents once more.
  KsEndPrimitive();
  EXPECT_EQ(SortedCount(), 4);
}

TEST_F(PrimitiveBufferTest, ColourIsTruncatedClampedAndReadAtTheEnd) {
  KsSetColor(1.0f, 0.5f, 0.0f);
  PwColor c = KsGetDrawingColor();
  EXPECT_EQ(c.red, 255);
  EXPECT_EQ(c.green, 127);
  EXPECT_EQ(c.blue, 0);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  KsSetColor(2.0f, -1.0f, nan);
  c = KsGetDrawingColor();
  EXPECT_EQ(c.red, 255);
  EXPECT_EQ(c.green, 0);
  EXPECT_EQ(c.blue, 0);
  KsSetColor(1e30f, 0.999f, 0.1f);
  c = KsGetDrawingColor();
  EXPECT_EQ(c.red, 255);
  EXPECT_EQ(c.green, 254);
  EXPECT_EQ(c.blue, 25);

  // Colours set between the vertices: the one current at the end is the
  // whole primitive's, and it stays for the next primitive.
  KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
  const float red[3] = {1, 0, 0}, green[3] = {0, 1, 0}, blue[3] = {0, 0, 1};
  KsSetColorv(red);
  KsAddVertex(-1, -1, -10);
  KsSetColorv(green);
  KsAddVertex(1, -1, -10);
  KsSetColorv(blue);
  KsAddVertex(0, 1, -10);
  KsEndPrimitive();
  KsBeginPrimitive(KS_PRIMITIVE_POINTS);
  KsAddVertex(0, 0, -10);
  KsEndPrimitive();
  ASSERT_EQ(SortedCount(), 2);
  for (const PwSortedItem* it = PwSortedFirst(); it; it = it->next) {
    EXPECT_EQ(it->colour.blue, 255);
    EXPECT_EQ(it->colour.red, 0);
    EXPECT_EQ(it->colour.green, 0);
  }
}

TEST_F(PrimitiveBufferTest, TessellationLevelStaysWithinOneToFifteen) {
  EXPECT_EQ(KsTessellationLevel(), 4);
  EXPECT_EQ(KsSetTessellation(16), 16);
  EXPECT_EQ(KsTessellationLevel(), 4);
  EXPECT_EQ(KsSetTessellation(0), 0);
  EXPECT_EQ(KsSetTessellation(-3), -3);
  EXPECT_EQ(KsTessellationLevel(), 4);
  EXPECT_EQ(KsSetTessellation(15), 15);
  EXPECT_EQ(KsTessellationLevel(), 15);
  EXPECT_EQ(KsSetTessellation(1), 1);
  EXPECT_EQ(KsTessellationLevel(), 1);
}

TEST_F(PrimitiveBufferTest, ProjectionHelpers) {
  PwProjection p;
  KsInitProjection(&p);
  PwProjection d;
  PwDefaultProjection(&d);
  EXPECT_EQ(p.width, d.width);
  EXPECT_EQ(p.cx, d.cx);
  EXPECT_FLOAT_EQ(p.magx, d.magx);
  EXPECT_FLOAT_EQ(p.near, 0.05f);
  EXPECT_EQ(KsGetProjectionKind(), 0);
}

}  // namespace
