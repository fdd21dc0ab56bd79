// KeyEvent: a key going down or up, with the framework's key code (KeyCodes.h), the character the
// key types with the current Shift and Caps Lock state (Control ignored, 0 when none), and the
// modifier keys held.
#pragma once

#include "framework/Event.h"

namespace loom::framework {

class KeyEvent : public Event {
public:
    KeyEvent() = default;
    KeyEvent(int code, char character, unsigned modifiers, int nativeKeyCode)
        : code(code), character(character), modifiers(modifiers), nativeKeyCode(nativeKeyCode) {}

    int getCode() const { return code; }
    char getChar() const { return character; }
    // The platform's key identifier as received: an SDL scancode.
    int getNativeKeyCode() const { return nativeKeyCode; }
    bool isShiftDown() const { return (modifiers & SHIFT_DOWN) != 0; }
    bool isAltDown() const { return (modifiers & ALT_DOWN) != 0; }
    bool isControlDown() const { return (modifiers & CTRL_DOWN) != 0; }
    bool isMetaDown() const { return (modifiers & META_DOWN) != 0; }

    int code = 0;
    char character = 0;
    unsigned modifiers = 0;
    int nativeKeyCode = 0;
};

}  // namespace loom::framework
