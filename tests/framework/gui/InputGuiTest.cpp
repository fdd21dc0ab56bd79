// Real X input (xdotool) through SDL into the hooks and callbacks: the order of events, the
// initiator and held bits, drags captured outside the window, the single button-held flag, wheel
// notches, key codes and characters, and callbacks that consume events.
#include <algorithm>

#include "GuiTestApp.h"
#include "framework/KeyCodes.h"
#include "tools/XWindows.h"

using namespace loom;
using namespace loom::framework;
using namespace loom::guitest;
using namespace loom::testtools;

namespace {

struct Seen {
    std::string kind;
    int initiator = 0;
    int x = 0;
    int y = 0;
    unsigned modifiers = 0;
    float wheel = 0.0f;
    int code = 0;
    char character = 0;
};

class InputApp : public GuiTestApp {
public:
    explicit InputApp(std::vector<Seen>* seen) : GuiTestApp("framework input"), seen_(seen) {}

    void setup() override {
        registerMouseDown([this](MouseEvent) {
            seen_->push_back({"callback mouseDown"});
            return false;
        });
        registerKeyDown([this](KeyEvent e) {
            if (e.getChar() != 'x') return false;
            seen_->push_back({"callback consumed x"});
            return true;
        });
    }
    void mouseDown(MouseEvent e) override { mouse("mouseDown", e); }
    void mouseUp(MouseEvent e) override { mouse("mouseUp", e); }
    void mouseDrag(MouseEvent e) override { mouse("mouseDrag", e); }
    void mouseMove(MouseEvent e) override { mouse("mouseMove", e); }
    void mouseWheel(MouseEvent e) override { mouse("mouseWheel", e); }
    void keyDown(KeyEvent e) override { key("keyDown", e); }
    void keyUp(KeyEvent e) override {
        key("keyUp", e);
        if (e.getChar() == '-') sawLastKey_ = true;
    }
    bool finished() override { return sawLastKey_; }

private:
    void mouse(const char* kind, const MouseEvent& e) {
        seen_->push_back({kind, e.initiator, e.getX(), e.getY(), e.modifiers, e.getWheelIncrement()});
    }
    void key(const char* kind, const KeyEvent& e) {
        Seen s{kind};
        s.code = e.getCode();
        s.character = e.getChar();
        s.modifiers = e.modifiers;
        seen_->push_back(s);
    }

    std::vector<Seen>* seen_;
    bool sawLastKey_ = false;
};

void sendInput() {
    std::string w = waitForWindow("framework input");
    ASSERT_FALSE(w.empty()) << "the window never appeared";
    focus(w);
    // A left drag that leaves the window on its left side.
    moveMouse(w, 100, 100);
    pressButton(1);
    moveMouse(w, 150, 120);
    moveMouse(w, -20, 50);
    releaseButton(1);
    // Right held, left pressed and released: moves are no longer drags.
    moveMouse(w, 200, 200);
    pressButton(3);
    pressButton(1);
    releaseButton(1);
    moveMouse(w, 210, 205);
    releaseButton(3);
    // One notch towards the user, one away.
    clickButton(5);
    clickButton(4);
    key(w, "shift+a ctrl+a x minus");
}

// The events of the given kinds, in order.
std::vector<Seen> only(const std::vector<Seen>& seen, std::initializer_list<std::string> kinds) {
    std::vector<Seen> out;
    for (const Seen& s : seen)
        if (std::find(kinds.begin(), kinds.end(), s.kind) != kinds.end()) out.push_back(s);
    return out;
}

size_t indexOf(const std::vector<Seen>& seen, const std::string& kind, size_t from = 0) {
    for (size_t i = from; i < seen.size(); ++i)
        if (seen[i].kind == kind) return i;
    return seen.size();
}

}  // namespace

