#include <gtest/gtest.h>

#include <cmath>

#include "math/Path2d.h"

using loom::Path2d;
using loom::Path2dExc;
using loom::Vec2f;

namespace {

constexpr float PI = 3.14159265358979f;

void expectNear(const Vec2f& actual, const Vec2f& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
}

int countSegments(const Path2d& path, int32_t type) {
    int n = 0;
    for (int32_t s : path.getSegments()) n += (s == type);
    return n;
}

}  // namespace

TEST(Path2d, MisuseRaises) {
    Path2d path;
    EXPECT_THROW(path.curveTo({1, 1}, {2, 2}, {3, 3}), Path2dExc) << "curveTo needs a start point";
    EXPECT_THROW(path.lineTo({1, 1}), Path2dExc) << "lineTo needs a start point";
    path.moveTo({0, 0});
    EXPECT_THROW(path.moveTo({1, 1}), Path2dExc) << "only one start point";
    EXPECT_THROW(path.arc({0, 0}, 1, NAN, 1, true), Path2dExc) << "non-finite angle";
    EXPECT_THROW(path.arc({0, 0}, 1, 1e30f, 0, true), Path2dExc) << "a turn no longer moves the end";
}

TEST(Path2d, QuarterArcOnEmptyPathIsOneCubic) {
    Path2d path;
    const Vec2f c(10, 20);
    path.arc(c, 5, 0, PI / 2, true);
    ASSERT_EQ(path.getSegments().size(), 1u);
    EXPECT_EQ(path.getSegments()[0], Path2d::CUBICTO);
    ASSERT_EQ(path.getPoints().size(), 4u);
    EXPECT_EQ(path.getPoints()[0], Vec2f(15, 20)) << "the arc start begins the path";
    expectNear(path.getPoints()[3], Vec2f(10, 25), "ends a quarter turn clockwise on screen");
    // The handles of a quarter circle are 4/3 tan(pi/8) r long, tangent to the circle.
    const float h = 4.0f / 3.0f * std::tan(PI / 8) * 5;
    expectNear(path.getPoints()[1], Vec2f(15, 20 + h), "first handle");
    expectNear(path.getPoints()[2], Vec2f(10 + h, 25), "second handle");
}

TEST(Path2d, ArcsLongerThanHalfATurnAreSplitInQuarterPieces) {
    Path2d path;
    path.arc({0, 0}, 1, 0, 3 * PI / 2, true);
    EXPECT_EQ(countSegments(path, Path2d::CUBICTO), 4) << "two halves of 3pi/4, two pieces each";
    expectNear(path.getPoints()[6], Vec2f(std::cos(3 * PI / 4), std::sin(3 * PI / 4)),
               "the split point is 3pi/4");
    expectNear(path.getPoints().back(), Vec2f(0, -1), "ends at 3pi/2");

    Path2d full;
    full.arc({0, 0}, 2, 0, 2 * PI - 0.001f, true);
    EXPECT_EQ(countSegments(full, Path2d::CUBICTO), 4);
}

TEST(Path2d, ArcEndIsNormalisedInTheDirectionOfTravel) {
    Path2d forward;
    forward.arc({0, 0}, 1, 1, 0, true);
    // From 1 up to 2pi: 2pi - 1 radians, more than a half turn, so two halves of two pieces each.
    EXPECT_EQ(countSegments(forward, Path2d::CUBICTO), 4);
    expectNear(forward.getPoints().back(), Vec2f(1, 0), "ends at 2pi");
    expectNear(forward.getPoints()[3],
               Vec2f(std::cos(1.0f + (2 * PI - 1) / 4), std::sin(1.0f + (2 * PI - 1) / 4)),
               "first piece runs upwards from 1");

    Path2d backward;
    backward.arc({0, 0}, 1, 1, 0, false);
    EXPECT_EQ(countSegments(backward, Path2d::CUBICTO), 1) << "one radian down: one piece";
    expectNear(backward.getPoints()[0], Vec2f(std::cos(1.0f), std::sin(1.0f)), "starts at 1");
    expectNear(backward.getPoints().back(), Vec2f(1, 0), "ends at 0");

    Path2d backwardWrap;
    backwardWrap.arc({0, 0}, 1, 0, 1, false);
    expectNear(backwardWrap.getPoints().back(), Vec2f(std::cos(1.0f), std::sin(1.0f)),
               "0 down to 1 - 2pi ends where 1 is");
    EXPECT_EQ(countSegments(backwardWrap, Path2d::CUBICTO), 4);
}

