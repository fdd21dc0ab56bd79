// WarpQuad: the warps' view of a quadrilateral. Corners are relative to the top-left of their
// bounding rectangle, so the warp's output pixel (x, y) is the point (x, y) of corner space.
#pragma once

#include <array>

#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom {

struct WarpQuad {
    // Around the quad in the order of CornerQuad's corners, relative to (bounds.x1, bounds.y1).
    Vec2f corners[4];
    // The bounding rectangle in quad space.
    Rectf bounds;
};

WarpQuad makeWarpQuad(const std::array<Vec2f, 4>& corners);
// Corners top-left, top-right, bottom-right, bottom-left of the rectangle's size.
WarpQuad quadFromRect(const Rectf& rect);

}  // namespace loom
