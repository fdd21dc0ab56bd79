#include "warp/Warp.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "image/ImageLimits.h"
#include "warp/BilinearWarp.h"
#include "warp/ProjectiveWarp.h"
#include "warp/TransformCatalogue.h"

namespace loom {

namespace {

// A side length truncated toward zero; NaN and negative sizes count as empty, while huge ones stay
// huge (capped where the conversion would overflow) so that the size check refuses them.
int64_t truncatedSide(float length) {
    constexpr float CAP = 1e12f;
    if (!(length > 0.0f)) return 0;
    return static_cast<int64_t>(std::min(length, CAP));
}

}  // namespace

Surface warp(int transformId, const Surface& source, const WarpQuad& destination) {
    if (transformId == TRANSFORM_NONE) return source;
    if (transformId != TRANSFORM_PROJECTIVE && transformId != TRANSFORM_BILINEAR)
        throw std::invalid_argument("unknown transform id " + std::to_string(transformId));
    if (source.isNull()) throw std::invalid_argument("warp: no source image");

    const int64_t width = truncatedSide(destination.bounds.x2 - destination.bounds.x1);
    const int64_t height = truncatedSide(destination.bounds.y2 - destination.bounds.y1);
    checkImageLimits(width, height);
    Surface output(static_cast<int32_t>(width), static_cast<int32_t>(height), source.hasAlpha());
    // Copied pixels keep their meaning; the transparent black surround is valid either way.
    output.setPremultiplied(source.isPremultiplied());

    const WarpQuad sourceQuad = quadFromRect(
        Rectf(0, 0, static_cast<float>(source.getWidth()), static_cast<float>(source.getHeight())));
    if (transformId == TRANSFORM_PROJECTIVE)
        warpProjective(destination, source, sourceQuad, output);
    else
        warpBilinear(destination, source, sourceQuad, output);
    return output;
}

}  // namespace loom
