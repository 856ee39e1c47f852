// Picking: the shapes of a frame registered with four caller ids, kept as
// screen shapes in a tree ordered by depth, and queried by screen point for
// the n-th nearest one that contains it. Records live in the pick pool, a
// buffer the caller owns, until the next PwPickClear.
#pragma once

#include <cstddef>

#include "graphics/math/pw_math.h"
#include "graphics/math/pw_types.h"

constexpr int kPwPickKindPoint = 1;
constexpr int kPwPickKindPolygon = 2;
constexpr int kPwPickKindLine = 4;

struct PwPickItem {
  PwPickItem* parent;  // unbalanced tree: left holds depths >= this one's
  PwPickItem* left;
  PwPickItem* right;
  int kind;
  int radius, centre_x, centre_y;  // point: pixel radius and centre
  int min_x, min_y, max_x, max_y;  // polygon, line: screen bounding box
  int count;                       // polygon: projected vertices
  PwVec2* vertices;
  PwVec2 start, delta;  // line: projected start, difference to the end
  float depth;          // eye-space z
  int ids[4];
};

// Both return 1.
int PwPickSetPool(void* base, std::size_t size);
int PwPickClear();

// Points are model coordinates under the current combined frame. Each
// returns 1 (also when the shape is not visible and nothing is kept), or 0
// when the pick pool cannot hold it.
int PwPickPoint(PwVec3 point, float radius, int min_radius, int id1, int id2, int id3, int id4);
// normal (model coordinates) may be null: no back-face test.
int PwPickPolygon(int count, const PwVec3* points, const PwVec3* normal, int id1, int id2, int id3,
                  int id4);
int PwPickLine(PwVec3 p0, PwVec3 p1, int id1, int id2, int id3, int id4);

// The ids of the n-th nearest shape (n <= 0 counts as 1) that contains the
// point: 1 with the non-null outputs written, 0 with them untouched.
int PwPickFind(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n);
int PwPickFindPoint(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n);
int PwPickFindPolygon(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n);
int PwPickFindLine(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n);

// Pool allocation rounded up to alignof(void*) (4 on the 32-bit target);
// null when the pool cannot hold it. position (may be null) receives the
// pool's position before the allocation, for PwPickRelease.
void* PwPickAlloc(std::size_t* position, std::size_t n);
void PwPickRelease(std::size_t position);
std::size_t PwPickUsed();

// For tests: no pool and an empty tree.
void PwPickReset();
