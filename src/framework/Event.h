// Event: the base of every record handed to the application's hooks and callbacks, and the bits
// that mouse and key events share. Events are plain values, created on the main thread and passed
// by copy.
#pragma once

namespace loom::framework {

class Event {
public:
    // Buttons and modifier keys. A mouse event's initiator holds one button bit; its modifiers hold
    // every button and key held. Key events use the key bits from SHIFT_DOWN up.
    enum : unsigned {
        LEFT_DOWN = 0x01,
        RIGHT_DOWN = 0x02,
        MIDDLE_DOWN = 0x04,
        SHIFT_DOWN = 0x08,
        ALT_DOWN = 0x10,
        CTRL_DOWN = 0x20,
        META_DOWN = 0x40
    };

    virtual ~Event() = default;
};

}  // namespace loom::framework
