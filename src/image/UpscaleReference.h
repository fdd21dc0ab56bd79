// The reference upscalers: the literal PixelWindow machinery, step by step. Slow, and the
// definition the fast kernels must match bit for bit; tests compare the two.
#pragma once

#include "image/PixelMatch.h"
#include "image/Surface.h"

namespace loom {

// upscale() computed with the reference machinery only.
Surface upscaleReference(const Surface& source, int mode, PixelMatch match = PixelMatch::Seen);

// Kernels: source into an output exactly factor times its size, whole pixels.
void scale2xReference(const Surface& source, const Surface& output, PixelMatch match);
void scale3xReference(const Surface& source, const Surface& output, PixelMatch match);
void eagle2xReference(const Surface& source, const Surface& output, PixelMatch match);
void mmpx2xReference(const Surface& source, const Surface& output, PixelMatch match);

// In-place passes: sequential raster sweeps, each step seeing the earlier steps' writes.
void isolatedPixelPassReference(const Surface& image, PixelMatch match);
void diagonal2xPassReference(const Surface& image, PixelMatch match);
void corner3xPassReference(const Surface& image, PixelMatch match);
void diagonal3xPassReference(const Surface& image, PixelMatch match);

}  // namespace loom
