// Keys by character ("F" with shift is not "f"), and the mouse feeding the corner quadrilateral.
#include "app/QuennetApp.h"

namespace loom {
namespace app {

void QuennetApp::keyDown(framework::KeyEvent event) {
    switch (event.getChar()) {
        case 'f': setFullScreen(!isFullScreen()); break;
        case ' ': showSource_ = true; break;
        case 's': save(); break;
        default: break;
    }
}

void QuennetApp::keyUp(framework::KeyEvent event) {
    if (event.getChar() == ' ') showSource_ = false;
}

void QuennetApp::mouseDown(framework::MouseEvent event) {
    cornerQuad_.press(event.getX(), event.getY(), event.isLeftDown(), event.isRightDown());
}

void QuennetApp::mouseUp(framework::MouseEvent event) {
    reprocess_ = true;
    cornerQuad_.release(event.isLeftDown(), event.isRightDown());
}

// A change of hover or shape discards the result, so the next update warps again.
void QuennetApp::mouseMove(framework::MouseEvent event) {
    if (cornerQuad_.hover(event.getX(), event.getY())) pipeline_.discardResult();
}

void QuennetApp::mouseDrag(framework::MouseEvent event) {
    if (cornerQuad_.drag(event.getX(), event.getY())) pipeline_.discardResult();
}

}  // namespace app
}  // namespace loom
