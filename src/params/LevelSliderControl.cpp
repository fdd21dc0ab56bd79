#include "params/LevelSliderControl.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "params/FloatVarControl.h"
#include "params/PanelStyle.h"

namespace loom::params {

LevelSliderControl::LevelSliderControl(const std::string& caption, int* index_,
                                       std::vector<std::string> levels_, int initial)
    : Control(LEVEL_VAR, caption), index(index_), levels(std::move(levels_)) {
    *index = std::clamp(initial, 0, levelCount() - 1);
}

int LevelSliderControl::heldIndex() const { return std::clamp(*index, 0, levelCount() - 1); }

Vec2f LevelSliderControl::place(Vec2f pos) {
    hitArea = FloatVarControl::barFor(pos);
    return Vec2f(pos.x, pos.y + inset.y + labelSize.y + sliderSize.y + controlGap);
}

void LevelSliderControl::paint(Vec2f pos) const {
    fillRect(FloatVarControl::stripFor(pos), backColor);
    drawCaption(pos, shownCaption());
    fillRect(hitArea, emptyColor);
    const float t = levelCount() > 1 ? float(heldIndex()) / float(levelCount() - 1) : 1.0f;
    fillRect(Rectf(hitArea.x1, hitArea.y1, hitArea.x1 + (hitArea.x2 - hitArea.x1) * t, hitArea.y2),
             fullColor);
}

std::string LevelSliderControl::valueText() const { return levels[size_t(heldIndex())]; }

void LevelSliderControl::onMouseDown(framework::MouseEvent e) { onMouseDrag(e); }

void LevelSliderControl::onMouseDrag(framework::MouseEvent e) {
    const float t = std::clamp((float(e.x) - hitArea.x1) / (hitArea.x2 - hitArea.x1), 0.0f, 1.0f);
    *index = int(std::lround(t * float(levelCount() - 1)));
}

}  // namespace loom::params
