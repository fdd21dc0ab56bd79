// The fast loop of the projective warp: row by row for cache-friendly writes, with the y terms of
// the mapping computed once per row and the channel order resolved once per image. It evaluates
// exactly the reference's arithmetic, so both give identical pixels.
#include "warp/PixelCopy.h"
#include "warp/ProjectiveWarp.h"
#include "warp/SourceIndex.h"

namespace loom {

namespace {

template <typename Copy>
void projectiveRows(const Homography& m, const Surface& source, const Surface& output,
                    const Copy& copy) {
    const int32_t sourceWidth = source.getWidth();
    const int32_t sourceHeight = source.getHeight();
    const uint8_t* sourceData = source.getData();
    const int64_t sourceRowBytes = source.getRowBytes();
    const int64_t sourceIncrement = source.getPixelInc();
    const int32_t width = output.getWidth();

    for (int32_t y = 0; y < output.getHeight(); ++y) {
        const double yd = y;
        const double rowX = m.m[3] * yd + m.m[6];
        const double rowY = m.m[4] * yd + m.m[7];
        const double rowW = m.m[5] * yd + m.m[8];
        uint8_t* out = output.getData(0, y);
        for (int32_t x = 0; x < width; ++x, out += Copy::OUTPUT_INCREMENT) {
            const double xd = x;
            const double reciprocal = 1.0 / (m.m[2] * xd + rowW);
            const double u = (m.m[0] * xd + rowX) * reciprocal;
            const double v = (m.m[1] * xd + rowY) * reciprocal;
            int32_t iu = 0, iv = 0;
            if (sourceIndex(u, sourceWidth, iu) && sourceIndex(v, sourceHeight, iv))
                copy.copy(out, sourceData + iv * sourceRowBytes + iu * sourceIncrement);
            else
                copy.clear(out);
        }
    }
}

}  // namespace

void warpProjective(const WarpQuad& destination, const Surface& source, const WarpQuad& sourceQuad,
                    const Surface& output) {
    const Homography m = projectiveMapping(destination, sourceQuad);
    const bool done = withPixelCopy(
        source, output, [&](const auto& copy) { projectiveRows(m, source, output, copy); });
    if (!done) warpProjectiveReference(destination, source, sourceQuad, output);
}

}  // namespace loom
