#include "warp/Homography.h"

#include <cmath>

namespace loom {

Homography Homography::operator*(const Homography& rhs) const {
    Homography r;
    for (int c = 0; c < 3; ++c) {
        for (int row = 0; row < 3; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) sum += m[3 * k + row] * rhs.m[3 * c + k];
            r.m[3 * c + row] = sum;
        }
    }
    return r;
}

Homography Homography::inverted() const {
    Homography a;
    a.m[0] = m[8] * m[4] - m[7] * m[5];
    a.m[1] = m[7] * m[2] - m[8] * m[1];
    a.m[2] = m[5] * m[1] - m[2] * m[4];
    a.m[3] = m[6] * m[5] - m[8] * m[3];
    a.m[4] = m[8] * m[0] - m[6] * m[2];
    a.m[5] = m[2] * m[3] - m[5] * m[0];
    a.m[6] = m[7] * m[3] - m[6] * m[4];
    a.m[7] = m[6] * m[1] - m[7] * m[0];
    a.m[8] = m[4] * m[0] - m[3] * m[1];
    const double det = a.m[0] * m[0] + a.m[3] * m[1] + a.m[6] * m[2];
    if (std::fabs(det) > Matrix33f::SINGULAR_DETERMINANT) {
        const double inv = 1.0 / det;
        for (double& v : a.m) v *= inv;
    }
    return a;
}

}  // namespace loom
