#include <SDL.h>

#include "framework/MessageBox.h"
#include "framework/sdl/NativeWindowSdl.h"

namespace loom::framework {

bool showErrorMessageBox(NativeWindow* parent, const std::string& title, const std::string& message,
                         std::string* errorText) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(),
                                 sdl::toSdlWindow(parent)) == 0)
        return true;
    if (errorText) *errorText = SDL_GetError();
    return false;
}

}  // namespace loom::framework
