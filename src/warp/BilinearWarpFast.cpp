// The fast loop of the bilinear warp: row by row, channel order resolved once per image. The patch
// parameters are computed by the same inline recipe as in the reference, so both give identical
// pixels; the compiler hoists the terms that depend on the row only.
#include "warp/BilinearWarp.h"
#include "warp/InverseBilinear.h"
#include "warp/PixelCopy.h"
#include "warp/SourceIndex.h"
#include "warp/SquareToQuad.h"

namespace loom {

namespace {

// True when the matrix only scales: (s, t) maps to (m0 s, m4 t) with W = 1, as for the axis-aligned
// source rectangle that warp() always passes.
bool isScaling(const Homography& q) {
    return q.m[1] == 0 && q.m[2] == 0 && q.m[3] == 0 && q.m[5] == 0 && q.m[6] == 0 &&
           q.m[7] == 0 && q.m[8] == 1;
}

// For a scaling matrix, X = m0 s + (0 t + 0) and W = 1 whenever s and t are finite, so u = m0 s and
// v = m4 t exactly (up to the sign of a zero, which truncation ignores); a non-finite s or t puts
// the pixel outside in both forms.
template <bool SCALING, typename Copy>
void bilinearRows(const WarpQuad& destination, const Homography& q, const Surface& source,
                  const Surface& output, const Copy& copy) {
    const int32_t sourceWidth = source.getWidth();
    const int32_t sourceHeight = source.getHeight();
    const uint8_t* sourceData = source.getData();
    const int64_t sourceRowBytes = source.getRowBytes();
    const int64_t sourceIncrement = source.getPixelInc();
    const int32_t width = output.getWidth();

    for (int32_t y = 0; y < output.getHeight(); ++y) {
        const double yd = y;
        uint8_t* out = output.getData(0, y);
        for (int32_t x = 0; x < width; ++x, out += Copy::OUTPUT_INCREMENT) {
            const PatchParameters<double> p = inverseBilinearIn<double>(destination.corners, x, yd);
            double u, v;
            if (SCALING) {
                u = q.m[0] * p.s;
                v = q.m[4] * p.t;
            } else {
                const double w = q.applyW(p.s, p.t);
                u = q.applyX(p.s, p.t) / w;
                v = q.applyY(p.s, p.t) / w;
            }
            int32_t iu = 0, iv = 0;
            if (sourceIndex(u, sourceWidth, iu) && sourceIndex(v, sourceHeight, iv))
                copy.copy(out, sourceData + iv * sourceRowBytes + iu * sourceIncrement);
            else
                copy.clear(out);
        }
    }
}

}  // namespace

void warpBilinear(const WarpQuad& destination, const Surface& source, const WarpQuad& sourceQuad,
                  const Surface& output) {
    const Homography q = squareToQuadPrecise(sourceQuad);
    const bool done = withPixelCopy(source, output, [&](const auto& copy) {
        if (isScaling(q))
            bilinearRows<true>(destination, q, source, output, copy);
        else
            bilinearRows<false>(destination, q, source, output, copy);
    });
    if (!done) warpBilinearReference(destination, source, sourceQuad, output);
}

}  // namespace loom
