// Drawing of ElevationGrid. Indices are 64-bit: xDimension x zDimension
// comes from the file and need not fit an int.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "scenegraph/nodes/geometry/elevation_grid_node.h"
#include "scenegraph/nodes/render/primitive_buffer.h"

namespace {

// The height list's own range message where the index fits its Get.
void ReportMissingHeight(const KsMFFloat& height, std::int64_t index) {
  if (index <= INT32_MAX) {
    height.Get(static_cast<int>(index));
    return;
  }
  std::fprintf(stderr, "KsElevationGrid::ExecTraverse()\n");
  std::fprintf(stderr, "  Index Out Of Range.\n");
  std::fprintf(stderr, "  Requested %" PRId64 "\n", index);
  std::fprintf(stderr, "  Maximum   %d\n", height.GetCount());
}

void SetColourAt(const KsMFColor* colours, std::int64_t index) {
  if (colours == nullptr || index < 0 || index >= colours->GetCount()) return;
  const KsCol& c = colours->GetElements()[index];
  KsSetColor(c.r, c.g, c.b);
}

}  // namespace

int KsElevationGrid::ExecTraverse(KsMatrix*) {
  const std::int64_t X = xDimension.Get();
  const std::int64_t Z = zDimension.Get();
  if (X < 2 || Z < 2) return 0;
  const std::int64_t n = height.GetCount();
  const float* h = height.GetElements();
  KsNode* colourNode = color.Get();
  const KsMFColor* colours = nullptr;
  if (colourNode != nullptr && std::strcmp(colourNode->GetClassName(), "KsColor") == 0)
    colours = KsNode::GetMFColor(colourNode);
  const bool perVertex = colorPerVertex.Get() == KS_TRUE;
  const float dx = xSpacing.Get();
  const float dz = zSpacing.Get();

  for (std::int64_t j = 0; j + 1 < Z; ++j) {
    for (std::int64_t i = 0; i + 1 < X; ++i) {
      KsCountDrawSteps(1);
      const std::int64_t ci[4] = {i + j * X, i + 1 + j * X, i + 1 + (j + 1) * X, i + (j + 1) * X};
      const std::int64_t gi[4] = {i, i + 1, i + 1, i};
      const std::int64_t gj[4] = {j, j, j + 1, j + 1};
      for (std::int64_t index : ci) {
        // Indices grow along the walk: every later cell misses too.
        if (index >= n) {
          ReportMissingHeight(height, index);
          return 0;
        }
      }
      if (!perVertex) SetColourAt(colours, i + j * (X - 1));
      static const int kTriangles[2][3] = {{0, 1, 3}, {1, 2, 3}};
      for (const auto& t : kTriangles) {
        KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
        for (int c : t) {
          if (perVertex) SetColourAt(colours, ci[c]);
          KsAddVertex(static_cast<float>(gi[c]) * dx, h[ci[c]], static_cast<float>(gj[c]) * dz);
        }
        KsEndPrimitive();
      }
    }
  }
  return 0;
}
