// Frames larger than the main scratch pool: kept memory moves to the extra
// pools, the flush keeps the room to draw whatever was queued, and a frame
// that had to leave something out says so.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/formats/srf_place.h"
#include "graphics/formats/srf_model.h"
#include "graphics/formats/eps_output.h"
#include "graphics/state3d/eps_output_state.h"

#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/guarded_surface.h"

namespace {

constexpr int kW = 160, kH = 120;
constexpr int kCols = 40, kRows = 30;
const PwColor kWhite = {255, 255, 255};
const PwColor kBlack = {0, 0, 0};

class ScratchFrameTest : public ::testing::Test {
 protected:
  ScratchFrameTest() : surface_(kW, kH), main_(64 << 10), extra_(4 << 20) {
    PwStart3D(main_.data(), main_.size());
    PwProjection proj;
    PwDefaultProjection(&proj);
    PwSetProjection(&proj);
  }
  ~ScratchFrameTest() override { EXPECT_TRUE(surface_.Intact()); }

  // Quad (i, j) of a grid at depth 10 that reaches past every edge of the
  // view; 1200 quads keep far more than the 64 KB main pool holds.
  static std::vector<PwVec3> Quad(int i, int j) {
    const float x0 = -8.0f + 16.0f * i / kCols, x1 = -8.0f + 16.0f * (i + 1) / kCols;
    const float y0 = -6.0f + 12.0f * j / kRows, y1 = -6.0f + 12.0f * (j + 1) / kRows;
    return {{x0, y0, 10}, {x1, y0, 10}, {x1, y1, 10}, {x0, y1, 10}};
  }
  // The same cell with four points along each side, too many for the
  // flush's stack buffers, and one of them moved toward the eye in front of
  // the near plane along its line of sight: the cell looks the same, but the
  // flush clips it, which takes more memory than the cell keeps, so only the
  // room kept back lets it be drawn.
  static std::vector<PwVec3> Cell(int i, int j) {
    const std::vector<PwVec3> q = Quad(i, j);
    std::vector<PwVec3> cell;
    for (int k = 0; k < 4; ++k) {
      const PwVec3 a = q[k], b = q[(k + 1) % 4];
      for (int t = 0; t < 4; ++t) {
        const float f = t / 4.0f;
        cell.push_back({a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, 10});
      }
    }
    cell[2] = {cell[2].x * 0.2f, cell[2].y * 0.2f, 2};
    return cell;
  }
  // Queues the grid in one frame; queued[j * kCols + i] tells which made it.
  std::vector<bool> QueueGrid() {
    const PwPose eye = {};
    PwSetEye(&eye);
    PwScreenClear();
    std::vector<bool> queued;
    for (int j = 0; j < kRows; ++j) {
      for (int i = 0; i < kCols; ++i) {
        const std::vector<PwVec3> c = Cell(i, j);
        queued.push_back(
            PwPolygon3(static_cast<int>(c.size()), c.data(), nullptr, {0, 0, -1}, kWhite) == 0);
      }
    }
    return queued;
  }
  static int Count(const std::vector<bool>& v) {
    int n = 0;
    for (bool b : v) n += b;
    return n;
  }

  GuardedSurface surface_;
  std::vector<unsigned char> main_, extra_;
};

TEST_F(ScratchFrameTest, KeptMemoryComesFromTheExtraPoolsFirst) {
  PwSetExtraDrawBuffer(extra_.data(), extra_.size());
  const std::vector<bool> queued = QueueGrid();
  EXPECT_EQ(kCols * kRows, Count(queued));
  EXPECT_EQ(0u, PwScratchUsed(0));  // the main pool only lends temporary memory
  EXPECT_GT(PwScratchUsed(1), main_.size());
  EXPECT_EQ(0, PwFrameLeftPrimitivesOut());
  PwFlushSorted();
  EXPECT_EQ(kW * kH, surface_.Count(kWhite));  // the whole scene, no background
}

TEST_F(ScratchFrameTest, FullPoolsStillDrawEverythingQueued) {
  // Main pool alone: the grid does not fit, the frame says so, and every
  // quad that was queued is drawn (its centre pixel), none other.
  const std::vector<bool> queued = QueueGrid();
  const int made = Count(queued);
  EXPECT_GT(made, 50);
  EXPECT_LT(made, kCols * kRows);
  EXPECT_EQ(1, PwFrameLeftPrimitivesOut());
  PwFlushSorted();
  for (int j = 0; j < kRows; ++j) {
    for (int i = 0; i < kCols; ++i) {
      const std::vector<PwVec3> q = Quad(i, j);
      const PwVec3 c = {(q[0].x + q[2].x) / 2, (q[0].y + q[2].y) / 2, 10};
      PwPoint2 s;
      ASSERT_EQ(1, PwProjectToScreen(&s, &c));
      if (s.x < 0 || s.y < 0 || s.x >= kW || s.y >= kH) continue;
      const bool white = surface_.At(s.x, s.y) == surface_.Value(kWhite);
      EXPECT_EQ(queued[j * kCols + i], white) << i << "," << j;
    }
  }
  EXPECT_GT(surface_.Count(kBlack), 0);
  // The next frame starts afresh.
  const PwPose eye = {};
  PwSetEye(&eye);
  EXPECT_EQ(0, PwFrameLeftPrimitivesOut());
}

TEST_F(ScratchFrameTest, SmoothPolygonsAndLabelsAlsoMoveToTheExtraPool) {
  PwSetExtraDrawBuffer2(extra_.data(), extra_.size());
  const PwPose eye = {};
  PwSetEye(&eye);
  const PwVec3 n[4] = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
  const char* const lines[] = {"a label", nullptr};
  for (int k = 0; k < 2000; ++k) {
    const std::vector<PwVec3> q = Quad(k % kCols, (k / kCols) % kRows);
    ASSERT_EQ(0, PwSmoothPolygon3(4, q.data(), n, kWhite)) << k;
    ASSERT_EQ(0, PwLabel3({0, 0, 10}, lines, kWhite, 1, 3)) << k;
  }
  EXPECT_EQ(0u, PwScratchUsed(0));
  EXPECT_EQ(0, PwFrameLeftPrimitivesOut());
  int labels = 0, smooth = 0;
  for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) {
    labels += it->type == kPwSortedLabel;
    smooth += it->type == kPwSortedSmoothPolygon;
  }
  EXPECT_EQ(2000, labels);
  EXPECT_GT(smooth, 1000);
}

