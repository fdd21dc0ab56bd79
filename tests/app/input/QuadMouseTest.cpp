// The mouse reaches the quadrilateral only while a transform is chosen.
#include <gtest/gtest.h>

#include <array>

#include "app/input/QuadMouse.h"

using loom::CornerQuad;
using loom::QuadHistory;
using loom::Vec2f;
using loom::app::ProcessingPipeline;
using loom::app::QuadMouse;

namespace {

// A 100 x 50 image at zoom 2, centred in 640 x 480: corner 0 is at window (220, 190), and the top
// edge's line runs along y = 190 across the whole window.
struct QuadMouseTest : ::testing::Test {
    void SetUp() override {
        quad.setView(640, 480, 2);
        quad.placeOnImage(100, 50);
    }
    CornerQuad quad;
    ProcessingPipeline pipeline;
    QuadHistory history;
    QuadMouse mouse{quad, pipeline, history};
};

}  // namespace

TEST_F(QuadMouseTest, WithoutATransformTheQuadTakesNoInput) {
    pipeline.transform = 0;
    const std::array<Vec2f, 4> placed = quad.corners();
    mouse.move(220, 190);
    EXPECT_EQ(quad.hoveredCorner(), -1) << "no highlight of a quad that is not drawn";
    mouse.down(220, 190, true, false);
    mouse.drag(180, 150);
    mouse.up(false, false);
    mouse.down(400, 300, false, true);
    mouse.drag(400, 400);  // far enough for a right-button rotation
    EXPECT_EQ(quad.corners(), placed);
    EXPECT_FALSE(quad.rotation());
}

TEST_F(QuadMouseTest, WithATransformChosenAHoverHighlightsAndADragMovesACorner) {
    pipeline.transform = 1;
    const std::array<Vec2f, 4> placed = quad.corners();
    mouse.move(500, 190);  // on the top edge's line, beyond the picture
    EXPECT_EQ(quad.hoveredEdge(), 0);
    EXPECT_EQ(quad.corners(), placed) << "a hover changes only the outline";
    mouse.move(220, 190);
    mouse.down(220, 190, true, false);
    mouse.drag(200, 170);
    EXPECT_EQ(quad.corners()[0], Vec2f(-10, -10));
}

TEST_F(QuadMouseTest, AWholeDragIsOneStepOfTheHistory) {
    pipeline.transform = 1;
    const std::array<Vec2f, 4> placed = quad.corners();
    mouse.move(220, 190);
    mouse.down(220, 190, true, false);
    mouse.drag(200, 170);
    mouse.down(200, 170, true, true);  // a second button joins the drag
    mouse.drag(190, 160);
    mouse.up(true, false);
    mouse.drag(180, 150);
    mouse.up(false, false);
    ASSERT_EQ(quad.corners()[0], Vec2f(-20, -20));
    EXPECT_EQ(history.undo(quad.corners()), placed);
    EXPECT_FALSE(history.undo(placed));
}
