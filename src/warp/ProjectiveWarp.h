// The projective warp: the source quad's pixels pinned onto the destination quad by the projective
// mapping that takes one onto the other, sampled nearest-neighbour.
//
// Coordinate spaces: output pixel (x, y) is the point (x, y) of the destination quad's corner space
// (integer coordinates, no half-pixel offset); the mapping gives source pixel coordinates (u, v),
// truncated by sourceIndex(). Pixels mapping outside the source are black, and transparent when
// the output has alpha.
#pragma once

#include "image/KernelPath.h"
#include "image/Surface.h"
#include "warp/Homography.h"
#include "warp/WarpQuad.h"

namespace loom {

// Output pixel to source pixel: squareToQuad(sourceQuad) times the inverse of
// squareToQuad(destination), in double precision.
Homography projectiveMapping(const WarpQuad& destination, const WarpQuad& sourceQuad);

// Fills every pixel of output, row by row, with the row kernels of path. Outputs other than the
// warp's own (RGBA when the source has alpha, RGB otherwise) go through the reference loop.
void warpProjective(const WarpQuad& destination, const Surface& source, const WarpQuad& sourceQuad,
                    const Surface& output, KernelPath path = bestKernelPath());

// The same result through one clamped read and write per pixel: the plain form the fast loop is
// checked against.
void warpProjectiveReference(const WarpQuad& destination, const Surface& source,
                             const WarpQuad& sourceQuad, const Surface& output);

}  // namespace loom
