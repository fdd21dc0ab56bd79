#include <gtest/gtest.h>

#include <cmath>

#include "WarpTestSupport.h"
#include "warp/Homography.h"
#include "warp/SquareToQuad.h"

using namespace loom;
using loom::test::quadOf;

namespace {

void expectMapsUnitSquareOnto(const Matrix33f& m, const WarpQuad& q, const char* what) {
    const Vec2f square[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        const Vec2f p = m.transformPoint(square[i]);
        EXPECT_NEAR(p.x, q.corners[i].x, 1e-4) << what << ", corner " << i;
        EXPECT_NEAR(p.y, q.corners[i].y, 1e-4) << what << ", corner " << i;
    }
}

}  // namespace

TEST(SquareToQuad, UnitSquareIsTheIdentity) {
    const WarpQuad unit = quadOf({0, 0}, {1, 0}, {1, 1}, {0, 1});
    EXPECT_TRUE(squareToQuad(unit) == Matrix33f());
    const Homography precise = squareToQuadPrecise(unit);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(precise.m[i], (i % 4 == 0) ? 1.0 : 0.0) << i;
}

TEST(SquareToQuad, ParallelogramIsAffine) {
    const WarpQuad slanted = quadOf({2, 1}, {12, 3}, {15, 9}, {5, 7});
    const Matrix33f m = squareToQuad(slanted);
    EXPECT_EQ(m[2], 0.0f);
    EXPECT_EQ(m[5], 0.0f);
    EXPECT_EQ(m[8], 1.0f);
    EXPECT_EQ(m[0], 10.0f);
    EXPECT_EQ(m[3], 3.0f);
    expectMapsUnitSquareOnto(m, slanted, "parallelogram");
}

TEST(SquareToQuad, TrapezoidsAndGeneralQuadsMapTheirCorners) {
    const WarpQuad trapezoid = quadOf({0, 0}, {40, 0}, {30, 40}, {10, 40});
    const Matrix33f m = squareToQuad(trapezoid);
    EXPECT_NE(m[5], 0.0f) << "a perspective term along the slanted edges";
    expectMapsUnitSquareOnto(m, trapezoid, "trapezoid");
    expectMapsUnitSquareOnto(squareToQuad(quadOf({3, 1}, {25, 6}, {21, 30}, {1, 18})),
                             quadOf({3, 1}, {25, 6}, {21, 30}, {1, 18}), "general");

    // The precise form follows the same recipe.
    const Homography h = squareToQuadPrecise(trapezoid);
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(h.m[i], m[i], 1e-5 * (1 + std::fabs(m[i]))) << i;
}

TEST(SquareToQuad, DegenerateQuadGivesNonFiniteEntries) {
    // Corners 1, 2, 3 on one line: the perspective terms divide by zero.
    const Matrix33f m = squareToQuad(quadOf({0, 10}, {10, 0}, {20, 0}, {30, 0}));
    EXPECT_FALSE(std::isfinite(m[2]) && std::isfinite(m[5]));
}

TEST(Homography, InverseDividesOnlyAboveTheThreshold) {
    Homography m;
    m.m[0] = 2;
    m.m[4] = 4;
    m.m[6] = 3;
    const Homography product = m * m.inverted();
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(product.m[i], (i % 4 == 0) ? 1.0 : 0.0, 1e-12) << i;

    // det = 0.03^3 = 2.7e-5, at most the threshold: the adjugate comes back undivided.
    Homography tiny;
    tiny.m[0] = tiny.m[4] = tiny.m[8] = 0.03;
    const Homography adjugate = tiny.inverted();
    EXPECT_NEAR(adjugate.m[0], 0.0009, 1e-15);
    EXPECT_NEAR(adjugate.m[8], 0.0009, 1e-15);
    // Either way the projective mapping is the inverse one.
    const double w = adjugate.applyW(0.3, 0.6);
    EXPECT_NEAR(adjugate.applyX(0.3, 0.6) / w, 0.3, 1e-12);
}
