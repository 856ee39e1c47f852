// The image output: its buffer, its set-up of the renderer for the image
// size, the depth test of its pixel callbacks, the 2D scaling and the file
// it writes at the end.
#include "graphics/zbuffer/image_output.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/draw2d/draw2d.h"
#include "graphics/guarded_surface.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/zbuffer/image_file_helpers.h"
#include "graphics/zbuffer/zbuffer.h"
#include "graphics/zbuffer/zbuffer_alloc.h"

namespace {

std::vector<std::size_t>& Asked() {
  static std::vector<std::size_t> asked;
  return asked;
}

void* RecordAndFail(std::size_t bytes) {
  Asked().push_back(bytes);
  return nullptr;
}

class ImageOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(1, PwZInit());
    PwImageReset();
    Asked().clear();
  }
  void TearDown() override {
    PwZSetAllocFunc(nullptr);
    PwSetHighlightCode(0);
    PwImageReset();
    PwZInit();
  }
  static PwColor Pixel(int x, int y) {
    PwColor c = {-1, -1, -1};
    PwImageGetPixel(x, y, &c, nullptr);
    return c;
  }
  static float Depth(int x, int y) {
    float d = -1.0f;
    PwImageGetPixel(x, y, nullptr, &d);
    return d;
  }
};

// Eye-space square at depth z covering the middle of a 64 x 48 view.
std::vector<PwVec3> Square(float z) {
  return {{-z / 4, -z / 4, z}, {z / 4, -z / 4, z}, {z / 4, z / 4, z}, {-z / 4, z / 4, z}};
}

