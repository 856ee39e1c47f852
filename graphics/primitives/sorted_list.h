// The painter's list: every sorted primitive of a frame, drawn far to near.
// Items and their payloads live in the scratch pools until the next PwSetEye.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/math/pw_types.h"

struct PwSrf;
struct PwPict;

enum {
  kPwSortedNone = 0,
  kPwSortedPoint = 1,
  kPwSortedLine = 2,
  kPwSortedDisc = 3,
  kPwSortedPolygon = 6,
  kPwSortedMarker = 7,
  kPwSortedLabel = 8,
  kPwSortedSrf = 9,
  kPwSortedPict = 10,
  kPwSortedSmoothPolygon = 11,
  kPwSortedTypeCount = 12
};

struct PwSortedItem {
  PwSortedItem* prev;  // drawing order, farthest first
  PwSortedItem* next;
  PwColor colour;
  float depth;
  int type;
  void* payload;  // one of the payload records below, by type
};

struct PwSortedPointData {  // 1
  PwVec3 point;
};
struct PwSortedLineData {  // 2
  int near_flag;
  PwVec3 p0, p1;
};
struct PwSortedDiscData {  // 3
  PwVec3 centre;
  float radius;
};
struct PwSortedReservedData {  // 4, 5
  unsigned char bytes[40];
};
struct PwSortedPolygonData {  // 6
  int near_flag;
  int count;
  PwVec3* points;
  int has_normal;
  PwVec3 centre;
  PwVec3 normal;
  std::uint32_t highlight;  // PwGetHighlight() when queued
};
struct PwSortedMarkerData {  // 7
  PwVec3 point;
  int kind;
};
struct PwSortedLabelData {  // 8
  PwVec3 point;
  int halign, valign;
  int count;
  char** lines;  // null-terminated
};
struct PwSortedSrfData {  // 9
  int near_flag;
  std::uint32_t highlight;
  int tinted;  // 1: the faces take tint (PwSetModelColour when queued)
  PwColor tint;
  PwFrame frame;
  const PwSrf* model;
};
struct PwSortedPictData {  // 10
  int near_flag;
  PwFrame frame;
  const PwPict* picture;
};
struct PwSortedSmoothData {  // 11
  int near_flag;
  int count;
  PwVec3 centroid;
  std::uint32_t highlight;
  PwVec3* points;
  PwVec3* normals;
};

std::size_t PwSortedPayloadSize(int type);  // 0 for unknown types
// The working memory the flush needs to draw (and, while EPS output is on,
// to feed to EPS) a polygon of that many vertices; a queued item keeps it
// back (PwScratchKeepBack), so that whatever was queued can be drawn.
// SIZE_MAX when it cannot be represented.
std::size_t PwSortedFlushRoom(int vertices);

// A room summed in 64 bits, held to what size_t can say (a request that
// large then fails instead of wrapping to a small one).
inline std::size_t PwSaturatedSize(std::uint64_t bytes) {
  if constexpr (sizeof(std::size_t) < sizeof(std::uint64_t)) {
    if (bytes > static_cast<std::uint64_t>(SIZE_MAX)) return SIZE_MAX;
  }
  return static_cast<std::size_t>(bytes);
}

void PwSortedClear();
// Items the ordering and linking have visited since the list was cleared:
// about a few per item however they arrive (tests bound the cost by it).
std::uint64_t PwSortedSteps();
PwSortedItem* PwSortedFirst();
// The ordered list as an array of count items, far to near, when it came
// whole from one ordering (null otherwise): walkers of a big list index it
// to fetch items ahead of use.
PwSortedItem* const* PwSortedOrdered(std::size_t* count);
// Header and payload from the scratch pools (with the flush room of a small
// polygon kept back); null when exhausted, when the type is unknown or the
// depth is not a number.
PwSortedItem* PwSortedInsert(int type, float depth);
// The same with bytes of data copied right behind the payload (*copy), in
// one block with the item, so that drawing finds all of it together. data
// may overlap the block (scratch given back just before).
PwSortedItem* PwSortedInsertCopy(int type, float depth, const void* data, std::size_t bytes,
                                 void** copy);
// PwSortedInsertCopy for a caller that has just kept back the flush room
// of its item (PwSortedFlushRoom of at least its vertex count).
PwSortedItem* PwSortedInsertCopyKept(int type, float depth, const void* data, std::size_t bytes,
                                     void** copy);
void PwSortedLink(PwSortedItem* item);

// Draws the whole list far to near (and feeds EPS output); keeps the list.
void PwFlushSorted();

// Placed models and pictures draw their own items (with the placement's
// combined frame and the near flag).
void PwDrawSortedSrf(const PwSrf* model, const PwFrame* frame, int near_flag);
void PwDrawSortedPict(const PwPict* picture, const PwFrame* frame, int near_flag);
// Only the EPS output's share of a placed picture: for a back end that has
// drawn the picture on the screen already.
void PwFeedSortedPictEps(const PwPict* picture, const PwFrame* frame, int near_flag);
