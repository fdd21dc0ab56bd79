#include "framework/sdl/AppImplSdl.h"

#include <SDL.h>

namespace loom::framework::sdl {

AppImplSdl::AppImplSdl(App* app) : app_(app) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        videoReady_ = true;
    else
        videoError_ = SDL_GetError();
}

AppImplSdl::~AppImplSdl() {
    if (videoReady_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

Vec2f AppImplSdl::getMousePos() const {
    int x = 0;
    int y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return Vec2f(float(x - windowX_), float(y - windowY_));
}

void AppImplSdl::windowMoved(int x, int y) {
    windowX_ = x;
    windowY_ = y;
}

}  // namespace loom::framework::sdl
