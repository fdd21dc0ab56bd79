#include "params/BoolVarControl.h"

#include <sstream>

#include "params/ParamPanel.h"
#include "params/ValueFromText.h"

namespace loom::params {

BoolVarControl::BoolVarControl(const std::string& caption, bool* value_, bool initial, int32_t group_)
    : BoxControl(BOOL_VAR, caption), value(value_), group(group_) {
    *value = initial;
}

std::string BoolVarControl::valueText() const {
    std::ostringstream out;
    out << *value;
    return out.str();
}

void BoolVarControl::setValueText(const std::string& text) { *value = boolFromText(text); }

void BoolVarControl::onMouseDown(framework::MouseEvent) {
    if (!isRadio()) {
        *value = !*value;
        return;
    }
    if (!owner) {
        *value = true;
        return;
    }
    for (const auto& control : owner->getControls()) {
        if (control->getKind() != BOOL_VAR) continue;
        auto* box = static_cast<BoolVarControl*>(control.get());
        if (box->group == group) *box->value = (box == this);
    }
}

}  // namespace loom::params
