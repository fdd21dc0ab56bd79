// AppBasic: the application class to derive from. It owns the settings, the command-line arguments,
// the touch callbacks and the platform half that runs the window. A program's entry point is
//
//     int main(int argc, char* argv[]) {
//         return loom::framework::AppBasic::executeLaunch(
//             std::make_unique<MyApp>(), std::make_shared<loom::framework::RendererGl>(), "MyApp",
//             argc, argv);
//     }
//
// Run order: prepareSettings, window creation, setup, the first resize, the window shown, the frame
// loop (update then draw, at most frameRate times a second; with redrawOnDemand, draw only when
// something changed), the window closed, shutdown, and the application destroyed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/App.h"
#include "framework/Display.h"
#include "framework/TouchEvent.h"

namespace loom::framework::sdl {
class AppImplSdlBasic;
}

namespace loom::framework {

class AppBasic : public App {
public:
    class Settings : public App::Settings {
    public:
        // Registers the window for touch input.
        bool enableMultiTouch = false;
        // Full-screen size; a width below 1 means the display's own size.
        int fullScreenWidth = 0;
        int fullScreenHeight = 0;
        // The display to centre the window on; null means the main display, looked up when the
        // window is created (so that settings can be made where no display exists).
        Display* display = nullptr;
    };

    explicit AppBasic(Timer::ClockSource clock = Timer::steadyClockSeconds);
    ~AppBasic() override;

    // The single AppBasic instance; null before launch and after the run ends.
    static AppBasic* get();

    // Runs the program: stores the UTF-8 arguments, lets the application adjust its settings, then
    // (unless shouldQuit was set) creates the window and runs the frame loop until the window
    // closes. The application is destroyed before this returns. Returns the exit status: 0, or 1
    // when the window or its drawing context could not be created (the reason goes to stderr).
    static int executeLaunch(std::unique_ptr<AppBasic> app, RendererRef renderer,
                             const std::string& title, int argc, char* const argv[]);

    virtual void prepareSettings(Settings*) {}
    virtual void touchesBegan(TouchEvent) {}
    virtual void touchesMoved(TouchEvent) {}
    virtual void touchesEnded(TouchEvent) {}

    template <typename T>
    CallbackId registerTouchesBegan(T* obj, bool (T::*fn)(TouchEvent)) {
        return registerTouchesBegan(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerTouchesMoved(T* obj, bool (T::*fn)(TouchEvent)) {
        return registerTouchesMoved(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerTouchesEnded(T* obj, bool (T::*fn)(TouchEvent)) {
        return registerTouchesEnded(bind(obj, fn));
    }
    CallbackId registerTouchesBegan(std::function<bool(TouchEvent)> fn) {
        return touchesBeganCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerTouchesMoved(std::function<bool(TouchEvent)> fn) {
        return touchesMovedCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerTouchesEnded(std::function<bool(TouchEvent)> fn) {
        return touchesEndedCallbacks_.registerCallback(std::move(fn));
    }

    void quit() override;
    Settings& getSettings() override { return settings_; }
    int getWindowWidth() const override;
    void setWindowWidth(int width) override;
    int getWindowHeight() const override;
    void setWindowHeight(int height) override;
    void setWindowSize(int width, int height) override;
    float getFrameRate() const override;
    float setFrameRate(float frameRate) override;
    bool isFullScreen() const override;
    void setFullScreen(bool fullScreen) override;
    std::string getAppPath() const override;
    // The window's title (UTF-8) from now on; before the window exists, the one it opens with.
    void setTitle(const std::string& title);

    // The arguments as given on the command line (UTF-8); the first is the program.
    const std::vector<std::string>& getArgs() const { return args_; }
    // Every contact currently down, with its latest position.
    const std::vector<TouchEvent::Touch>& getActiveTouches() const { return activeTouches_; }

    // Called by the platform layer.
    void privateTouchesBegan(const TouchEvent& event);
    void privateTouchesMoved(const TouchEvent& event);
    void privateTouchesEnded(const TouchEvent& event);
    void privateSetActiveTouches(std::vector<TouchEvent::Touch> touches);

protected:
    int launch(const std::string& title, int argc, char* const argv[]) override;

private:
    CallbackList<TouchEvent> touchesBeganCallbacks_;
    CallbackList<TouchEvent> touchesMovedCallbacks_;
    CallbackList<TouchEvent> touchesEndedCallbacks_;
    std::unique_ptr<sdl::AppImplSdlBasic> impl_;
    std::vector<std::string> args_;
    std::vector<TouchEvent::Touch> activeTouches_;
    Settings settings_;
};

}  // namespace loom::framework
