// Matrix33f: nine floats, column-major: element (row r, column c) at index 3c + r. Applied to a
// point (x, y) it gives X = m0 x + m3 y + m6, Y = m1 x + m4 y + m7, W = m2 x + m5 y + m8, and the
// mapped point (X / W, Y / W). The warps use it as a projective mapping.
#pragma once

#include "math/Vec2.h"
#include "math/Vec3.h"

namespace loom {

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
