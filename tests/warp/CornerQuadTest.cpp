#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "warp/CornerQuad.h"

using loom::angleBetween;
using loom::CornerQuad;
using loom::Rectf;
using loom::Vec2f;

namespace {

constexpr float PI = 3.14159265358979f;

// An image placed in a window at the given zoom, centred; by default 100 x 50 in 640 x 480.
CornerQuad placedQuad(float zoom, float width = 100, float height = 50, float windowWidth = 640,
                      float windowHeight = 480) {
    CornerQuad quad;
    quad.setView(windowWidth, windowHeight, zoom);
    quad.placeOnImage(width, height);
    return quad;
}

Vec2f toWindow(const CornerQuad& quad, const Vec2f& p) { return quad.viewMatrix().transformPoint(p); }

}  // namespace

TEST(CornerQuad, BeforeAnyImageItIsTheUnitSquare) {
    CornerQuad quad;
    EXPECT_EQ(quad.boundingRect(), Rectf(0, 0, 1, 1));
    quad.setView(100, 100, 1);  // quad point (0, 0) at the window's centre
    EXPECT_TRUE(quad.hover(52, 50)) << "hit-tested like any quad";
    EXPECT_EQ(quad.hoveredCorner(), 0);
}

TEST(CornerQuad, ViewCentresThePlacedImage) {
    CornerQuad quad = placedQuad(3);
    EXPECT_EQ(toWindow(quad, Vec2f(50, 25)), Vec2f(320, 240));
    EXPECT_EQ(toWindow(quad, quad.corners()[0]), Vec2f(170, 165));
    EXPECT_EQ(quad.boundingRect(), Rectf(0, 0, 100, 50));
    quad.setView(800, 600, 3);
    EXPECT_EQ(toWindow(quad, quad.corners()[0]), Vec2f(250, 225)) << "the view keeps its centre";
    quad.setView(800, 600, 3, Vec2f(-30, 7));
    EXPECT_EQ(toWindow(quad, quad.corners()[0]), Vec2f(220, 232)) << "the pan moves the corners along";

    CornerQuad flat = placedQuad(0);
    EXPECT_TRUE(flat.hover(1, 1)) << "zoom 0: the identity maps the window back";
    EXPECT_EQ(flat.hoveredCorner(), 0);
}

TEST(CornerQuad, CornerHitRadiusScalesWithZoom) {
    CornerQuad zoomed = placedQuad(3);
    EXPECT_TRUE(zoomed.hover(170 - 10, 165)) << "10 window pixels is 3.33 units at zoom 3";
    EXPECT_EQ(zoomed.hoveredCorner(), 0);
    EXPECT_EQ(zoomed.hoveredEdge(), -1);

    CornerQuad plain = placedQuad(1);
    const Vec2f corner = toWindow(plain, plain.corners()[0]);
    EXPECT_FALSE(plain.hover(int(corner.x) - 10, int(corner.y) - 10)) << "10 units away at zoom 1";
    EXPECT_EQ(plain.hoveredCorner(), -1);
    EXPECT_TRUE(plain.hover(int(corner.x) - 3, int(corner.y)));
    EXPECT_TRUE(plain.hover(int(corner.x) - 5, int(corner.y)));
    EXPECT_EQ(plain.hoveredCorner(), -1) << "5 units: out of the corner's reach";
    EXPECT_EQ(plain.hoveredEdge(), 0) << "but on edge 0's line";
}

TEST(CornerQuad, SmallerIndexWinsAndCornersBeforeEdges) {
    // A 3 x 40 image in a 100 x 100 window at zoom 1: window = quad + (48.5, 30).
    CornerQuad quad = placedQuad(1, 3, 40, 100, 100);
    EXPECT_TRUE(quad.hover(51, 30)) << "corner 0 (2.5 away) and corner 1 (0.5 away) are in reach";
    EXPECT_EQ(quad.hoveredCorner(), 0);

    EXPECT_TRUE(quad.hover(50, 50)) << "between edges 1 and 3, no corner in reach";
    EXPECT_EQ(quad.hoveredCorner(), -1);
    EXPECT_EQ(quad.hoveredEdge(), 1) << "edge 1 comes before edge 3";
}

