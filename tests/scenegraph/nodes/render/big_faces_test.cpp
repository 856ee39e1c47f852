// Faces of many vertices: cut into pieces that cover exactly the face, drawn
// whole on the screen and in the image file, and refused whole beyond the
// primitive buffer's bound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "graphics/formats/model_capture.h"
#include "graphics/state3d/state3d.h"
#include "graphics/zbuffer/image_file_helpers.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/nodes/geometry/point_line_face_sets.h"
#include "scenegraph/nodes/render/polygon_pieces.h"

namespace {

using kstest::Recorded;

constexpr double kTwoPi = 6.283185307179586;

std::vector<PwVec3> Disc(int n, float r) {
  std::vector<PwVec3> v;
  for (int i = 0; i < n; ++i) {
    const double a = kTwoPi * i / n;
    v.push_back({static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)), 5});
  }
  return v;
}

// The U of the face-set tests, each edge cut into k collinear steps.
std::vector<PwVec3> Notched(int k) {
  const float u[8][2] = {{-1, -1},      {1, -1},        {1, 1},     {0.5f, 1},
                         {0.5f, -0.5f}, {-0.5f, -0.5f}, {-0.5f, 1}, {-1, 1}};
  std::vector<PwVec3> v;
  for (int e = 0; e < 8; ++e) {
    const float* a = u[e];
    const float* b = u[(e + 1) % 8];
    for (int i = 0; i < k; ++i) {
      const float t = static_cast<float>(i) / static_cast<float>(k);
      v.push_back({a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, 5});
    }
  }
  return v;
}

