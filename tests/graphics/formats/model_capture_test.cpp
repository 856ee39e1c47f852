#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "graphics/formats/model_capture.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/state3d/state3d.h"
#include "graphics/guarded_surface.h"

namespace {

const PwColor kRed = {0, 255, 0};

std::vector<int> FaceVertices(int face) {
  int n = 0;
  const int* v = nullptr;
  if (!PwModelGetFace(face, nullptr, nullptr, &n, &v, nullptr, nullptr)) return {};
  return std::vector<int>(v, v + n);
}

std::vector<int> FaceNormals(int face) {
  int n = 0;
  const int* v = nullptr;
  if (!PwModelGetFace(face, nullptr, nullptr, nullptr, nullptr, &n, &v)) return {};
  return std::vector<int>(v, v + n);
}

// The same cycle of vertices, from any starting point.
bool SameCycle(const std::vector<int>& a, const std::vector<int>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t start = 0; start < b.size(); ++start) {
    bool same = true;
    for (std::size_t i = 0; same && i < a.size(); ++i) same = a[i] == b[(start + i) % b.size()];
    if (same) return true;
  }
  return false;
}

class ModelCaptureTest : public ::testing::Test {
 protected:
  ModelCaptureTest() : surface_(320, 240) {
    PwModelResetState();
    PwModelBegin("unused.wrl");
  }
  ~ModelCaptureTest() override { PwModelResetState(); }
  GuardedSurface surface_;
};

TEST_F(ModelCaptureTest, SharedEdgesShareVerticesButFlagsKeepThemApart) {
  const PwVec3 a[] = {{0, 0, 5}, {1, 0, 5}, {1, 1, 5}};
  const PwVec3 b[] = {{0, 0, 5}, {1, 1, 5}, {0, 1, 5}};
  const PwVec3 n = {0, 0, -1};
  ASSERT_EQ(PwModelPolygon(3, a, n, kRed), 1);
  ASSERT_EQ(PwModelPolygon(3, b, n, kRed), 1);
  EXPECT_EQ(PwModelVertexCount(), 4);
  EXPECT_EQ(PwModelNormalCount(), 1);
  const PwVec3 normals[] = {n, n, n};
  ASSERT_EQ(PwModelSmoothPolygon(3, a, normals, kRed), 1);
  EXPECT_EQ(PwModelVertexCount(), 7);  // smooth vertices are records of their own
  EXPECT_EQ(PwModelNormalCount(), 1);
  ASSERT_EQ(PwModelFaceCount(), 3);
  // Both flat faces have the same turn, so the same orientation rule.
  std::vector<int> fa = FaceVertices(0), fb = FaceVertices(1);
  ASSERT_EQ(fa.size(), 3u);
  ASSERT_EQ(fb.size(), 3u);
  EXPECT_EQ(FaceNormals(0), std::vector<int>{0});
}

TEST_F(ModelCaptureTest, MergingKeepsTheFirstRecordWithinTheTolerance) {
  struct Case {
    const char* name;
    PwVec3 first, second;
    bool merged;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {"equal", {1, 2, 3}, {1, 2, 3}, true},
      {"within on every axis", {1, 2, 3}, {1.00009f, 1.99991f, 3.00009f}, true},
      {"across a cell boundary", {0.00095f, 0, 0}, {0.00104f, 0, 0}, true},
      {"around zero", {-0.00005f, 0, 0}, {0.00004f, 0, 0}, true},
      {"too far on one axis", {1, 2, 3}, {1, 2, 3.0002f}, false},
      {"large and equal", {5000, -70000, 1e20f}, {5000, -70000, 1e20f}, true},
      {"large, next float", {5000, 0, 0}, {std::nextafter(5000.0f, 6000.0f), 0, 0}, false},
      {"below and above 2048", {std::nextafter(2048.0f, 0.0f), 0, 0}, {2048, 0, 0}, false},
      {"below and above 1024", {std::nextafter(1024.0f, 0.0f), 0, 0}, {1024, 0, 0}, true},
      {"not a number", {nan, 0, 0}, {nan, 0, 0}, false},
      {"infinite", {inf, 0, 0}, {inf, 0, 0}, false},
  };
  for (const Case& c : cases) {
    PwModelBegin("unused.wrl");
    const int i = PwModelVertex(c.first, 0);
    const int j = PwModelVertex(c.second, 0);
    EXPECT_EQ(i, 0) << c.name;
    EXPECT_EQ(j, c.merged ? 0 : 1) << c.name;
    PwVec3 kept;
    ASSERT_EQ(PwModelGetVertex(0, &kept, nullptr), 1);
    if (c.merged) {
      EXPECT_EQ(kept.x, c.first.x) << c.name;
      EXPECT_EQ(kept.z, c.first.z) << c.name;
    }
  }
}

