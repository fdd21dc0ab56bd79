#include "params/LabelControl.h"

#include "params/PanelStyle.h"

namespace loom::params {

LabelControl::LabelControl(const std::string& caption) : Control(LABEL, caption) {}

Rectf LabelControl::stripFor(Vec2f pos) {
    return Rectf(pos.x - inset.x, pos.y - inset.y, pos.x + sliderSize.x + inset.x,
                 pos.y + labelSize.y + inset.y);
}

Vec2f LabelControl::place(Vec2f pos) { return Vec2f(pos.x, pos.y + labelSize.y + controlGap); }

void LabelControl::paint(Vec2f pos) const {
    fillRect(stripFor(pos), backColor);
    drawCaption(pos);
}

}  // namespace loom::params
