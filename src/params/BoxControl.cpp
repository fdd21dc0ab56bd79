#include "params/BoxControl.h"

#include "params/PanelStyle.h"

namespace loom::params {

BoxControl::BoxControl(int32_t kind, const std::string& caption) : Control(kind, caption) {}

Rectf BoxControl::stripFor(Vec2f pos) {
    return Rectf(pos.x - inset.x, pos.y - inset.y, pos.x + sliderSize.x + inset.x,
                 pos.y + sliderSize.y + inset.y);
}

Rectf BoxControl::boxFor(Vec2f pos) {
    return Rectf(pos.x, pos.y, pos.x + sliderSize.y, pos.y + sliderSize.y);
}

Vec2f BoxControl::captionPosFor(Vec2f pos) { return Vec2f(pos.x + sliderSize.y + 2 * inset.x, pos.y); }

Vec2f BoxControl::place(Vec2f pos) {
    hitArea = boxFor(pos);
    return Vec2f(pos.x, pos.y + sliderSize.y + controlGap);
}

void BoxControl::paint(Vec2f pos) const {
    fillRect(stripFor(pos), backColor);
    drawCaption(captionPosFor(pos));
    fillRect(hitArea, isOn() ? fullColor : emptyColor);
}

}  // namespace loom::params
