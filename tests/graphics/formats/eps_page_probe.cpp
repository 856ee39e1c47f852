// Writes one EPS page through the drawing calls, for the Ghostscript check:
// a black page, a red box at (100, 100)-(200, 200), a green square around
// the centre from the depth-sorted list, a white line and a text.
#include <cstdio>
#include <vector>

#include "graphics/draw2d/draw2d.h"
#include "graphics/formats/eps_output.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/software/surface.h"
#include "graphics/state3d/state3d.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: eps_page_probe file.eps\n");
    return 2;
  }
  PwSetSurface(nullptr, 640, 480, kPwDepth16);
  static std::vector<unsigned char> pool(1 << 20);
  PwStart3D(pool.data(), pool.size());
  PwProjection projection;
  PwDefaultProjection(&projection);
  PwSetProjection(&projection);
  PwPose zero = {};
  PwSetEye(&zero);
  if (PwEpsBegin(argv[1], 640, 480) != 1) {
    std::fprintf(stderr, "cannot begin the page\n");
    return 1;
  }
  PwClearScreen();
  PwDrawBox2({100, 100}, {200, 200}, {0, 255, 0});
  const PwVec3 square[] = {{-1, -1, 10}, {-1, 1, 10}, {1, 1, 10}, {1, -1, 10}};
  PwPolygon3(4, square, nullptr, {0, 0, -1}, {255, 0, 0});
  PwFlushSorted();
  PwDrawLine2({400, 400}, {600, 400}, {255, 255, 255});
  PwDrawText2({400, 300}, "Lumaview", {255, 255, 255});
  if (PwEpsEnd() != 1) {
    std::fprintf(stderr, "cannot end the page\n");
    return 1;
  }
  PwFreeSurface();
  return 0;
}
