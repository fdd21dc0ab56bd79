// The fast in-place refinement passes, one anchor row at a time. They keep exactly the
// sequential semantics of the window machinery: anchors in raster order, each step seeing the
// earlier steps' writes, and at the borders the clamped write-back (where a duplicate beyond the
// right or bottom edge undoes a change). The speed comes from skipping anchors where the rule
// cannot fire: a step whose rule sets nothing writes back only what it loaded, so it changes
// nothing. SIMD tests eight interior anchors at once against the image as it stands; the first
// that fires is exactly the first that would fire sequentially, since nothing was written between.
#pragma once

#include <cstdint>

#include "image/KernelPath.h"
#include "image/PackedPixel.h"
#include "image/RowPlane.h"
#include "image/UpscaleRecipe.h"

namespace loom {

// Columns and rows of the pass's window (its anchor is cell (1, 1)).
int refineWindowSize(RefinePass pass);

// All steps of anchor row y, left to right. Anchor rows above y must be done and rows below not.
void refineRow(RefinePass pass, const RowPlane& plane, int y, KernelPath path, PixelEquals same);

// The whole pass over the plane.
void refinePlane(RefinePass pass, const RowPlane& plane, KernelPath path, PixelEquals same);

// The AVX2 variant of refineRow.
void refineRowAvx2(RefinePass pass, const RowPlane& plane, int y, PixelEquals same);

}  // namespace loom
