// Where the picture goes, and the navigation of the view: the zoom (screen pixels per source pixel,
// whatever the upscaler's factor, as the Zoom slider sets it) and a pan (window pixels the
// picture's centre is moved off the window's centre).
//
// The unwarped picture is never drawn at less than one screen pixel per texel while the zoom is
// 1 or more (the slider's range). Below 1, reached with the wheel or by fitting a big picture, the
// zoom applies per texel, so the view shrinks on from where zoom 1 left it.
#pragma once

#include <functional>

#include "math/Vec2.h"

namespace loom {
namespace app {

struct UnwarpedPlacement {
    float scale;    // screen pixels per texel
    Vec2f topLeft;  // in scaled units: multiply by scale for window pixels
};

UnwarpedPlacement placeUnwarped(float zoom, int sourceWidth, int textureWidth, int textureHeight,
                                int windowWidth, int windowHeight, Vec2f pan = Vec2f());

// The zoom levels are whole steps, n and 1/n, from 1/64 to 64. The next level above zoom (steps
// > 0) or below it (steps < 0), |steps| levels away, held at the ends.
float zoomStep(float zoom, int steps);

// The largest level at which a picture of shownSize(zoom) window pixels fits in the window; the
// smallest level when none does.
float fittingZoom(const std::function<Vec2f(float zoom)>& shownSize, Vec2f window);

// The pan after the scale (screen pixels per source pixel) changes, so that the picture's point
// under `point` (in window pixels) stays there, to the nearest whole pixel.
Vec2f panKeepingPoint(Vec2f pan, Vec2f point, Vec2f windowCentre, float scaleBefore, float scaleAfter);

}  // namespace app
}  // namespace loom
