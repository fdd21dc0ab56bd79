#include "app/view/ViewLayout.h"

#include <algorithm>
#include <cmath>

namespace loom {
namespace app {

namespace {

// 1, 2, ..., 16, 20, 24, 28, 32, 40, 48, 56, 64.
std::vector<int> wholeLevels() {
    std::vector<int> n;
    for (int i = 1; i <= 64; i += i < 16 ? 1 : (i < 32 ? 4 : 8)) n.push_back(i);
    return n;
}

// Whole screen pixels: the centred corner rounded down, then the pan.
float placedEdge(int window, float shown, float pan) {
    return std::floor((float(window) - shown) * 0.5f) + pan;
}

}  // namespace

UnwarpedPlacement placeUnwarped(float scale, int textureWidth, int textureHeight, int windowWidth,
                                int windowHeight, Vec2f pan) {
    return {scale, Vec2f(placedEdge(windowWidth, float(textureWidth) * scale, pan.x) / scale,
                         placedEdge(windowHeight, float(textureHeight) * scale, pan.y) / scale)};
}

const std::vector<float>& zoomLevels() {
    static const std::vector<float> levels = [] {
        const std::vector<int> whole = wholeLevels();
        std::vector<float> l;
        for (auto n = whole.rbegin(); n + 1 != whole.rend(); ++n) l.push_back(1.0f / float(*n));
        for (int n : whole) l.push_back(float(n));
        return l;
    }();
    return levels;
}

std::vector<std::string> zoomLevelNames() {
    std::vector<std::string> names;
    for (float level : zoomLevels())
        names.push_back(level < 1.0f ? "1/" + std::to_string(int(std::lround(1.0f / level)))
                                     : std::to_string(int(std::lround(level))));
    return names;
}

int nearestZoomLevel(float level) {
    const std::vector<float>& levels = zoomLevels();
    int nearest = 0;
    for (int i = 1; i < int(levels.size()); ++i)
        if (std::abs(std::log(levels[size_t(i)] / level)) <=
            std::abs(std::log(levels[size_t(nearest)] / level)))
            nearest = i;
    return nearest;
}

int zoomStep(int index, int steps) { return std::clamp(index + steps, 0, int(zoomLevels().size()) - 1); }

int levelKeepingSize(int index, int oldFactor, int newFactor) {
    return nearestZoomLevel(zoomLevels()[size_t(index)] * float(oldFactor) / float(newFactor));
}

ZoomFit fitBesidePanel(Vec2f size, Vec2f window, Vec2f panelSize) {
    const auto fitIn = [&](Vec2f free, Vec2f corner) {
        const std::vector<float>& levels = zoomLevels();
        int level = int(levels.size()) - 1;
        while (level > 0 &&
               (size.x * levels[size_t(level)] > free.x || size.y * levels[size_t(level)] > free.y))
            --level;
        return ZoomFit{level, corner + free * 0.5f};
    };
    const ZoomFit right = fitIn(Vec2f(window.x - panelSize.x, window.y), Vec2f(panelSize.x, 0.0f));
    const ZoomFit below = fitIn(Vec2f(window.x, window.y - panelSize.y), Vec2f(0.0f, panelSize.y));
    return below.level > right.level ? below : right;
}

Vec2f panKeepingPoint(Vec2f pan, Vec2f point, Vec2f windowCentre, float scaleBefore, float scaleAfter) {
    const Vec2f fromCentre = point - windowCentre;
    const Vec2f kept = fromCentre - (fromCentre - pan) * (scaleAfter / scaleBefore);
    return Vec2f(std::round(kept.x), std::round(kept.y));
}

}  // namespace app
}  // namespace loom
