// PICT2 vector pictures: the loaded record, reading it from a file or from
// an array of strings, and drawing it in 2D or placed in 3D by a pose.
#pragma once

#include "graphics/math/pw_math.h"
#include "graphics/math/pw_types.h"

enum {
  kPwPictPoints = 0,
  kPwPictPolyline = 1,
  kPwPictSegments = 2,  // pairs of points
  kPwPictPolygon = 3
};

struct PwPictObject {
  int kind;
  float distance;  // drawn only while its centre lies this near the eye
  float cx, cy;    // mean of its points
  PwColor colour;
  int point_count;
  PwVec2* points;
};

// The caller owns the record; the objects and, after them, all points lie in
// one PwAlloc block at objects, freed with PwFreePict.
struct PwPict {
  int object_count;
  float min_x, min_y, max_x, max_y;
  float width, height;
  PwPictObject* objects;
};

// 1 on success; 0 when the file cannot be opened or the text is not a
// well-formed picture (the record is then empty). The record is
// overwritten: free a loaded picture first.
int PwLoadPict(PwPict* picture, const char* file_name);
int PwLoadPictStrings(PwPict* picture, const char* const* strings);
// Frees the object block and empties the record.
void PwFreePict(PwPict* picture);

// 2D: picture point (x, y) at (origin.x + x, origin.y - y), y up; or the
// picture's box mapped onto the rectangle from a to b. Return the object
// count.
int PwDrawPict(const PwPict* picture, PwPoint2 origin);
int PwDrawPictInRect(const PwPict* picture, PwPoint2 a, PwPoint2 b);

// 3D: a picture point (x, y) is the point (x, y, 0) of the pose's frame.
// Sorted: one item of the depth-sorted list; 0, or 1 when the list is full.
int PwPict3Sorted(const PwPict* picture, const PwPose* pose);
// At once: the result of popping the pose's frame (1 when it could not be
// pushed).
int PwDrawPict3(const PwPict* picture, const PwPose* pose);

// The front half of PwPict3Sorted that both back ends share: the picture
// frame, the model-capture and image outputs and the box test. 1 when the
// picture may be visible (its frame is then the current picture frame).
int PwPict3PlaceFront(const PwPict* picture, const PwPose* pose);
// One depth-sorted item for the picture over the current picture frame: 0,
// or 1 when the list is full.
int PwQueuePict3(const PwPict* picture);

// Over the current picture frame (set by each 3D entry and each flushed
// item): 1 when the object's centre lies within its distance on every axis;
// the box's view-volume test; a picture point to eye space.
int PwPict3ObjectTest(const PwPictObject* object);
int PwCullPict3(const PwPict* picture, int* near_flag);
void PwPict3Transform(PwVec3* out, const PwVec2* point);
// For tests: the current picture frame back to the zero frame.
void PwPictResetState();
