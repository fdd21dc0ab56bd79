#include "app/input/QuadMouse.h"

namespace loom::app {

void QuadMouse::down(int x, int y, bool left, bool right, bool aboutCentre) {
    if (!pipeline_.transformShown()) return;
    if (!cornersAtPress_) cornersAtPress_ = quad_.corners();
    quad_.press(x, y, left, right, aboutCentre);
}

void QuadMouse::up(bool left, bool right) {
    if (pipeline_.transformShown()) quad_.release(left, right);
    // Recorded even if the transform went meanwhile: the corners may have changed before.
    if (cornersAtPress_ && !left && !right) {
        history_.record(*cornersAtPress_, quad_.corners());
        cornersAtPress_.reset();
    }
}

void QuadMouse::move(int x, int y) {
    if (pipeline_.transformShown()) quad_.hover(x, y);
}

void QuadMouse::drag(int x, int y, bool snapped) {
    if (pipeline_.transformShown()) quad_.drag(x, y, snapped);
}

}  // namespace loom::app
