#include "warp/SquareToQuad.h"

namespace loom {

namespace {

// One recipe for both precisions; T is float or double, m is column-major.
template <typename T, typename Matrix>
void fillSquareToQuad(const WarpQuad& quad, Matrix& m) {
    const T x0 = quad.corners[0].x, y0 = quad.corners[0].y;
    const T x1 = quad.corners[1].x, y1 = quad.corners[1].y;
    const T x2 = quad.corners[2].x, y2 = quad.corners[2].y;
    const T x3 = quad.corners[3].x, y3 = quad.corners[3].y;

    m[6] = x0;
    m[7] = y0;
    m[8] = 1;

    const T sx = ((x0 - x1) + x2) - x3;
    const T sy = ((y0 - y1) + y2) - y3;
    if (sx == 0 && sy == 0) {
        // A parallelogram: affine.
        m[0] = x1 - x0;
        m[3] = x2 - x1;
        m[1] = y1 - y0;
        m[4] = y2 - y1;
        m[2] = 0;
        m[5] = 0;
        return;
    }
    const T dx1 = x1 - x2, dx2 = x3 - x2;
    const T dy1 = y1 - y2, dy2 = y3 - y2;
    const T den = dx1 * dy2 - dx2 * dy1;
    const T g = (sx * dy2 - sy * dx2) / den;
    const T h = (dx1 * sy - dy1 * sx) / den;
    m[2] = g;
    m[5] = h;
    m[0] = x1 - x0 + g * x1;
    m[3] = x3 - x0 + h * x3;
    m[1] = y1 - y0 + g * y1;
    m[4] = y3 - y0 + h * y3;
}

}  // namespace

Matrix33f squareToQuad(const WarpQuad& quad) {
    Matrix33f m;
    fillSquareToQuad<float>(quad, m);
    return m;
}

Homography squareToQuadPrecise(const WarpQuad& quad) {
    Homography h;
    fillSquareToQuad<double>(quad, h.m);
    return h;
}

}  // namespace loom
