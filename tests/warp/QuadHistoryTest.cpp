#include <gtest/gtest.h>

#include "warp/QuadHistory.h"

using loom::QuadHistory;
using loom::Vec2f;

namespace {

// A distinct set of corners for each n.
QuadHistory::Corners cornersNumber(int n) {
    const float f = float(n);
    return {Vec2f(f, 0), Vec2f(f + 10, 0), Vec2f(f + 10, 10), Vec2f(f, 10)};
}

}  // namespace

TEST(QuadHistory, UndoAndRedoWalkTheChangesInOrder) {
    QuadHistory history;
    history.record(cornersNumber(0), cornersNumber(1));
    history.record(cornersNumber(1), cornersNumber(1));  // no change, no step
    history.record(cornersNumber(1), cornersNumber(2));
    EXPECT_EQ(history.undo(cornersNumber(2)), cornersNumber(1));
    EXPECT_EQ(history.undo(cornersNumber(1)), cornersNumber(0));
    EXPECT_FALSE(history.undo(cornersNumber(0)));
    EXPECT_EQ(history.redo(cornersNumber(0)), cornersNumber(1));
    EXPECT_EQ(history.redo(cornersNumber(1)), cornersNumber(2));
    EXPECT_FALSE(history.redo(cornersNumber(2)));
    EXPECT_EQ(history.undo(cornersNumber(2)), cornersNumber(1)) << "a redone step undoes again";

    history.clear();
    EXPECT_FALSE(history.undo(cornersNumber(1)));
    EXPECT_FALSE(history.redo(cornersNumber(1)));
}

TEST(QuadHistory, ANewChangeAfterUndoDropsTheRedoSteps) {
    QuadHistory history;
    history.record(cornersNumber(0), cornersNumber(1));
    history.record(cornersNumber(1), cornersNumber(2));
    ASSERT_TRUE(history.undo(cornersNumber(2)));
    history.record(cornersNumber(1), cornersNumber(5));
    EXPECT_FALSE(history.redo(cornersNumber(5)));
    EXPECT_EQ(history.undo(cornersNumber(5)), cornersNumber(1));
}

TEST(QuadHistory, KeepsTheLastStepsOnly) {
    QuadHistory history;
    const int changes = int(QuadHistory::STEPS) + 5;
    for (int i = 0; i < changes; ++i) history.record(cornersNumber(i), cornersNumber(i + 1));
    int undone = 0;
    std::optional<QuadHistory::Corners> corners = cornersNumber(changes);
    while (const std::optional<QuadHistory::Corners> previous = history.undo(*corners)) {
        corners = previous;
        ++undone;
    }
    EXPECT_EQ(undone, int(QuadHistory::STEPS));
    EXPECT_EQ(corners, cornersNumber(5)) << "the oldest steps went first";
}