TEST(CornerQuad, EdgeBandRunsBeyondItsCornersAndItsGrabPointFollowsTheMouse) {
    CornerQuad quad = placedQuad(1);
    // 2 units off the line of edge 0 (y = 0 in quad space), 20 units left of corner 0.
    const Vec2f beyond = toWindow(quad, Vec2f(-20, 2));
    ASSERT_TRUE(quad.hover(int(beyond.x), int(beyond.y)));
    EXPECT_EQ(quad.hoveredEdge(), 0);
    quad.press(int(beyond.x), int(beyond.y), true, false);
    EXPECT_TRUE(quad.drag(int(beyond.x), int(beyond.y) + 10));
    EXPECT_EQ(quad.corners()[0], Vec2f(0, 12)) << "the foot of the grab point lands on the mouse";
    EXPECT_EQ(quad.corners()[1], Vec2f(100, 12));

    const Vec2f middle = toWindow(quad, Vec2f(50, 30));
    EXPECT_FALSE(quad.hover(int(middle.x), int(middle.y)));
    EXPECT_EQ(quad.hoveredEdge(), -1);
}

TEST(CornerQuad, ZeroLengthEdgeIsNeverHovered) {
    // A 50 x 50 image in a 100 x 100 window at zoom 1: window = quad + (25, 25). Corner 1 is
    // dragged onto corner 0.
    CornerQuad quad = placedQuad(1, 50, 50, 100, 100);
    ASSERT_TRUE(quad.hover(75, 25));
    quad.press(75, 25, true, false);
    ASSERT_TRUE(quad.drag(25, 25));
    ASSERT_EQ(quad.corners()[1], quad.corners()[0]);
    EXPECT_FALSE(quad.hover(55, 25)) << "on the line y = 0 only through the degenerate edge 0";
}

TEST(CornerQuad, LeftDragsMoveTheHoveredCornerOrEdge) {
    CornerQuad quad = placedQuad(1);
    const Vec2f corner2 = toWindow(quad, quad.corners()[2]);
    ASSERT_TRUE(quad.hover(int(corner2.x), int(corner2.y)));
    quad.press(int(corner2.x), int(corner2.y), true, false);
    EXPECT_TRUE(quad.drag(int(corner2.x) + 7, int(corner2.y) - 3));
    EXPECT_EQ(quad.corners()[2], Vec2f(107, 47));

    // Grab edge 3 (x = 0) at its middle and move it rigidly.
    CornerQuad edge = placedQuad(1);
    const Vec2f grab = toWindow(edge, Vec2f(0, 25));
    ASSERT_TRUE(edge.hover(int(grab.x), int(grab.y)));
    ASSERT_EQ(edge.hoveredEdge(), 3);
    edge.press(int(grab.x), int(grab.y), true, false);
    EXPECT_TRUE(edge.drag(int(grab.x) - 10, int(grab.y) + 5));
    EXPECT_EQ(edge.corners()[3], Vec2f(-10, 55));
    EXPECT_EQ(edge.corners()[0], Vec2f(-10, 5));
    EXPECT_EQ(edge.corners()[1], Vec2f(100, 0)) << "other corners stay";

    CornerQuad idle = placedQuad(1);
    idle.hover(0, 0);
    idle.press(0, 0, true, false);
    EXPECT_FALSE(idle.drag(30, 30)) << "nothing hovered, no right button";
    EXPECT_EQ(idle.corners()[2], Vec2f(100, 50));
}

TEST(CornerQuad, RotationStartsOnlyPastTheThreshold) {
    CornerQuad quad = placedQuad(1);
    const std::array<Vec2f, 4> placed = quad.corners();
    quad.hover(5, 5);
    quad.press(300, 200, false, true);
    EXPECT_FALSE(quad.drag(340, 200)) << "exactly 40 pixels";
    EXPECT_FALSE(quad.rotation());
    EXPECT_TRUE(quad.drag(341, 200)) << "41 pixels starts the rotation";
    ASSERT_TRUE(quad.rotation());
    EXPECT_EQ(quad.rotation()->pivot, Vec2f(300, 200));
    EXPECT_EQ(quad.rotation()->angle, 0.0f);
    EXPECT_EQ(quad.corners(), placed);
    quad.release(false, false);
    EXPECT_FALSE(quad.rotation());
}

