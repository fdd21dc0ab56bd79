// App: the application base class. The framework calls its hooks (setup, update, draw, the input
// hooks, shutdown) on the one main thread. Other objects (the parameter panel, for one) register
// callbacks that see each event before the hook does: callbacks run in registration order, the
// first that returns true consumes the event, and the hook runs only when none did.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "framework/CallbackList.h"
#include "framework/FileDropEvent.h"
#include "framework/KeyEvent.h"
#include "framework/MouseEvent.h"
#include "framework/Renderer.h"
#include "framework/ResizeEvent.h"
#include "framework/Timer.h"

namespace loom::framework {

class App {
public:
    class Settings {
    public:
        virtual ~Settings() = default;

        // Set by prepareSettings to end the program before any window exists.
        bool shouldQuit = false;
        // Client size of the window, and the size it returns to when leaving full screen.
        int windowWidth = 640;
        int windowHeight = 480;
        bool fullScreen = false;
        float frameRate = 60.0f;
        bool resizable = true;
        bool preventScreenSaver = false;
        // Draw a frame only when something changed: after an event, a resize, or requestRedraw().
        // update() keeps its rate either way. Off, every frame is drawn (for animation).
        bool redrawOnDemand = false;
        // UTF-8; launch sets it to the launcher's title.
        std::string title;
    };

    // clock: where the application clock reads its time (tests pass a fake one).
    explicit App(Timer::ClockSource clock = Timer::steadyClockSeconds);
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The single application instance; null before launch and after the run ends.
    static App* get();

    virtual void setup() {}
    virtual void shutdown() {}
    virtual void update() {}
    virtual void draw() {}
    virtual void mouseDown(MouseEvent) {}
    virtual void mouseUp(MouseEvent) {}
    virtual void mouseWheel(MouseEvent) {}
    virtual void mouseMove(MouseEvent) {}
    virtual void mouseDrag(MouseEvent) {}
    virtual void keyDown(KeyEvent) {}
    virtual void keyUp(KeyEvent) {}
    virtual void resize(ResizeEvent) {}
    virtual void fileDrop(FileDropEvent) {}

    // Ends the frame loop after its current pass.
    virtual void quit() = 0;
    virtual Settings& getSettings() = 0;
    virtual int getWindowWidth() const = 0;
    virtual void setWindowWidth(int width) = 0;
    virtual int getWindowHeight() const = 0;
    virtual void setWindowHeight(int height) = 0;
    virtual void setWindowSize(int width, int height) = 0;
    // The frame loop's target rate.
    virtual float getFrameRate() const = 0;
    virtual float setFrameRate(float frameRate) = 0;
    virtual bool isFullScreen() const = 0;
    virtual void setFullScreen(bool fullScreen) = 0;
    // Directory of the executable, ending with '/'.
    virtual std::string getAppPath() const = 0;

