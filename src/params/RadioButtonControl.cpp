#include "params/RadioButtonControl.h"

namespace loom::params {

RadioButtonControl::RadioButtonControl(const std::string& caption, int* selection_, int index_)
    : BoxControl(RADIO_BUTTON, caption), selection(selection_), index(index_) {}

void RadioButtonControl::onMouseDown(framework::MouseEvent) { *selection = index; }

}  // namespace loom::params
