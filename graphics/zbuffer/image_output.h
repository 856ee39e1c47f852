// The image output: the current view rendered again at a chosen size into
// a colour and depth buffer through the z-buffer renderer, and written as a
// 24-bit TIFF, BMP or PPM file when it ends. Its switch and the entries that
// the 3D and 2D calls feed are in graphics/state3d/image_output_state.h.
#pragma once

#include <cstddef>

#include "graphics/math/pw_types.h"

enum { kPwImageTiff = 0, kPwImageBmp = 1, kPwImagePpm = 2 };

// Paths of up to 259 characters; the writers then need them to normalise
// into kPwPathSize (graphics/files/paths.h).
constexpr std::size_t kPwImagePathSize = 260;

// 1 with the output active: depths := the projection's far distance,
// colours black, the renderer set up for width x height. 0 (output
// inactive) for a null or over-long path, a size below 1, or when the buffer
// cannot be had. A Begin while active drops the image under way.
int PwImageBegin(const char* path, int format, int width, int height);
// Writes the file by format (0 TIFF top row first, 1 BMP bottom row first,
// 2 PPM top row first, any other: none), frees the buffer and ends the
// output. 1 when a file was written whole; 0 when inactive, for another
// format, or when the file cannot be opened or written.
int PwImageEnd();

// 1 while depth-tested primitives draw, 0 while primitives written over do.
int PwImageDepthTestMode();

// For tests: the image size and one stored pixel (0 outside or inactive);
// PwImageReset drops any image and ends the output.
int PwImageGetSize(int* width, int* height);
int PwImageGetPixel(int x, int y, PwColor* colour, float* depth);
void PwImageReset();

// The renderer's callbacks into the image (x, y outside it are ignored).
void PwImageDepthPixel(int context, int x, int y, int red, int green, int blue, float depth);
void PwImagePlainPixel(int context, int x, int y, int red, int green, int blue);
// Sets the depth-test mode (the 3D entries do before they draw).
void PwImageSetDepthTestMode(int mode);