TEST(CornerQuad, QuarterTurnAndBack) {
    CornerQuad quad = placedQuad(2);
    const std::array<Vec2f, 4> saved = quad.corners();
    const Vec2f press = toWindow(quad, Vec2f(50, 25));  // the quad's centre: (320, 240)
    quad.hover(0, 0);
    quad.press(int(press.x), int(press.y), false, true);
    ASSERT_TRUE(quad.drag(int(press.x) + 50, int(press.y)));

    // A quarter turn clockwise on screen: the mouse goes from the right of the press point to
    // below.
    ASSERT_TRUE(quad.drag(int(press.x), int(press.y) + 50));
    ASSERT_TRUE(quad.rotation());
    EXPECT_NEAR(quad.rotation()->angle, PI / 2, 1e-5);
    EXPECT_EQ(quad.rotation()->current, Vec2f(0, 50));
    // Corner 0 (-50, -25) from the pivot turns to (25, -50).
    EXPECT_NEAR(quad.corners()[0].x, 75, 1e-3);
    EXPECT_NEAR(quad.corners()[0].y, -25, 1e-3);
    // Upright, the turned 100 x 50 quad is 50 wide and 100 high about the same centre.
    const Rectf bounds = quad.boundingRect();
    EXPECT_NEAR(bounds.x1, 25, 1e-3);
    EXPECT_NEAR(bounds.y1, -25, 1e-3);
    EXPECT_NEAR(bounds.x2, 75, 1e-3);
    EXPECT_NEAR(bounds.y2, 75, 1e-3);

    // Back to the starting direction: the saved corners return.
    ASSERT_TRUE(quad.drag(int(press.x) + 80, int(press.y)));
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(quad.corners()[i].x, saved[i].x, 1e-4) << "corner " << i;
        EXPECT_NEAR(quad.corners()[i].y, saved[i].y, 1e-4) << "corner " << i;
    }

    // Over the press point itself the direction is undefined: corners stay finite and unchanged.
    EXPECT_FALSE(quad.drag(int(press.x), int(press.y)));
    EXPECT_TRUE(std::isfinite(quad.corners()[0].x) && std::isfinite(quad.corners()[0].y));
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

// Control at the press turns about the mean of the corners, wherever the press was: a quarter turn
// of the mouse about the centre turns the 100 x 50 quad upright about (50, 25).
TEST(CornerQuad, ControlRotatesAboutTheCentre) {
    CornerQuad quad = placedQuad(2);
    const Vec2f centre = toWindow(quad, Vec2f(50, 25));  // (320, 240)
    quad.hover(0, 0);
    quad.press(int(centre.x) - 60, int(centre.y), false, true, true);
    ASSERT_FALSE(quad.drag(int(centre.x) - 59, int(centre.y) + 39)) << "within the threshold";
    ASSERT_TRUE(quad.drag(int(centre.x) + 100, int(centre.y)));
    ASSERT_TRUE(quad.drag(int(centre.x), int(centre.y) + 100));
    ASSERT_TRUE(quad.rotation());
    EXPECT_EQ(quad.rotation()->pivot, centre);
    EXPECT_NEAR(quad.rotation()->angle, PI / 2, 1e-5);
    // Corner 0, (-50, -25) from the centre, turns to (25, -50) from it.
    EXPECT_NEAR(quad.corners()[0].x, 75, 1e-3);
    EXPECT_NEAR(quad.corners()[0].y, -25, 1e-3);
}