TEST(Input, RealXEventsReachCallbacksAndHooksInOrderWithTheirFields) {
    std::vector<Seen> seen;
    ASSERT_EQ(runGuiApp(std::make_unique<InputApp>(&seen), RendererGl::AA_NONE, sendInput), 0);
    ASSERT_FALSE(seen.empty());

    // Left press: the callback first, then the hook, with the button as initiator and held bit.
    size_t down = indexOf(seen, "callback mouseDown");
    ASSERT_LT(down + 1, seen.size());
    const Seen& press = seen[down + 1];
    EXPECT_EQ(press.kind, "mouseDown");
    EXPECT_EQ(press.initiator, int(Event::LEFT_DOWN));
    EXPECT_EQ(press.modifiers & 0x7u, unsigned(Event::LEFT_DOWN));
    EXPECT_EQ(press.x, 100);
    EXPECT_EQ(press.y, 100);

    // Drags with initiator 0 and the left button held, one of them outside the window.
    size_t up = indexOf(seen, "mouseUp", down);
    ASSERT_LT(up, seen.size());
    std::vector<Seen> drags(seen.begin() + down, seen.begin() + up);
    drags = only(drags, {"mouseDrag", "mouseMove"});
    ASSERT_FALSE(drags.empty());
    for (const Seen& d : drags) {
        EXPECT_EQ(d.kind, "mouseDrag") << "moves while the button is held are drags";
        EXPECT_EQ(d.initiator, 0);
        EXPECT_TRUE(d.modifiers & Event::LEFT_DOWN);
    }
    EXPECT_EQ(drags.back().x, -20) << "captured: left of the window is negative";
    EXPECT_EQ(drags.back().y, 50);
    EXPECT_EQ(seen[up].initiator, int(Event::LEFT_DOWN));
    EXPECT_EQ(seen[up].modifiers & Event::LEFT_DOWN, 0u) << "released: no longer held";
    EXPECT_EQ(seen[up].x, -20);

    // Right down, left down and up: the single held flag is cleared, so moves are moves again.
    std::vector<Seen> buttons = only(seen, {"mouseDown", "mouseUp"});
    ASSERT_EQ(buttons.size(), 6u);
    EXPECT_EQ(buttons[2].initiator, int(Event::RIGHT_DOWN));
    EXPECT_EQ(buttons[3].initiator, int(Event::LEFT_DOWN));
    EXPECT_EQ(buttons[3].modifiers & 0x7u, unsigned(Event::LEFT_DOWN | Event::RIGHT_DOWN));
    EXPECT_EQ(buttons[4].initiator, int(Event::LEFT_DOWN));
    EXPECT_EQ(buttons[5].initiator, int(Event::RIGHT_DOWN));
    size_t leftUp = indexOf(seen, "mouseUp", up + 1);
    size_t rightUp = indexOf(seen, "mouseUp", leftUp + 1);
    std::vector<Seen> between(seen.begin() + leftUp + 1, seen.begin() + rightUp);
    between = only(between, {"mouseDrag", "mouseMove"});
    ASSERT_FALSE(between.empty());
    EXPECT_EQ(between.back().kind, "mouseMove");
    EXPECT_EQ(between.back().x, 210);
    EXPECT_EQ(between.back().modifiers & 0x7u, unsigned(Event::RIGHT_DOWN));

    std::vector<Seen> wheel = only(seen, {"mouseWheel"});
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_EQ(wheel[0].wheel, -1.0f) << "towards the user";
    EXPECT_EQ(wheel[1].wheel, 1.0f);
    EXPECT_EQ(wheel[0].initiator, 0);
    EXPECT_EQ(wheel[0].x, 210) << "window coordinates";

    std::vector<Seen> keys = only(seen, {"keyDown", "keyUp", "callback consumed x"});
    auto keyDownWithCode = [&](int code) {
        for (const Seen& k : keys)
            if (k.kind == "keyDown" && k.code == code) return k;
        return Seen{"missing"};
    };
    Seen shift = keyDownWithCode(KeyCode::LSHIFT);
    EXPECT_EQ(shift.kind, "keyDown");
    EXPECT_TRUE(shift.modifiers & Event::SHIFT_DOWN) << "the Shift key's own press counts";

    std::vector<Seen> letterA;
    for (const Seen& k : keys)
        if (k.kind == "keyDown" && k.code == 97) letterA.push_back(k);
    ASSERT_EQ(letterA.size(), 2u);
    EXPECT_EQ(letterA[0].character, 'A');
    EXPECT_EQ(letterA[0].modifiers, unsigned(Event::SHIFT_DOWN));
    EXPECT_EQ(letterA[1].character, 'a');
    EXPECT_EQ(letterA[1].modifiers, unsigned(Event::CTRL_DOWN));

    EXPECT_EQ(keyDownWithCode('x').kind, "missing") << "the callback consumed x's key-down";
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(),
                            [](const Seen& k) { return k.kind == "callback consumed x"; }),
              1);
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(),
                            [](const Seen& k) { return k.kind == "keyUp" && k.code == 'x'; }),
              1)
        << "but not its key-up";

    Seen minus = keys.back();
    EXPECT_EQ(minus.kind, "keyUp");
    EXPECT_EQ(minus.code, 0) << "the minus key has no code";
    EXPECT_EQ(minus.character, '-');
}
