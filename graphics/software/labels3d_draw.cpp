// Text labels at 3D points, sorted or drawn at once. Sorted labels keep a
// copy of their lines in the scratch pool, so callers may free their text at
// once.
#include <cstring>

#include "graphics/culling.h"
#include "graphics/eps_output_state.h"
#include "graphics/primitives3d.h"
#include "graphics/primitives3d_internal.h"
#include "graphics/software/screen.h"
#include "graphics/sorted_list.h"
#include "graphics/state3d.h"

namespace {

const char* const kNoLines[] = {nullptr};

int CountLines(const char* const* lines) {
  int n = 0;
  while (lines[n] != nullptr) ++n;
  return n;
}

// The list and its strings in one block, so that a failure takes nothing.
char** CopyLines(const char* const* lines, int n) {
  std::size_t list = sizeof(char*) * (static_cast<std::size_t>(n) + 1);
  std::size_t bytes = list;
  for (int i = 0; i < n; ++i) bytes += std::strlen(lines[i]) + 1;
  auto* block = static_cast<unsigned char*>(PwScratchAlloc(bytes));
  if (block == nullptr) return nullptr;
  auto** copy = reinterpret_cast<char**>(block);
  char* text = reinterpret_cast<char*>(block + list);
  for (int i = 0; i < n; ++i) {
    std::size_t len = std::strlen(lines[i]) + 1;
    std::memcpy(text, lines[i], len);
    copy[i] = text;
    text += len;
  }
  copy[n] = nullptr;
  return copy;
}

}  // namespace

int PwLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  if (lines == nullptr) lines = kNoLines;
  PwVec3 e;
  PwModelToEye(&e, &p);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  int n = CountLines(lines);
  const std::size_t main_used = PwScratchUsed(0);
  char** copy = CopyLines(lines, n);
  if (copy == nullptr) return 1;
  PwSortedItem* it = PwSortedInsert(kPwSortedLabel, e.z);
  if (it == nullptr) {
    // The copy can be given back when it came from the main pool's tail.
    PwScratchRelease(main_used);
    return 1;
  }
  it->colour = colour;
  auto* d = static_cast<PwSortedLabelData*>(it->payload);
  d->point = e;
  d->halign = halign;
  d->valign = valign;
  d->count = n;
  d->lines = copy;
  return 0;
}

int PwDrawLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  if (lines == nullptr) lines = kNoLines;
  PwVec3 e;
  PwModelToEye(&e, &p);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  if (PwGetProjectionMode() == 1) e.z = PwGetParallelDistance();
  PwPoint2 s;
  if (PwProjectToScreen(&s, &e)) PwScreenTextLines(s, lines, halign, valign, colour);
  if (PwEpsIsActive()) PwEpsText3(e, lines, halign, valign, colour);
  return 0;
}

