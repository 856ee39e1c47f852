// The graphics library's one 3D context: projection, eye, model frame stack,
// shadow frame, light, lighting switch and the per-frame scratch pools.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/math/pw_types.h"

// Start-up: the main scratch pool and every default (see PwReset3D).
void PwStart3D(void* base, std::size_t size);
void PwSetExtraDrawBuffer(void* base, std::size_t size);
void PwSetExtraDrawBuffer2(void* base, std::size_t size);
// Tests: PwStart3D(nullptr, 0) and forget the two extra pools as well.
void PwReset3D();

int PwSetProjectionMode(int mode);  // 0 perspective, 1 parallel
void PwSetLighting(int on);
void PwSetParallelDistance(float d);
void PwSetProjection(const PwProjection* projection);
void PwDefaultProjection(PwProjection* out);

void PwSetEye(const PwPose* pose);  // begins a frame
void PwSetFrame(const PwPose* pose);
void PwResetFrame();
int PwPushFrame(const PwPose* pose);  // 1 when 16 are saved
int PwPopFrame();                     // 1 when none is saved
int PwSetShadowFrame(const PwPose* pose);
void PwSetLight(const PwVec3* world_position);

// Read access for the primitives, the flush, picking and the outputs.
const PwProjection* PwGetProjection();
int PwGetProjectionMode();
float PwGetParallelDistance();
int PwGetLighting();
// Slopes: left = cx/magx, right = (width-cx)/magx, top = cy/magy,
// bottom = (height-cy)/magy.
void PwGetSlopes(float* left, float* right, float* top, float* bottom);
const PwFrame* PwGetEyeFrame();
const PwFrame* PwGetModelFrame();
const PwFrame* PwGetCombinedFrame();
const PwFrame* PwGetShadowFrame();
int PwGetFrameDepth();
const PwVec3* PwGetLightWorld();
const PwVec3* PwGetLightEye();
const PwPose* PwZeroPose();

// World point to eye space with the current eye.
void PwWorldToEye(PwVec3* out, const PwVec3* world);
// Model point / direction to eye space with the combined frame.
void PwModelToEye(PwVec3* out, const PwVec3* model);
void PwModelDirToEye(PwVec3* out, const PwVec3* model);

// Screen projection of an eye-space point (parallel mode uses the parallel
// distance as depth). Offsets saturate to +-2^30; returns 0 (and leaves out
// at the centre) when the result is not a number, else 1.
int PwProjectToScreen(PwPoint2* out, const PwVec3* eye);
// trunc(v) saturated to +-2^30; NaN gives 0 with *ok = 0.
int PwSaturateToInt(double v, int* ok);

// Scratch pools: n is rounded up to alignof(void*). Memory kept until the
// next PwSetEye comes from PwScratchAlloc: third, second, then main pool,
// the pool of the flush room keeping it back (PwScratchKeepBack).
void* PwScratchAlloc(std::size_t n);
// Temporary memory, given back before the caller returns: from the pool of
// the flush room (the main pool unless a wide face moved the room), the room
// kept back included. The mark names its pool.
void* PwScratchMark(std::size_t* mark, std::size_t n);
void PwScratchRelease(std::size_t mark);
// Raises the kept-back room to at least n bytes, in the main pool, or in
// an extra pool when the main pool has not that much free: 0, or 1 when no
// pool has (the caller then leaves its item out).
int PwScratchKeepBack(std::size_t n);
// Gives back a block of n bytes just taken by PwScratchAlloc (nothing
// unless it is still the last block of its pool).
void PwScratchGiveBack(void* block, std::size_t n);
// 1 when a primitive of the frame begun at the last PwSetEye was left out
// (or drawn only in part) for want of scratch memory, else 0.
int PwFrameLeftPrimitivesOut();
// Used bytes of pool 0 (main), 1 (second) or 2 (third).
std::size_t PwScratchUsed(int pool);

// The highlight of lit surfaces, as a material's specular colour (0..255 a
// channel) and shininess (0..1, the exponent being 128 x shininess). Kept as
// a code that queued items carry to the flush; code 0 is the library's own
// highlight (white, exponent 60), which stands until a caller sets one.
void PwSetHighlight(PwColor specular, float shininess);
std::uint32_t PwGetHighlight();
void PwSetHighlightCode(std::uint32_t code);
// A code's specular colour (0..1 a channel) and exponent.
void PwGetHighlightTerms(std::uint32_t code, float specular[3], float* exponent);
// The colour that placed models (SRF) are drawn in instead of their faces'
// own, as text takes its material's colour; null for their own colours.
void PwSetModelColour(const PwColor* colour);
// 1 and the colour when one is set, else 0.
int PwGetModelColour(PwColor* out);
// *colour := the model colour when one is set.
void PwApplyModelColour(PwColor* colour);
// Lit colour with the current highlight, or with a highlight code.
void PwShadeColor(PwColor* out, PwColor colour, const PwVec3* point, const PwVec3* normal);
void PwShadeColorWith(PwColor* out, PwColor colour, const PwVec3* point, const PwVec3* normal,
                      std::uint32_t highlight);
