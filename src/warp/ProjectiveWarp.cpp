#include "warp/ProjectiveWarp.h"

#include "warp/PixelAccess.h"
#include "warp/SourceIndex.h"
#include "warp/SquareToQuad.h"

namespace loom {

Homography projectiveMapping(const WarpQuad& destination, const WarpQuad& sourceQuad) {
    const Homography squareToDestination = squareToQuadPrecise(destination);
    const Homography squareToSource = squareToQuadPrecise(sourceQuad);
    return squareToSource * squareToDestination.inverted();
}

void warpProjectiveReference(const WarpQuad& destination, const Surface& source,
                             const WarpQuad& sourceQuad, const Surface& output) {
    const Homography m = projectiveMapping(destination, sourceQuad);
    const int32_t sourceWidth = source.getWidth();
    const int32_t sourceHeight = source.getHeight();
    for (int32_t x = 0; x < output.getWidth(); ++x) {
        for (int32_t y = 0; y < output.getHeight(); ++y) {
            const double w = m.applyW(x, y);
            const double reciprocal = 1.0 / w;
            const double u = m.applyX(x, y) * reciprocal;
            const double v = m.applyY(x, y) * reciprocal;
            int32_t iu = 0, iv = 0;
            if (sourceIndex(u, sourceWidth, iu) && sourceIndex(v, sourceHeight, iv))
                writePixelClamped(output, x, y, readPixelClamped(source, iu, iv));
            else
                writePixelClamped(output, x, y, Rgba());
        }
    }
}

}  // namespace loom
