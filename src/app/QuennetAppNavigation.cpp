// Moving about the picture: the wheel zooms in whole steps around the pointer, a middle-button drag
// pans, "0" fits the picture to the window and "1" shows one screen pixel per picture pixel. The
// warped view moves with the picture, since the quad's view takes the same zoom and pan.
#include <cmath>

#include "app/QuennetApp.h"
#include "app/ViewLayout.h"
#include "image/UpscalerCatalogue.h"

namespace loom {
namespace app {

void QuennetApp::mouseWheel(framework::MouseEvent event) {
    // Touchpads send fractions of a notch: a step is taken once they add up to one.
    wheelNotches_ += event.getWheelIncrement();
    const int steps = int(wheelNotches_);
    if (steps == 0) return;
    wheelNotches_ -= float(steps);
    zoomAround(zoomStep(zoom_, steps), Vec2f(float(event.getX()), float(event.getY())));
}

float QuennetApp::screenPixelsPerSourcePixel(float zoom) const {
    const gl::Texture& texture = shownTexture();
    if (pipeline_.currentTransform != 0 || !texture || !sourceSurface_) return zoom;
    const UnwarpedPlacement place = placeUnwarped(zoom, sourceSurface_.getWidth(), texture.width(),
                                                  texture.height(), getWindowWidth(), getWindowHeight());
    return place.scale * float(texture.width()) / float(sourceSurface_.getWidth());
}

void QuennetApp::zoomAround(float zoom, Vec2f point) {
    const Vec2f centre(float(getWindowWidth()) * 0.5f, float(getWindowHeight()) * 0.5f);
    pan_ = panKeepingPoint(pan_, point, centre, screenPixelsPerSourcePixel(zoom_),
                           screenPixelsPerSourcePixel(zoom));
    zoom_ = zoom;
}

void QuennetApp::showOneToOne() {
    const Vec2f centre(float(getWindowWidth()) * 0.5f, float(getWindowHeight()) * 0.5f);
    zoomAround(float(upscalerById(pipeline_.currentUpscaler).factor), centre);
}

void QuennetApp::fitToWindow() {
    const gl::Texture& texture = shownTexture();
    if (!texture || !sourceSurface_) return;
    const Vec2f window{float(getWindowWidth()), float(getWindowHeight())};
    if (pipeline_.currentTransform == 0) {
        zoom_ = fittingZoom(
            [&](float zoom) {
                return Vec2f(float(texture.width()), float(texture.height())) *
                       placeUnwarped(zoom, sourceSurface_.getWidth(), texture.width(), texture.height(),
                                     getWindowWidth(), getWindowHeight())
                           .scale;
            },
            window);
        pan_ = Vec2f();
        return;
    }
    // The quad's bounding rectangle, centred.
    const Rectf bounds = cornerQuad_.boundingRect();
    zoom_ = fittingZoom([&](float zoom) { return Vec2f(bounds.getWidth(), bounds.getHeight()) * zoom; },
                        window);
    cornerQuad_.setView(window.x, window.y, zoom_);
    const Vec2f shown = cornerQuad_.viewMatrix().transformPoint(
        Vec2f((bounds.x1 + bounds.x2) * 0.5f, (bounds.y1 + bounds.y2) * 0.5f));
    pan_ = Vec2f(std::round(window.x * 0.5f - shown.x), std::round(window.y * 0.5f - shown.y));
}

}  // namespace app
}  // namespace loom
