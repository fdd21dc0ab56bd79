// Renderer: what the window needs from a drawing back end. It creates the window together with its
// drawing context (a GL context may require a particular window format, chosen before the window
// exists), begins and ends each frame, sets the default view on resize and reads pixels back.
#pragma once

#include <memory>
#include <string>

#include "framework/NativeWindow.h"
#include "image/Surface.h"
#include "math/Rect.h"

namespace loom::framework {

class App;

// Where and how the window is to be created; positions in virtual-screen pixels. Full screen is
// entered after creation, on the same window.
struct WindowRequest {
    std::string title;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool resizable = true;
};

class Renderer {
public:
    virtual ~Renderer() = default;

    // Creates the window (hidden) and the drawing context, current on return. Null on failure, with
    // the reason in getError(). Called once per run.
    virtual NativeWindow* setup(App* app, const WindowRequest& request) = 0;
    // Destroys the context; the window stays for its owner to destroy. Safe to call twice.
    virtual void kill() {}
    virtual NativeWindow* getWindow() const = 0;
    virtual const std::string& getError() const = 0;

    // The window's pixels inside area (window pixels, y down) as an RGB surface whose first row is
    // the area's top. Reads the buffer being drawn, so call it from draw() for this frame's pixels.
    virtual Surface copyWindowSurface(const Area& area) = 0;
    virtual void startDraw() {}
    virtual void finishDraw() {}
    // Viewport and matrices for the application's current window size.
    virtual void defaultResize() {}
};

using RendererRef = std::shared_ptr<Renderer>;

}  // namespace loom::framework
