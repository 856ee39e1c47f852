// Vector and attitude math of the graphics library. Angles are ints (or their
// float twins) in 1/65536 of a turn; integer results are truncated toward 0.
// Out pointers may equal an input.
#pragma once

#include "graphics/math/pw_types.h"

// 2D point or vector.
struct PwVec2 {
  float x, y;
};

// A point and a direction; as a plane, a point on it and its normal.
struct PwRay3 {
  PwVec3 point;
  PwVec3 direction;
};

struct PwRay2 {
  PwVec2 point;
  PwVec2 direction;
};

// Owned point arrays (PwAlloc / PwFree).
struct PwPointList3 {
  int count;
  PwVec3* points;
};

struct PwPointList2 {
  int count;
  PwVec2* points;
};

// Attitudes: heading, pitch, bank.
struct PwAttitude {
  int heading, pitch, bank;
};

struct PwAttitudeF {
  float heading, pitch, bank;
};

// 2*pi/65536: one angle unit in radians.
constexpr double kPwRadiansPerUnit = 0.00009587379913330079;

void PwInitMath();

// Angles and scalars.
int PwAsinAngle(float x);
int PwAcosAngle(float x);
int PwAtanAngle(float x);
float PwAsinAngleF(float x);
float PwAcosAngleF(float x);
float PwAtanAngleF(float x);
int PwAngle2(float a, float b);  // atan2(b, a), -32768..32768
float PwAngle2F(float a, float b);
float PwLength2(float a, float b);
float PwPow60(float x);  // x^60 from a table; 0 for NaN
void PwRotate2(PwVec2* out, const PwVec2* in, int angle);
void PwRotate2F(PwVec2* out, const PwVec2* in, float angle);
double PwAngleSin(double angle_units);  // sin/cos of an angle in turn units
double PwAngleCos(double angle_units);

// Vectors.
void PwNormalize(PwVec3* out, const PwVec3* v);
void PwNormalize2(PwVec2* out, const PwVec2* v);
int PwFastNormalize(PwVec3* out, const PwVec3* v);  // 1, or 0 with out = 0
void PwCross(PwVec3* out, const PwVec3* a, const PwVec3* b);
void PwPerpendicular(PwVec3* out, const PwVec3* v);
void PwLerp3(PwVec3* out, const PwVec3* a, const PwVec3* b, float t);
void PwSlerpVectors(PwVec3* out, const PwVec3* a, const PwVec3* b, float t);
int PwPolygonNormal(PwVec3* out, int n, const PwVec3* points);  // 1, or 0

// Attitudes and frames.
void PwAttitudeToVectors(PwVec3* forward, PwVec3* up, const PwAttitude* a);
void PwAttitudeToVectorsF(PwVec3* forward, PwVec3* up, const PwAttitudeF* a);
void PwVectorToAttitude(PwAttitude* out, const PwVec3* direction);
void PwVectorToAttitudeF(PwAttitudeF* out, const PwVec3* direction);
int PwVectorsToAttitude(PwAttitude* out, const PwVec3* forward, const PwVec3* up);
float PwVectorsToAttitudeF(PwAttitudeF* out, const PwVec3* forward, const PwVec3* up);
void PwTurnAttitude(PwAttitude* out, const PwAttitude* in, int dp, int dh);
void PwBlendAttitude(PwAttitude* out, const PwAttitude* a, const PwAttitude* b, float t);
void PwFrameFromPose(PwFrame* out, const PwPose* pose);
void PwFrameSetAngles(PwFrame* f, float heading, float pitch, float bank);
void PwBuildTransform(PwFrame* out, const PwFrame* model, const PwFrame* eye);
void PwComposePose(PwFrame* out, const PwFrame* local, const PwFrame* parent);
void PwPoseInFrame(PwFrame* out, const PwPose* pose, const PwFrame* frame);
void PwPoseToFrame(PwFrame* out, const PwPose* pose, const PwFrame* frame);
// Frame applied to a point (bank, pitch, heading, translation) / a direction.
void PwFrameApply(PwVec3* out, const PwFrame* f, const PwVec3* p);
void PwFrameRotate(PwVec3* out, const PwFrame* f, const PwVec3* v);
// The inverse: a world point into the frame's own coordinates.
void PwFrameUnapply(PwVec3* out, const PwFrame* f, const PwVec3* p);
void PwFrameUnrotate(PwVec3* out, const PwFrame* f, const PwVec3* v);

// Clipping, lines and planes.
void PwClipLineNear(PwVec3 out[2], const PwVec3 in[2], float near_z);
// out must hold 2n points.
void PwClipPolygonNear(int* out_count, PwVec3* out, int n, const PwVec3* in, float near_z);
void PwLineFootOffset(PwVec3* out, const PwVec3* point, const PwRay3* line);
float PwDistanceToLine2(const PwRay2* line, const PwVec2* point);
float PwDistanceToLine3(const PwRay3* line, const PwVec3* point);
int PwPlaneFromPolygon(PwRay3* out, int n, const PwVec3* points);
void PwProjectOnPlane(PwVec3* out, const PwRay3* plane, const PwVec3* point);
int PwIntersectLinePlane(PwVec3* out, const PwRay3* line, const PwRay3* plane);
void PwFrameUpRay(PwRay3* out, const PwFrame* frame);

// Point lists and convexity.
int PwCopyPoints3(PwPointList3* list, int n, const PwVec3* points);
int PwCopyPoints2(PwPointList2* list, int n, const PwVec2* points);
int PwDupPoints3(PwPointList3* list, const PwPointList3* from);
int PwDupPoints2(PwPointList2* list, const PwPointList2* from);
void PwFreePoints3(PwPointList3* list);
void PwFreePoints2(PwPointList2* list);
int PwIsConvex3(const PwPointList3* list);
int PwIsConvex2(const PwPointList2* list);
