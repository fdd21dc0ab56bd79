// Keys by character ("F" with shift is not "f"); the middle button pans, the others go to the
// corner quadrilateral.
#include "app/QuennetApp.h"

namespace loom {
namespace app {

void QuennetApp::keyDown(framework::KeyEvent event) {
    switch (event.getChar()) {
        case 'f': setFullScreen(!isFullScreen()); break;
        case ' ': showSource_ = true; break;
        case 's': save(); break;
        case 'o': chooseImage(); break;
        case '0': fitToWindow(); break;
        case '1': showOneToOne(); break;
        case 't':
            tiled_ = !tiled_;
            requestRedraw();
            break;
        case 'g':
            cellOutlines_ = !cellOutlines_;
            requestRedraw();
            break;
        case 'p':
            animation_.togglePlaying(getElapsedSeconds());
            requestRedraw();
            break;
        case ',':
        case '.':
            if (animation_.animated() && !animation_.playing())
                showFrame(animation_.index() + (event.getChar() == '.' ? 1 : -1));
            break;
        default: break;
    }
}

void QuennetApp::keyUp(framework::KeyEvent event) {
    if (event.getChar() == ' ') showSource_ = false;
}

void QuennetApp::mouseDown(framework::MouseEvent event) {
    if (event.isMiddle()) {
        panning_ = true;
        panGrab_ = Vec2f(float(event.getX()), float(event.getY())) - pan_;
        return;
    }
    quadMouse_.down(event.getX(), event.getY(), event.isLeftDown(), event.isRightDown());
}

void QuennetApp::mouseUp(framework::MouseEvent event) {
    if (event.isMiddle()) {
        panning_ = false;
        return;
    }
    quadMouse_.up(event.isLeftDown(), event.isRightDown());
}

void QuennetApp::mouseMove(framework::MouseEvent event) { quadMouse_.move(event.getX(), event.getY()); }

void QuennetApp::mouseDrag(framework::MouseEvent event) {
    if (panning_)
        pan_ = Vec2f(float(event.getX()), float(event.getY())) - panGrab_;
    else
        quadMouse_.drag(event.getX(), event.getY());
}

}  // namespace app
}  // namespace loom
