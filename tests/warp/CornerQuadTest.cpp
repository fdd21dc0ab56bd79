#include <gtest/gtest.h>

#include <cmath>

#include "warp/CornerQuad.h"

using loom::angleBetween;
using loom::CornerQuad;
using loom::Vec2f;

namespace {

constexpr float PI = 3.14159265358979f;

// A quad on a 100 x 50 image in a 640 x 480 window at the given zoom, centred.
CornerQuad placedQuad(float zoom) {
    CornerQuad quad;
    quad.windowWidth = 640;
    quad.windowHeight = 480;
    quad.zoom = zoom;
    quad.placeOnImage(100, 50);
    return quad;
}

Vec2f toWindow(const CornerQuad& quad, const Vec2f& p) { return quad.viewMatrix.transformPoint(p); }

}  // namespace

TEST(CornerQuad, StartsFiniteAndUnselected) {
    CornerQuad quad;
    EXPECT_EQ(quad.corners[2], Vec2f(1, 1)) << "the unit square until an image is placed";
    EXPECT_EQ(quad.hoverCorner, -1);
    EXPECT_EQ(quad.hoverEdge, -1);
    EXPECT_FALSE(quad.rotating);
    EXPECT_EQ(quad.zoom, 1.0f);
    EXPECT_EQ(quad.handleRadius, 4.0f);
}

TEST(CornerQuad, ViewPlacesTheCentredImage) {
    const CornerQuad quad = placedQuad(3);
    EXPECT_EQ(quad.center, Vec2f(50, 25));
    EXPECT_EQ(toWindow(quad, quad.corners[0]), Vec2f(170, 165));
    const Vec2f back = quad.inverseViewMatrix.transformPoint(Vec2f(170, 165));
    EXPECT_NEAR(back.x, 0, 1e-4);
    EXPECT_NEAR(back.y, 0, 1e-4);

    CornerQuad flat = placedQuad(0);
    EXPECT_TRUE(flat.inverseViewMatrix == loom::Matrix44f()) << "zoom 0: identity inverse";

    const loom::Rectf bounds = quad.boundingRect();
    EXPECT_EQ(bounds, loom::Rectf(0, 0, 100, 50));
}

TEST(CornerQuad, BoundingRectOfATurnedQuad) {
    CornerQuad quad;
    quad.corners[0] = Vec2f(5, -2);
    quad.corners[1] = Vec2f(9, 4);
    quad.corners[2] = Vec2f(3, 8);
    quad.corners[3] = Vec2f(-1, 1);
    EXPECT_EQ(quad.boundingRect(), loom::Rectf(-1, -2, 9, 8));
}

TEST(CornerQuad, CornerHitRadiusScalesWithZoom) {
    CornerQuad zoomed = placedQuad(3);
    EXPECT_TRUE(zoomed.hover(170 - 10, 165)) << "10 window pixels is 3.33 units at zoom 3";
    EXPECT_EQ(zoomed.hoverCorner, 0);
    EXPECT_EQ(zoomed.hoverEdge, -1);

    CornerQuad plain = placedQuad(1);
    const Vec2f corner = toWindow(plain, plain.corners[0]);
    EXPECT_FALSE(plain.hover(int(corner.x) - 10, int(corner.y) - 10)) << "10 units away at zoom 1";
    EXPECT_EQ(plain.hoverCorner, -1);
    EXPECT_TRUE(plain.hover(int(corner.x) - 3, int(corner.y)));
    EXPECT_TRUE(plain.hover(int(corner.x) - 5, int(corner.y)));
    EXPECT_EQ(plain.hoverCorner, -1) << "5 units: out of the corner's reach";
    EXPECT_EQ(plain.hoverEdge, 0) << "but on edge 0's line";
}

TEST(CornerQuad, SmallerIndexWinsAndCornersBeforeEdges) {
    CornerQuad quad;
    quad.windowWidth = 100;
    quad.windowHeight = 100;
    quad.corners[0] = Vec2f(0, 0);
    quad.corners[1] = Vec2f(3, 0);
    quad.corners[2] = Vec2f(3, 40);
    quad.corners[3] = Vec2f(0, 40);
    quad.center = Vec2f(50, 50);  // window pixel = quad point at zoom 1
    quad.updateMatrix();
    EXPECT_TRUE(quad.hover(2, 0)) << "both corner 0 (2 away) and corner 1 (1 away) are in reach";
    EXPECT_EQ(quad.hoverCorner, 0);

    EXPECT_TRUE(quad.hover(1, 20)) << "between edges 1 and 3, no corner in reach";
    EXPECT_EQ(quad.hoverCorner, -1);
    EXPECT_EQ(quad.hoverEdge, 1) << "edge 1 comes before edge 3";
}

TEST(CornerQuad, EdgeBandRunsBeyondItsCorners) {
    CornerQuad quad = placedQuad(1);
    // On the line of edge 0 (y = 0 in quad space) but 20 units left of corner 0.
    const Vec2f beyond = toWindow(quad, Vec2f(-20, 2));
    EXPECT_TRUE(quad.hover(int(beyond.x), int(beyond.y)));
    EXPECT_EQ(quad.hoverEdge, 0);
    EXPECT_EQ(quad.edgeOffsetStart, Vec2f(-20, 0));
    EXPECT_EQ(quad.edgeOffsetEnd, Vec2f(120, 0));

    const Vec2f middle = toWindow(quad, Vec2f(50, 25));
    EXPECT_FALSE(quad.hover(int(middle.x), int(middle.y)));
    EXPECT_EQ(quad.hoverEdge, -1);
}

