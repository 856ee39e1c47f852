// Opens a generated grid world of a given size (MB, 500 unless told) as the
// viewer opens a file (Viewer::LoadFile: KsPartition::ReadFile and the
// load-time scans), from a file in the temporary folder, and draws its first
// frame through the viewer's own Render; prints the file size, the time and
// speed of the opening, the frame's time and work, and the peak memory. A
// world that does not open, or draws nothing, fails the run; a failed read
// is told as the viewer tells it.
// Natively and as a Windows program under Wine; CTest runs it once.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/memory/counted_new.h"
#include "graphics/math/pw_math.h"
#include "graphics/picking/picking.h"
#include "graphics/software/surface.h"
#include "graphics/state3d/state3d.h"
#include "graphics/zbuffer/zbuffer.h"
#include "grid_world_file.h"
#include "process_memory.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scratch_file.h"
#include "viewer/failure_reports.h"
#include "viewer/viewer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The viewer program's pools, window size and start-up calls.
constexpr int kWidth = 640, kHeight = 480;
alignas(std::max_align_t) unsigned char g_main_pool[1048576];
alignas(std::max_align_t) unsigned char g_pick_pool[524288];

void StartGraphicsAsViewer() {
  ViewerStartGraphics(g_main_pool, sizeof g_main_pool, g_pick_pool, sizeof g_pick_pool);
  PwSetSurface(nullptr, kWidth, kHeight, kPwDepth16);
  PwProjection projection;
  PwDefaultProjection(&projection);
  PwSetProjection(&projection);
  KsSetTessellation(4);
}

// What the scene handed the renderer in a frame.
struct Handed {
  long long primitives = 0;
  long long vertices = 0;
};
Handed g_handed;

void CountPrimitive(int, int vertexCount, const PwVec3*, int, const PwVec3*, PwColor, int) {
  ++g_handed.primitives;
  g_handed.vertices += vertexCount;
}

// Draw-buffer bytes a triangle of the grid takes in the frame's painter's
// list, with a little room to spare (measured: about 112 in 32 bits, 135 in
// 64).
constexpr double kDrawBytesPerTriangle = sizeof(void*) == 4 ? 124.0 : 150.0;

// The extra draw buffer, as Config > SetExtraDrawBufferSize gives one: as
// large as the grid's triangles need, or else the largest block that can be
// had (within 16 MB), so that a frame leaves out as little as it can.
struct ExtraBuffer {
  void* base = nullptr;
  std::size_t size = 0;
  explicit ExtraBuffer(double wanted) {
    const double cap = static_cast<double>(static_cast<std::size_t>(-1) / 2);
    std::size_t high = static_cast<std::size_t>(wanted < cap ? wanted : cap);
    base = std::malloc(high);
    if (base != nullptr) {
      size = high;
    } else {
      std::size_t low = 0;  // low can be had, high cannot
      while (high - low > (std::size_t(16) << 20)) {
        const std::size_t mid = low + (high - low) / 2;
        void* p = std::malloc(mid);
        (p != nullptr ? low : high) = mid;
        std::free(p);
      }
      base = low > 0 ? std::malloc(low) : nullptr;
      size = base != nullptr ? low : 0;
    }
    PwSetExtraDrawBuffer(base, size);
  }
  ~ExtraBuffer() {
    PwSetExtraDrawBuffer(nullptr, 0);
    std::free(base);
  }
};

// Pixels of the drawing area unlike its top-left one (the grid is seen
// edge-on across the middle of the view, the corner is background), and a
// digest of the picture.
void LookAtPicture(long long* drawn, std::uint32_t* digest) {
  *drawn = 0;
  *digest = 2166136261u;
  const PwPixelBuffer* px = PwCurrentPixels();
  if (px == nullptr || px->created != 1 || px->rows == nullptr) return;
  const int bytes = px->bits_per_pixel / 8;
  int width = 0, height = 0;
  PwGetSurfaceSize(&width, &height);
  const unsigned char* corner = px->rows[0];
  for (int y = 0; y < height && y < px->height; ++y) {
    const unsigned char* row = px->rows[y];
    for (int x = 0; x < width * bytes; ++x) *digest = (*digest ^ row[x]) * 16777619u;
    for (int x = 0; x < width; ++x) {
      if (std::memcmp(row + x * bytes, corner, static_cast<std::size_t>(bytes)) != 0) ++*drawn;
    }
  }
}

