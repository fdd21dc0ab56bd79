// LabelControl: a caption on a dark translucent strip. It has no hit area, so it never takes the
// mouse; the application may change its caption at any time (setCaption).
#pragma once

#include <string>

#include "params/Control.h"

namespace loom::params {

class LabelControl : public Control {
public:
    explicit LabelControl(const std::string& caption);

    // Returns (x, y + 17).
    Vec2f place(Vec2f pos) override;

    // (x - 3, y - 3, x + 128, y + 13).
    static Rectf stripFor(Vec2f pos);

protected:
    void paint(Vec2f pos) const override;
};

}  // namespace loom::params
