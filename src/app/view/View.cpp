#include "app/view/View.h"

#include "app/view/ViewLayout.h"

namespace loom::app {

float View::zoom() const { return zoomLevels()[size_t(zoomLevel)]; }

void View::zoomAround(int level, Vec2f point, Vec2f window) {
    pan = panKeepingPoint(pan, point, window * 0.5f, zoom(), zoomLevels()[size_t(level)]);
    zoomLevel = level;
}

void View::wheel(float notches, Vec2f point, Vec2f window) {
    wheelNotches_ += notches;
    const int steps = int(wheelNotches_);
    if (steps == 0) return;
    wheelNotches_ -= float(steps);
    zoomAround(zoomStep(zoomLevel, steps), point, window);
}

void View::keepSizeAcrossFactors(int factor, Vec2f window) {
    if (factor == levelFactor_) return;
    const int level = levelKeepingSize(zoomLevel, levelFactor_, factor);
    const Vec2f centre = window * 0.5f;
    pan = panKeepingPoint(pan, centre, centre, zoom() * float(levelFactor_),
                          zoomLevels()[size_t(level)] * float(factor));
    zoomLevel = level;
    levelFactor_ = factor;
}

void View::showOneToOne(Vec2f window) { zoomAround(nearestZoomLevel(1.0f), window * 0.5f, window); }

void View::grab(Vec2f pointer) {
    panning_ = true;
    panGrab_ = pointer - pan;
}

}  // namespace loom::app
