#include "app/ViewLayout.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace loom {
namespace app {

namespace {

// 1/64, ..., 1/3, 1/2, 1, 2, 3, ..., 64.
const std::vector<float>& zoomLevels() {
    static const std::vector<float> levels = [] {
        std::vector<float> l;
        for (int n = 64; n >= 2; --n) l.push_back(1.0f / float(n));
        for (int n = 1; n <= 64; ++n) l.push_back(float(n));
        return l;
    }();
    return levels;
}

}  // namespace

UnwarpedPlacement placeUnwarped(float zoom, int sourceWidth, int textureWidth, int textureHeight,
                                int windowWidth, int windowHeight, Vec2f pan) {
    const float s = zoom * (float(sourceWidth) / float(textureWidth));
    const float least = std::min(1.0f, zoom);
    const float k = s > least ? s : least;
    return {k, Vec2f((float(windowWidth) / k - float(textureWidth)) * 0.5f + pan.x / k,
                     (float(windowHeight) / k - float(textureHeight)) * 0.5f + pan.y / k)};
}

float zoomStep(float zoom, int steps) {
    const std::vector<float>& levels = zoomLevels();
    const int last = int(levels.size()) - 1;
    // A zoom between levels (the slider's 3.4) steps to the nearest level in the step's direction.
    if (steps > 0) {
        const int above =
            int(std::upper_bound(levels.begin(), levels.end(), zoom * 1.0001f) - levels.begin());
        return levels[size_t(std::min(above + steps - 1, last))];
    }
    const int below =
        int(std::lower_bound(levels.begin(), levels.end(), zoom * 0.9999f) - levels.begin()) - 1;
    return levels[size_t(std::max(below + steps + 1, 0))];
}

float fittingZoom(const std::function<Vec2f(float zoom)>& shownSize, Vec2f window) {
    const std::vector<float>& levels = zoomLevels();
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
        const Vec2f size = shownSize(*level);
        if (size.x <= window.x && size.y <= window.y) return *level;
    }
    return levels.front();
}

Vec2f panKeepingPoint(Vec2f pan, Vec2f point, Vec2f windowCentre, float scaleBefore, float scaleAfter) {
    const Vec2f fromCentre = point - windowCentre;
    const Vec2f kept = fromCentre - (fromCentre - pan) * (scaleAfter / scaleBefore);
    return Vec2f(std::round(kept.x), std::round(kept.y));
}

}  // namespace app
}  // namespace loom
