// RadioButtonControl: one box of a radio group whose selection is one int. It is on while the int
// holds its index, and a press stores its index there. The int is the group's only state, so the
// boxes need not know each other, and a selection written from outside shows at the next draw.
#pragma once

#include <string>

#include "params/BoxControl.h"

namespace loom::params {

class RadioButtonControl : public BoxControl {
public:
    // selection must outlive the control; the control does not write it until pressed.
    RadioButtonControl(const std::string& caption, int* selection, int index);

    void onMouseDown(framework::MouseEvent e) override;

    bool isOn() const override { return *selection == index; }

private:
    int* selection;
    int index;
};

}  // namespace loom::params
