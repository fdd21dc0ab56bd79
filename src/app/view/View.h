// View: how the picture is looked at: the zoom (a level of whole screen pixels per result pixel, or
// the reverse, chosen for a result of one factor), the pan (window pixels the picture's centre sits
// off the window's centre) and its drag, the wheel's fractions of a notch, and the "t", "g" and "b"
// choices. Positions are window pixels; window is the window's size.
#pragma once

#include "gl/DrawOverCheckerboard.h"
#include "math/Vec2.h"

namespace loom::app {

class View {
public:
    // Screen pixels per result pixel.
    float zoom() const;
    // Sets the zoom level, keeping the picture's point under point where it is.
    void zoomAround(int level, Vec2f point, Vec2f window);
    // Touchpads send fractions of a notch: a step is taken once they add up to one.
    void wheel(float notches, Vec2f point, Vec2f window);
    // After the factor of the result shown changed: the level that keeps the picture's size on
    // screen nearest, about the window's centre.
    void keepSizeAcrossFactors(int factor, Vec2f window);
    void showOneToOne(Vec2f window);

    // A middle-button drag moves the picture with the pointer.
    void grab(Vec2f pointer);
    void drag(Vec2f pointer) { pan = pointer - panGrab_; }
    void release() { panning_ = false; }
    bool panning() const { return panning_; }

    int zoomLevel = 0;  // into zoomLevels(); the panel writes the first level
    Vec2f pan;
    bool tiled = false;         // "t": the picture laid 3 x 3, to look for seams
    bool cellOutlines = false;  // "g": the cells' outlines over the picture
    gl::Backdrop backdrop = gl::Backdrop::Checkerboard;  // "b": what transparent pixels show

private:
    int levelFactor_ = 1;  // the factor of the result the level was chosen for
    bool panning_ = false;
    Vec2f panGrab_;  // the pointer when the pan began, less the pan then
    float wheelNotches_ = 0.0f;
};

}  // namespace loom::app