// The viewer's failure box text without its title and file name.
void PrintFailure(const KsReadErrors& failure, const char* path) {
  char text[kViewerReportSize];
  ViewerLoadFailureText(failure, path, text);
  const char* cause = std::strstr(text, "\n\n");
  std::printf("  READ FAILED: %s\n", cause != nullptr ? cause + 2 : text);
}

}  // namespace

int main(int argc, char** argv) {
  const int megabytes = argc > 1 ? std::atoi(argv[1]) : 500;
  if (megabytes < 1 || megabytes > 100000) {
    std::fprintf(stderr, "usage: big_world_bench [size in MB, 1 to 100000; 500]\n");
    return 2;
  }
  StartGraphicsAsViewer();
  const int side = lvbench::GridSideForBytes(megabytes * 1e6);
  const long long triangles = 2LL * (side - 1) * (side - 1);

  lvbench::ScratchFile file("big-grid-world.wrl");
  const long long free = file.FreeBytes();
  if (file.Path().empty()) {
    std::printf("big world %d MB: no temporary folder\n", megabytes);
    return 1;
  }
  if (free >= 0 && free < megabytes * 1100000LL) {
    std::printf("big world %d MB: no room for it in %s (%.0f MB free)\n", megabytes,
                file.Path().c_str(), free / 1e6);
    return 1;
  }
  const auto writing = Clock::now();
  const long long bytes = lvbench::WriteGridWorldFile(file.Path().c_str(), side);
  const double written = Since(writing);
  if (bytes < 0) {
    std::printf("big world %d MB: %s could not be written\n", megabytes, file.Path().c_str());
    return 1;
  }

  const lvbench::ProcessPeaks start = lvbench::ReadProcessPeaks();
  const size_t held = kstest::HeldBytes();
  kstest::ResetPeak();
  Viewer viewer;
  const auto reading = Clock::now();
  const int loaded = viewer.LoadFile(file.Path().c_str());
  const double read = Since(reading);
  const double perByte = (double)(kstest::PeakBytes() - held) / (double)bytes;
  const lvbench::ProcessPeaks peaks = lvbench::ReadProcessPeaks();
  file.Remove();

  const double mb = bytes / 1e6;
  std::printf(
      "big world %.1f MB (%d x %d grid, %lld triangles), %d-bit build: written in %.1f s,"
      " opened in %.1f s (%.1f MB/s); peak %.2f bytes per input byte, process peak %.0f MB"
      " resident, %.0f MB committed (before the read %.0f, %.0f)\n",
      mb, side, side, triangles, (int)(sizeof(void*) * 8), written, read, mb / read, perByte,
      peaks.residentMb, peaks.committedMb, start.residentMb, start.committedMb);
  std::fflush(stdout);
  if (loaded != 1) {
    PrintFailure(viewer.GetLoadFailure(), file.Path().c_str());
    return 1;
  }

  ExtraBuffer extra(triangles * kDrawBytesPerTriangle);
  KsSetPrimitiveObserver(CountPrimitive);
  const auto drawing = Clock::now();
  viewer.Render();
  const double frame = Since(drawing);
  KsSetPrimitiveObserver(nullptr);
  const double used = (double)(PwScratchUsed(0) + PwScratchUsed(1) + PwScratchUsed(2));
  long long drawn = 0;
  std::uint32_t digest = 0;
  LookAtPicture(&drawn, &digest);
  const lvbench::ProcessPeaks after = lvbench::ReadProcessPeaks();
  std::printf(
      "  first frame %.1f ms: %lld primitives (%lld vertices) handed to the"
      " renderer%s; %lld of %d x %d pixels drawn, picture %08x; draw buffers %.0f MB used"
      " (extra %.0f MB); process peak %.0f MB resident, %.0f MB committed\n",
      frame * 1e3, g_handed.primitives, g_handed.vertices,
      PwFrameLeftPrimitivesOut() == 1 ? ", some LEFT OUT for want of draw buffer" : "", drawn,
      kWidth, kHeight, (unsigned)digest, used / 1e6, extra.size / 1e6, after.residentMb,
      after.committedMb);
  const bool empty =
      viewer.GetBoxMin().x == viewer.GetBoxMax().x && viewer.GetBoxMin().z == viewer.GetBoxMax().z;
  if (g_handed.primitives == 0) {
    std::printf("  NOTHING DRAWN: the read was reported whole, but the scene %s\n",
                empty ? "has no geometry (an empty bounding box)" : "drew no primitive");
  }
  viewer.CloseFile();
  return g_handed.primitives > 0 && drawn > 0 ? 0 : 1;
}
