#include "warp/WarpQuad.h"

#include <algorithm>

namespace loom {

WarpQuad makeWarpQuad(const std::array<Vec2f, 4>& corners) {
    WarpQuad quad;
    Rectf& b = quad.bounds;
    b = Rectf(corners[0].x, corners[0].y, corners[0].x, corners[0].y);
    for (const Vec2f& c : corners) {
        b.x1 = std::min(b.x1, c.x);
        b.y1 = std::min(b.y1, c.y);
        b.x2 = std::max(b.x2, c.x);
        b.y2 = std::max(b.y2, c.y);
    }
    for (int i = 0; i < 4; ++i) quad.corners[i] = corners[i] - Vec2f(b.x1, b.y1);
    return quad;
}

WarpQuad quadFromRect(const Rectf& rect) {
    const float w = rect.x2 - rect.x1;
    const float h = rect.y2 - rect.y1;
    WarpQuad quad;
    quad.bounds = rect;
    quad.corners[0] = Vec2f(0, 0);
    quad.corners[1] = Vec2f(w, 0);
    quad.corners[2] = Vec2f(w, h);
    quad.corners[3] = Vec2f(0, h);
    return quad;
}

}  // namespace loom
