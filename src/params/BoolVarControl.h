// BoolVarControl: a square box bound to a bool, its caption to the right. With a group below 0
// it is an independent check box that toggles on every press; with a group of 0 or more it is a
// radio button: a press turns it on and every other box of that group in the same panel off.
#pragma once

#include <cstdint>
#include <string>

#include "params/Control.h"

namespace loom::params {

class BoolVarControl : public Control {
public:
    // Writes initial into *value at once. value must outlive the control.
    BoolVarControl(const std::string& caption, bool* value, bool initial, int32_t group);

    // Hit area := the box, (x, y, x + 10, y + 10); returns (x, y + 17).
    Vec2f place(Vec2f pos) override;

    // "1" or "0".
    std::string valueText() const override;
    // "1" or "0"; other text throws boost::bad_lexical_cast and leaves the value alone.
    void setValueText(const std::string& text) override;

    void onMouseDown(app::MouseEvent e) override;

    bool* getValue() const { return value; }
    int32_t getGroup() const { return group; }
    bool isRadio() const { return group >= 0; }

    // (x - 3, y - 3, x + 128, y + 13).
    static Rectf stripFor(Vec2f pos);
    // (x, y, x + 10, y + 10).
    static Rectf boxFor(Vec2f pos);
    // Where the caption starts: (x + 16, y).
    static Vec2f captionPosFor(Vec2f pos);

protected:
    void paint(Vec2f pos) const override;

    bool* value;
    int32_t group;
};

}  // namespace loom::params
