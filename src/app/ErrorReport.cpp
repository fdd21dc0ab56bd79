#include "app/ErrorReport.h"

#include <SDL.h>

#include <iostream>
#include <new>

namespace loom {
namespace app {

void reportError(SDL_Window* parent, const std::string& title, const std::string& message) {
    std::cerr << "QuennetApp: " << title << ": " << message << std::endl;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), parent) != 0)
        std::cerr << "QuennetApp: (the message box could not be shown: " << SDL_GetError() << ")"
                  << std::endl;
}

std::string describeFailure(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "not enough memory";
    const std::string what = e.what();
    return what.empty() ? "unknown error" : what;
}

}  // namespace app
}  // namespace loom
