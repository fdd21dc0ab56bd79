// The reference upscalers: the literal PixelWindow machinery, step by step. Slow, and the
// definition the fast kernels must match bit for bit; tests compare the two.
#pragma once

#include "image/Surface.h"

namespace loom {

// upscale() computed with the reference machinery only.
Surface upscaleReference(const Surface& source, int mode);

// Kernels: source into an output exactly factor times its size (red, green, blue only).
void scale2xReference(const Surface& source, const Surface& output);
void scale3xReference(const Surface& source, const Surface& output);
void eagle2xReference(const Surface& source, const Surface& output);

// In-place passes: sequential raster sweeps, each step seeing the earlier steps' writes.
void isolatedPixelPassReference(const Surface& image);
void diagonal2xPassReference(const Surface& image);
void corner3xPassReference(const Surface& image);
void diagonal3xPassReference(const Surface& image);

// Gives each output pixel the alpha of the source pixel whose factor x factor block holds it.
// Does nothing when the output has no alpha; a source without alpha counts as opaque.
void carryAlphaReference(const Surface& source, const Surface& output, int factor);

}  // namespace loom
