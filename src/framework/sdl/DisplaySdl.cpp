// The display list from SDL. SDL's display 0 is the primary one on every back end we run on.
#include <SDL.h>

#include "framework/Display.h"

namespace loom::framework {

namespace {

std::vector<DisplayRef> readDisplays() {
    std::vector<DisplayRef> displays;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return displays;
    int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        int bits = 0;
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(i, &mode) == 0) bits = int(SDL_BITSPERPIXEL(mode.format));
        displays.push_back(std::make_shared<Display>(
            Area(bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h), bits, i));
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return displays;
}

}  // namespace

const std::vector<DisplayRef>& Display::getDisplays() {
    // Read once and kept; an empty answer (no display reachable yet) is not kept.
    static std::vector<DisplayRef> displays;
    if (displays.empty()) displays = readDisplays();
    return displays;
}

DisplayRef Display::getMainDisplay() {
    const auto& displays = getDisplays();
    return displays.empty() ? DisplayRef() : displays.front();
}

}  // namespace loom::framework
