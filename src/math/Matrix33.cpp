#include "math/Matrix33.h"

#include <cmath>

namespace loom {

void Matrix33f::setToIdentity() {
    for (int i = 0; i < 9; ++i) m[i] = (i % 4 == 0) ? 1.0f : 0.0f;
}

Matrix33f Matrix33f::operator*(const Matrix33f& rhs) const {
    Matrix33f r;
    for (int c = 0; c < 3; ++c) {
        for (int row = 0; row < 3; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k) sum += at(row, k) * rhs.at(k, c);
            r.at(row, c) = sum;
        }
    }
    return r;
}

bool Matrix33f::operator==(const Matrix33f& o) const {
    for (int i = 0; i < 9; ++i)
        if (m[i] != o.m[i]) return false;
    return true;
}

Matrix33f Matrix33f::inverted() const {
    Matrix33f a;
    a.m[0] = m[8] * m[4] - m[7] * m[5];
    a.m[1] = m[7] * m[2] - m[8] * m[1];
    a.m[2] = m[5] * m[1] - m[2] * m[4];
    a.m[3] = m[6] * m[5] - m[8] * m[3];
    a.m[4] = m[8] * m[0] - m[6] * m[2];
    a.m[5] = m[2] * m[3] - m[5] * m[0];
    a.m[6] = m[7] * m[3] - m[6] * m[4];
    a.m[7] = m[6] * m[1] - m[7] * m[0];
    a.m[8] = m[4] * m[0] - m[3] * m[1];
    const float det = a.m[0] * m[0] + a.m[3] * m[1] + a.m[6] * m[2];
    if (std::fabs(det) > SINGULAR_DETERMINANT) {
        const float inv = 1.0f / det;
        for (float& v : a.m) v *= inv;
    }
    return a;
}

}  // namespace loom
