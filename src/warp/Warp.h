// warp(): pins a whole image onto a quad with the transform chosen from the catalogue.
#pragma once

#include "image/Surface.h"
#include "warp/WarpQuad.h"

namespace loom {

// Id 0 ("None") returns a handle sharing the source's pixels. Projective and Bilinear return a new
// surface the size of the destination's bounding rectangle (each side truncated toward zero), with
// alpha exactly when the source has it and the source's premultiplied flag; pixels outside the
// quad are black, and transparent where the output has alpha. Throws ImageTooLargeExc for an
// output beyond the image limits (a quad dragged far out), std::invalid_argument for an unknown
// id or a null source.
Surface warp(int transformId, const Surface& source, const WarpQuad& destination);

}  // namespace loom
