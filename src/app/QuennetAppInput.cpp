// Keys by character ("F" with shift is not "f"), and the mouse feeding the corner quadrilateral.
#include "app/QuennetApp.h"

namespace loom {
namespace app {

void QuennetApp::keyDown(framework::KeyEvent event) {
    switch (event.getChar()) {
        case 'f':
            setFullScreen(!isFullScreen());
            break;
        case ' ':
            showSource = true;
            break;
        case 's':
            save();
            break;
        default:
            break;
    }
}

void QuennetApp::keyUp(framework::KeyEvent event) {
    if (event.getChar() == ' ') showSource = false;
}

void QuennetApp::mouseDown(framework::MouseEvent event) {
    cornerQuad.press(event.getX(), event.getY(), event.isLeftDown(), event.isRightDown());
}

void QuennetApp::mouseUp(framework::MouseEvent event) {
    reprocess = true;
    cornerQuad.release(event.isLeftDown(), event.isRightDown());
}

// A change of hover or shape discards the result, so the next update warps again.
void QuennetApp::mouseMove(framework::MouseEvent event) {
    if (cornerQuad.hover(event.getX(), event.getY())) pipeline.discardResult();
}

void QuennetApp::mouseDrag(framework::MouseEvent event) {
    if (cornerQuad.drag(event.getX(), event.getY())) pipeline.discardResult();
}

}  // namespace app
}  // namespace loom
