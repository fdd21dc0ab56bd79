// makeResult(): the picture the tool writes and the application shows: the source enlarged by an
// upscaler, then pinned onto the quad by a transform unless the transform is None.
#pragma once

#include <array>

#include "image/Surface.h"
#include "math/Vec2.h"
#include "pipeline/ResultOptions.h"

namespace loom {

// The source upscaled by upscaler with options.match and options.layout, then warpResult() of that. quad
// holds the corners in source pixels (the unmoved image: (0, 0), (w, 0), (w, h), (0, h)). The source is
// let go once upscaled, so a caller handing over its only handle frees the decoded image early.
// Throws std::runtime_error for a null source, and what upscale() and warp() throw (an unknown
// upscaler or transform: std::invalid_argument).
Surface makeResult(Surface source, int upscaler, int transform, const std::array<Vec2f, 4>& quad,
                   const ResultOptions& options);

// The second half of makeResult(), for a caller that keeps the upscale: upscaled itself for the
// transform None, otherwise its warp onto quad at the resolution of upscaler's output.
Surface warpResult(const Surface& upscaled, int upscaler, int transform,
                   const std::array<Vec2f, 4>& quad);

}  // namespace loom
