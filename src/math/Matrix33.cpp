#include "math/Matrix33.h"

namespace loom {

void Matrix33f::setToIdentity() {
    for (int i = 0; i < 9; ++i) m[i] = (i % 4 == 0) ? 1.0f : 0.0f;
}

Matrix33f Matrix33f::operator*(const Matrix33f& rhs) const {
    Matrix33f r;
    matrix33::multiply(m, rhs.m, r.m);
    return r;
}

bool Matrix33f::operator==(const Matrix33f& o) const {
    for (int i = 0; i < 9; ++i)
        if (m[i] != o.m[i]) return false;
    return true;
}

Matrix33f Matrix33f::inverted() const {
    Matrix33f a;
    matrix33::invert(m, a.m, SINGULAR_DETERMINANT);
    return a;
}

}  // namespace loom
