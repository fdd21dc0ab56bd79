// Two routes that need a real window: losing the keyboard focus while a button is held ends the
// press with a mouseUp of initiator 0, and (with SDL turning mouse input into touches) a drag
// arrives as touches began, moved and ended when multi-touch is enabled.
#include <cstdlib>

#include "GuiTestApp.h"
#include "tools/XWindows.h"

using namespace loom;
using namespace loom::framework;
using namespace loom::guitest;
using namespace loom::testtools;

namespace {

struct MouseLog {
    std::vector<std::string> kinds;
    std::vector<MouseEvent> ups;
};

class FocusApp : public GuiTestApp {
public:
    explicit FocusApp(MouseLog* log) : GuiTestApp("framework focus"), log_(log) {}
    void mouseDown(MouseEvent) override { log_->kinds.push_back("mouseDown"); }
    void mouseDrag(MouseEvent) override { log_->kinds.push_back("mouseDrag"); }
    void mouseUp(MouseEvent e) override {
        log_->kinds.push_back("mouseUp");
        log_->ups.push_back(e);
    }
    bool finished() override { return !log_->ups.empty() && *driverDone; }

private:
    MouseLog* log_;
};

}  // namespace

TEST(FocusLoss, AHeldButtonIsReleasedWithInitiatorZeroWhenTheFocusGoes) {
    MouseLog log;
    auto pressThenLoseFocus = [] {
        std::string w = waitForWindow("framework focus");
        ASSERT_FALSE(w.empty());
        focus(w);
        moveMouse(w, 30, 40);
        pressButton(1);
        focusRoot();  // while the button is still down
    };
    ASSERT_EQ(runGuiApp(std::make_unique<FocusApp>(&log), RendererGl::AA_NONE, pressThenLoseFocus), 0);
    // Let go of the button for whatever runs next on this display.
    releaseButton(1);

    ASSERT_FALSE(log.ups.empty()) << "the focus loss ended the press";
    EXPECT_EQ(log.kinds.front(), "mouseDown");
    EXPECT_EQ(log.ups.front().initiator, 0);
    EXPECT_EQ(log.ups.front().modifiers & 0x7u, 0u) << "no button reported held";
    EXPECT_EQ(log.ups.front().getX(), 30) << "where the pointer is";
    EXPECT_EQ(log.ups.front().getY(), 40);
}

namespace {

struct TouchLog {
    std::vector<std::string> kinds;
    std::vector<TouchEvent::Touch> touches;
    std::vector<size_t> activeCounts;
};

class TouchApp : public GuiTestApp {
public:
    explicit TouchApp(TouchLog* log) : GuiTestApp("framework touch"), log_(log) {}
    void prepareSettings(Settings* settings) override { settings->enableMultiTouch = true; }
    void touchesBegan(TouchEvent e) override { note("began", e); }
    void touchesMoved(TouchEvent e) override { note("moved", e); }
    void touchesEnded(TouchEvent e) override {
        note("ended", e);
        ended_ = true;
    }
    bool finished() override { return ended_ && *driverDone; }

private:
    void note(const char* kind, const TouchEvent& e) {
        log_->kinds.push_back(kind);
        for (const auto& t : e.getTouches()) log_->touches.push_back(t);
        log_->activeCounts.push_back(getActiveTouches().size());
    }
    TouchLog* log_;
    bool ended_ = false;
};

}  // namespace

TEST(Touch, ADragBecomesTouchesBeganMovedEndedWithRememberedPositions) {
    setenv("SDL_MOUSE_TOUCH_EVENTS", "1", 1);
    TouchLog log;
    auto drag = [] {
        std::string w = waitForWindow("framework touch");
        ASSERT_FALSE(w.empty());
        moveMouse(w, 100, 100);
        pressButton(1);
        moveMouse(w, 120, 110);
        releaseButton(1);
    };
    int status = runGuiApp(std::make_unique<TouchApp>(&log), RendererGl::AA_NONE, drag);
    unsetenv("SDL_MOUSE_TOUCH_EVENTS");
    ASSERT_EQ(status, 0);

    ASSERT_GE(log.kinds.size(), 3u);
    EXPECT_EQ(log.kinds.front(), "began");
    EXPECT_EQ(log.kinds.back(), "ended");
    const TouchEvent::Touch& first = log.touches.front();
    const TouchEvent::Touch& last = log.touches.back();
    EXPECT_NE(first.getId(), 0u);
    EXPECT_EQ(last.getId(), first.getId()) << "one contact from down to up";
    EXPECT_NEAR(first.getX(), 100.0f, 1.0f);
    EXPECT_NEAR(first.getY(), 100.0f, 1.0f);
    EXPECT_NEAR(last.getX(), 120.0f, 1.0f);
    EXPECT_NEAR(last.getPrevPos().x, 120.0f, 1.0f) << "remembered from the last move";
    EXPECT_EQ(log.activeCounts.front(), 1u);
    EXPECT_EQ(log.activeCounts.back(), 0u) << "nothing active once lifted";
}
