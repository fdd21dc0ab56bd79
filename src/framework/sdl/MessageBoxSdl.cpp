#include <SDL.h>

#include "framework/MessageBox.h"

namespace loom::framework {

bool showErrorMessageBox(SDL_Window* parent, const std::string& title, const std::string& message,
                         std::string* errorText) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), parent) == 0)
        return true;
    if (errorText) *errorText = SDL_GetError();
    return false;
}

}  // namespace loom::framework
