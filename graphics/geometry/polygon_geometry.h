// Planar polygon geometry: the integer row scan, triangulation, winding,
// 2D point in polygon and line cut, and the contour operations. 3D work
// happens in a 2D frame of the polygon's plane; tolerances are 0.0001.
#pragma once

#include "graphics/math/pw_math.h"
#include "graphics/math/pw_types.h"

// ---- Row scan (module state: one polygon at a time) ----
// Room for near-clipped polygons (the clip buffer's capacity).
constexpr int kPwScanMaxVertices = 128;

// 1 with the polygon held; 0 for fewer than 3 or more than
// kPwScanMaxVertices points, after which PwScanInside answers 0.
int PwScanPolygon(int count, const PwPoint2* points);
// 1 when (x, y) is inside: between an even crossing (included) and the next
// odd one (excluded) of its row.
int PwScanInside(int x, int y);
// The crossings of a row (ascending); out holds kPwScanMaxVertices ints.
int PwScanRow(int* out_count, int* out_crossings, int row);
int PwScanEnd();

// ---- Triangulation and orientation ----
constexpr int kPwTriangulateMaxVertices = 64;

// Shortest valid diagonals, recursively; out holds 3 * (count - 2) indices.
// 1 with the triangle count, or 0 with count 0.
int PwTriangulate(int* out_count, int* out_triples, int count, const PwVec3* points);
// 2 when the interior lies left of the edges in the plane frame of normal,
// 1 when right; 0 when no edge decides or memory runs out.
int PwWinding(int count, const PwVec3* points, const PwVec3* normal);

// ---- 2D ----
// 1 inside, 0 outside or on an edge.
int PwInsidePolygon2(const PwPointList2* polygon, const PwVec2* q);
// The meeting point of the two lines, as a point of b's line; 0 when they
// are parallel.
int PwSegmentCross2(PwVec2* out, const PwRay2* a, const PwRay2* b);

// ---- Contours: the first is the outline, the others holes. Results come
// from PwAlloc and belong to the caller (PwFree, PwFreePoints3). ----
// out_triangles receives an array of 3 * count points.
int PwTriangulateHoles(int* out_count, PwVec3** out_triangles, int contour_count,
                       const PwPointList3* contours);
int PwMergeContours(PwPointList3* out, int contour_count, const PwPointList3* contours);
int PwIsConvexPolygon(const PwPointList3* polygon);
// out_pieces receives an array of count lists.
int PwConvexPieces(int* out_count, PwPointList3** out_pieces, const PwPointList3* polygon);

// For tests: forget the held polygon.
void PwResetScan();
