#include <gtest/gtest.h>

#include <cmath>

#include "WarpTestSupport.h"
#include "warp/InverseBilinear.h"

using namespace loom;
using loom::test::quadOf;

namespace {

// The point with patch parameters (s, t).
Vec2f patchPoint(const WarpQuad& q, double s, double t) {
    const Vec2f* p = q.corners;
    return Vec2f(float((1 - t) * ((1 - s) * p[0].x + s * p[1].x) + t * ((1 - s) * p[3].x + s * p[2].x)),
                 float((1 - t) * ((1 - s) * p[0].y + s * p[1].y) + t * ((1 - s) * p[3].y + s * p[2].y)));
}

}  // namespace

TEST(InverseBilinear, UnitSquareGivesThePointItself) {
    const WarpQuad unit = quadOf({0, 0}, {1, 0}, {1, 1}, {0, 1});
    const PatchParameters<float> p = inverseBilinear(unit, 0.25f, 0.75f);
    EXPECT_FLOAT_EQ(p.s, 0.25f);
    EXPECT_FLOAT_EQ(p.t, 0.75f);
}

TEST(InverseBilinear, TrapezoidRowsHaveConstantTAndEvenS) {
    // Top edge twice as long as the bottom one: no perspective compression towards the short edge.
    const WarpQuad trapezoid = quadOf({0, 0}, {40, 0}, {30, 20}, {10, 20});
    for (int y = 0; y <= 20; y += 4) {
        const double t = y / 20.0;
        const double left = 10 * t, right = 40 - 10 * t;
        for (double x = left; x <= right; x += (right - left) / 7) {
            const auto precise = inverseBilinearIn<double>(trapezoid.corners, x, double(y));
            EXPECT_NEAR(precise.t, t, 1e-9) << x << ", " << y;
            EXPECT_NEAR(precise.s, (x - left) / (right - left), 1e-9) << x << ", " << y;
            const auto single = inverseBilinear(trapezoid, float(x), float(y));
            EXPECT_NEAR(single.t, t, 1e-4) << x << ", " << y;
            EXPECT_NEAR(single.s, (x - left) / (right - left), 1e-4) << x << ", " << y;
        }
    }
}

TEST(InverseBilinear, RoundTripsOnAGeneralQuad) {
    const WarpQuad quad = quadOf({3, 1}, {25, 6}, {21, 30}, {1, 18});
    for (double s = 0; s <= 1.0; s += 0.125) {
        for (double t = 0; t <= 1.0; t += 0.125) {
            const Vec2f p = patchPoint(quad, s, t);
            const auto back = inverseBilinearIn<double>(quad.corners, double(p.x), double(p.y));
            EXPECT_NEAR(back.s, s, 1e-5) << s << ", " << t;
            EXPECT_NEAR(back.t, t, 1e-5) << s << ", " << t;
        }
    }
}

TEST(InverseBilinear, PointsWithoutParametersAreNotNumbers) {
    // Far to the left of this quad the discriminant F^2 - EG is negative.
    const WarpQuad quad = quadOf({0, 0}, {40, 0}, {20, 40}, {0, 10});
    const auto p = inverseBilinear(quad, -50, 30);
    EXPECT_TRUE(std::isnan(p.s));
    EXPECT_TRUE(std::isnan(inverseBilinearIn<double>(quad.corners, -50.0, 30.0).s));
}