// Shift turns by whole 15-degree steps of the angle since the rotation began, about either pivot.
TEST(CornerQuad, ShiftSnapsEitherRotationToFifteenDegreeSteps) {
    struct Case {
        float mouseDegrees;
        float snappedDegrees;
    };
    const Case cases[] = {{7, 0}, {8, 15}, {100, 105}, {352, 345}, {353, 0}};
    for (const bool aboutCentre : {false, true}) {
        for (const Case& c : cases) {
            CornerQuad quad = placedQuad(1);
            const Vec2f centre = toWindow(quad, Vec2f(50, 25));
            const Vec2f press = aboutCentre ? centre + Vec2f(-20, 0) : Vec2f(100, 100);
            const Vec2f pivot = aboutCentre ? centre : press;
            quad.hover(0, 0);
            quad.press(int(press.x), int(press.y), false, true, aboutCentre);
            // Started straight right of the pivot, then turned by mouseDegrees at 200 pixels out.
            ASSERT_TRUE(quad.drag(int(pivot.x) + 200, int(pivot.y)));
            const float mouse = c.mouseDegrees * PI / 180;
            const Vec2f at = pivot + Vec2f(std::cos(mouse), std::sin(mouse)) * 200.0f;
            ASSERT_TRUE(quad.drag(int(std::lround(at.x)), int(std::lround(at.y)), true));
            const float snapped = c.snappedDegrees * PI / 180;
            EXPECT_NEAR(quad.rotation()->angle, snapped, 1e-5)
                << c.mouseDegrees << " degrees, about the centre: " << aboutCentre;
            // Corner 1 turned by the snapped angle about the pivot (in quad units at zoom 1).
            const Vec2f d = toWindow(quad, Vec2f(100, 0)) - pivot;
            const Vec2f expected(std::cos(snapped) * d.x - std::sin(snapped) * d.y,
                                 std::sin(snapped) * d.x + std::cos(snapped) * d.y);
            EXPECT_NEAR((toWindow(quad, quad.corners()[1]) - pivot - expected).length(), 0, 1e-3)
                << c.mouseDegrees << " degrees, about the centre: " << aboutCentre;
        }
    }
}

TEST(CornerQuad, ArrowNudgesMoveTheHoveredCornerOnly) {
    for (const Vec2f offset : {Vec2f(1, 0), Vec2f(0, -10)}) {
        CornerQuad quad = placedQuad(1);
        const Vec2f corner2 = toWindow(quad, quad.corners()[2]);
        ASSERT_TRUE(quad.hover(int(corner2.x), int(corner2.y)));
        EXPECT_TRUE(quad.nudgeHoveredCorner(offset));
        EXPECT_TRUE(quad.nudgeHoveredCorner(offset)) << "the corner stays hovered until the mouse moves";
        EXPECT_EQ(quad.corners()[2], Vec2f(100, 50) + offset * 2.0f);
        EXPECT_EQ(quad.corners()[1], Vec2f(100, 0));
    }
    CornerQuad edge = placedQuad(1);
    const Vec2f onEdge = toWindow(edge, Vec2f(50, 0));
    ASSERT_TRUE(edge.hover(int(onEdge.x), int(onEdge.y)));
    EXPECT_FALSE(edge.nudgeHoveredCorner(Vec2f(1, 0))) << "an edge is not a corner";
    EXPECT_EQ(edge.boundingRect(), Rectf(0, 0, 100, 50));
}

// Reset during a rotation: the corners go back on the picture, the view stays, and the rotation
// does not carry on from the corners it saved.
TEST(CornerQuad, ResetPutsTheCornersOnThePictureAndKeepsTheView) {
    CornerQuad quad = placedQuad(1);
    quad.setView(640, 480, 1, Vec2f(30, -20));
    const Vec2f corner0 = toWindow(quad, Vec2f(0, 0));
    quad.hover(0, 0);
    quad.press(100, 100, false, true);
    ASSERT_TRUE(quad.drag(300, 100));
    ASSERT_TRUE(quad.drag(100, 300));
    quad.resetToImage(80, 60);
    EXPECT_FALSE(quad.rotation());
    EXPECT_FALSE(quad.drag(300, 100));
    EXPECT_EQ(quad.corners(),
              (std::array<Vec2f, 4>{Vec2f(0, 0), Vec2f(80, 0), Vec2f(80, 60), Vec2f(0, 60)}));
    EXPECT_EQ(toWindow(quad, Vec2f(0, 0)), corner0) << "the view did not move";
}