bool Same(PwColor a, PwColor b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

const PwColor kRed = {0, 255, 0}, kGreen = {255, 0, 0}, kBlue = {0, 0, 255};

TEST_F(ImageOutputTest, EndWithoutBeginDoesNothing) {
  GuardedSurface surface(64, 48);
  EXPECT_EQ(0, PwImageEnd());
  EXPECT_EQ(0, PwImageIsActive());
}

TEST_F(ImageOutputTest, BeginRefusals) {
  GuardedSurface surface(64, 48);
  const std::string path = ImageTempPath("zb_never.tif");
  EXPECT_EQ(0, PwImageBegin(nullptr, 0, 8, 8));
  EXPECT_EQ(0, PwImageBegin(std::string(260, 'a').c_str(), 0, 8, 8));
  EXPECT_EQ(0, PwImageBegin(path.c_str(), 0, 0, 8));
  EXPECT_EQ(0, PwImageBegin(path.c_str(), 0, 8, -1));
  EXPECT_EQ(0, PwImageIsActive());
  PwZSetAllocFunc(RecordAndFail);
  EXPECT_EQ(0, PwImageBegin(path.c_str(), 0, 8, 8));
  EXPECT_EQ(0, PwImageIsActive());
  // (W + 1) x (H + 1) depths asked for first.
  EXPECT_EQ((std::vector<std::size_t>{9 * 9 * sizeof(float)}), Asked());
}

TEST_F(ImageOutputTest, HugeSizesAreComputedWithoutOverflow) {
  GuardedSurface surface(64, 48);
  const std::string path = ImageTempPath("zb_huge.tif");
  PwZSetAllocFunc(RecordAndFail);
  EXPECT_EQ(0, PwImageBegin(path.c_str(), 0, 65535, 65535));
  if (sizeof(std::size_t) >= 8) {
    ASSERT_EQ(1u, Asked().size());
    EXPECT_EQ(65536ull * 65536ull * sizeof(float), static_cast<unsigned long long>(Asked()[0]));
  } else {
    EXPECT_TRUE(Asked().empty());  // beyond the address space: never asked
  }
  Asked().clear();
  EXPECT_EQ(0, PwImageBegin(path.c_str(), 0, INT_MAX, INT_MAX));  // 2^64 bytes
  EXPECT_TRUE(Asked().empty());
  EXPECT_EQ(0, PwImageIsActive());
}

TEST_F(ImageOutputTest, BeginClearsAndSetsUpTheRenderer) {
  GuardedSurface surface(64, 48);
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_setup.tif").c_str(), 0, 128, 96));
  EXPECT_EQ(1, PwImageIsActive());
  int w = 0, h = 0;
  EXPECT_EQ(1, PwImageGetSize(&w, &h));
  EXPECT_EQ(128, w);
  EXPECT_EQ(96, h);
  EXPECT_FLOAT_EQ(10000.0f, Depth(127, 95));
  EXPECT_TRUE(Same({0, 0, 0}, Pixel(0, 0)));
  int v[6];
  PwZGetViewport(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
  EXPECT_EQ((std::vector<int>{0, 0, 127, 95, 64, 48}), std::vector<int>(v, v + 6));
  float mag = 0, near_d = 0;
  PwZGetMagnification(&mag, &near_d);
  EXPECT_FLOAT_EQ(90.0f, mag);  // trunc(128 * 45.254833 / 64)
  EXPECT_FLOAT_EQ(2.5f, near_d);
  // The light, as a model point through the combined frame.
  const PwVec3 world = {1, 2, -300};
  PwSetLight(&world);
  PwVec3 expected, light;
  PwModelToEye(&expected, &world);
  PwZGetLight(&light);
  EXPECT_FLOAT_EQ(expected.z, light.z);
  EXPECT_EQ(0, PwImageGetPixel(128, 0, nullptr, nullptr));
  EXPECT_EQ(1, PwImageEnd());
  std::remove(ImageTempPath("zb_setup.tif").c_str());
}

TEST_F(ImageOutputTest, DoubleSizeDoublesCoordinatesAndMagnification) {
  GuardedSurface surface(640, 480);
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_double.tif").c_str(), 99, 1280, 960));
  int cx = 0, cy = 0;
  PwZGetViewport(nullptr, nullptr, nullptr, nullptr, &cx, &cy);
  EXPECT_EQ(640, cx);
  EXPECT_EQ(480, cy);
  float mag = 0;
  PwZGetMagnification(&mag, nullptr);
  EXPECT_FLOAT_EQ(905.0f, mag);  // 2 * 452.54834, truncated
  PwDrawBox2({10, 10}, {12, 12}, kRed);
  EXPECT_TRUE(Same(kRed, Pixel(20, 20)));
  EXPECT_TRUE(Same(kRed, Pixel(24, 24)));
  EXPECT_FALSE(Same(kRed, Pixel(25, 24)));
  EXPECT_FALSE(Same(kRed, Pixel(19, 20)));
  PwDrawPoint2({100, 100}, kBlue);
  EXPECT_TRUE(Same(kBlue, Pixel(201, 201)));
  PwDrawLine2({0, 300}, {50, 300}, kGreen);
  EXPECT_TRUE(Same(kGreen, Pixel(100, 600)));
  const PwPoint2 tri[] = {{300, 100}, {340, 100}, {300, 140}};
  PwDrawPolygon2(3, tri, kGreen);
  EXPECT_TRUE(Same(kGreen, Pixel(605, 205)));
  PwDrawEllipse2({400, 400}, 10, 10, kBlue);
  EXPECT_TRUE(Same(kBlue, Pixel(800, 815)));
  EXPECT_FALSE(Same(kBlue, Pixel(800, 830)));
  PwDrawRect2({500, 50}, {520, 60}, kRed);
  EXPECT_TRUE(Same(kRed, Pixel(1000, 110)));
  EXPECT_FALSE(Same(kRed, Pixel(1010, 110)));
  // Another format than 0, 1 or 2: no file, the output still ends.
  EXPECT_EQ(0, PwImageEnd());
  EXPECT_EQ(0, PwImageIsActive());
  EXPECT_FALSE(ImageFileExists(ImageTempPath("zb_double.tif")));
}

TEST_F(ImageOutputTest, DepthTestAndWrittenOver) {
  GuardedSurface surface(64, 48);
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_depth.ppm").c_str(), 2, 64, 48));
  PwZSetShading(0);
  const auto far_sq = Square(20), mid = Square(10), back = Square(30);
  PwImagePolygon3(4, far_sq.data(), kRed);
  EXPECT_TRUE(Same(kRed, Pixel(32, 24)));
  PwImagePolygon3(4, mid.data(), kGreen);
  EXPECT_TRUE(Same(kGreen, Pixel(32, 24)));
  PwImagePolygon3(4, far_sq.data(), kRed);  // behind: stays green
  EXPECT_TRUE(Same(kGreen, Pixel(32, 24)));
  // Equal depth: the first one keeps the pixel.
  PwImagePolygon3(4, mid.data(), kBlue);
  EXPECT_TRUE(Same(kGreen, Pixel(32, 24)));
  // Drawn at once: shows over the nearer one, depth unchanged.
  PwImageDrawPolygon3(4, back.data(), kBlue);
  EXPECT_TRUE(Same(kBlue, Pixel(32, 24)));
  EXPECT_FLOAT_EQ(10.0f, Depth(32, 24));
  EXPECT_EQ(0, PwImageDepthTestMode());
  // A depth-tested primitive nearer than the stored depth paints again.
  const auto between = Square(9.5f);
  PwImagePolygon3(4, Square(15).data(), kRed);
  EXPECT_TRUE(Same(kBlue, Pixel(32, 24)));
  PwImagePolygon3(4, between.data(), kRed);
  EXPECT_TRUE(Same(kRed, Pixel(32, 24)));
  EXPECT_EQ(1, PwImageDepthTestMode());
  // A new frame clears the depths and keeps the colours.
  const PwPose zero = {};
  PwSetEye(&zero);
  EXPECT_FLOAT_EQ(10000.0f, Depth(32, 24));
  EXPECT_TRUE(Same(kRed, Pixel(32, 24)));
  PwImagePolygon3(4, far_sq.data(), kGreen);
  EXPECT_TRUE(Same(kGreen, Pixel(32, 24)));
  // Callbacks outside the image are ignored.
  PwImageDepthPixel(0, -1, 0, 1, 2, 3, 0.0f);
  PwImageDepthPixel(0, 64, 0, 1, 2, 3, 0.0f);
  PwImagePlainPixel(0, 0, 48, 1, 2, 3);
  PwImagePlainPixel(0, INT_MIN, INT_MAX, 1, 2, 3);
  PwImageSetDepthTestMode(7);  // any other mode writes nothing
  PwImageDepthPixel(0, 32, 24, 9, 9, 9, 0.0f);
  EXPECT_TRUE(Same(kGreen, Pixel(32, 24)));
  std::remove(ImageTempPath("zb_depth.ppm").c_str());
}

TEST_F(ImageOutputTest, LinesPointsAndDiscsOfBothModes) {
  GuardedSurface surface(64, 48);
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_lpd.ppm").c_str(), 2, 64, 48));
  PwImageDisc3({0, 0, 10}, 1.0f, kRed);
  EXPECT_TRUE(Same(kRed, Pixel(32, 24)));
  EXPECT_FLOAT_EQ(10.0f, Depth(32, 24));
  PwImageDrawDisc3({0, 0, 50}, 3.0f, kBlue);
  EXPECT_TRUE(Same(kBlue, Pixel(32, 24)));
  PwImagePoint3({0, 0, 20}, kGreen);  // behind the disc
  EXPECT_TRUE(Same(kBlue, Pixel(32, 24)));
  PwImageDrawPoint3({0, 0, 20}, kGreen);
  EXPECT_TRUE(Same(kGreen, Pixel(32, 24)));
  PwImageLine3({-10, 1, 5}, {10, 1, 5}, kRed);
  EXPECT_TRUE(Same(kRed, Pixel(10, 15)));
  PwImageDrawLine3({-10, 0, 500}, {10, 0, 500}, kBlue);
  EXPECT_TRUE(Same(kBlue, Pixel(32, 24)));
  PwImageEnd();
  std::remove(ImageTempPath("zb_lpd.ppm").c_str());
}

TEST_F(ImageOutputTest, Polygon2NeedsScratch) {
  GuardedSurface surface(32, 24, kPwDepth16, 16);  // a 16-byte scratch pool
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_scratch.ppm").c_str(), 2, 32, 24));
  const PwPoint2 tri[] = {{2, 2}, {20, 2}, {2, 20}};  // 24 bytes of scaled points
  PwImagePolygon2(3, tri, kRed);
  EXPECT_FALSE(Same(kRed, Pixel(4, 4)));
  const PwPoint2 two[] = {{2, 2}, {20, 2}};
  PwImagePolygon2(2, two, kRed);  // fits; a line has no inside
  PwImageOutline2(3, tri, kRed);
  EXPECT_TRUE(Same(kRed, Pixel(10, 2)));
  EXPECT_TRUE(Same(kRed, Pixel(2, 10)));
  PwImagePolyline2(0, tri, kRed);
  PwImageOutline2(0, tri, kRed);
  PwImageEnd();
  std::remove(ImageTempPath("zb_scratch.ppm").c_str());
}

struct RowOrderCase {
  const char* name;
  int format;
  std::size_t header;
  std::size_t row_bytes;
  bool bottom_first;
  bool bgr;
};

class ImageRowOrderTest : public ImageOutputTest,
                          public ::testing::WithParamInterface<RowOrderCase> {};

// A 4 x 2 image with a red top row and a blue bottom row, written by
// PwImageEnd in each format.
TEST_P(ImageRowOrderTest, RowsLandInFileOrder) {
  const RowOrderCase& c = GetParam();
  GuardedSurface surface(64, 48);
  const std::string path = ImageTempPath(std::string("zb_rows_") + c.name);
  ASSERT_EQ(1, PwImageBegin(path.c_str(), c.format, 4, 2));
  for (int x = 0; x < 4; ++x) {
    PwImagePlainPixel(0, x, 0, 255, 0, 0);
    PwImagePlainPixel(0, x, 1, 0, 0, 255);
  }
  ASSERT_EQ(1, PwImageEnd());
  EXPECT_EQ(0, PwImageIsActive());
  const auto b = ReadImageFile(path);
  ASSERT_EQ(c.header + 2 * c.row_bytes, b.size());
  if (c.format == 1) {
    EXPECT_EQ(78u, Little32(b, 2));  // no padding at 12 bytes a row
  }
  const std::size_t first = c.header, second = c.header + c.row_bytes;
  const std::size_t top = c.bottom_first ? second : first;
  const std::size_t bottom = c.bottom_first ? first : second;
  const std::size_t red_at = c.bgr ? 2 : 0, blue_at = c.bgr ? 0 : 2;
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(255, b[top + 3 * x + red_at]) << x;
    EXPECT_EQ(0, b[top + 3 * x + blue_at]) << x;
    EXPECT_EQ(255, b[bottom + 3 * x + blue_at]) << x;
    EXPECT_EQ(0, b[bottom + 3 * x + 1]) << x;
  }
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageRowOrderTest,
                         ::testing::Values(RowOrderCase{"tiff", 0, 512, 12, false, false},
                                           RowOrderCase{"bmp", 1, 54, 12, true, true},
                                           RowOrderCase{"ppm", 2, 11, 12, false, false}),
                         [](const ::testing::TestParamInfo<RowOrderCase>& i) {
                           return i.param.name;
                         });

TEST_F(ImageOutputTest, AFailedFileStillEndsTheOutput) {
  GuardedSurface surface(64, 48);
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_missing_dir/x.bmp").c_str(), 1, 8, 8));
  EXPECT_EQ(0, PwImageEnd());
  EXPECT_EQ(0, PwImageIsActive());
  EXPECT_EQ(0, PwImageGetSize(nullptr, nullptr));
  // A Begin while active drops the image under way (no leak, no file).
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_first.bmp").c_str(), 1, 8, 8));
  ASSERT_EQ(1, PwImageBegin(ImageTempPath("zb_second.bmp").c_str(), 1, 4, 4));
  int w = 0;
  PwImageGetSize(&w, nullptr);
  EXPECT_EQ(4, w);
  EXPECT_EQ(1, PwImageEnd());
  EXPECT_FALSE(ImageFileExists(ImageTempPath("zb_first.bmp")));
  EXPECT_EQ(54u + 4 * 12, ReadImageFile(ImageTempPath("zb_second.bmp")).size());
  std::remove(ImageTempPath("zb_second.bmp").c_str());
}

TEST_F(ImageOutputTest, AFrameThroughThePipelineIsLitAndWritten) {
  GuardedSurface surface(64, 48);
  const std::string path = ImageTempPath("zb_frame.tif");
  ASSERT_EQ(1, PwImageBegin(path.c_str(), 0, 64, 48));
  const PwVec3 light = {0, 0, -1000};
  PwSetLight(&light);
  const PwPose eye = {};
  PwSetEye(&eye);
  PwSetLighting(1);
  const PwVec3 sq[] = {{-1, -1, 10}, {-1, 1, 10}, {1, 1, 10}, {1, -1, 10}};
  EXPECT_EQ(0, PwPolygon3TwoSided(4, sq, {100, 100, 100}));
  // Lit head-on with the highlight: (0.3 + 0.8) * 100 + 0.8 * 255 -> 255.
  EXPECT_TRUE(Same({255, 255, 255}, Pixel(32, 24)));
  EXPECT_NEAR(10.0f, Depth(32, 24), 1e-4f);
  EXPECT_TRUE(Same({0, 0, 0}, Pixel(2, 2)));
  PwFlushSorted();
  ASSERT_EQ(1, PwImageEnd());
  const auto b = ReadImageFile(path);
  ASSERT_EQ(512u + 3 * 64 * 48, b.size());
  const std::size_t centre = 512 + 3 * (24 * 64 + 32);
  EXPECT_EQ(255, b[centre]);
  EXPECT_EQ(0, b[512]);
  std::remove(path.c_str());
  PwSetLighting(0);
}

struct HighlightCase {
  const char* name;
  bool library;  // no highlight set: the library's own
  PwColor specular;
  float shininess;
  bool lit[3];  // red, green, blue: shows a highlight
};

// The mean colour of the lit quad of an image, red, green, blue, and each
// channel's largest value.
struct QuadMeans {
  double mean[3] = {0, 0, 0};
  int max[3] = {0, 0, 0};
};

QuadMeans DrawLitQuad(const HighlightCase& c, bool smooth, PwColor colour) {
  GuardedSurface surface(64, 48);
  PwImageBegin(ImageTempPath("zb_highlight.bmp").c_str(), 1, 64, 48);
  const PwVec3 light = {0, 0, -1000};  // behind the viewer: the highlight faces it
  PwSetLight(&light);
  const PwPose eye = {};
  PwSetEye(&eye);
  PwSetLighting(1);
  if (!c.library) PwSetHighlight(c.specular, c.shininess);
  const PwVec3 sq[] = {{-2, -2, 10}, {-2, 2, 10}, {2, 2, 10}, {2, -2, 10}};
  const PwVec3 normals[] = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
  if (smooth) {
    PwSmoothPolygon3(4, sq, normals, colour);
  } else {
    PwPolygon3TwoSided(4, sq, colour);
  }
  QuadMeans q;
  int n = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      PwColor p;
      float depth;
      PwImageGetPixel(x, y, &p, &depth);
      if (depth > 11.0f) continue;  // background
      const int rgb[3] = {p.red, p.green, p.blue};
      for (int k = 0; k < 3; ++k) {
        q.mean[k] += rgb[k];
        if (rgb[k] > q.max[k]) q.max[k] = rgb[k];
      }
      ++n;
    }
  }
  EXPECT_GT(n, 200) << c.name;
  for (double& m : q.mean) m /= n > 0 ? n : 1;
  PwFlushSorted();
  PwImageReset();
  PwSetHighlightCode(0);
  PwSetLighting(0);
  return q;
}

