#include "warp/BilinearWarp.h"

#include "warp/InverseBilinear.h"
#include "warp/PixelAccess.h"
#include "warp/SourceIndex.h"
#include "warp/SquareToQuad.h"

namespace loom {

void warpBilinearReference(const WarpQuad& destination, const Surface& source,
                           const WarpQuad& sourceQuad, const Surface& output) {
    const Homography q = squareToQuadPrecise(sourceQuad);
    const int32_t sourceWidth = source.getWidth();
    const int32_t sourceHeight = source.getHeight();
    for (int32_t x = 0; x < output.getWidth(); ++x) {
        for (int32_t y = 0; y < output.getHeight(); ++y) {
            const PatchParameters<double> p = inverseBilinearIn<double>(destination.corners, x, y);
            const double w = q.applyW(p.s, p.t);
            const double u = q.applyX(p.s, p.t) / w;
            const double v = q.applyY(p.s, p.t) / w;
            int32_t iu = 0, iv = 0;
            if (sourceIndex(u, sourceWidth, iu) && sourceIndex(v, sourceHeight, iv))
                writePixelClamped(output, x, y, readPixelClamped(source, iu, iv));
            else
                writePixelClamped(output, x, y, Rgba());
        }
    }
}

}  // namespace loom