// One face of many vertices: a disc of 5,000 points at depth 10 in the
// middle of the view, drawn with the viewer's 1 MB main pool, alone or with
// a large extra pool.
class BigFaceTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  BigFaceTest() : surface_(kW, kH, kPwDepth16, 1 << 20), extra_(GetParam()) {
    if (!extra_.empty()) PwSetExtraDrawBuffer(extra_.data(), extra_.size());
  }
  ~BigFaceTest() override { EXPECT_TRUE(surface_.Intact()); }
  GuardedSurface surface_;
  std::vector<unsigned char> extra_;
};

TEST_P(BigFaceTest, FaceOfFiveThousandVerticesIsDrawn) {
  constexpr int kVertices = 5000;
  std::vector<PwVec3> disc;
  for (int k = 0; k < kVertices; ++k) {
    const double a = 2 * 3.14159265358979 * k / kVertices;
    disc.push_back({static_cast<float>(3 * std::cos(a)), static_cast<float>(3 * std::sin(a)), 10});
  }
  const PwPose eye = {};
  PwSetEye(&eye);
  PwScreenClear();
  EXPECT_EQ(0, PwPolygon3(kVertices, disc.data(), nullptr, {0, 0, -1}, kWhite));
  EXPECT_EQ(0, PwFrameLeftPrimitivesOut());
  PwFlushSorted();
  // Radius 3 at depth 10 is about 34 pixels: the disc, and only the disc.
  const int white = surface_.Count(kWhite);
  EXPECT_GT(white, 3000);
  EXPECT_LT(white, 4500);
  EXPECT_EQ(surface_.Value(kWhite), surface_.At(kW / 2, kH / 2));
  EXPECT_EQ(surface_.Value(kBlack), surface_.At(2, 2));
}

TEST_P(BigFaceTest, WhileEpsIsWrittenTheRoomMayComeFromTheExtraPool) {
  // The page needs more room than the 1 MB main pool holds: with the extra
  // pool the face is drawn and written, without it the frame says so.
  constexpr int kVertices = 5000;
  std::vector<PwVec3> disc;
  for (int k = 0; k < kVertices; ++k) {
    const double a = 2 * 3.14159265358979 * k / kVertices;
    disc.push_back({static_cast<float>(3 * std::cos(a)), static_cast<float>(3 * std::sin(a)), 10});
  }
  const std::string path = ::testing::TempDir() + "big_face.eps";
  ASSERT_EQ(PwEpsBegin(path.c_str(), kW, kH), 1);
  ASSERT_GT(PwSortedFlushRoom(kVertices), std::size_t{1} << 20);
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  const PwPose eye = {};
  PwSetEye(&eye);
  PwScreenClear();
  const int queued = PwPolygon3(kVertices, disc.data(), nullptr, {0, 0, -1}, kWhite);
  PwFlushSorted();
  ASSERT_EQ(PwEpsEnd(), 1);
  std::remove(path.c_str());
  if (extra_.empty()) {
    EXPECT_EQ(1, queued);
    EXPECT_EQ(1, PwFrameLeftPrimitivesOut());
    return;
  }
  EXPECT_EQ(0, queued);
  EXPECT_EQ(0, PwFrameLeftPrimitivesOut());
  EXPECT_GT(surface_.Count(kWhite), 3000);
  // Temporary memory went back where it came from: only kept memory stays.
  EXPECT_EQ(0u, PwScratchUsed(0));
}

INSTANTIATE_TEST_SUITE_P(MainPoolAndExtra, BigFaceTest,
                         ::testing::Values(std::size_t{0}, std::size_t{64} << 20));

// Rooms of counts that a 32-bit size_t cannot hold saturate instead of
// wrapping round to a few bytes, with and without the EPS page.
TEST(FlushRoomTest, LargeCountsSaturateInsteadOfWrapping) {
  const std::uint64_t kMax = SIZE_MAX;
  auto at_least = [kMax](std::uint64_t need) { return need < kMax ? need : kMax; };
  for (const int eps : {0, 1}) {
    PwEpsSetActive(eps);
    for (const int n : {4300, 17602325, 107374183, 500000000, INT_MAX}) {
      const std::uint64_t per_vertex = eps ? 244 : 40;
      const std::uint64_t room = PwSortedFlushRoom(n);
      EXPECT_GE(room, at_least(per_vertex * static_cast<std::uint64_t>(n))) << n << " eps " << eps;
      // A model whose one face has that many corners, over as many vertices.
      PwSrfFace face = {};
      face.index_count = n;
      PwSrf model = {};
      model.vertex_count = n;
      model.face_count = 1;
      model.faces = &face;
      EXPECT_GE(PwSortedSrfRoom(&model), at_least(room + 21 * static_cast<std::uint64_t>(n)))
          << n << " eps " << eps;
    }
  }
  PwEpsSetActive(0);
  // Without EPS output a face keeps back no page room.
  EXPECT_LT(PwSortedFlushRoom(5000), std::size_t{5000} * 64);
}

}  // namespace
