// LevelSliderControl: a slider over a list of named levels, bound to the index of the level chosen.
// Its caption line names the level ("Zoom: 1/2"). The bar is a FloatVarControl's; a press picks the
// level nearest the pointer along it, dragging follows, and only x counts.
#pragma once

#include <string>
#include <vector>

#include "params/Control.h"

namespace loom::params {

class LevelSliderControl : public Control {
public:
    // Writes initial, held within the list, into *index at once. index must outlive the control;
    // levels must not be empty.
    LevelSliderControl(const std::string& caption, int* index, std::vector<std::string> levels,
                       int initial);

    // Hit area := the bar, as FloatVarControl's.
    Vec2f place(Vec2f pos) override;

    // The name of the level chosen; an index the program set outside the list names the nearest
    // end.
    std::string valueText() const override;
    // "caption: level".
    std::string shownCaption() const { return caption + ": " + valueText(); }

    void onMouseDown(framework::MouseEvent e) override;
    // *index := round(t * (levels - 1)), t = (e.x - x1) / (x2 - x1) clamped to [0, 1].
    void onMouseDrag(framework::MouseEvent e) override;

    int* getIndex() const { return index; }
    int levelCount() const { return int(levels.size()); }

protected:
    void paint(Vec2f pos) const override;

private:
    int heldIndex() const;

    int* index;
    std::vector<std::string> levels;
};

}  // namespace loom::params
