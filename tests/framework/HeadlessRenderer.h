// HeadlessRenderer: the framework's do-nothing back end, for whole runs without an X server. Under
// SDL's dummy video driver (which the constructor selects) it makes a window that shows nothing and
// has no drawing context, so setup, resizes, the frame loop and shutdown run as they do on screen.
#pragma once

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "framework/Renderer.h"
#include "framework/sdl/NativeWindowSdl.h"

namespace loom::testapps {

class HeadlessRenderer : public framework::Renderer {
public:
    HeadlessRenderer() { setenv("SDL_VIDEODRIVER", "dummy", 1); }

    framework::NativeWindow* setup(framework::App*, const framework::WindowRequest& request) override {
        const Uint32 flags = SDL_WINDOW_HIDDEN | (request.resizable ? SDL_WINDOW_RESIZABLE : 0);
        window_ = SDL_CreateWindow(request.title.c_str(), request.x, request.y, request.width,
                                   request.height, flags);
        if (!window_) error_ = SDL_GetError();
        return getWindow();
    }
    framework::NativeWindow* getWindow() const override {
        return framework::sdl::toNativeWindow(window_);
    }
    const std::string& getError() const override { return error_; }
    Surface copyWindowSurface(const Area&) override { return Surface(); }

private:
    SDL_Window* window_ = nullptr;  // owned by the framework, which destroys it
    std::string error_;
};

}  // namespace loom::testapps
