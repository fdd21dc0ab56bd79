// The scalar row kernels, one pixel at a time.
#include "warp/InverseBilinear.h"
#include "warp/SourceIndex.h"
#include "warp/WarpRows.h"

namespace loom {

void projectiveRowScalar(const Homography& m, int32_t y, int32_t width, SourceSize source, int32_t* iu,
                         int32_t* iv) {
    // The y terms once per row: the reference sums the x term last, so this is the same sum.
    const double yd = y;
    const double rowX = m.m[3] * yd + m.m[6];
    const double rowY = m.m[4] * yd + m.m[7];
    const double rowW = m.m[5] * yd + m.m[8];
    for (int32_t x = 0; x < width; ++x) {
        const double xd = x;
        const double reciprocal = 1.0 / (m.m[2] * xd + rowW);
        const double u = (m.m[0] * xd + rowX) * reciprocal;
        const double v = (m.m[1] * xd + rowY) * reciprocal;
        if (!(sourceIndex(u, source.width, iu[x]) && sourceIndex(v, source.height, iv[x]))) iu[x] = -1;
    }
}

void bilinearRowScalar(const Vec2f (&corners)[4], double scaleU, double scaleV, int32_t y, int32_t width,
                       SourceSize source, int32_t* iu, int32_t* iv) {
    const double yd = y;
    for (int32_t x = 0; x < width; ++x) {
        const PatchParameters<double> p = inverseBilinearIn<double>(corners, x, yd);
        if (!(sourceIndex(scaleU * p.s, source.width, iu[x]) &&
              sourceIndex(scaleV * p.t, source.height, iv[x])))
            iu[x] = -1;
    }
}

}  // namespace loom
