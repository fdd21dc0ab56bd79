// Keys by character ("F" with shift is not "f"), and the mouse passed on to the corner quadrilateral.
#include "app/QuennetApp.h"

namespace loom {
namespace app {

void QuennetApp::keyDown(framework::KeyEvent event) {
    switch (event.getChar()) {
        case 'f': setFullScreen(!isFullScreen()); break;
        case ' ': showSource_ = true; break;
        case 's': save(); break;
        case 'o': chooseImage(); break;
        default: break;
    }
}

void QuennetApp::keyUp(framework::KeyEvent event) {
    if (event.getChar() == ' ') showSource_ = false;
}

void QuennetApp::mouseDown(framework::MouseEvent event) {
    quadMouse_.down(event.getX(), event.getY(), event.isLeftDown(), event.isRightDown());
}

void QuennetApp::mouseUp(framework::MouseEvent event) {
    reprocess_ = true;
    quadMouse_.up(event.isLeftDown(), event.isRightDown());
}

void QuennetApp::mouseMove(framework::MouseEvent event) { quadMouse_.move(event.getX(), event.getY()); }

void QuennetApp::mouseDrag(framework::MouseEvent event) { quadMouse_.drag(event.getX(), event.getY()); }

}  // namespace app
}  // namespace loom
