#include "framework/sdl/AppImplSdlBasic.h"

#include <SDL_syswm.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "framework/AppBasic.h"
#include "framework/Display.h"
#include "framework/sdl/NativeWindowSdl.h"

namespace loom::framework::sdl {

AppImplSdlBasic::AppImplSdlBasic(AppBasic* app) : AppImplSdl(app), appBasic_(app) {}

AppImplSdlBasic::~AppImplSdlBasic() { closeWindow(); }

int AppImplSdlBasic::run() {
    AppBasic::Settings& settings = appBasic_->getSettings();
    std::string error;
    if (!isVideoReady()) {
        error = "cannot start the video system: " + getVideoError();
    } else {
        display_ = settings.display ? settings.display : Display::getMainDisplay().get();
        fullScreen_ = settings.fullScreen;
        frameRate_ = settings.frameRate;
        scheduler_ = FrameScheduler(frameRate_);
        int width = settings.windowWidth;
        int height = settings.windowHeight;
        if (!display_)
            error = "no display found";
        else if (fullScreen_)
            fullScreenSize(width, height);
        if (display_ && createWindow(width, height, error) && fullScreen_) switchFullScreen();
    }
    if (!window_) {
        std::fprintf(stderr, "%s: %s\n", settings.title.empty() ? "loom" : settings.title.c_str(),
                     error.c_str());
        return 1;
    }
    if (settings.preventScreenSaver)
        SDL_DisableScreenSaver();
    else
        SDL_EnableScreenSaver();

    appBasic_->privateSetup();
    windowReady_ = true;
    appBasic_->privateResize(ResizeEvent(width_, height_));
    showWindow();

    frameLoop();

    closeWindow();
    appBasic_->privateShutdown();
    return 0;
}

bool AppImplSdlBasic::createWindow(int width, int height, std::string& error) {
    const Area& area = display_->getArea();
    WindowRequest request;
    request.title = appBasic_->getSettings().title;
    request.width = width;
    request.height = height;
    // Centred on the chosen display, wherever that display sits in the virtual screen.
    request.x = area.x1 + (area.getWidth() - width) / 2;
    request.y = area.y1 + (area.getHeight() - height) / 2;
    request.resizable = appBasic_->getSettings().resizable;

    const RendererRef& renderer = appBasic_->getRenderer();
    if (!renderer) {
        error = "no renderer";
        return false;
    }
    window_.reset(toSdlWindow(renderer->setup(appBasic_, request)));
    if (!window_) {
        error = renderer->getError();
        return false;
    }
    width_ = width;
    height_ = height;
    SDL_GetWindowPosition(window_.get(), &windowX_, &windowY_);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_.get(), &info) && info.subsystem == SDL_SYSWM_X11)
        displayFd_ = ConnectionNumber(info.info.x11.display);
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
    SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);
    return true;
}

void AppImplSdlBasic::closeWindow() {
    if (!window_) return;
    if (const RendererRef& renderer = appBasic_->getRenderer()) renderer->kill();
    if (fullScreen_) SDL_SetWindowFullscreen(window_.get(), 0);
    window_.reset();
    windowReady_ = false;
    displayFd_ = -1;
}

void AppImplSdlBasic::showWindow() {
    SDL_ShowWindow(window_.get());
    SDL_RaiseWindow(window_.get());
    SDL_SetWindowInputFocus(window_.get());
}

void AppImplSdlBasic::fullScreenSize(int& width, int& height) const {
    const AppBasic::Settings& settings = appBasic_->getSettings();
    if (settings.fullScreenWidth < 1) {
        width = display_->getWidth();
        height = display_->getHeight();
    } else {
        width = settings.fullScreenWidth;
        height = settings.fullScreenHeight;
    }
}

void AppImplSdlBasic::switchFullScreen() {
    const AppBasic::Settings& settings = appBasic_->getSettings();
    if (!fullScreen_) {
        SDL_SetWindowFullscreen(window_.get(), 0);
    } else if (settings.fullScreenWidth < 1) {
        // The display's own size: no mode change needed.
        SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_DisplayMode wanted{SDL_PIXELFORMAT_RGB888, settings.fullScreenWidth,
                               settings.fullScreenHeight, 0, nullptr};
        SDL_DisplayMode mode;
        if (SDL_GetClosestDisplayMode(display_->getIndex(), &wanted, &mode))
            SDL_SetWindowDisplayMode(window_.get(), &mode);
        SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN);
    }
}

void AppImplSdlBasic::toggleFullScreen() {
    if (!window_) return;
    fullScreen_ = !fullScreen_;
    switchFullScreen();
    if (!fullScreen_) {
        // Back to the configured size, not to whatever size the window had before.
        const AppBasic::Settings& settings = appBasic_->getSettings();
        const Area& area = display_->getArea();
        SDL_SetWindowSize(window_.get(), settings.windowWidth, settings.windowHeight);
        SDL_SetWindowPosition(window_.get(), area.x1 + (area.getWidth() - settings.windowWidth) / 2,
                              area.y1 + (area.getHeight() - settings.windowHeight) / 2);
    }
    SDL_GetWindowSize(window_.get(), &width_, &height_);
    SDL_RaiseWindow(window_.get());
    appBasic_->privateResize(ResizeEvent(width_, height_));
}

void AppImplSdlBasic::setTitle(const std::string& title) {
    if (window_) SDL_SetWindowTitle(window_.get(), title.c_str());
}

void AppImplSdlBasic::setWindowSize(int width, int height) {
    if (window_) SDL_SetWindowSize(window_.get(), width, height);
}

void AppImplSdlBasic::frameLoop() {
    while (!quit_) {
        drainEvents();
        double now = appBasic_->getElapsedSeconds();
        if (scheduler_.isDue(now)) {
            scheduler_.startFrame(now);
            appBasic_->privateUpdate();
            const bool asked = appBasic_->privateTakeRedrawRequest();
            if (asked || !appBasic_->getSettings().redrawOnDemand) paint();
        } else {
            waitForEventOrFrame(scheduler_.secondsUntilDue(now));
        }
    }
}

void AppImplSdlBasic::waitForEventOrFrame(double seconds) {
    // Not SDL_WaitEventTimeout: SDL wakes that wait through a second X connection, and a wake-up
    // sent as the window closes can reach it after it is gone (BadWindow, which ends the process in
    // Xlib's default error handler). On X the loop sleeps on the server connection itself: the
    // last poll left Xlib's queue empty, so whatever arrives next makes the socket readable.
    if (displayFd_ >= 0) {
        pollfd display{displayFd_, POLLIN, 0};
        poll(&display, 1, int(std::ceil(seconds * 1000.0)));
        return;
    }
    // Elsewhere, short sleeps between polls keep input prompt at next to no cost.
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    SDL_Event event;
    while (std::chrono::steady_clock::now() < until) {
        if (SDL_PollEvent(&event)) return handleEvent(event);
        std::this_thread::sleep_for(
            std::min(std::chrono::duration<double>(until - std::chrono::steady_clock::now()),
                     std::chrono::duration<double>(0.001)));
    }
}

void AppImplSdlBasic::paint() {
    const RendererRef& renderer = appBasic_->getRenderer();
    renderer->startDraw();
    appBasic_->privateDraw();
    renderer->finishDraw();
}

}  // namespace loom::framework::sdl
