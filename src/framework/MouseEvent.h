// MouseEvent: a button press or release, a move, a drag or a wheel turn, in window pixels (y down).
// While a button is held the window captures the pointer, so positions outside the window arrive
// negative or beyond the window's size.
#pragma once

#include "framework/Event.h"
#include "math/Vec2.h"

namespace loom::framework {

class MouseEvent : public Event {
public:
    MouseEvent() = default;
    MouseEvent(int initiator, int x, int y, unsigned modifiers, float wheelIncrement,
               unsigned nativeModifiers)
        : initiator(initiator),
          x(x),
          y(y),
          modifiers(modifiers),
          wheelIncrement(wheelIncrement),
          nativeModifiers(nativeModifiers) {}

    int getX() const { return x; }
    int getY() const { return y; }
    Vec2f getPos() const { return Vec2f(float(x), float(y)); }

    // The button that caused a press or release; all false for moves, drags and wheel turns.
    bool isLeft() const { return (initiator & LEFT_DOWN) != 0; }
    bool isRight() const { return (initiator & RIGHT_DOWN) != 0; }
    bool isMiddle() const { return (initiator & MIDDLE_DOWN) != 0; }

    // What is held while the event happens.
    bool isLeftDown() const { return (modifiers & LEFT_DOWN) != 0; }
    bool isRightDown() const { return (modifiers & RIGHT_DOWN) != 0; }
    bool isMiddleDown() const { return (modifiers & MIDDLE_DOWN) != 0; }
    bool isShiftDown() const { return (modifiers & SHIFT_DOWN) != 0; }
    bool isAltDown() const { return (modifiers & ALT_DOWN) != 0; }
    bool isControlDown() const { return (modifiers & CTRL_DOWN) != 0; }
    bool isMetaDown() const { return (modifiers & META_DOWN) != 0; }

    // Notches, positive away from the user; 0 for every other kind of event.
    float getWheelIncrement() const { return wheelIncrement; }
    // The platform's raw state word (SDL's button mask and key modifiers packed: buttons in the low
    // 16 bits, the key modifiers in the high 16).
    unsigned getNativeModifiers() const { return nativeModifiers; }

    int initiator = 0;
    int x = 0;
    int y = 0;
    unsigned modifiers = 0;
    float wheelIncrement = 0.0f;
    unsigned nativeModifiers = 0;
};

}  // namespace loom::framework
