// Random geometry, huge and non-finite coordinates included, thrown at the
// image output through every entry: nothing lands outside the buffer (the
// sanitizers watch), and each primitive's walks stay within the image
// however far its coordinates reach.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "graphics/guarded_surface.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"
#include "support/test_seed.h"

namespace {

TEST(ImageRandomTest, AnythingGoesInNothingBreaks) {
  ASSERT_EQ(1, PwZInit());
  GuardedSurface surface(40, 30);
  ASSERT_EQ(1, PwImageBegin("unused.ppm", 99, 33, 21));
  const std::uint32_t seed = lvtest::Seed(1234);
  const int inputs = lvtest::Count(3000);
  SCOPED_TRACE(lvtest::SeedNote(seed, inputs));
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  auto coord = [&]() -> float {
    switch (rng() % 16) {
      case 0: return NAN;
      case 1: return INFINITY;
      case 2: return unit(rng) * 1e6f;
      case 3: return 2.5f;  // on the near plane
      default: return unit(rng) * 20.0f;
    }
  };
  auto point3 = [&]() { return PwVec3{coord(), coord(), std::fabs(coord())}; };
  auto point2 = [&]() -> PwPoint2 {
    const int big = static_cast<int>(rng() % 4);
    const long long range = big == 0 ? 2000000000 : 60;
    auto one = [&]() {
      return static_cast<int>(static_cast<long long>(rng() % (2 * range + 1)) - range);
    };
    return {one(), one()};
  };
  // Twenty line walks (an outline and a polyline of ten points) or the
  // rows of two discs, each across the 33 x 21 image at most.
  const unsigned long long most = 20 * (33 + 21);
  for (int i = 0; i < inputs; ++i) {
    const unsigned long long walked = PwZWalked();
    const PwColor c = {static_cast<int>(rng() % 256), static_cast<int>(rng() % 256),
                       static_cast<int>(rng() % 256)};
    PwVec3 p[70], n[70];
    PwPoint2 q[10];
    const int count = static_cast<int>(rng() % 70);
    for (int k = 0; k < count; ++k) {
      p[k] = point3();
      n[k] = point3();
    }
    for (PwPoint2& v : q) v = point2();
    switch (i % 12) {
      case 0: PwImagePolygon3(count, p, c); break;
      case 1: PwImageFacet3(count, p, n[0], c); break;
      case 2: PwImageSmoothPolygon3(count % 8, p, n, c); break;
      case 3: PwImageDrawPolygon3(count, p, c); break;
      case 4:
        PwImageLine3(p[0], p[1], c);
        PwImageDrawLine3(p[2], p[3], c);
        break;
      case 5:
        PwImagePoint3(p[0], c);
        PwImageDrawPoint3(p[1], c);
        break;
      case 6:
        PwImageDisc3(p[0], coord(), c);
        PwImageDrawDisc3(p[1], coord(), c);
        break;
      case 7:
        PwImageLine2(q[0], q[1], c);
        PwImagePoint2(q[2], c);
        break;
      case 8: PwImageEllipse2(q[0], q[1].x, q[1].y, c); break;
      case 9: PwImagePolygon2(static_cast<int>(rng() % 10), q, c); break;
      case 10:
        PwImageBox2(q[0], q[1], c);
        PwImageRect2(q[2], q[3], c);
        break;
      default:
        PwImageOutline2(10, q, c);
        PwImagePolyline2(10, q, c);
        break;
    }
    const unsigned long long steps = PwZWalked() - walked;
    ASSERT_LE(steps, most) << "primitive " << i << " (kind " << i % 12 << ")";
  }
  EXPECT_TRUE(surface.Intact());
  EXPECT_EQ(0, PwImageEnd());  // format 99: no file
  PwImageReset();
  PwZInit();
}

}  // namespace
