// AppImplSdlBasic: the window of an AppBasic and its frame loop. It creates the window through the
// renderer, centred on the chosen display, runs setup, the first resize and the loop, translates
// SDL events into the framework's events, switches full screen on the same window and context, and
// closes everything down in order.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/FrameScheduler.h"
#include "framework/TouchTracker.h"
#include "framework/sdl/AppImplSdl.h"

namespace loom::framework {
class AppBasic;
class Display;
}  // namespace loom::framework

namespace loom::framework::sdl {

class AppImplSdlBasic : public AppImplSdl {
public:
    explicit AppImplSdlBasic(AppBasic* app);
    ~AppImplSdlBasic() override;

    // The whole run: window, setup, first resize, frame loop, close, shutdown. Returns 0, or 1 when
    // the window or its context could not be created (the reason is written to stderr, and neither
    // setup nor shutdown runs).
    int run();

    void quit() override { quit_ = true; }
    void toggleFullScreen() override;
    void setWindowWidth(int width) override { setWindowSize(width, height_); }
    void setWindowHeight(int height) override { setWindowSize(width_, height); }
    void setWindowSize(int width, int height) override;
    void setTitle(const std::string& title);
    // The loop keeps the rate it started with; returns the argument.
    float setFrameRate(float frameRate) override { return frameRate; }

private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    };

    bool createWindow(int width, int height, std::string& error);
    void closeWindow();
    void showWindow();
    // The full-screen size: the settings', or the display's own when they give none.
    void fullScreenSize(int& width, int& height) const;
    // Puts the window into the mode fullScreen_ names; works on a hidden window too.
    void switchFullScreen();
    void frameLoop();
    // Returns when input may be waiting or the time has passed, whichever comes first.
    void waitForEventOrFrame(double seconds);
    void paint();

    // Input translation (AppImplSdlBasicInput.cpp).
    void drainEvents();
    void handleEvent(const SDL_Event& event);
    void handleWindowEvent(const SDL_WindowEvent& event);
    void handleMouseButton(const SDL_MouseButtonEvent& event);
    void handleMouseMotion(const SDL_MouseMotionEvent& event);
    void handleMouseWheel(const SDL_MouseWheelEvent& event);
    void handleKey(const SDL_KeyboardEvent& event);
    void handleDrop(const SDL_DropEvent& event);
    void queueTouch(const SDL_TouchFingerEvent& event);
    void flushTouches();
    void releaseButtonOnFocusLoss();

    AppBasic* appBasic_;
    bool quit_ = false;
    bool buttonHeld_ = false;
    bool windowReady_ = false;
    std::unique_ptr<SDL_Window, WindowDeleter> window_;
    // The X server connection's socket, for sleeping until input arrives; -1 off X.
    int displayFd_ = -1;
    FrameScheduler scheduler_{0.0f};
    Display* display_ = nullptr;
    // SDL's button mask as the events so far leave it.
    uint32_t buttons_ = 0;
    bool dropping_ = false;
    std::vector<std::string> droppedFiles_;
    TouchTracker touchTracker_;
    std::vector<SDL_TouchFingerEvent> pendingTouches_;
};

}  // namespace loom::framework::sdl
