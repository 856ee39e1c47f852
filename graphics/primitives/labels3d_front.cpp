// The front halves of 3D text labels and their depth-sorted items.
#include <cstring>

#include "graphics/primitives/primitive_prelude.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace {

const char* const kNoLines[] = {nullptr};

int CountLines(const char* const* lines) {
  int n = 0;
  while (lines[n] != nullptr) ++n;
  return n;
}

// The list and its strings in one block, so that a failure takes nothing.
char** CopyLines(const char* const* lines, int n, std::size_t* size) {
  std::size_t list = sizeof(char*) * (static_cast<std::size_t>(n) + 1);
  std::size_t bytes = list;
  for (int i = 0; i < n; ++i) bytes += std::strlen(lines[i]) + 1;
  *size = bytes;
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

bool PwLabel3Front(PwVec3 p, const char* const** lines, PwVec3* eye) {
  if (*lines == nullptr) *lines = kNoLines;
  return PwPrimEyePoint(p, eye);
}

bool PwDrawLabel3Front(PwVec3 p, const char* const** lines, PwVec3* eye) {
  if (!PwLabel3Front(p, lines, eye)) return false;
  if (PwGetProjectionMode() == 1) eye->z = PwGetParallelDistance();
  return true;
}

int PwQueueLabel3(PwVec3 eye, const char* const* lines, PwColor colour, int halign, int valign) {
  int n = CountLines(lines);
  std::size_t bytes = 0;
  char** copy = CopyLines(lines, n, &bytes);
  if (copy == nullptr) return 1;
  PwSortedItem* it = PwSortedInsert(kPwSortedLabel, eye.z);
  if (it == nullptr) {
    PwScratchGiveBack(copy, bytes);
    return 1;
  }
  it->colour = colour;
  auto* d = static_cast<PwSortedLabelData*>(it->payload);
  d->point = eye;
  d->halign = halign;
  d->valign = valign;
  d->count = n;
  d->lines = copy;
  return 0;
}
