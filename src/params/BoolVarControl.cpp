#include "params/BoolVarControl.h"

#include <boost/lexical_cast.hpp>
#include <sstream>

#include "params/PanelStyle.h"
#include "params/ParamPanel.h"

namespace loom::params {

BoolVarControl::BoolVarControl(const std::string& caption, bool* value_, bool initial,
                               int32_t group_)
    : Control(BOOL_VAR, caption), value(value_), group(group_) {
    *value = initial;
}

Rectf BoolVarControl::stripFor(Vec2f pos) {
    return Rectf(pos.x - inset.x, pos.y - inset.y, pos.x + sliderSize.x + inset.x,
                 pos.y + sliderSize.y + inset.y);
}

Rectf BoolVarControl::boxFor(Vec2f pos) {
    return Rectf(pos.x, pos.y, pos.x + sliderSize.y, pos.y + sliderSize.y);
}

Vec2f BoolVarControl::captionPosFor(Vec2f pos) {
    return Vec2f(pos.x + sliderSize.y + 2 * inset.x, pos.y);
}

Vec2f BoolVarControl::place(Vec2f pos) {
    hitArea = boxFor(pos);
    return Vec2f(pos.x, pos.y + sliderSize.y + controlGap);
}

void BoolVarControl::paint(Vec2f pos) const {
    fillRect(stripFor(pos), backColor);
    drawCaption(captionPosFor(pos));
    fillRect(hitArea, *value ? fullColor : emptyColor);
}

std::string BoolVarControl::valueText() const {
    std::ostringstream out;
    out << *value;
    return out.str();
}

void BoolVarControl::setValueText(const std::string& text) {
    *value = boost::lexical_cast<bool>(text);
}

void BoolVarControl::onMouseDown(app::MouseEvent) {
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
