// Moving about the picture: the wheel zooms in whole steps around the pointer, a middle-button drag
// pans, "0" fits the picture beside the panel and "1" shows one screen pixel per result pixel. The
// warped view moves with the picture, since the quad's view takes the same zoom (times the factor:
// the quad is in source pixels) and pan.
#include <cmath>

#include "app/QuennetApp.h"
#include "app/ViewLayout.h"
#include "image/UpscalerCatalogue.h"
#include "params/ParamPanel.h"

namespace loom {
namespace app {

namespace {

Vec2f rounded(Vec2f v) { return Vec2f(std::round(v.x), std::round(v.y)); }

}  // namespace

void QuennetApp::mouseWheel(framework::MouseEvent event) {
    // Touchpads send fractions of a notch: a step is taken once they add up to one.
    wheelNotches_ += event.getWheelIncrement();
    const int steps = int(wheelNotches_);
    if (steps == 0) return;
    wheelNotches_ -= float(steps);
    zoomAround(zoomStep(zoomLevel_, steps), Vec2f(float(event.getX()), float(event.getY())));
}

float QuennetApp::zoom() const { return zoomLevels()[size_t(zoomLevel_)]; }

int QuennetApp::resultFactor() const { return upscalerById(pipeline_.currentUpscaler).factor; }

void QuennetApp::zoomAround(int level, Vec2f point) {
    const Vec2f centre(float(getWindowWidth()) * 0.5f, float(getWindowHeight()) * 0.5f);
    pan_ = panKeepingPoint(pan_, point, centre, zoom(), zoomLevels()[size_t(level)]);
    zoomLevel_ = level;
}

void QuennetApp::keepSizeAcrossFactors() {
    const int factor = resultFactor();
    if (factor == zoomLevelFactor_) return;
    const int level = levelKeepingSize(zoomLevel_, zoomLevelFactor_, factor);
    // The point at the window's centre stays, as when zooming about it.
    const Vec2f centre(float(getWindowWidth()) * 0.5f, float(getWindowHeight()) * 0.5f);
    pan_ = panKeepingPoint(pan_, centre, centre, zoom() * float(zoomLevelFactor_),
                           zoomLevels()[size_t(level)] * float(factor));
    zoomLevel_ = level;
    zoomLevelFactor_ = factor;
}

void QuennetApp::showOneToOne() {
    const Vec2f centre(float(getWindowWidth()) * 0.5f, float(getWindowHeight()) * 0.5f);
    zoomAround(nearestZoomLevel(1.0f), centre);
}

void QuennetApp::fitToWindow() {
    const Surface& upscaled = pipeline_.upscaledSurface;
    if (!upscaled || !sourceSurface_) return;
    const Vec2f window{float(getWindowWidth()), float(getWindowHeight())};
    // The transform chosen is the one drawn, as a preview until its result is made.
    const bool warped = pipeline_.transform != 0;
    // In result pixels: the result, or the quad's bounding rectangle (in source pixels) enlarged.
    const Rectf bounds = cornerQuad_.boundingRect();
    const Vec2f size = warped ? Vec2f(bounds.getWidth(), bounds.getHeight()) * float(resultFactor())
                              : Vec2f(float(upscaled.getWidth()), float(upscaled.getHeight()));
    const Rectf& panel = panel_->getBounds();
    const ZoomFit fit = fitBesidePanel(size, window, Vec2f(panel.x2, panel.y2));
    zoomLevel_ = fit.level;
    // Where the picture's centre is shown without a pan.
    Vec2f shown = window * 0.5f;
    if (warped) {
        cornerQuad_.setView(window.x, window.y, zoom() * float(resultFactor()));
        shown = cornerQuad_.viewMatrix().transformPoint(
            Vec2f((bounds.x1 + bounds.x2) * 0.5f, (bounds.y1 + bounds.y2) * 0.5f));
    }
    pan_ = rounded(fit.centre - shown);
}

}  // namespace app
}  // namespace loom
