// The patch parameters (s, t) of a point in a quad seen as a bilinear patch:
// p = (1 - t)((1 - s) P0 + s P1) + t((1 - s) P3 + s P2), s along P0P1 and t along P0P3.
// One recipe in either precision: float for inverseBilinear(), double for the warp, whose pixels
// must not hinge on single-precision rounding.
#pragma once

#include <cmath>

#include "math/Vec2.h"
#include "warp/WarpQuad.h"

namespace loom {

template <typename T>
struct PatchParameters {
    T s;
    T t;
};

// Points with no real parameters (negative discriminant) give non-numbers.
template <typename T>
PatchParameters<T> inverseBilinearIn(const Vec2f (&corners)[4], T px, T py) {
    const T x0 = corners[0].x, y0 = corners[0].y;
    const T x1 = corners[1].x, y1 = corners[1].y;
    const T x2 = corners[2].x, y2 = corners[2].y;
    const T x3 = corners[3].x, y3 = corners[3].y;

    const T e = (y0 - y3) * (x0 - px) - (y0 - py) * (x0 - x3);
    const T f = (((x0 - px) * (y1 - y2) - (y0 - py) * (x1 - x2)) +
                 ((y0 - y3) * (x1 - px) - (x0 - x3) * (y1 - py))) *
                T(0.5);
    const T g = (y1 - y2) * (x1 - px) - (x1 - x2) * (y1 - py);
    const T r = (e - T(2) * f) + g;

    T s;
    if (r != 0) {
        // The roots of r s^2 - 2 b s + e = 0 with b = e - f: (b + q) / r, then (b - q) / r. The
        // root whose numerator cancels is taken as e / (b -+ q) instead, equal in exact arithmetic:
        // when r is a rounding residue of zero (opposite edges parallel), the cancelling quotient
        // is noise over noise while this form tends to the linear solution e / (e - g).
        const T b = e - f;
        const T q = std::sqrt(f * f - e * g);
        T first, second;
        if (b >= 0) {
            first = (b + q) / r;
            second = (b + q != 0) ? e / (b + q) : (b - q) / r;
        } else {
            first = e / (b - q);
            second = (b - q) / r;
        }
        s = first;
        // The other root, whatever its value, when the first leaves the patch.
        if (s < 0 || s > 1) s = second;
    } else {
        s = (e - g == 0) ? T(0) : e / (e - g);
    }

    const T dx = (1 - s) * (x0 - x3) + s * (x1 - x2);
    const T dy = (1 - s) * (y0 - y3) + s * (y1 - y2);
    T t;
    if (std::fabs(dy) < std::fabs(dx))
        t = (s * (x1 - px) + (1 - s) * (x0 - px)) / dx;
    else if (dy == 0)
        t = 0;
    else
        t = (s * (y1 - py) + (1 - s) * (y0 - py)) / dy;
    return {s, t};
}

// In single precision.
PatchParameters<float> inverseBilinear(const WarpQuad& quad, float px, float py);

}  // namespace loom
