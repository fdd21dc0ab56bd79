#include "params/FloatVarControl.h"

#include <algorithm>
#include <sstream>

#include "params/PanelStyle.h"
#include "params/ValueFromText.h"

namespace loom::params {

FloatVarControl::FloatVarControl(const std::string& caption, float* value_, float min_, float max_,
                                 float initial)
    : Control(FLOAT_VAR, caption), value(value_), min(min_), max(max_) {
    *value = initial < min ? min : (initial > max ? max : initial);
}

Rectf FloatVarControl::stripFor(Vec2f pos) {
    return Rectf(pos.x - inset.x, pos.y - inset.y, pos.x + sliderSize.x + inset.x,
                 pos.y + labelSize.y + sliderSize.y + 2 * inset.y);
}

Rectf FloatVarControl::barFor(Vec2f pos) {
    const float top = pos.y + labelSize.y + inset.y;
    return Rectf(pos.x, top, pos.x + sliderSize.x, top + sliderSize.y);
}

Rectf FloatVarControl::fillFor(const Rectf& bar) const {
    const float t = std::clamp((*value - min) / (max - min), 0.0f, 1.0f);
    return Rectf(bar.x1, bar.y1, bar.x1 + (bar.x2 - bar.x1) * t, bar.y1 + (bar.y2 - bar.y1));
}

Vec2f FloatVarControl::place(Vec2f pos) {
    hitArea = barFor(pos);
    return Vec2f(pos.x, pos.y + inset.y + labelSize.y + sliderSize.y + controlGap);
}

void FloatVarControl::paint(Vec2f pos) const {
    fillRect(stripFor(pos), backColor);
    drawCaption(pos);
    fillRect(hitArea, emptyColor);
    fillRect(fillFor(hitArea), fullColor);
}

std::string FloatVarControl::valueText() const {
    std::ostringstream out;
    out << *value;
    return out.str();
}

void FloatVarControl::setValueText(const std::string& text) { *value = floatFromText(text); }

void FloatVarControl::onMouseDown(framework::MouseEvent e) { onMouseDrag(e); }

void FloatVarControl::onMouseDrag(framework::MouseEvent e) {
    float t = (float(e.x) - hitArea.x1) / (hitArea.x2 - hitArea.x1);
    if (!(t < 1.0f)) t = 1.0f;
    if (t < 0.0f) t = 0.0f;
    const float v = min + (max - min) * t;
    if (v != *value) *value = v;
}

}  // namespace loom::params
