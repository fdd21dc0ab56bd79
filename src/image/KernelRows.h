// The fast kernels, one source row at a time: from the source rows above, at and below (clamped
// by the caller: the first and last rows are their own neighbours) to the factor output rows of
// that row's blocks. Bit for bit the reference kernels' pixels.
#pragma once

#include <cstdint>

#include "image/KernelPath.h"
#include "image/PackedPixel.h"
#include "image/UpscaleRecipe.h"

namespace loom {

using KernelRowFn = void (*)(const uint32_t* above, const uint32_t* row, const uint32_t* below,
                             int width, PixelEquals same, uint32_t* const* out);

KernelRowFn kernelRow(Kernel kernel, KernelPath path);
int kernelFactor(Kernel kernel);

// The two instruction-set variants, picked by kernelRow.
void scale2xRowScalar(const uint32_t*, const uint32_t*, const uint32_t*, int, PixelEquals,
                      uint32_t* const*);
void scale3xRowScalar(const uint32_t*, const uint32_t*, const uint32_t*, int, PixelEquals,
                      uint32_t* const*);
void eagle2xRowScalar(const uint32_t*, const uint32_t*, const uint32_t*, int, PixelEquals,
                      uint32_t* const*);
void scale2xRowAvx2(const uint32_t*, const uint32_t*, const uint32_t*, int, PixelEquals,
                    uint32_t* const*);
void scale3xRowAvx2(const uint32_t*, const uint32_t*, const uint32_t*, int, PixelEquals,
                    uint32_t* const*);
void eagle2xRowAvx2(const uint32_t*, const uint32_t*, const uint32_t*, int, PixelEquals,
                    uint32_t* const*);

}  // namespace loom
