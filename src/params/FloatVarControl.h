// FloatVarControl: a horizontal slider bound to a float, its caption above the bar. A press jumps
// the value to the pointer and dragging follows it; only x counts, and the value is clamped to
// [min, max] beyond the bar's ends.
#pragma once

#include <string>

#include "params/Control.h"

namespace loom::params {

class FloatVarControl : public Control {
public:
    // Writes initial, clamped to [min, max], into *value at once. value must outlive the control;
    // min must be below max.
    FloatVarControl(const std::string& caption, float* value, float min, float max, float initial);

    // Hit area := the bar, (x, y + 13, x + 125, y + 23); returns (x, y + 30).
    Vec2f place(Vec2f pos) override;

    // The value in general notation, 6 significant digits ("4", "2.5").
    std::string valueText() const override;
    // The whole text as a float (floatFromText, ValueFromText.h); text that does not convert throws
    // BadLexicalCast and leaves the value alone.
    void setValueText(const std::string& text) override;

    void onMouseDown(framework::MouseEvent e) override;
    // value := min + (max - min) * t, t = (e.x - x1) / (x2 - x1) clamped to [0, 1]; written only
    // when it differs from the current value.
    void onMouseDrag(framework::MouseEvent e) override;

    float* getValue() const { return value; }
    float getMin() const { return min; }
    float getMax() const { return max; }

    // (x - 3, y - 3, x + 128, y + 26).
    static Rectf stripFor(Vec2f pos);
    // The bar for content at pos: (x, y + 13, x + 125, y + 23).
    static Rectf barFor(Vec2f pos);
    // The filled part of bar for the current value; a value the program set outside the range
    // fills the bar or leaves it empty, never spilling out of it.
    Rectf fillFor(const Rectf& bar) const;

protected:
    void paint(Vec2f pos) const override;

    float* value;
    float min;
    float max;
};

}  // namespace loom::params
