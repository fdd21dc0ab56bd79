#include "app/QuadMouse.h"

namespace loom::app {

void QuadMouse::down(int x, int y, bool left, bool right) {
    if (transformShown()) quad_.press(x, y, left, right);
}

void QuadMouse::up(bool left, bool right) {
    if (transformShown()) quad_.release(left, right);
}

void QuadMouse::move(int x, int y) {
    if (transformShown()) quad_.hover(x, y);
}

void QuadMouse::drag(int x, int y) {
    if (transformShown()) quad_.drag(x, y);
}

}  // namespace loom::app
