#include "pipeline/MakeResult.h"

#include <stdexcept>

#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "warp/TransformCatalogue.h"
#include "warp/WarpUpscaled.h"

namespace loom {

Surface makeResult(Surface source, int upscaler, int transform, const std::array<Vec2f, 4>& quad,
                   const ResultOptions& options) {
    Surface upscaled = upscale(source, upscaler, options.match, options.layout);
    if (!upscaled) throw std::runtime_error("there is no image to upscale");
    source = Surface();
    return warpResult(upscaled, upscaler, transform, quad);
}

Surface warpResult(const Surface& upscaled, int upscaler, int transform,
                   const std::array<Vec2f, 4>& quad) {
    if (transform == TRANSFORM_NONE) return upscaled;
    return warpUpscaled(transform, upscaled, quad, upscalerById(upscaler).factor);
}

}  // namespace loom
