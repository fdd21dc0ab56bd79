// Keys by character ("F" with shift is not "f"), those that type none by code; the middle button
// pans, the others go to the corner quadrilateral.
#include "app/QuennetApp.h"
#include "framework/KeyCodes.h"

namespace loom {
namespace app {

void QuennetApp::keyDown(framework::KeyEvent event) {
    const float nudge = event.isShiftDown() ? 10.0f : 1.0f;  // picture pixels
    switch (event.getCode()) {
        case framework::KeyCode::PAGEDOWN: openNeighbour(+1); return;
        case framework::KeyCode::PAGEUP: openNeighbour(-1); return;
        case framework::KeyCode::LEFT: quadKeys_.nudge(Vec2f(-nudge, 0.0f)); return;
        case framework::KeyCode::RIGHT: quadKeys_.nudge(Vec2f(nudge, 0.0f)); return;
        case framework::KeyCode::UP: quadKeys_.nudge(Vec2f(0.0f, -nudge)); return;
        case framework::KeyCode::DOWN: quadKeys_.nudge(Vec2f(0.0f, nudge)); return;
        default: break;
    }
    // Control leaves the character as typed without it: Shift makes "Z".
    if (event.isControlDown() && (event.getChar() == 'z' || event.getChar() == 'Z')) {
        if (event.getChar() == 'z')
            quadKeys_.undo();
        else
            quadKeys_.redo();
        return;
    }
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
        case 'b':
            backdrop_ = gl::nextBackdrop(backdrop_);
            requestRedraw();
            break;
        case 'r':
            if (sourceSurface_)
                quadKeys_.reset(float(sourceSurface_.getWidth()), float(sourceSurface_.getHeight()));
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
    quadMouse_.down(event.getX(), event.getY(), event.isLeftDown(), event.isRightDown(),
                    event.isControlDown());
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
        quadMouse_.drag(event.getX(), event.getY(), event.isShiftDown());
}

}  // namespace app
}  // namespace loom
