// The bilinear warp: the destination quad is treated as a bilinear patch; each output pixel's patch
// parameters (s, t) select the source pixel. The image spreads evenly along each edge, with no
// perspective foreshortening.
//
// Coordinate spaces as in ProjectiveWarp.h: output pixel (x, y) is the point (x, y) of the
// destination's corner space; (s, t) go through squareToQuad(sourceQuad) to source pixel
// coordinates, truncated by sourceIndex(). Outside pixels are black, transparent with alpha.
#pragma once

#include "image/KernelPath.h"
#include "image/Surface.h"
#include "warp/WarpQuad.h"

namespace loom {

// Fills every pixel of output, row by row, with the row kernels of path. Outputs other than the
// warp's own (RGBA when the source has alpha, RGB otherwise) go through the reference loop.
void warpBilinear(const WarpQuad& destination, const Surface& source, const WarpQuad& sourceQuad,
                  const Surface& output, KernelPath path = bestKernelPath());

// The same result through one clamped read and write per pixel: the plain form the fast loop is
// checked against.
void warpBilinearReference(const WarpQuad& destination, const Surface& source,
                           const WarpQuad& sourceQuad, const Surface& output);

}  // namespace loom
