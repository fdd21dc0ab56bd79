// AppImplSdlRendererGl: the SDL2 side of RendererGl. It creates the window with an OpenGL
// compatibility context, asking for multisampling from the renderer's level downwards. A sample
// count the driver cannot give makes SDL_CreateWindow itself fail (no matching visual), so each
// level retries the window's creation; the level that worked is written back into the renderer.
#pragma once

#include <SDL.h>

#include <string>

#include "framework/Renderer.h"
#include "framework/sdl/NativeWindowSdl.h"

namespace loom::framework {
class RendererGl;
}

namespace loom::framework::sdl {

class AppImplSdlRendererGl {
public:
    explicit AppImplSdlRendererGl(RendererGl* renderer);
    ~AppImplSdlRendererGl();
    AppImplSdlRendererGl(const AppImplSdlRendererGl&) = delete;
    AppImplSdlRendererGl& operator=(const AppImplSdlRendererGl&) = delete;

    // The new window (hidden, context current, GL entry points loaded), or null with error() set.
    // The caller owns a window it receives and destroys it after kill().
    NativeWindow* initialize(const WindowRequest& request);
    void kill();
    void makeCurrentContext();
    void swapBuffers();

    NativeWindow* getWindow() const { return toNativeWindow(window_); }
    const std::string& getError() const { return error_; }

private:
    SDL_Window* createWindow(const WindowRequest& request, int samples);
    // After a failure past the window's creation: the caller never receives that window.
    void discardWindow();

    RendererGl* renderer_;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    std::string error_;
};

}  // namespace loom::framework::sdl
