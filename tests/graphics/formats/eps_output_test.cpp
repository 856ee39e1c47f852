#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "graphics/draw2d/draw2d.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/eps_output.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/guarded_surface.h"

namespace {

const PwColor kRed = {0, 255, 0};  // green, red, blue
const PwColor kGreen = {255, 0, 0};
const PwColor kBlack = {0, 0, 0};

std::string ReadText(const std::string& path) {
  std::string text;
  std::FILE* f = std::fopen(path.c_str(), "r");
  if (f == nullptr) return "<missing>";
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

const char kProlog[] =
    "\n%%BeginProlog\n512 dict begin\n"
    "\n/L {\n    lineto\n} def\n"
    "\n/m {\n    moveto\n} def\n"
    "\n/@w {\n    pop\n    setlinewidth\n    pop\n    pop\n} def\n"
    "\n/K {\n    /fgColK exch def\n    /fgColY exch def\n    /fgColM exch def\n"
    "    /fgColC exch def\n} def\n"
    "\n/k {\n    /bgColK exch def\n    /bgColY exch def\n    /bgColM exch def\n"
    "    /bgColC exch def\n} def\n"
    "\n/S {\n    fgColC fgColM fgColY fgColK setcmykcolor\n    stroke\n} def\n"
    "\n/B {\n    bgColC bgColM bgColY bgColK setcmykcolor\n    eofill\n"
    "    fgColC fgColM fgColY fgColK setcmykcolor\n    stroke\n} def\n"
    "\n/z {\n    25 div\n    /fntSize exch def\n    /fntType exch def\n} def\n"
    "\n/@t {\n    /textString exch def\n    /textPosY exch def\n    /textPosX exch def\n} def\n"
    "\n/T {\n    fgColC fgColM fgColY fgColK setcmykcolor\n    fntType findfont\n"
    "    fntSize scalefont\n    setfont\n    textPosX textPosY m\n    textString show\n} def\n"
    "%%EndProlog\n\n%%BeginSetup\n%%EndSetup\n\n";
const char kTrailer[] = "\n%%Trailer\n showpage\n\n end\n";

class EpsOutputTest : public ::testing::Test {
 protected:
  EpsOutputTest() : surface_(640, 480) { PwEpsResetState(); }
  ~EpsOutputTest() override {
    PwEpsResetState();
    std::remove(path_.c_str());
  }

  void Begin() { ASSERT_EQ(PwEpsBegin(path_.c_str(), 500, 500), 1); }

  // The shapes between the prolog and the trailer of the finished page.
  std::string Body() {
    EXPECT_EQ(PwEpsEnd(), 1);
    const std::string text = ReadText(path_);
    const std::string head = "%%EndSetup\n\n";
    const std::size_t from = text.find(head);
    const std::size_t to = text.rfind(kTrailer);
    if (from == std::string::npos || to == std::string::npos || to < from) return text;
    return text.substr(from + head.size(), to - from - head.size());
  }

  GuardedSurface surface_;
  std::string path_ = ::testing::TempDir() + "eps_output_test.eps";
};

TEST_F(EpsOutputTest, PageKeepsTheDrawingAreaProportions) {
  Begin();
  int ew = 0, eh = 0;
  float s = 0;
  PwEpsGetPage(&ew, &eh, &s);
  EXPECT_EQ(ew, 16000);
  EXPECT_EQ(eh, 12000);
  EXPECT_EQ(s, 25.0f);
  EXPECT_EQ(PwEpsIsActive(), 1);
  ASSERT_EQ(PwEpsEnd(), 1);
  EXPECT_EQ(PwEpsIsActive(), 0);
  EXPECT_EQ(
      ReadText(path_),
      std::string("%!PS-Adobe-2.0 EPSF-2.0\n%%BoundingBox: 50 215 550 590\n") + kProlog + kTrailer);
}

TEST_F(EpsOutputTest, TallAreaNarrowsThePage) {
  GuardedSurface tall(300, 600);
  ASSERT_EQ(PwEpsBegin(path_.c_str(), 400, 400), 1);
  int ew = 0, eh = 0;
  float s = 0;
  PwEpsGetPage(&ew, &eh, &s);
  EXPECT_EQ(ew, 32 * 200);
  EXPECT_EQ(eh, 32 * 400);
  EXPECT_FLOAT_EQ(s, 32.0f * 200 / 300);
  ASSERT_EQ(PwEpsEnd(), 1);
  EXPECT_NE(ReadText(path_).find("%%BoundingBox: 50 215 250 615\n"), std::string::npos);
}

TEST_F(EpsOutputTest, PointsLinesAndBoxes) {
  Begin();
  EXPECT_EQ(PwEpsPoint2({10, 20}, kRed), 1);
  EXPECT_EQ(PwEpsLine2({-10, 0}, {10, 0}, kGreen), 1);
  EXPECT_EQ(PwEpsBox2({20, 10}, {0, 0}, kBlack), 1);
  EXPECT_EQ(PwEpsMarker2({100, 100}, 3, kRed), 1);        // no such marker
  EXPECT_EQ(PwEpsBox2({-50, -50}, {-10, -10}, kRed), 1);  // beside the page
  EXPECT_EQ(PwEpsPoint2({640, 0}, kRed), 1);              // beyond the last column
  EXPECT_EQ(Body(),
            "0.0 1.0 1.0 0.0 K\n0.0 1.0 1.0 0.0 k\n"
            "0 2.0 2.0 0 @w\n57.81 574.38 m\n57.81 574.31 L\nS\n"
            "1.0 0.0 1.0 0.0 K\n1.0 0.0 1.0 0.0 k\n"
            "0 0 0 0 @w\n50.00 590.00 m\n57.81 590.00 L\nS\n"
            "1.0 1.0 1.0 0.0 K\n1.0 1.0 1.0 0.0 k\n"
            "0 0 0 0 @w\n50.00 590.00 m\n65.62 590.00 L\n65.62 582.19 L\n"
            "50.00 582.19 L\n50.00 590.00 L\nB\n");
}

TEST_F(EpsOutputTest, TextIsWrittenAsOctalBytes) {
  Begin();
  EXPECT_EQ(PwEpsText2("AB", {10, 20}, kBlack), 1);
  EXPECT_EQ(PwEpsText2("\x82\x60", {10, 20}, kBlack), 1);
  EXPECT_EQ(PwEpsText2("off", {-1, 20}, kBlack), 1);
  const std::string ink = "1.0 1.0 1.0 0.0 K\n1.0 1.0 1.0 0.0 k\n";
  EXPECT_EQ(Body(), ink + "/Times-Roman 333 z\n57.81 574.38 (\\101\\102) @t\nT\n" + ink +
                        "/Ryumin-Light-83pv-RKSJ-H 333 z\n57.81 574.38 (\\202\\140) @t\nT\n");
}

TEST_F(EpsOutputTest, TextLinesAreAlignedByTheLongestLine) {
  Begin();
  const char* lines[] = {"ab", "abcd", nullptr};
  // Centred: x - 4 * 4, y - 8 * 2 + 8; the next line 16 lower.
  PwEpsTextLines2({100, 100}, lines, 0, 0, kBlack);
  // Right-aligned and below: x - 8 * 4, y + 15.
  PwEpsTextLines2({100, 100}, lines, 2, 3, kBlack);
  const std::string body = Body();
  auto pos = [](int x, int y) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f %.2f (", 50 + x * 25 / 32.0, 590 - y * 25 / 32.0);
    return std::string(buf);
  };
  std::size_t at = 0;
  for (auto [x, y] : {std::pair{84, 92}, {84, 108}, {68, 115}, {68, 131}}) {
    at = body.find(pos(x, y), at);
    EXPECT_NE(at, std::string::npos) << x << "," << y;
  }
}

TEST_F(EpsOutputTest, PolygonsAreClippedToThePage) {
  Begin();
  const PwPoint2 triangle[] = {{-20, 0}, {20, 0}, {20, 40}};
  EXPECT_EQ(PwEpsPolygon2(3, triangle, kBlack), 1);
  const PwPoint2 outside[] = {{-20, 0}, {-10, 0}, {-10, 40}};
  EXPECT_EQ(PwEpsPolygon2(3, outside, kBlack), 1);
  const std::string body = Body();
  // The left corner moves onto the page edge: a quadrilateral.
  EXPECT_EQ(body.substr(body.find("@w\n") + 3),
            "50.00 590.00 m\n65.62 590.00 L\n65.62 558.75 L\n50.00 574.38 L\n50.00 590.00 L\nB\n");
}

TEST_F(EpsOutputTest, EllipsesAndMarkers) {
  Begin();
  PwEpsEllipse2({100, 100}, 10, 5, kBlack);
  PwEpsEllipseOutline2({100, 100}, 10, 5, kBlack);
  PwEpsMarker2({100, 100}, 0, kBlack);
  PwEpsMarker2({100, 100}, 1, kBlack);
  PwEpsMarker2({100, 100}, 2, kBlack);
  PwEpsRect2({10, 10}, {20, 20}, kBlack);
  const PwPoint2 zig[] = {{0, 0}, {10, 10}, {20, 0}};
  PwEpsPolyline2(3, zig, kBlack);
  PwEpsOutline2(3, zig, kBlack);
  const std::string body = Body();
  auto count = [&](const char* s) {
    int n = 0;
    for (std::size_t at = body.find(s); at != std::string::npos; at = body.find(s, at + 1)) ++n;
    return n;
  };
  // Filled: the ellipse, box marker and circle marker; stroked: 32 outline
  // segments, 2 cross strokes, 4 rectangle sides, 2 + 3 polyline segments.
  EXPECT_EQ(count("B\n"), 3);
  EXPECT_EQ(count("S\n"), 32 + 2 + 4 + 5);
  EXPECT_EQ(count(" L\n"), 32 + 32 + 4 + 32 + 2 + 4 + 5);
  // The ellipse starts at angle 0: (110, 100).
  EXPECT_NE(body.find("@w\n135.94 511.88 m\n"), std::string::npos);
}

TEST_F(EpsOutputTest, EntriesDoNothingWhileInactive) {
  const PwPoint2 p[] = {{0, 0}, {1, 1}, {2, 0}};
  const char* lines[] = {"x", nullptr};
  EXPECT_EQ(PwEpsEnd(), 0);
  EXPECT_EQ(PwEpsLine2(p[0], p[1], kRed), 0);
  EXPECT_EQ(PwEpsBox2(p[0], p[1], kRed), 0);
  EXPECT_EQ(PwEpsPoint2(p[0], kRed), 0);
  EXPECT_EQ(PwEpsPolygon2(3, p, kRed), 0);
  EXPECT_EQ(PwEpsText2("x", p[0], kRed), 0);
  EXPECT_EQ(PwEpsTextLines2(p[0], lines, 0, 0, kRed), 0);
  EXPECT_EQ(PwEpsMarker2(p[0], 0, kRed), 0);
  EXPECT_EQ(PwEpsClearPage(), 0);
  EXPECT_EQ(PwEpsLine3({0, 0, 10}, {1, 0, 10}, kRed), 0);
  const PwVec3 q[] = {{0, 0, 10}, {1, 0, 10}, {0, 1, 10}};
  EXPECT_EQ(PwEpsPolygon3(3, q, kRed), 0);
  EXPECT_EQ(PwEpsDisc3(q[0], 1, kRed), 0);
  EXPECT_EQ(PwEpsPoint3(q[0], kRed), 0);
  EXPECT_EQ(PwEpsMarker3(q[0], 0, kRed), 0);
  EXPECT_EQ(PwEpsText3(q[0], lines, 0, 0, kRed), 0);
}

TEST_F(EpsOutputTest, BeginFailures) {
  Begin();
  EXPECT_EQ(PwEpsBegin(path_.c_str(), 500, 500), 0);  // already active
  EXPECT_EQ(PwEpsIsActive(), 1);
  ASSERT_EQ(PwEpsEnd(), 1);
  const std::string missing_dir = ::testing::TempDir() + "no_such_dir/page.eps";
  EXPECT_EQ(PwEpsBegin(missing_dir.c_str(), 500, 500), 0);
  EXPECT_EQ(PwEpsIsActive(), 0);
  EXPECT_EQ(PwEpsBegin(path_.c_str(), 0, 500), 0);
  EXPECT_EQ(PwEpsBegin(nullptr, 500, 500), 0);
  EXPECT_EQ(PwEpsBegin("", 500, 500), 0);
  EXPECT_EQ(PwEpsIsActive(), 0);
}

TEST_F(EpsOutputTest, PathsOfAtMost255Characters) {
  const std::string dir = ::testing::TempDir();
  ASSERT_LT(dir.size(), 200u);
  const std::string longest = dir + std::string(255 - dir.size(), 'e');
  ASSERT_EQ(PwEpsBegin(longest.c_str(), 100, 100), 1);
  EXPECT_EQ(PwEpsEnd(), 1);
  EXPECT_NE(ReadText(longest), "<missing>");
  std::remove(longest.c_str());
  const std::string too_long = longest + "e";
  EXPECT_EQ(PwEpsBegin(too_long.c_str(), 100, 100), 0);
  EXPECT_EQ(PwEpsIsActive(), 0);
}

#ifndef _WIN32
TEST_F(EpsOutputTest, AFailedWriteIsNotReportedAsSuccess) {
  ASSERT_EQ(PwEpsBegin("/dev/full", 500, 500), 1);
  EXPECT_EQ(PwEpsEnd(), 0);
  EXPECT_EQ(PwEpsIsActive(), 0);
}
#endif

TEST_F(EpsOutputTest, ClearScreenPaintsThePageBlack) {
  Begin();
  PwClearScreen();
  EXPECT_EQ(Body(),
            "1.0 1.0 1.0 0.0 K\n1.0 1.0 1.0 0.0 k\n0 0 0 0 @w\n"
            "50.00 590.00 m\n549.97 590.00 L\n549.97 215.03 L\n50.00 215.03 L\n"
            "50.00 590.00 L\nB\n");
}

TEST_F(EpsOutputTest, LinesInEyeSpaceAreClippedAtTheNearPlane) {
  Begin();
  // Page projection: centre (8000, 6000), magnification 452.54834 * 25.
  EXPECT_EQ(PwEpsLine3({0, 0, 10}, {1, 0, 10}, kBlack), 1);
  EXPECT_EQ(PwEpsLine3({0, 0, 1}, {1, 0, -5}, kBlack), 1);    // wholly behind: dropped
  EXPECT_EQ(PwEpsLine3({0, 0, -10}, {0, 1, 10}, kBlack), 1);  // from the near plane on
  const std::string body = Body();
  // (1, 0, 10): trunc(1 * 11313.7085 / 10) = 1131 units right of the centre.
  EXPECT_NE(body.find("300.00 402.50 m\n335.34 402.50 L\nS\n"), std::string::npos) << body;
  // The second drawn line starts where the near plane (2.5) cuts it: y =
  // 12.5 / 20 = 0.625 at z = 2.5, trunc(0.625 * 11313.7 / 2.5) = 2828.
  EXPECT_NE(body.find("300.00 490.88 m\n300.00 437.84 L\nS\n"), std::string::npos) << body;
  int lines = 0;
  for (std::size_t at = body.find("S\n"); at != std::string::npos; at = body.find("S\n", at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 2);
}

TEST_F(EpsOutputTest, PolygonsAndDiscsInEyeSpace) {
  Begin();
  const PwVec3 square[] = {{-1, -1, 10}, {1, -1, 10}, {1, 1, 10}, {-1, 1, 10}};
  EXPECT_EQ(PwEpsPolygon3(4, square, kGreen), 1);
  const PwVec3 behind[] = {{-1, -1, -10}, {1, -1, -10}, {0, 1, -10}};
  EXPECT_EQ(PwEpsPolygon3(3, behind, kGreen), 1);
  EXPECT_EQ(PwEpsDisc3({0, 0, 10}, 1, kRed), 1);
  EXPECT_EQ(PwEpsDisc3({0, 0, -10}, 1, kRed), 1);
  const std::string body = Body();
  // x and y of +-1 at depth 10: 1131 units from the centre.
  EXPECT_NE(body.find("@w\n264.66 367.16 m\n335.34 367.16 L\n335.34 437.84 L\n"
                      "264.66 437.84 L\n264.66 367.16 L\nB\n"),
            std::string::npos)
      << body;
  int filled = 0;
  for (std::size_t at = body.find("B\n"); at != std::string::npos; at = body.find("B\n", at + 1)) {
    ++filled;
  }
  EXPECT_EQ(filled, 2);
  // The disc's first point: radius 1131 right of the centre.
  EXPECT_NE(body.find("@w\n335.34 402.50 m\n"), std::string::npos);
}

TEST_F(EpsOutputTest, PointsMarkersAndTextGoThroughTheScreenProjection) {
  Begin();
  const char* lines[] = {"A", nullptr};
  PwEpsPoint3({0, 0, 10}, kBlack);  // screen (320, 240)
  PwEpsMarker3({0, 0, 10}, 2, kBlack);
  PwEpsText3({0, 0, 10}, lines, 1, 3, kBlack);  // (320, 255)
  const std::string body = Body();
  EXPECT_NE(body.find("@w\n300.00 402.50 m\n300.00 402.44 L\nS\n"), std::string::npos) << body;
  EXPECT_NE(body.find("300.00 390.78 (\\101) @t\n"), std::string::npos) << body;
}

TEST_F(EpsOutputTest, ParallelModeProjectsAtTheParallelDistance) {
  PwSetProjectionMode(1);
  Begin();
  // At the parallel distance 128 whatever the depth: trunc(11313.7 / 128) = 88.
  PwEpsLine3({0, 0, 10}, {1, 0, 1}, kBlack);
  const std::string body = Body();
  EXPECT_NE(body.find("300.00 402.50 m\n302.75 402.50 L\nS\n"), std::string::npos) << body;
}

TEST_F(EpsOutputTest, ProjectionChangesFollowWhileActive) {
  Begin();
  PwProjection p = *PwGetProjection();
  p.cx = 0;
  p.cy = 0;
  PwSetProjection(&p);
  PwEpsLine3({0, 0, 10}, {1, 0, 10}, kBlack);
  EXPECT_NE(Body().find("50.00 590.00 m\n85.34 590.00 L\n"), std::string::npos);
}

TEST_F(EpsOutputTest, TheSortedListPaintsThePageFarToNear) {
  Begin();
  const PwVec3 near_square[] = {{-1, -1, 5}, {-1, 1, 5}, {1, 1, 5}, {1, -1, 5}};
  const PwVec3 far_square[] = {{-1, -1, 20}, {-1, 1, 20}, {1, 1, 20}, {1, -1, 20}};
  const PwVec3 facing = {0, 0, -1};
  ASSERT_EQ(PwPolygon3(4, near_square, nullptr, facing, kRed), 0);
  ASSERT_EQ(PwPolygon3(4, far_square, nullptr, facing, kGreen), 0);
  PwDrawLine3({0, 0, 10}, {1, 0, 10}, kBlack);  // at once, before the flush
  PwFlushSorted();
  const std::string body = Body();
  const std::size_t line = body.find("0.0 K\n1.0 1.0 1.0 0.0 k\n");
  const std::size_t green = body.find("1.0 0.0 1.0 0.0 K\n");
  const std::size_t red = body.find("0.0 1.0 1.0 0.0 K\n");
  ASSERT_NE(line, std::string::npos);
  ASSERT_NE(green, std::string::npos);
  ASSERT_NE(red, std::string::npos);
  EXPECT_LT(line, green);
  EXPECT_LT(green, red);
}

}  // namespace