TEST(Path2d, ArcOnAPathWithAPointStartsWithALine) {
    Path2d path;
    path.moveTo({0, 0});
    path.arc({0, 0}, 3, 0, PI / 2, true);
    ASSERT_EQ(path.getSegments().size(), 2u);
    EXPECT_EQ(path.getSegments()[0], Path2d::LINETO);
    EXPECT_EQ(path.getPoints()[1], Vec2f(3, 0));
}

TEST(Path2d, PieSliceSubdividesWithRepeatedJoints) {
    const Vec2f a(50, 50);
    Path2d path;
    path.moveTo(a);
    path.arc(a, 20, 0, PI / 2, true);
    path.close();
    const std::vector<Vec2f> points = path.subdivide(1.0f);
    ASSERT_GE(points.size(), 8u);
    EXPECT_EQ(points[0], a);
    EXPECT_EQ(points[1], a);
    EXPECT_EQ(points[2], Vec2f(70, 50)) << "the line to the arc start";
    EXPECT_EQ(points[3], Vec2f(70, 50)) << "the cubic repeats its start";
    EXPECT_EQ(points.back(), a) << "close returns to the start";
    expectNear(points[points.size() - 2], Vec2f(50, 70), "the arc end precedes the close");
    EXPECT_GT(points.size(), 8u) << "a 20-unit quarter circle needs interior points";

    // Every interior point lies near the circle.
    for (size_t i = 4; i + 3 < points.size(); ++i)
        EXPECT_NEAR((points[i] - a).length(), 20.0f, 0.5f) << "point " << i;
}

TEST(Path2d, FinerScaleGivesMorePoints) {
    Path2d path;
    path.arc({0, 0}, 100, 0, PI, true);
    const size_t coarse = path.subdivide(0.1f).size();
    const size_t fine = path.subdivide(10.0f).size();
    EXPECT_LT(coarse, fine);
}

TEST(Path2d, ClosingAPathWithoutPointsSubdividesToNothing) {
    Path2d path;
    path.close();
    EXPECT_TRUE(path.subdivide(1.0f).empty());
}

TEST(Path2d, SubdivisionSpecialCases) {
    Path2d empty;
    empty.moveTo({1, 2});
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(empty.subdivide(1.0f).empty()) << "no segments, no points";

    Path2d straight;
    straight.moveTo({0, 0});
    straight.curveTo({2, 0}, {8, 0}, {10, 0});
    EXPECT_EQ(straight.subdivide(1.0f), (std::vector<Vec2f>{{0, 0}, {0, 0}, {10, 0}}))
        << "control points inside the chord add nothing";

    // Control points beyond the chord's end: a collinear overshoot must be kept.
    Path2d overshoot;
    overshoot.moveTo({0, 0});
    overshoot.curveTo({20, 0}, {30, 0}, {10, 0});
    const std::vector<Vec2f> over = overshoot.subdivide(1.0f);
    float furthest = 0;
    for (const Vec2f& p : over) furthest = std::max(furthest, p.x);
    EXPECT_GT(furthest, 15.0f) << "the polyline reaches out along the overshoot";

    // A loop closing on itself (p1 == p4) must still terminate and stay finite.
    Path2d loop;
    loop.moveTo({0, 0});
    loop.curveTo({10, 10}, {-10, 10}, {0, 0});
    const std::vector<Vec2f> loopPoints = loop.subdivide(1.0f);
    EXPECT_GT(loopPoints.size(), 3u);
    for (const Vec2f& p : loopPoints) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}
