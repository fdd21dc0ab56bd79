// The fast kernels, one source row at a time: from the source rows the kernel reaches, from
// kernelReach rows above to as many below (clamped by the caller: the first and last rows are
// their own neighbours), to the factor output rows of that row's blocks. Bit for bit the
// reference kernels' pixels.
#pragma once

#include <cstdint>

#include "image/KernelPath.h"
#include "image/PackedPixel.h"
#include "image/UpscaleRecipe.h"

namespace loom {

// in: 2 x reach + 1 rows, the kernel's source row in the middle; out: factor rows.
using KernelRowFn = void (*)(const uint32_t* const* in, int width, PixelEquals same,
                             uint32_t* const* out);

KernelRowFn kernelRow(Kernel kernel, KernelPath path);
int kernelFactor(Kernel kernel);
// How many pixels away from a source pixel the kernel reads: 1, or 3 for MMPX.
int kernelReach(Kernel kernel);
constexpr int MAX_KERNEL_REACH = 3;

// The two instruction-set variants, picked by kernelRow.
void scale2xRowScalar(const uint32_t* const*, int, PixelEquals, uint32_t* const*);
void scale3xRowScalar(const uint32_t* const*, int, PixelEquals, uint32_t* const*);
void eagle2xRowScalar(const uint32_t* const*, int, PixelEquals, uint32_t* const*);
void mmpx2xRowScalar(const uint32_t* const*, int, PixelEquals, uint32_t* const*);
void scale2xRowAvx2(const uint32_t* const*, int, PixelEquals, uint32_t* const*);
void scale3xRowAvx2(const uint32_t* const*, int, PixelEquals, uint32_t* const*);
void eagle2xRowAvx2(const uint32_t* const*, int, PixelEquals, uint32_t* const*);
void mmpx2xRowAvx2(const uint32_t* const*, int, PixelEquals, uint32_t* const*);

}  // namespace loom
