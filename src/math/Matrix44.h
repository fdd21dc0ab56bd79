// Matrix44f: sixteen floats, column-major exactly as OpenGL takes them: element (row r, column c) at
// index 4c + r, translation at 12, 13, 14. The builders post-multiply (M = M * T), so the transform
// added last is applied to a point first.
#pragma once

#include "math/Vec2.h"
#include "math/Vec3.h"

namespace loom {

class Matrix44f {
public:
    // The threshold below which a determinant counts as singular.
    static constexpr float SINGULAR_DETERMINANT = 4.37114e-05f;

    Matrix44f() { setToIdentity(); }

    static Matrix44f identity() { return Matrix44f(); }
    static Matrix44f createTranslation(const Vec3f& t);
    static Matrix44f createScale(const Vec3f& s);
    // Rotation by angle radians about the z axis.
    static Matrix44f createRotationZ(float radians);

    void setToIdentity();
    float& at(int row, int column) { return m[4 * column + row]; }
    float at(int row, int column) const { return m[4 * column + row]; }
    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    const float* data() const { return m; }

    Matrix44f operator*(const Matrix44f& rhs) const;
    Matrix44f& operator*=(const Matrix44f& rhs) { return *this = *this * rhs; }
    bool operator==(const Matrix44f& o) const;
    bool operator!=(const Matrix44f& o) const { return !(*this == o); }

    void translate(const Vec3f& t) { *this *= createTranslation(t); }
    void scale(const Vec3f& s) { *this *= createScale(s); }
    void rotateZ(float radians) { *this *= createRotationZ(radians); }

    // M * (x, y, z, 1), divided by its fourth component.
    Vec3f transformPoint(const Vec3f& p) const;
    Vec2f transformPoint(const Vec2f& p) const {
        Vec3f q = transformPoint(Vec3f(p.x, p.y, 0.0f));
        return {q.x, q.y};
    }

    // Inverse of an affine matrix: the upper-left 3x3 block inverted by cofactors, translation
    // -(inverse block * translation), row 3 (0, 0, 0, 1). The identity when |det| <= the threshold.
    Matrix44f affineInverted() const;

private:
    float m[16];
};

}  // namespace loom