double Area(const std::vector<PwVec3>& v, const int* idx, int n) {
  double s = 0;
  for (int i = 0; i < n; ++i) {
    const PwVec3& a = v[idx ? idx[i] : i];
    const PwVec3& b = v[idx ? idx[(i + 1) % n] : (i + 1) % n];
    s += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return s / 2;
}

bool Inside(const std::vector<PwVec3>& v, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
    if ((v[i].y > y) != (v[j].y > y) &&
        x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
      in = !in;
  }
  return in;
}

struct Pieces {
  const std::vector<PwVec3>* polygon;
  int count = 0, largest = 0, outside = 0;
  double area = 0;
};

void Collect(void* context, const int* idx, int n) {
  auto* p = static_cast<Pieces*>(context);
  ++p->count;
  if (n > p->largest) p->largest = n;
  const double a = Area(*p->polygon, idx, n);
  p->area += a;
  // A triangle's centre lies in the face; a fan piece's first edges do.
  double cx = 0, cy = 0;
  for (int i = 0; i < 3; ++i) {
    cx += (*p->polygon)[idx[i]].x / 3.0;
    cy += (*p->polygon)[idx[i]].y / 3.0;
  }
  if (std::fabs(a) > 1e-9 && !Inside(*p->polygon, cx, cy)) ++p->outside;
}

TEST(PolygonPiecesTest, PiecesCoverExactlyTheFace) {
  struct Case {
    const char* name;
    std::vector<PwVec3> polygon;
  };
  const Case cases[] = {
      {"disc of 65", Disc(65, 2)},
      {"disc of 300", Disc(300, 2)},
      {"disc of 5000", Disc(5000, 2)},
      {"notched, 304 vertices", Notched(38)},
      {"notched, 2000 vertices", Notched(250)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pieces p;
    p.polygon = &c.polygon;
    const int n = static_cast<int>(c.polygon.size());
    EXPECT_EQ(KsSplitPolygon(n, c.polygon.data(), Collect, &p), p.count);
    EXPECT_GT(p.count, 1);
    EXPECT_LE(p.largest, KS_PIECE_VERTICES);
    // Same orientation, same area, nothing outside: no overlap, no gap.
    const double whole = Area(c.polygon, nullptr, n);
    EXPECT_NEAR(p.area, whole, 1e-4 * std::fabs(whole));
    EXPECT_EQ(p.outside, 0);
  }
}

TEST(PolygonPiecesTest, HostileFacesAreBoundedInWork) {
  // A comb of teeth: half its corners reflex. Past the ear-clipping bound
  // it goes on as a fan without any inside test; below it the work is
  // bounded by the budget, not the cube of the count.
  auto comb = [](int teeth) {
    std::vector<PwVec3> v;
    for (int i = 0; i < teeth; ++i) {
      v.push_back({static_cast<float>(i), 0, 5});
      v.push_back({i + 0.5f, 10, 5});
    }
    v.push_back({static_cast<float>(teeth), 0, 5});
    v.push_back({static_cast<float>(teeth), -1, 5});
    v.push_back({0, -1, 5});
    return v;
  };
  for (int teeth : {2000, KS_EAR_CLIP_VERTICES}) {
    const std::vector<PwVec3> v = comb(teeth);
    Pieces p;
    p.polygon = &v;
    KsResetEarClipWork();
    const int n = static_cast<int>(v.size());
    EXPECT_GT(KsSplitPolygon(n, v.data(), Collect, &p), 0);
    if (n > KS_EAR_CLIP_VERTICES) {
      EXPECT_EQ(KsEarClipWork(), 0);
    } else {
      EXPECT_LE(KsEarClipWork(), 1LL << 26);
      EXPECT_NEAR(p.area, Area(v, nullptr, n), 1e-3 * std::fabs(Area(v, nullptr, n)));
      EXPECT_EQ(p.outside, 0);
    }
  }
  // Nothing to cut, and points far out of float range.
  Pieces p;
  const std::vector<PwVec3> two = Disc(2, 1);
  p.polygon = &two;
  EXPECT_EQ(KsSplitPolygon(2, two.data(), Collect, &p), 0);
  std::vector<PwVec3> wild = Disc(100, 1);
  wild[7] = {3e38f, -3e38f, 3e38f};
  p.polygon = &wild;
  EXPECT_GE(KsSplitPolygon(100, wild.data(), Collect, &p), 1);
  wild[9] = {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(), 0};
  EXPECT_GE(KsSplitPolygon(100, wild.data(), Collect, &p), 1);
}

// A face read from a file, drawn as a frame draws it: on the screen (the
// painter's list) and into the image file's buffer at once.
class BigFacePictureTest : public kstest::RenderTest {
 protected:
  struct Coverage {
    std::vector<char> screen, image;
    int screenCount = 0, imageCount = 0;
  };

  static std::string FaceText(const std::vector<PwVec3>& v) {
    std::string t =
        "Transform { translation 0 0 -5 children Shape {"
        " appearance Appearance { material Material { diffuseColor 1 0 0 } }"
        " geometry IndexedFaceSet { coord Coordinate { point [";
    for (const PwVec3& p : v) t += std::to_string(p.x) + " " + std::to_string(p.y) + " 0, ";
    t += "] } coordIndex [";
    for (size_t i = 0; i < v.size(); ++i) t += std::to_string(i) + " ";
    return t + "] } } }";
  }

  Coverage Paint(const std::vector<PwVec3>& face) {
    EXPECT_EQ(Read(FaceText(face)), "");
    const std::string path = ImageTempPath("big_face.tif");
    EXPECT_EQ(PwZInit(), 1);
    EXPECT_EQ(PwImageBegin(path.c_str(), 0, 160, 120), 1);
    PwSetLighting(0);
    PwScreenClear();
    const unsigned int background = surface.At(0, 0);
    // The first frame computes the corner normals and draws the face
    // flat; later ones draw it smooth with the stored (short) normals.
    PwPose zero = {};
    for (int frame = 0; frame < 2; ++frame) {
      PwSetEye(&zero);
      Draw();
      PwFlushSorted();
      if (frame == 1) {
        EXPECT_EQ(Recorded().back().normals.size(), face.size());
      }
    }
    Coverage c;
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 160; ++x) {
        const bool s = surface.At(x, y) != background;
        float depth = 0;
        PwImageGetPixel(x, y, nullptr, &depth);
        const bool i = depth < 100.0f;
        c.screen.push_back(s);
        c.image.push_back(i);
        c.screenCount += s;
        c.imageCount += i;
      }
    }
    PwImageEnd();
    std::remove(path.c_str());
    return c;
  }

  // Pixels of a that differ from b away from b's outline: vertices go to
  // whole pixels, so an outline drawn with other corners may move by one.
  static int Differ(const std::vector<char>& a, const std::vector<char>& b) {
    int n = 0;
    for (int y = 1; y < 119; ++y) {
      for (int x = 1; x < 159; ++x) {
        const int i = y * 160 + x;
        if (a[i] == b[i]) continue;
        bool outline = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) outline |= b[i + dy * 160 + dx] != b[i];
        n += !outline;
      }
    }
    return n;
  }
};

