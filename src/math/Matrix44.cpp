#include "math/Matrix44.h"

#include <cmath>

namespace loom {

void Matrix44f::setToIdentity() {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

Matrix44f Matrix44f::createTranslation(const Vec3f& t) {
    Matrix44f r;
    r.m[12] = t.x;
    r.m[13] = t.y;
    r.m[14] = t.z;
    return r;
}

Matrix44f Matrix44f::createScale(const Vec3f& s) {
    Matrix44f r;
    r.m[0] = s.x;
    r.m[5] = s.y;
    r.m[10] = s.z;
    return r;
}

Matrix44f Matrix44f::createRotationZ(float radians) {
    Matrix44f r;
    float c = std::cos(radians), s = std::sin(radians);
    r.at(0, 0) = c;
    r.at(0, 1) = -s;
    r.at(1, 0) = s;
    r.at(1, 1) = c;
    return r;
}

Matrix44f Matrix44f::operator*(const Matrix44f& rhs) const {
    Matrix44f r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += at(row, k) * rhs.at(k, c);
            r.at(row, c) = sum;
        }
    }
    return r;
}

bool Matrix44f::operator==(const Matrix44f& o) const {
    for (int i = 0; i < 16; ++i)
        if (m[i] != o.m[i]) return false;
    return true;
}

Vec3f Matrix44f::transformPoint(const Vec3f& p) const {
    float x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    float y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    float z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    return {x / w, y / w, z / w};
}

Matrix44f Matrix44f::affineInverted() const {
    // Cofactors of the upper-left 3x3 block, transposed: the adjugate.
    const float a = at(0, 0), b = at(0, 1), c = at(0, 2);
    const float d = at(1, 0), e = at(1, 1), f = at(1, 2);
    const float g = at(2, 0), h = at(2, 1), i = at(2, 2);
    const float c00 = e * i - f * h, c01 = c * h - b * i, c02 = b * f - c * e;
    const float c10 = f * g - d * i, c11 = a * i - c * g, c12 = c * d - a * f;
    const float c20 = d * h - e * g, c21 = b * g - a * h, c22 = a * e - b * d;
    const float det = a * c00 + b * c10 + c * c20;

    Matrix44f r;
    if (std::fabs(det) <= SINGULAR_DETERMINANT) return r;
    const float inv = 1.0f / det;
    r.at(0, 0) = c00 * inv;
    r.at(0, 1) = c01 * inv;
    r.at(0, 2) = c02 * inv;
    r.at(1, 0) = c10 * inv;
    r.at(1, 1) = c11 * inv;
    r.at(1, 2) = c12 * inv;
    r.at(2, 0) = c20 * inv;
    r.at(2, 1) = c21 * inv;
    r.at(2, 2) = c22 * inv;
    const float tx = m[12], ty = m[13], tz = m[14];
    for (int row = 0; row < 3; ++row)
        r.at(row, 3) = -(r.at(row, 0) * tx + r.at(row, 1) * ty + r.at(row, 2) * tz);
    return r;
}

}  // namespace loom