TEST_F(ImageOutputTest, LitSurfacesTakeTheirHighlightInTheImage) {
  // An orange with room above its diffuse light (ambient 0.3 + 0.8 n.L,
  // 1.06 to 1.1 times each channel over the quad) for a highlight.
  const PwColor orange = {100, 150, 40};
  const int diffuse[3] = {orange.red, orange.green, orange.blue};
  const HighlightCase cases[] = {
      {"no_specular", false, {0, 0, 0}, 0.2f, {false, false, false}},
      {"white", false, {255, 255, 255}, 0.2f, {true, true, true}},
      {"red_only", false, {0, 255, 0}, 0.2f, {true, false, false}},
      {"library_own", true, {0, 0, 0}, 0.0f, {true, true, true}},
  };
  for (bool smooth : {false, true}) {
    for (const HighlightCase& c : cases) {
      const QuadMeans q = DrawLitQuad(c, smooth, orange);
      for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(std::string(c.name) + (smooth ? " smooth" : " flat") + " channel " +
                     std::to_string(k));
        if (c.lit[k]) {
          EXPECT_GT(q.mean[k], 1.1 * diffuse[k] + 40);
        } else {
          EXPECT_GE(q.mean[k], 1.06 * diffuse[k] - 1);
          EXPECT_LE(q.mean[k], 1.1 * diffuse[k] + 1);
          EXPECT_LE(q.max[k], 1.1 * diffuse[k] + 1);
        }
      }
    }
  }
  // The exponent narrows the highlight: 128 (shininess 1) against 26.
  const HighlightCase wide = {"wide", false, {255, 255, 255}, 0.2f, {}};
  const HighlightCase sharp = {"sharp", false, {255, 255, 255}, 1.0f, {}};
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "flat");
    const double wide_blue = DrawLitQuad(wide, smooth, orange).mean[2];
    const double sharp_blue = DrawLitQuad(sharp, smooth, orange).mean[2];
    EXPECT_LT(sharp_blue, wide_blue - 20);
    EXPECT_GT(sharp_blue, 1.1 * orange.blue + 5);
  }
}

}  // namespace
