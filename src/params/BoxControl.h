// BoxControl: a square box, filled while it is on, with its caption to the right. What the box is
// bound to, and what a press on it does, is up to the kind of box (BoolVarControl,
// RadioButtonControl); the look is the same for all.
#pragma once

#include <cstdint>
#include <string>

#include "params/Control.h"

namespace loom::params {

class BoxControl : public Control {
public:
    // Hit area := the box, (x, y, x + 10, y + 10); returns (x, y + 17).
    Vec2f place(Vec2f pos) override;

    virtual bool isOn() const = 0;

    // (x - 3, y - 3, x + 128, y + 13).
    static Rectf stripFor(Vec2f pos);
    // (x, y, x + 10, y + 10).
    static Rectf boxFor(Vec2f pos);
    // Where the caption starts: (x + 16, y).
    static Vec2f captionPosFor(Vec2f pos);

protected:
    BoxControl(int32_t kind, const std::string& caption);

    void paint(Vec2f pos) const override;
};

}  // namespace loom::params
