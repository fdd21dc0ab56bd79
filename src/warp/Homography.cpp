#include "warp/Homography.h"

namespace loom {

Homography Homography::operator*(const Homography& rhs) const {
    Homography r;
    matrix33::multiply(m, rhs.m, r.m);
    return r;
}

Homography Homography::inverted() const {
    Homography a;
    matrix33::invert(m, a.m, double(Matrix33f::SINGULAR_DETERMINANT));
    return a;
}

}  // namespace loom
