// Moving rows between surfaces and 32-bit pixel rows (PackedPixel.h): the first and last
// stages of an upscale whose source is not RGBA or whose result is RGB.
#pragma once

#include <cstdint>

#include "image/KernelPath.h"
#include "image/Surface.h"

namespace loom {

// Row y of a surface of any channel order as 32-bit pixels (alpha 255 when it has none).
void readSurfaceRow(const Surface& surface, int y, uint32_t* out, KernelPath path);
// 32-bit pixels into row y of an RGBA or RGB surface (alpha dropped for RGB).
void writeSurfaceRow(const uint32_t* in, const Surface& surface, int y, KernelPath path);

// True when every pixel of the row has the alpha byte of `alphaOf`.
bool rowHasAlpha(const uint32_t* row, int width, uint32_t alphaOf, KernelPath path);

// The AVX2 variants for 3-byte rows and the alpha test. swapRedBlue reads BGR instead of RGB.
void threeByteRowToPixelsAvx2(const uint8_t* in, uint32_t* out, int width, bool swapRedBlue);
void pixelsToRgbRowAvx2(const uint32_t* in, uint8_t* out, int width);
bool rowHasAlphaAvx2(const uint32_t* row, int width, uint32_t alphaOf);

}  // namespace loom
