// Callback lists and the dispatch rule: callbacks in registration order, the first that returns
// true consumes the event, the hook runs only when none did.
#include <gtest/gtest.h>

#include <functional>

#include "TestApps.h"

using namespace loom;
using namespace loom::framework;
using loom::testapps::RecordingApp;

namespace {

// A panel-like object that claims clicks left of x = 100 through member functions.
struct Claimer {
    std::vector<std::string>* log;
    bool onMouseDown(MouseEvent e) {
        log->push_back("claimer");
        return e.getX() < 100;
    }
};

}  // namespace

TEST(CallbackList, IdsCountUpFromZeroPerList) {
    RecordingApp app;
    auto never = [](MouseEvent) { return false; };
    EXPECT_EQ(app.registerMouseDown(never), 0);
    EXPECT_EQ(app.registerMouseDown(never), 1);
    EXPECT_EQ(app.registerMouseDown(never), 2);
    EXPECT_EQ(app.registerMouseUp(never), 0) << "each list counts on its own";
    EXPECT_EQ(app.registerTouchesBegan([](TouchEvent) { return false; }), 0);
}

TEST(CallbackList, FirstCallbackReturningTrueHidesTheEventFromLaterOnesAndTheHook) {
    RecordingApp app;
    Claimer claimer{&app.log};
    app.registerMouseDown(&claimer, &Claimer::onMouseDown);
    app.registerMouseDown([&](MouseEvent) {
        app.log.push_back("second");
        return false;
    });

    app.privateMouseDown(MouseEvent(Event::LEFT_DOWN, 50, 10, Event::LEFT_DOWN, 0, 0));
    EXPECT_EQ(app.log, (std::vector<std::string>{"claimer"})) << "consumed by the first callback";

    app.log.clear();
    app.privateMouseDown(MouseEvent(Event::LEFT_DOWN, 150, 10, Event::LEFT_DOWN, 0, 0));
    EXPECT_EQ(app.log, (std::vector<std::string>{"claimer", "second", "mouseDown"}))
        << "nobody claimed it, so every callback and then the hook saw it";
}

TEST(CallbackList, EveryKindReachesItsOwnHookWhenNothingIsRegistered) {
    RecordingApp app;
    MouseEvent mouse;
    KeyEvent key;
    TouchEvent touch;
    app.privateMouseDown(mouse);
    app.privateMouseUp(mouse);
    app.privateMouseWheel(mouse);
    app.privateMouseMove(mouse);
    app.privateMouseDrag(mouse);
    app.privateKeyDown(key);
    app.privateKeyUp(key);
    app.privateResize(ResizeEvent(10, 20));
    app.privateFileDrop(FileDropEvent(1, 2, {"/a"}));
    app.privateTouchesBegan(touch);
    app.privateTouchesMoved(touch);
    app.privateTouchesEnded(touch);
    EXPECT_EQ(app.log, (std::vector<std::string>{"mouseDown", "mouseUp", "mouseWheel", "mouseMove",
                                                 "mouseDrag", "keyDown", "keyUp", "resize", "fileDrop",
                                                 "touchesBegan", "touchesMoved", "touchesEnded"}));
}

TEST(CallbackList, CallbacksSeeTheEventsFields) {
    RecordingApp app;
    KeyEvent seen;
    app.registerKeyDown([&](KeyEvent e) {
        seen = e;
        return true;
    });
    app.privateKeyDown(KeyEvent(115, 's', Event::CTRL_DOWN, 22));
    EXPECT_EQ(seen.getCode(), 115);
    EXPECT_EQ(seen.getChar(), 's');
    EXPECT_TRUE(seen.isControlDown());
    EXPECT_TRUE(app.log.empty()) << "the callback consumed it";

    FileDropEvent drop;
    app.registerFileDrop([&](FileDropEvent e) {
        drop = e;
        return false;
    });
    app.privateFileDrop(FileDropEvent(3, 4, {"/x/a.png", "/x/b.png"}));
    EXPECT_EQ(drop.getNumFiles(), 2u);
    EXPECT_EQ(drop.getFile(1), "/x/b.png");
    EXPECT_EQ(drop.getPos(), Vec2f(3, 4));
    EXPECT_THROW(drop.getFile(2), std::out_of_range);
    EXPECT_EQ(app.log, (std::vector<std::string>{"fileDrop"}));
}

TEST(CallbackList, AnEmptyCallableRaisesBadFunctionCallWhenDispatched) {
    RecordingApp app;
    app.registerMouseUp(std::function<bool(MouseEvent)>());
    EXPECT_THROW(app.privateMouseUp(MouseEvent()), std::bad_function_call);
}

TEST(MouseEventQueries, InitiatorAndModifiersAreSeparate) {
    MouseEvent up(Event::RIGHT_DOWN, -5, 700, Event::LEFT_DOWN | Event::SHIFT_DOWN, 0.0f, 7);
    EXPECT_TRUE(up.isRight());
    EXPECT_FALSE(up.isLeft());
    EXPECT_TRUE(up.isLeftDown()) << "the left button is still held";
    EXPECT_FALSE(up.isRightDown());
    EXPECT_TRUE(up.isShiftDown());
    EXPECT_FALSE(up.isControlDown());
    EXPECT_EQ(up.getPos(), Vec2f(-5, 700));
    EXPECT_EQ(up.getNativeModifiers(), 7u);
    EXPECT_EQ(Event::LEFT_DOWN | Event::RIGHT_DOWN | Event::MIDDLE_DOWN | Event::SHIFT_DOWN |
                  Event::ALT_DOWN | Event::CTRL_DOWN | Event::META_DOWN,
              0x7Fu)
        << "one bit each";
}
