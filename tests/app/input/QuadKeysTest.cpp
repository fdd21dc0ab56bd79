// The keys reach the quadrilateral only while a transform is chosen; each change they make is a
// step of the history.
#include <gtest/gtest.h>

#include <array>

#include "app/input/QuadKeys.h"

using loom::CornerQuad;
using loom::QuadHistory;
using loom::Vec2f;
using loom::app::ProcessingPipeline;
using loom::app::QuadKeys;

namespace {

// A 100 x 50 image at zoom 2, centred in 640 x 480, the mouse on corner 2 at window (420, 290).
struct QuadKeysTest : ::testing::Test {
    void SetUp() override {
        quad.setView(640, 480, 2);
        quad.placeOnImage(100, 50);
        quad.hover(420, 290);
    }
    Vec2f corner2() const { return quad.corners()[2]; }
    CornerQuad quad;
    ProcessingPipeline pipeline;
    QuadHistory history;
    QuadKeys keys{quad, pipeline, history};
};

}  // namespace

TEST_F(QuadKeysTest, WithoutATransformTheKeysDoNothing) {
    history.record({}, quad.corners());  // a step undo could take, were the keys let edit
    keys.nudge(Vec2f(1, 0));
    keys.reset(80, 40);
    keys.undo();
    EXPECT_EQ(corner2(), Vec2f(100, 50));
}

TEST_F(QuadKeysTest, WhileADragHoldsTheQuadTheKeysWait) {
    pipeline.transform = 1;
    history.record({}, quad.corners());
    quad.press(420, 290, true, false);  // on corner 2
    keys.nudge(Vec2f(10, 0));
    keys.reset(80, 40);
    keys.undo();
    EXPECT_EQ(corner2(), Vec2f(100, 50));
    quad.release(true, false);
    quad.hover(420, 290);
    keys.nudge(Vec2f(10, 0));
    EXPECT_EQ(corner2(), Vec2f(110, 50)) << "edits again once the button is up";
}

TEST_F(QuadKeysTest, NudgeResetUndoAndRedoAreSteps) {
    pipeline.transform = 1;
    keys.nudge(Vec2f(10, 0));
    EXPECT_EQ(corner2(), Vec2f(110, 50));
    keys.reset(100, 50);
    EXPECT_EQ(corner2(), Vec2f(100, 50));
    keys.undo();
    EXPECT_EQ(corner2(), Vec2f(110, 50)) << "the reset undone";
    keys.undo();
    keys.redo();
    EXPECT_EQ(corner2(), Vec2f(110, 50)) << "the nudge undone and redone";
}
