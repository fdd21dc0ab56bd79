#include "params/Control.h"

#include <utility>

#include "gl/DrawString.h"
#include "gl/Shapes.h"
#include "gl/State.h"
#include "params/PanelStyle.h"
#include "params/ParamPanel.h"

namespace loom::params {

Control::Control(int32_t kind_, std::string caption_) : kind(kind_), caption(std::move(caption_)) {}

Vec2f Control::draw(Vec2f pos) {
    const Vec2f next = place(pos);
    paint(pos);
    return next;
}

void Control::drawCaption(Vec2f pos, const std::string& text) const {
    if (owner)
        owner->drawCaption(text, pos, textColor);
    else
        gl::drawString(text, pos, textColor, ParamPanel::getFont());
}

void Control::fillRect(const Rectf& rect, const ColorA& color) {
    gl::setColor(color);
    gl::drawSolidRect(rect, false);
}

}  // namespace loom::params
