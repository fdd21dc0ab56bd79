#include "framework/sdl/AppImplSdlRendererGl.h"

#include <GL/glew.h>

#include "framework/RendererGl.h"

namespace loom::framework::sdl {

AppImplSdlRendererGl::AppImplSdlRendererGl(RendererGl* renderer) : renderer_(renderer) {}

AppImplSdlRendererGl::~AppImplSdlRendererGl() { kill(); }

SDL_Window* AppImplSdlRendererGl::createWindow(const WindowRequest& request, int samples) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (request.resizable) flags |= SDL_WINDOW_RESIZABLE;
    return SDL_CreateWindow(request.title.c_str(), request.x, request.y, request.width, request.height,
                            flags);
}

NativeWindow* AppImplSdlRendererGl::initialize(const WindowRequest& request) {
    kill();
    error_.clear();
    // From the renderer's level down to 1, then without multisampling.
    int level = renderer_->getAntiAliasing();
    for (; level > 0 && !window_; --level)
        window_ = createWindow(request, RendererGl::samplesForLevel(level));
    if (window_) {
        ++level;  // the loop stepped past the level that worked
    } else {
        level = 0;
        window_ = createWindow(request, 0);
    }
    if (!window_) {
        error_ = std::string("cannot create the window: ") + SDL_GetError();
        return nullptr;
    }
    renderer_->setAntiAliasing(level);

    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
        error_ = std::string("cannot create the OpenGL context: ") + SDL_GetError();
        discardWindow();
        return nullptr;
    }
    glewExperimental = GL_TRUE;
    GLenum glew = glewInit();
    if (glew != GLEW_OK) {
        error_ = std::string("cannot load the OpenGL functions: ") +
                 reinterpret_cast<const char*>(glewGetErrorString(glew));
        discardWindow();
        return nullptr;
    }
    return toNativeWindow(window_);
}

void AppImplSdlRendererGl::kill() {
    if (context_) {
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
}

void AppImplSdlRendererGl::discardWindow() {
    kill();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void AppImplSdlRendererGl::makeCurrentContext() {
    if (context_) SDL_GL_MakeCurrent(window_, context_);
}

void AppImplSdlRendererGl::swapBuffers() {
    if (context_) SDL_GL_SwapWindow(window_);
}

}  // namespace loom::framework::sdl
