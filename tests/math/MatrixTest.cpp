#include <gtest/gtest.h>

#include "math/Matrix33.h"
#include "math/Matrix44.h"

using loom::Matrix33f;
using loom::Matrix44f;
using loom::Vec3f;

TEST(Matrix44f, IsColumnMajorWithTranslationAt12To14) {
    Matrix44f m = Matrix44f::createTranslation({1, 2, 3});
    EXPECT_EQ(m[12], 1.0f);
    EXPECT_EQ(m[13], 2.0f);
    EXPECT_EQ(m[14], 3.0f);
    EXPECT_EQ(m.at(0, 3), 1.0f) << "row 0, column 3 is index 12";
}

TEST(Matrix44f, BuildersPostMultiplySoTheLastIsAppliedFirst) {
    Matrix44f m;
    m.translate({10, 0, 0});
    m.scale({2, 2, 1});
    Vec3f p = m.transformPoint(Vec3f(1, 1, 0));
    EXPECT_EQ(p, Vec3f(12, 2, 0)) << "scale first, then translate";
}

TEST(Matrix44f, TransformDividesByW) {
    Matrix44f m;
    m[15] = 2.0f;
    EXPECT_EQ(m.transformPoint(Vec3f(4, 6, 8)), Vec3f(2, 3, 4));
}

TEST(Matrix44f, AffineInverseUndoesTheView) {
    Matrix44f m;
    m.translate({320, 240, 0});
    m.scale({3, 3, 1});
    m.translate({-50, -25, 0});
    Matrix44f inv = m.affineInverted();
    Vec3f p = inv.transformPoint(m.transformPoint(Vec3f(7, 9, 0)));
    EXPECT_NEAR(p.x, 7, 1e-4);
    EXPECT_NEAR(p.y, 9, 1e-4);
    EXPECT_EQ(inv[3], 0.0f);
    EXPECT_EQ(inv[15], 1.0f);
}

TEST(Matrix44f, AffineInverseOfNearSingularIsIdentity) {
    // det = s^3; 0.035^3 = 4.29e-5 is at or below the threshold, 0.036^3 = 4.67e-5 is above.
    Matrix44f small = Matrix44f::createScale({0.035f, 0.035f, 0.035f});
    small.translate({5, 5, 0});
    EXPECT_EQ(small.affineInverted(), Matrix44f::identity());
    Matrix44f big = Matrix44f::createScale({0.036f, 0.036f, 0.036f});
    EXPECT_NE(big.affineInverted(), Matrix44f::identity());
    EXPECT_EQ(Matrix44f::createScale({0, 0, 1}).affineInverted(), Matrix44f::identity())
        << "zoom 0 gives the identity";
}

TEST(Matrix33f, InverseDividesOnlyAboveTheThreshold) {
    Matrix33f m;
    m[0] = 2;
    m[4] = 4;
    m[6] = 1;
    Matrix33f inv = m.inverted();
    Matrix33f product = m * inv;
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(product[i], Matrix33f()[i], 1e-6) << i;

    Matrix33f tiny;
    tiny[0] = 1e-3f;
    tiny[4] = 1e-3f;
    Matrix33f adj = tiny.inverted();
    EXPECT_FLOAT_EQ(adj[0], 1e-3f) << "the adjugate is used undivided";
    EXPECT_FLOAT_EQ(adj[8], 1e-6f);
}

TEST(Matrix33f, MapsPointsProjectively) {
    Matrix33f m;
    m[2] = 1;  // W = x + 1
    auto p = m.transformPoint({1, 4});
    EXPECT_EQ(p.x, 0.5f);
    EXPECT_EQ(p.y, 2.0f);
}
