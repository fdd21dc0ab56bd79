// Matrix33f: nine floats, column-major: element (row r, column c) at index 3c + r. Applied to a
// point (x, y) it gives X = m0 x + m3 y + m6, Y = m1 x + m4 y + m7, W = m2 x + m5 y + m8, and the
// mapped point (X / W, Y / W). The warps use it as a projective mapping.
#pragma once

#include <cmath>

#include "math/Vec2.h"
#include "math/Vec3.h"

namespace loom {

// Column-major 3x3 arithmetic shared by the single-precision Matrix33f and the warps' double
// precision mapping.
namespace matrix33 {

// out = a * b
template <typename T>
void multiply(const T* a, const T* b, T* out) {
    for (int c = 0; c < 3; ++c) {
        for (int row = 0; row < 3; ++row) {
            T sum = 0;
            for (int k = 0; k < 3; ++k) sum += a[3 * k + row] * b[3 * c + k];
            out[3 * c + row] = sum;
        }
    }
}

// out = the adjugate of m, divided by the determinant when |det| is above singularDeterminant;
// undivided otherwise, since it describes the same projective mapping.
template <typename T>
void invert(const T* m, T* out, T singularDeterminant) {
    out[0] = m[8] * m[4] - m[7] * m[5];
    out[1] = m[7] * m[2] - m[8] * m[1];
    out[2] = m[5] * m[1] - m[2] * m[4];
    out[3] = m[6] * m[5] - m[8] * m[3];
    out[4] = m[8] * m[0] - m[6] * m[2];
    out[5] = m[2] * m[3] - m[5] * m[0];
    out[6] = m[7] * m[3] - m[6] * m[4];
    out[7] = m[6] * m[1] - m[7] * m[0];
    out[8] = m[4] * m[0] - m[3] * m[1];
    const T det = out[0] * m[0] + out[3] * m[1] + out[6] * m[2];
    if (std::abs(det) > singularDeterminant) {
        const T inv = T(1) / det;
        for (int i = 0; i < 9; ++i) out[i] *= inv;
    }
}

}  // namespace matrix33

class Matrix33f {
public:
    static constexpr float SINGULAR_DETERMINANT = 4.37114e-05f;

    Matrix33f() { setToIdentity(); }

    void setToIdentity();
    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    float& at(int row, int column) { return m[3 * column + row]; }
    float at(int row, int column) const { return m[3 * column + row]; }
    const float* data() const { return m; }

    Matrix33f operator*(const Matrix33f& rhs) const;
    bool operator==(const Matrix33f& o) const;

    // (X, Y, W) for the point (x, y, 1).
    Vec3f apply(float x, float y) const {
        return {m[0] * x + m[3] * y + m[6], m[1] * x + m[4] * y + m[7], m[2] * x + m[5] * y + m[8]};
    }
    // (X / W, Y / W).
    Vec2f transformPoint(const Vec2f& p) const {
        Vec3f h = apply(p.x, p.y);
        return {h.x / h.z, h.y / h.z};
    }

    // Adjugate divided by the determinant; when |det| is at or below the threshold the adjugate is
    // returned undivided (it describes the same projective mapping).
    Matrix33f inverted() const;

private:
    float m[9];
};

}  // namespace loom
