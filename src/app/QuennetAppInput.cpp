// Keys by character ("F" with shift is not "f"), those that type none by code; the middle button
// pans, the wheel zooms in whole steps around the pointer, the other buttons go to the corner
// quadrilateral. "0" fits the picture beside the panel and "1" shows one screen pixel per result
// pixel; the warped view moves with the picture, since the quad's view takes the same zoom (times
// the factor: the quad is in source pixels) and pan.
#include <cmath>

#include "app/QuennetApp.h"
#include "app/view/ViewLayout.h"
#include "framework/KeyCodes.h"
#include "image/UpscalerCatalogue.h"
#include "params/ParamPanel.h"

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
    // Control leaves the character as typed without it: Shift makes "Z". Its shortcuts are never
    // the plain keys ("c", "v").
    if (event.isControlDown()) {
        switch (event.getChar()) {
            case 'z': quadKeys_.undo(); return;
            case 'Z': quadKeys_.redo(); return;
            case 'c': copyResult(); return;
            case 'v': pastePicture(); return;
            default: break;
        }
    }
    const char key = event.getChar();
    switch (key) {
        case 'f': setFullScreen(!isFullScreen()); return;
        case ' ': previousShown_ = true; return;
        case 's': save(); return;
        case 'o': chooseImage(); return;
        case '0': fitToWindow(); return;
        case '1': view_.showOneToOne(windowSize()); return;
        case 't': view_.tiled = !view_.tiled; break;
        case 'g': view_.cellOutlines = !view_.cellOutlines; break;
        case 'b': view_.backdrop = gl::nextBackdrop(view_.backdrop); break;
        case 'r':
            if (document_)
                quadKeys_.reset(float(document_->frame().getWidth()),
                                float(document_->frame().getHeight()));
            return;
        case 'p':
            if (document_) document_->animation.togglePlaying(getElapsedSeconds());
            break;
        case ',':
        case '.':
            if (document_ && document_->animation.animated() && !document_->animation.playing())
                showFrame(document_->animation.index() + (key == '.' ? 1 : -1));
            return;
        default: return;
    }
    requestRedraw();
}

void QuennetApp::keyUp(framework::KeyEvent event) {
    if (event.getChar() == ' ') previousShown_ = false;
}

void QuennetApp::mouseDown(framework::MouseEvent event) {
    if (event.isMiddle()) {
        view_.grab(Vec2f(float(event.getX()), float(event.getY())));
        return;
    }
    quadMouse_.down(event.getX(), event.getY(), event.isLeftDown(), event.isRightDown(),
                    event.isControlDown());
}

void QuennetApp::mouseUp(framework::MouseEvent event) {
    if (event.isMiddle()) {
        view_.release();
        return;
    }
    quadMouse_.up(event.isLeftDown(), event.isRightDown());
}

void QuennetApp::mouseMove(framework::MouseEvent event) { quadMouse_.move(event.getX(), event.getY()); }

void QuennetApp::mouseDrag(framework::MouseEvent event) {
    if (view_.panning())
        view_.drag(Vec2f(float(event.getX()), float(event.getY())));
    else
        quadMouse_.drag(event.getX(), event.getY(), event.isShiftDown());
}

void QuennetApp::mouseWheel(framework::MouseEvent event) {
    view_.wheel(event.getWheelIncrement(), Vec2f(float(event.getX()), float(event.getY())),
                windowSize());
}

Vec2f QuennetApp::windowSize() const { return Vec2f(float(getWindowWidth()), float(getWindowHeight())); }

int QuennetApp::resultFactor() const { return upscalerById(pipeline_.currentUpscaler).factor; }

void QuennetApp::fitToWindow() {
    const Surface& upscaled = pipeline_.upscaledSurface;
    if (!upscaled || !document_) return;
    const Vec2f window = windowSize();
    // The transform chosen is the one drawn, as a preview until its result is made.
    const bool warped = pipeline_.transform != 0;
    // In result pixels: the result, or the quad's bounding rectangle (in source pixels) enlarged.
    const Rectf bounds = cornerQuad_.boundingRect();
    const Vec2f size = warped ? Vec2f(bounds.getWidth(), bounds.getHeight()) * float(resultFactor())
                              : Vec2f(float(upscaled.getWidth()), float(upscaled.getHeight()));
    const Rectf& panel = panel_->getBounds();
    const ZoomFit fit = fitBesidePanel(size, window, Vec2f(panel.x2, panel.y2));
    view_.zoomLevel = fit.level;
    // Where the picture's centre is shown without a pan.
    Vec2f shown = window * 0.5f;
    if (warped) {
        cornerQuad_.setView(window.x, window.y, view_.zoom() * float(resultFactor()));
        shown = cornerQuad_.viewMatrix().transformPoint(
            Vec2f((bounds.x1 + bounds.x2) * 0.5f, (bounds.y1 + bounds.y2) * 0.5f));
    }
    view_.pan = Vec2f(std::round(fit.centre.x - shown.x), std::round(fit.centre.y - shown.y));
}

}  // namespace app
}  // namespace loom
