// Touch bookkeeping: ids that are never 0, prevPos per contact, nothing left behind on lift.
#include <gtest/gtest.h>

#include "framework/TouchTracker.h"

using namespace loom;
using namespace loom::framework;

namespace {

TouchRecord record(TouchRecord::Kind kind, int64_t contact, float x, float y, int64_t device = 7) {
    TouchRecord r;
    r.kind = kind;
    r.device = device;
    r.contact = contact;
    r.pos = Vec2f(x, y);
    return r;
}

}  // namespace

TEST(TouchTracker, ADownAndAMoveInOneBatchGiveOneBeganAndOneMovedEvent) {
    TouchTracker tracker;
    tracker.process({record(TouchRecord::DOWN, 1, 10, 10)}, 0.5);
    TouchReport report = tracker.process(
        {record(TouchRecord::DOWN, 2, 50, 60), record(TouchRecord::MOVE, 1, 12, 15)}, 1.25);

    ASSERT_EQ(report.began.size(), 1u);
    ASSERT_EQ(report.moved.size(), 1u);
    EXPECT_TRUE(report.ended.empty());
    EXPECT_EQ(report.began[0].getPos(), Vec2f(50, 60));
    EXPECT_EQ(report.began[0].getPrevPos(), Vec2f(50, 60)) << "a new contact starts where it is";
    EXPECT_EQ(report.moved[0].getPos(), Vec2f(12, 15));
    EXPECT_EQ(report.moved[0].getPrevPos(), Vec2f(10, 10)) << "remembered from the last report";
    EXPECT_EQ(report.moved[0].getTime(), 1.25);

    std::vector<TouchEvent::Touch> active = tracker.getActiveTouches();
    ASSERT_EQ(active.size(), 2u) << "exactly the two contacts that are down";
    EXPECT_EQ(active[0].getId(), report.moved[0].getId());
    EXPECT_EQ(active[1].getId(), report.began[0].getId());
    EXPECT_EQ(active[0].getPos(), Vec2f(12, 15));
    EXPECT_EQ(active[0].getNative(), nullptr) << "no platform record outlives its dispatch";
}

TEST(TouchTracker, PlatformContactZeroGetsANonZeroIdThatLastsUntilItLifts) {
    TouchTracker tracker;
    uint32_t id = tracker.process({record(TouchRecord::DOWN, 0, 1, 1)}, 0).began.at(0).getId();
    EXPECT_NE(id, 0u);
    EXPECT_EQ(tracker.process({record(TouchRecord::MOVE, 0, 2, 2)}, 0).moved.at(0).getId(), id);
    TouchEvent::Touch lifted = tracker.process({record(TouchRecord::UP, 0, 3, 3)}, 0).ended.at(0);
    EXPECT_EQ(lifted.getId(), id);
    EXPECT_EQ(lifted.getPrevPos(), Vec2f(2, 2));
    EXPECT_TRUE(tracker.getActiveTouches().empty()) << "the lifted contact is forgotten";

    TouchEvent::Touch again = tracker.process({record(TouchRecord::DOWN, 0, 9, 9)}, 0).began.at(0);
    EXPECT_NE(again.getId(), id) << "a new press is a new contact";
    EXPECT_EQ(again.getPrevPos(), Vec2f(9, 9)) << "nothing stale from the earlier contact";
}

TEST(TouchTracker, ContactsNeverSeenGoingDownUseTheirCurrentPosition) {
    TouchTracker tracker;
    TouchEvent::Touch up = tracker.process({record(TouchRecord::UP, 4, 30, 40)}, 0).ended.at(0);
    EXPECT_EQ(up.getPrevPos(), Vec2f(30, 40));
    EXPECT_NE(up.getId(), 0u);
    EXPECT_TRUE(tracker.getActiveTouches().empty()) << "an unknown lift leaves nothing behind";

    TouchEvent::Touch move = tracker.process({record(TouchRecord::MOVE, 5, 1, 2)}, 0).moved.at(0);
    EXPECT_EQ(move.getPrevPos(), Vec2f(1, 2));
    EXPECT_EQ(tracker.getActiveTouches().size(), 1u) << "a moving contact is down";
}

TEST(TouchTracker, TheSameContactNumberOnTwoDevicesIsTwoContacts) {
    TouchTracker tracker;
    TouchReport report = tracker.process(
        {record(TouchRecord::DOWN, 1, 0, 0, 100), record(TouchRecord::DOWN, 1, 5, 5, 200)}, 0);
    ASSERT_EQ(report.began.size(), 2u);
    EXPECT_NE(report.began[0].getId(), report.began[1].getId());
    tracker.process({record(TouchRecord::UP, 1, 0, 0, 100)}, 0);
    ASSERT_EQ(tracker.getActiveTouches().size(), 1u);
    EXPECT_EQ(tracker.getActiveTouches()[0].getPos(), Vec2f(5, 5));
}
