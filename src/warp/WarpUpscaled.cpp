#include "warp/WarpUpscaled.h"

#include "warp/Warp.h"
#include "warp/WarpQuad.h"

namespace loom {

Surface warpUpscaled(int transformId, const Surface& upscaled, const std::array<Vec2f, 4>& corners,
                     int factor) {
    std::array<Vec2f, 4> scaled;
    for (size_t i = 0; i < corners.size(); ++i) scaled[i] = corners[i] * float(factor);
    return warp(transformId, upscaled, makeWarpQuad(scaled));
}

}  // namespace loom