// The index a search from the start of the list gives.
int Reference(const std::vector<PwVec3>& list, const std::vector<int>& flags, PwVec3 p, int flag) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (flags[i] == flag && std::fabs(list[i].x - p.x) <= 0.0001 &&
        std::fabs(list[i].y - p.y) <= 0.0001 && std::fabs(list[i].z - p.z) <= 0.0001) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

TEST_F(ModelCaptureTest, HashedMergingFindsWhatASearchFromTheStartFinds) {
  std::mt19937 rng(1234);
  // Points on a grid finer than the tolerance, so that many lie within it
  // of several others.
  std::uniform_int_distribution<int> step(-40, 40);
  std::uniform_int_distribution<int> coin(0, 3);
  std::vector<PwVec3> list;
  std::vector<int> flags;
  for (int k = 0; k < 20000; ++k) {
    const PwVec3 p = {step(rng) * 0.00004f, step(rng) * 0.00004f + 7.0f, step(rng) * 0.00004f};
    const int flag = coin(rng) == 0 ? 1 : 0;
    int expected = Reference(list, flags, p, flag);
    if (expected < 0) {
      expected = static_cast<int>(list.size());
      list.push_back(p);
      flags.push_back(flag);
    }
    ASSERT_EQ(PwModelVertex(p, flag), expected) << k;
  }
  EXPECT_EQ(PwModelVertexCount(), static_cast<int>(list.size()));
}

TEST_F(ModelCaptureTest, ManyDistinctVerticesMergeWithoutSearchingTheList) {
  // A search of the whole list for each of these would take 2 * 10^10 steps.
  const int n = 200000;
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(PwModelVertex({static_cast<float>(i % 500), static_cast<float>(i / 500), 1}, 0), i);
  }
  for (int i = 0; i < n; i += 997) {
    ASSERT_EQ(PwModelVertex({static_cast<float>(i % 500), static_cast<float>(i / 500), 1}, 0), i);
  }
  EXPECT_EQ(PwModelVertexCount(), n);
}

TEST_F(ModelCaptureTest, OrientationFollowsTheWindingAboutTheNormal) {
  const PwVec3 ccw[] = {{0, 0, 5}, {1, 0, 5}, {0, 1, 5}};
  const PwVec3 cw[] = {{0, 0, 5}, {0, 1, 5}, {1, 0, 5}};
  const PwVec3 up = {0, 0, 1}, down = {0, 0, -1};
  PwModelPolygon(3, ccw, up, kRed);
  PwModelPolygon(3, cw, up, kRed);
  PwModelPolygon(3, ccw, down, kRed);
  // Either order of the same triangle about the same normal is stored alike;
  // about the opposite normal the other way round.
  EXPECT_TRUE(SameCycle(FaceVertices(0), FaceVertices(1)));
  std::vector<int> flipped = FaceVertices(2);
  std::reverse(flipped.begin(), flipped.end());
  EXPECT_TRUE(SameCycle(flipped, FaceVertices(0)));
  EXPECT_FALSE(SameCycle(FaceVertices(2), FaceVertices(0)));
}

