// Display: one monitor, with its rectangle in virtual-screen pixels and its colour depth. The list
// is read once, on first request, and kept for the life of the process; the main display comes
// first.
#pragma once

#include <memory>
#include <vector>

#include "math/Rect.h"

namespace loom::framework {

class Display;
using DisplayRef = std::shared_ptr<Display>;

class Display {
public:
    Display(const Area& area, int bitsPerPixel, int index)
        : area_(area), bitsPerPixel_(bitsPerPixel), index_(index) {}

    const Area& getArea() const { return area_; }
    int getWidth() const { return area_.x2 - area_.x1; }
    int getHeight() const { return area_.y2 - area_.y1; }
    int getBitsPerPixel() const { return bitsPerPixel_; }
    // The platform's index of this monitor (an SDL display index).
    int getIndex() const { return index_; }

    // Empty when no display can be reached (no X server, for instance); then asked again next time.
    static const std::vector<DisplayRef>& getDisplays();
    // Null when there is no display.
    static DisplayRef getMainDisplay();

private:
    Area area_;
    int bitsPerPixel_;
    int index_;
};

}  // namespace loom::framework
