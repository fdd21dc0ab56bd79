// The one place where the framework's opaque NativeWindow meets SDL: a NativeWindow pointer is an
// SDL_Window pointer under the framework's name.
#pragma once

#include <SDL_video.h>

#include "framework/NativeWindow.h"

namespace loom::framework::sdl {

inline SDL_Window* toSdlWindow(NativeWindow* window) { return reinterpret_cast<SDL_Window*>(window); }

inline NativeWindow* toNativeWindow(SDL_Window* window) {
    return reinterpret_cast<NativeWindow*>(window);
}

}  // namespace loom::framework::sdl
