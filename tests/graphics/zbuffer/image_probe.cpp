// Renders a small scene through the graphics library with the image output
// on and writes it as out.tif, out.bmp and out.ppm in the given folder.
// Known pixels: (2, 2) red from a 2D box, the centre a lit grey square,
// (W-3, H-3) still black.
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/draw2d/draw2d.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/software/surface.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"

namespace {

int Render(const std::string& path, int format) {
  static std::vector<unsigned char> pool(1 << 20);
  PwResetSurfaceState();
  PwSetSurface(nullptr, 40, 30, kPwDepth16);
  PwStart3D(pool.data(), pool.size());
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  if (!PwImageBegin(path.c_str(), format, 80, 60)) return 0;
  const PwPose eye = {0, 0, 0, 0, 0, 0};
  const PwVec3 light = {0, 0, -1000};
  PwSetLight(&light);
  PwSetEye(&eye);
  PwSetLighting(1);
  const PwVec3 square[] = {{-1, -1, 10}, {-1, 1, 10}, {1, 1, 10}, {1, -1, 10}};
  PwPolygon3TwoSided(4, square, {120, 120, 120});
  PwFlushSorted();
  PwDrawBox2({0, 0}, {2, 2}, {0, 255, 0});
  return PwImageEnd();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s folder\n", argv[0]);
    return 2;
  }
  if (!PwZInit()) return 1;
  const std::string dir = argv[1];
  const int ok = Render(dir + "/out.tif", kPwImageTiff) && Render(dir + "/out.bmp", kPwImageBmp) &&
                 Render(dir + "/out.ppm", kPwImagePpm);
  std::fflush(stdout);
  std::fflush(stderr);
  return ok ? 0 : 1;
}