TEST(CornerQuad, ZeroLengthEdgeIsNeverHovered) {
    CornerQuad quad;
    quad.windowWidth = 100;
    quad.windowHeight = 100;
    quad.center = Vec2f(50, 50);
    quad.updateMatrix();
    quad.corners[0] = quad.corners[1] = Vec2f(10, 10);
    quad.corners[2] = Vec2f(60, 60);
    quad.corners[3] = Vec2f(10, 60);
    EXPECT_FALSE(quad.hover(30, 10)) << "on the line y = 10 only through the degenerate edge 0";
}

TEST(CornerQuad, LeftDragsMoveTheHoveredCornerOrEdge) {
    CornerQuad quad = placedQuad(1);
    const Vec2f corner2 = toWindow(quad, quad.corners[2]);
    ASSERT_TRUE(quad.hover(int(corner2.x), int(corner2.y)));
    quad.press(int(corner2.x), int(corner2.y), true, false);
    EXPECT_TRUE(quad.drag(int(corner2.x) + 7, int(corner2.y) - 3));
    EXPECT_EQ(quad.corners[2], Vec2f(107, 47));

    // Grab edge 3 (x = 0) at its middle and move it rigidly.
    CornerQuad edge = placedQuad(1);
    const Vec2f grab = toWindow(edge, Vec2f(0, 25));
    ASSERT_TRUE(edge.hover(int(grab.x), int(grab.y)));
    ASSERT_EQ(edge.hoverEdge, 3);
    edge.press(int(grab.x), int(grab.y), true, false);
    EXPECT_TRUE(edge.drag(int(grab.x) - 10, int(grab.y) + 5));
    EXPECT_EQ(edge.corners[3], Vec2f(-10, 55));
    EXPECT_EQ(edge.corners[0], Vec2f(-10, 5));
    EXPECT_EQ(edge.corners[1], Vec2f(100, 0)) << "other corners stay";

    CornerQuad idle = placedQuad(1);
    idle.hover(0, 0);
    idle.press(0, 0, true, false);
    EXPECT_FALSE(idle.drag(30, 30)) << "nothing hovered, no right button";
    EXPECT_EQ(idle.corners[2], Vec2f(100, 50));
}

TEST(CornerQuad, RotationStartsOnlyPastTheThreshold) {
    CornerQuad quad = placedQuad(1);
    quad.hover(5, 5);
    quad.press(300, 200, false, true);
    EXPECT_FALSE(quad.drag(340, 200)) << "exactly 40 pixels";
    EXPECT_FALSE(quad.rotating);
    EXPECT_TRUE(quad.drag(341, 200)) << "41 pixels starts the rotation";
    EXPECT_TRUE(quad.rotating);
    EXPECT_EQ(quad.rotationAngle, 0.0f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(quad.corners[i], quad.savedCorners[i]) << "corner " << i;
    }
    quad.release(false, false);
    EXPECT_FALSE(quad.rotating);
}

TEST(CornerQuad, QuarterTurnAndBack) {
    CornerQuad quad = placedQuad(2);
    const Vec2f saved[4] = {quad.corners[0], quad.corners[1], quad.corners[2], quad.corners[3]};
    const Vec2f press = toWindow(quad, Vec2f(50, 25));  // the quad's centre: (320, 240)
    quad.hover(0, 0);
    quad.press(int(press.x), int(press.y), false, true);
    ASSERT_TRUE(quad.drag(int(press.x) + 50, int(press.y)));

    // A quarter turn clockwise on screen: the mouse goes from the right of the press point to
    // below.
    ASSERT_TRUE(quad.drag(int(press.x), int(press.y) + 50));
    EXPECT_NEAR(quad.rotationAngle, PI / 2, 1e-5);
    // Corner 0 (-50, -25) from the pivot turns to (25, -50).
    EXPECT_NEAR(quad.corners[0].x, 75, 1e-3);
    EXPECT_NEAR(quad.corners[0].y, -25, 1e-3);

    // Back to the starting direction: the saved corners return.
    ASSERT_TRUE(quad.drag(int(press.x) + 80, int(press.y)));
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(quad.corners[i].x, saved[i].x, 1e-4) << "corner " << i;
        EXPECT_NEAR(quad.corners[i].y, saved[i].y, 1e-4) << "corner " << i;
    }

    // Over the press point itself the direction is undefined: corners stay finite and unchanged.
    EXPECT_FALSE(quad.drag(int(press.x), int(press.y)));
    EXPECT_TRUE(std::isfinite(quad.corners[0].x) && std::isfinite(quad.corners[0].y));
}

TEST(CornerQuad, AngleBetweenIsClockwiseOnScreenAndAlwaysFinite) {
    EXPECT_NEAR(angleBetween(Vec2f(1, 0), Vec2f(0, 1)), PI / 2, 1e-6) << "y down: clockwise";
    EXPECT_NEAR(angleBetween(Vec2f(1, 0), Vec2f(0, -1)), 3 * PI / 2, 1e-6);
    EXPECT_NEAR(angleBetween(Vec2f(1, 0), Vec2f(-3, 0)), PI, 1e-6);
    // Equal vectors whose normalised dot product rounds above 1.
    for (float x : {0.1f, 0.3f, 0.7f, 1.1f, 3.3f, 123.456f}) {
        const Vec2f v(x, x * 0.77f);
        const float a = angleBetween(v, v);
        EXPECT_TRUE(std::isfinite(a)) << x;
        EXPECT_TRUE(a < 1e-3f || a > 2 * PI - 1e-3f) << x;
    }
    EXPECT_EQ(angleBetween(Vec2f(0, 0), Vec2f(1, 0)), 0.0f) << "a zero vector has no direction";
}
