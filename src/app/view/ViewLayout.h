// Where the picture goes, and the navigation of the view: the zoom, a level of whole screen pixels
// per result pixel (n, or 1/n below one, whatever the upscaler's factor), and a pan (window pixels
// the picture's centre is moved off the window's centre).
#pragma once

#include <string>
#include <vector>

#include "math/Vec2.h"

namespace loom {
namespace app {

struct UnwarpedPlacement {
    float scale;    // screen pixels per texel
    Vec2f topLeft;  // in scaled units: multiply by scale for window pixels
};

// A texture shown at scale screen pixels per texel, centred in the window and moved by pan (whole
// pixels): its top-left corner falls on a whole window pixel, so that every texel covers whole
// screen pixels.
UnwarpedPlacement placeUnwarped(float scale, int textureWidth, int textureHeight, int windowWidth,
                                int windowHeight, Vec2f pan = Vec2f());

// The zoom levels, ascending: 1/64, ..., 1/2, 1, 2, ..., 64. Every n up to 16, then every fourth
// up to 32 and every eighth up to 64 (and their fractions 1/n): few enough for each to have its
// own place on the slider.
const std::vector<float>& zoomLevels();
// "3", "1/2": how the slider names each level, in the order of zoomLevels().
std::vector<std::string> zoomLevelNames();
// The index of the level nearest to level in log scale (so 1.5 goes to 2, 1/3 stays 1/3), held at
// the ends.
int nearestZoomLevel(float level);
// The index steps levels away from index (up when steps > 0), held at the ends.
int zoomStep(int index, int steps);
// When the result's factor changes from oldFactor to newFactor: the level, nearest in log scale,
// at which the new result shows as large as the old one did at level index.
int levelKeepingSize(int index, int oldFactor, int newFactor);

struct ZoomFit {
    int level;     // an index into zoomLevels()
    Vec2f centre;  // the middle of the part of the window the picture goes in
};

// The largest level at which a picture of size result pixels fits in the part of the window the
// panel leaves free (the panel covers panelSize at the top left): right of the panel or below it,
// whichever allows the larger level (the right on a tie). The smallest level when none fits.
ZoomFit fitBesidePanel(Vec2f size, Vec2f window, Vec2f panelSize);

// The pan after the scale changes, so that the picture's point under `point` (in window pixels)
// stays there, to the nearest whole pixel.
Vec2f panKeepingPoint(Vec2f pan, Vec2f point, Vec2f windowCentre, float scaleBefore, float scaleAfter);

}  // namespace app
}  // namespace loom
