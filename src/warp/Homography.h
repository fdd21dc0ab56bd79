// Homography: a 3x3 projective matrix in double precision, laid out like Matrix33f (column-major,
// element (row r, column c) at index 3c + r). The warps build their pixel mapping in double so that
// a mapping that lands exactly on a whole source pixel is seen to do so; single precision misses
// by a hair often enough to shift whole images by a pixel.
#pragma once

#include "math/Matrix33.h"

namespace loom {

struct Homography {
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    // (X, Y, W) for the point (x, y, 1). Each sum adds the x term last, so that a loop over a row
    // can compute the y terms once and give bit-identical results.
    double applyX(double x, double y) const { return m[0] * x + (m[3] * y + m[6]); }
    double applyY(double x, double y) const { return m[1] * x + (m[4] * y + m[7]); }
    double applyW(double x, double y) const { return m[2] * x + (m[5] * y + m[8]); }

    Homography operator*(const Homography& rhs) const;
    // The adjugate divided by the determinant, or undivided when |det| is at or below
    // Matrix33f::SINGULAR_DETERMINANT: either describes the same projective mapping.
    Homography inverted() const;
};

}  // namespace loom
