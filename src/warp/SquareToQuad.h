// The projective matrix that maps the unit square onto a quad: (0, 0) to corner 0, (1, 0) to
// corner 1, (1, 1) to corner 2 and (0, 1) to corner 3. Parallelograms take an affine branch with no
// division; a degenerate quad (three corners on a line) may give non-finite entries, which the
// warps treat as "outside".
#pragma once

#include "math/Matrix33.h"
#include "warp/Homography.h"
#include "warp/WarpQuad.h"

namespace loom {

// In single precision.
Matrix33f squareToQuad(const WarpQuad& quad);
// The same recipe in double precision, used by the warps.
Homography squareToQuadPrecise(const WarpQuad& quad);

}  // namespace loom