    // Registration: each returns the new entry's id. The member-function forms bind obj.
    template <typename T>
    CallbackId registerMouseDown(T* obj, bool (T::*fn)(MouseEvent)) {
        return registerMouseDown(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerMouseUp(T* obj, bool (T::*fn)(MouseEvent)) {
        return registerMouseUp(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerMouseWheel(T* obj, bool (T::*fn)(MouseEvent)) {
        return registerMouseWheel(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerMouseMove(T* obj, bool (T::*fn)(MouseEvent)) {
        return registerMouseMove(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerMouseDrag(T* obj, bool (T::*fn)(MouseEvent)) {
        return registerMouseDrag(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerKeyDown(T* obj, bool (T::*fn)(KeyEvent)) {
        return registerKeyDown(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerKeyUp(T* obj, bool (T::*fn)(KeyEvent)) {
        return registerKeyUp(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerResize(T* obj, bool (T::*fn)(ResizeEvent)) {
        return registerResize(bind(obj, fn));
    }
    template <typename T>
    CallbackId registerFileDrop(T* obj, bool (T::*fn)(FileDropEvent)) {
        return registerFileDrop(bind(obj, fn));
    }

    CallbackId registerMouseDown(std::function<bool(MouseEvent)> fn) {
        return mouseDownCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerMouseUp(std::function<bool(MouseEvent)> fn) {
        return mouseUpCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerMouseWheel(std::function<bool(MouseEvent)> fn) {
        return mouseWheelCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerMouseMove(std::function<bool(MouseEvent)> fn) {
        return mouseMoveCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerMouseDrag(std::function<bool(MouseEvent)> fn) {
        return mouseDragCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerKeyDown(std::function<bool(KeyEvent)> fn) {
        return keyDownCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerKeyUp(std::function<bool(KeyEvent)> fn) {
        return keyUpCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerResize(std::function<bool(ResizeEvent)> fn) {
        return resizeCallbacks_.registerCallback(std::move(fn));
    }
    CallbackId registerFileDrop(std::function<bool(FileDropEvent)> fn) {
        return fileDropCallbacks_.registerCallback(std::move(fn));
    }

    // Asks for the next frame to be drawn, for a change no event shows (work finished, a file
    // changed on disk). Events and resizes ask by themselves.
    void requestRedraw() { redrawRequested_ = true; }

    double getElapsedSeconds() const { return timer_.getSeconds(); }
    uint32_t getElapsedFrames() const { return frameCount_; }
    // Frames per second measured over the last sample interval (about one second); 0 until then.
    float getAverageFps() const { return averageFps_; }
    const RendererRef& getRenderer() const { return renderer_; }
    // The window's pixels inside area, first row at the top (see Renderer::copyWindowSurface).
    Surface copyWindowSurface(const Area& area) { return renderer_->copyWindowSurface(area); }
    // The whole window.
    Surface copyWindowSurface() {
        return copyWindowSurface(Area(0, 0, getWindowWidth(), getWindowHeight()));
    }

    // Called by the platform layer.
    virtual void privateSetup() { setup(); }
    // Default view for the new size first, then the resize callbacks and hook.
    virtual void privateResize(ResizeEvent event);
    // update(), then the frame count and, about once per second, the average frame rate.
    virtual void privateUpdate();
    virtual void privateDraw() { draw(); }
    // Whether a redraw was asked for since the last call; asking again clears it.
    bool privateTakeRedrawRequest();
    virtual void privateShutdown() { shutdown(); }
    // Each dispatcher offers the event to the callbacks, then to the hook if none consumed it.
    void privateMouseDown(const MouseEvent& event);
    void privateMouseUp(const MouseEvent& event);
    void privateMouseWheel(const MouseEvent& event);
    void privateMouseMove(const MouseEvent& event);
    void privateMouseDrag(const MouseEvent& event);
    void privateKeyDown(const KeyEvent& event);
    void privateKeyUp(const KeyEvent& event);
    void privateFileDrop(const FileDropEvent& event);

protected:
    // Records app as the instance and hands it the renderer, then runs launch(). Returns the
    // program's exit status.
    static int executeLaunch(App* app, RendererRef renderer, const std::string& title, int argc,
                             char* const argv[]);
    // Runs the whole program for this application; returns the exit status (non-zero when the
    // window could not be created).
    virtual int launch(const std::string& title, int argc, char* const argv[]) = 0;
    static void clearInstance();

    template <typename T, typename E>
    static std::function<bool(E)> bind(T* obj, bool (T::*fn)(E)) {
        return [obj, fn](E event) { return (obj->*fn)(std::move(event)); };
    }

private:
    Timer timer_;
    uint32_t frameCount_ = 0;
    float averageFps_ = 0.0f;
    uint32_t framesAtLastSample_ = 0;
    double lastSampleTime_ = 0.0;
    double sampleInterval_ = 1.0;
    RendererRef renderer_;
    bool redrawRequested_ = true;  // the first frame is always drawn
    CallbackList<MouseEvent> mouseDownCallbacks_;
    CallbackList<MouseEvent> mouseUpCallbacks_;
    CallbackList<MouseEvent> mouseWheelCallbacks_;
    CallbackList<MouseEvent> mouseMoveCallbacks_;
    CallbackList<MouseEvent> mouseDragCallbacks_;
    CallbackList<KeyEvent> keyDownCallbacks_;
    CallbackList<KeyEvent> keyUpCallbacks_;
    CallbackList<ResizeEvent> resizeCallbacks_;
    CallbackList<FileDropEvent> fileDropCallbacks_;
};

}  // namespace loom::framework