TEST_F(BigFacePictureTest, BigDiscsCoverTheSamePixelsAsASmallOne) {
  // A disc of radius 2 at depth 5: about 6,400 pixels of the 160 x 120
  // view. A face cut at its 256th corner misses 2% of them at 300 corners
  // and half at 512; the image file drew none beyond 64.
  const Coverage reference = Paint(Disc(100, 2));
  ASSERT_GT(reference.screenCount, 6000);
  ASSERT_GT(reference.imageCount, 6000);
  for (int n : {300, 700, 5000}) {
    SCOPED_TRACE(n);
    const Coverage c = Paint(Disc(n, 2));
    EXPECT_LE(Differ(c.screen, reference.screen), 4) << c.screenCount;
    EXPECT_LE(Differ(c.image, reference.image), 4) << c.imageCount;
  }
  EXPECT_TRUE(surface.Intact());
}

TEST_F(BigFacePictureTest, ANotchedFaceOfManyCornersKeepsItsNotch) {
  // The same U with every edge cut into collinear steps: the same pixels,
  // so the notch stays empty (a fan about the first corner would fill it).
  const Coverage reference = Paint(Notched(1));
  ASSERT_GT(reference.screenCount, 1000);
  for (int k : {38, 625}) {
    SCOPED_TRACE(k * 8);
    const Coverage c = Paint(Notched(k));
    EXPECT_LE(Differ(c.screen, reference.screen), 4) << c.screenCount;
    EXPECT_LE(Differ(c.image, reference.image), 4) << c.imageCount;
  }
}

TEST_F(BigFacePictureTest, TheCapturedModelHoldsEveryCornerAndTheWholeArea) {
  // An SRF capture of a face of 300 corners: all 300 points, in faces
  // whose areas add up to the face's (twice: a face without normals is
  // captured with both windings).
  const std::vector<PwVec3> face = Disc(300, 2);
  ASSERT_EQ(Read(FaceText(face)), "");
  PwModelResetState();
  const std::string path = ImageTempPath("big_face.srf");
  ASSERT_EQ(PwSrfBegin(path.c_str()), 1);
  PwPose zero = {};
  PwSetEye(&zero);
  Draw();
  EXPECT_EQ(PwModelVertexCount(), 300);
  ASSERT_GT(PwModelFaceCount(), 1);
  double area = 0;
  for (int f = 0; f < PwModelFaceCount(); ++f) {
    int kind = -1, nv = 0, nn = 0;
    PwColor colour;
    const int* vi = nullptr;
    const int* ni = nullptr;
    ASSERT_EQ(PwModelGetFace(f, &kind, &colour, &nv, &vi, &nn, &ni), 1);
    std::vector<PwVec3> corners(nv);
    int flag = 0;
    for (int i = 0; i < nv; ++i) PwModelGetVertex(vi[i], &corners[i], &flag);
    area += std::fabs(Area(corners, nullptr, nv));
  }
  EXPECT_NEAR(area, 2 * std::fabs(Area(face, nullptr, 300)), 1e-3);
  EXPECT_EQ(PwSrfEnd(), 1);
  std::remove(path.c_str());
  PwModelResetState();
}

TEST_F(BigFacePictureTest, AFaceOfAMillionCornersIsRefusedAndTheNextIsDrawn) {
  ASSERT_EQ(Read("IndexedFaceSet { coord Coordinate { point [0 0 -5, 1 0 -5, 0 1 -5] } }"), "");
  auto* face = static_cast<KsIndexedFaceSet*>(scene->GetNode(0));
  std::vector<int> idx;
  for (int i = 0; i < 1000000; ++i) idx.push_back(i % 3);
  idx.insert(idx.end(), {-1, 0, 1, 2});
  face->coordIndex.Set(static_cast<int>(idx.size()), idx.data());
  PwPose zero = {};
  PwSetEye(&zero);
  Draw();
  ASSERT_EQ(Recorded().size(), 1u);
  EXPECT_EQ(Recorded()[0].vertices.size(), 3u);
}

}  // namespace