TEST_F(ModelCaptureTest, ReversedSmoothPolygonsKeepEachNormalWithItsVertex) {
  const PwVec3 pts[] = {{0, 0, 5}, {1, 0, 5}, {0, 1, 5}};
  const PwVec3 normals[] = {{0, 0, -1}, {0, 0.6f, -0.8f}, {0.6f, 0, -0.8f}};
  const PwVec3 up = {0, 0, 1}, down = {0, 0, -1};
  ASSERT_EQ(PwModelSmoothPolygonN(3, pts, normals, up, kRed), 1);
  ASSERT_EQ(PwModelSmoothPolygonN(3, pts, normals, down, kRed), 1);
  for (int face = 0; face < 2; ++face) {
    const std::vector<int> v = FaceVertices(face), n = FaceNormals(face);
    ASSERT_EQ(v.size(), 3u);
    ASSERT_EQ(n.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      PwVec3 p, q;
      int flag = 0;
      PwModelGetVertex(v[i], &p, &flag);
      PwModelGetNormal(n[i], &q);
      EXPECT_EQ(flag, 1);
      // Vertex k of the input carries normal k.
      int k = p.x == 1 ? 1 : (p.y == 1 ? 2 : 0);
      EXPECT_EQ(q.x, normals[k].x) << face << " " << i;
      EXPECT_EQ(q.y, normals[k].y) << face << " " << i;
    }
  }
  EXPECT_NE(FaceVertices(0), FaceVertices(1));
}

