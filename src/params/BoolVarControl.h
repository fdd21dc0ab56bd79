// BoolVarControl: a box (BoxControl.h) bound to a bool. With a group below 0 it is an independent
// check box that toggles on every press; with a group of 0 or more it is a radio button: a press
// turns it on and every other box of that group in the same panel off. A choice kept as one int
// is a group of RadioButtonControls instead.
#pragma once

#include <cstdint>
#include <string>

#include "params/BoxControl.h"

namespace loom::params {

class BoolVarControl : public BoxControl {
public:
    // The group of an independent check box.
    static constexpr int32_t CHECK_BOX = -1;

    // Writes initial into *value at once. value must outlive the control.
    BoolVarControl(const std::string& caption, bool* value, bool initial, int32_t group);

    // "1" or "0".
    std::string valueText() const override;
    // As boolFromText reads it (ValueFromText.h); other text throws BadLexicalCast and leaves the
    // value alone.
    void setValueText(const std::string& text) override;

    void onMouseDown(framework::MouseEvent e) override;

    bool isOn() const override { return *value; }
    bool* getValue() const { return value; }
    int32_t getGroup() const { return group; }
    bool isRadio() const { return group >= 0; }

protected:
    bool* value;
    int32_t group;
};

}  // namespace loom::params