TEST_F(ModelCaptureTest, TwoSidedPolygonsLinesAndPoints) {
  const PwVec3 quad[] = {{0, 0, 5}, {1, 0, 5}, {1, 1, 5}, {0, 1, 5}};
  ASSERT_EQ(PwModelPolygonTwoSided(4, quad, kRed), 1);
  ASSERT_EQ(PwModelLine({0, 0, 5}, {3, 3, 3}, kRed), 1);
  ASSERT_EQ(PwModelPoint({7, 7, 7}, kRed), 1);
  ASSERT_EQ(PwModelFaceCount(), 3);
  EXPECT_EQ(FaceVertices(0), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(FaceVertices(1), (std::vector<int>{3, 2, 1, 0}));
  EXPECT_TRUE(FaceNormals(0).empty());
  EXPECT_EQ(FaceVertices(2), (std::vector<int>{0, 4}));
  int kind = -1;
  PwModelGetFace(2, &kind, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(kind, 1);
  EXPECT_EQ(PwModelVertexCount(), 5);  // the point recorded nothing
  // Nothing to record for an empty polygon, nor for coordinates that are
  // not numbers (they would reach the file as "nan").
  EXPECT_EQ(PwModelPolygonTwoSided(0, quad, kRed), 1);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const PwVec3 broken[] = {{0, 0, 5}, {nan, 0, 5}, {1, 1, 5}};
  const PwVec3 normals[] = {{0, 0, -1}, {0, 0, -1}, {0, nan, -1}};
  EXPECT_EQ(PwModelPolygonTwoSided(3, broken, kRed), 1);
  EXPECT_EQ(PwModelPolygon(3, quad, {nan, 0, 0}, kRed), 1);
  EXPECT_EQ(PwModelSmoothPolygon(3, quad, normals, kRed), 1);
  EXPECT_EQ(PwModelLine({0, 0, 5}, {0, 0, nan}, kRed), 1);
  EXPECT_EQ(PwModelFaceCount(), 3);
  EXPECT_EQ(PwModelVertexCount(), 5);
}

TEST_F(ModelCaptureTest, VerticesReturnToTheWorldAndTakeTheOffset) {
  PwPose eye = {1, 2, 3, 16384, 0, 0};  // a quarter turn of heading
  PwSetEye(&eye);
  PwModelBegin("unused.wrl");
  PwModelSetOffset({10, 0, 0});
  PwVec3 world_in = {4, 5, 6}, eye_space;
  PwWorldToEye(&eye_space, &world_in);
  const int i = PwModelVertex(eye_space, 0);
  PwVec3 back;
  ASSERT_EQ(PwModelGetVertex(i, &back, nullptr), 1);
  EXPECT_NEAR(back.x, 14, 1e-4);
  EXPECT_NEAR(back.y, 5, 1e-4);
  EXPECT_NEAR(back.z, 6, 1e-4);
  // Normals turn with the eye but take neither position nor offset.
  PwSrfSetOffset({0, 50, 0});
  PwVec3 n_eye;
  PwVec3 n_world = {0, 0, 1};
  PwWorldToEye(&n_eye, &n_world);
  PwVec3 origin = {0, 0, 0}, origin_eye;
  PwWorldToEye(&origin_eye, &origin);
  n_eye = {n_eye.x - origin_eye.x, n_eye.y - origin_eye.y, n_eye.z - origin_eye.z};
  PwVec3 n;
  PwModelGetNormal(PwModelNormal(n_eye), &n);
  EXPECT_NEAR(n.x, 0, 1e-5);
  EXPECT_NEAR(n.y, 0, 1e-5);
  EXPECT_NEAR(n.z, 1, 1e-5);
  PwModelGetVertex(PwModelVertex(eye_space, 0), &back, nullptr);
  EXPECT_NEAR(back.y, 55, 1e-4);
}

TEST_F(ModelCaptureTest, RunningOutOfMemoryLeavesTheListsAsTheyWere) {
  const PwVec3 tri[] = {{0, 0, 5}, {2, 0, 5}, {0, 2, 5}};
  const PwVec3 normals[] = {{0, 0, -1}, {0, 0.6f, -0.8f}, {0.6f, 0, -0.8f}};
  const PwVec3 facing = {0, 0, -1};
  // Enough calls that the lists grow and rehash on the way.
  for (int round = 0; round < 300; ++round) {
    const float z = 5.0f + round;
    const PwVec3 q[] = {{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}};
    PwModelPolygonTwoSided(4, q, kRed);
  }
  int failures = 0, successes = 0;
  for (int budget = 0; budget < 8; ++budget) {
    for (int call = 0; call < 4; ++call) {
      const int vertices = PwModelVertexCount(), normals_before = PwModelNormalCount();
      const int faces = PwModelFaceCount();
      PwModelFailAllocationsAfter(budget);
      int ok = 0;
      const float z = 1000.0f + budget * 10 + call;
      const PwVec3 far_quad[] = {{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}};
      switch (call) {
        case 0: ok = PwModelPolygonTwoSided(4, far_quad, kRed); break;
        case 1: ok = PwModelPolygon(3, tri, facing, kRed); break;
        case 2: ok = PwModelSmoothPolygon(3, tri, normals, kRed); break;
        default: ok = PwModelLine({9, 9, z}, {8, 8, z}, kRed); break;
      }
      PwModelFailAllocationsAfter(-1);
      ++(ok ? successes : failures);
      if (ok == 0) {
        EXPECT_EQ(PwModelVertexCount(), vertices) << budget << " " << call;
        EXPECT_EQ(PwModelNormalCount(), normals_before) << budget << " " << call;
        EXPECT_EQ(PwModelFaceCount(), faces) << budget << " " << call;
      }
    }
  }
  EXPECT_GT(failures, 0);
  EXPECT_GT(successes, 0);
  // Whatever failed, merging still finds every record that remains.
  for (int i = 0; i < PwModelVertexCount(); ++i) {
    PwVec3 p;
    int flag;
    PwModelGetVertex(i, &p, &flag);
    ASSERT_EQ(PwModelVertex(p, flag), i);
  }
}

TEST_F(ModelCaptureTest, PrimitivesHandOverEverythingBeforeCulling) {
  PwModelResetState();
  PwSrfBegin("unused.srf");
  const PwVec3 behind[] = {{0, 0, -5}, {1, 0, -5}, {0, 1, -5}};
  const PwVec3 away = {0, 0, 1};  // seen from behind
  PwPolygon3(3, behind, nullptr, away, kRed);
  PwLine3({0, 0, -5}, {0, 0, -6}, kRed);
  PwPoint3({3, 3, 3}, kRed);
  EXPECT_EQ(PwModelFaceCount(), 2);
  EXPECT_EQ(PwModelVertexCount(), 4);
}

}  // namespace
