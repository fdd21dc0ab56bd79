#include "framework/App.h"

#include <utility>

namespace loom::framework {

namespace {
App* appInstance = nullptr;
}

App::App(Timer::ClockSource clock) : timer_(true, std::move(clock)) {}

App::~App() {
    if (appInstance == this) appInstance = nullptr;
}

App* App::get() { return appInstance; }

void App::clearInstance() { appInstance = nullptr; }

int App::executeLaunch(App* app, RendererRef renderer, const std::string& title, int argc,
                       char* const argv[]) {
    appInstance = app;
    app->renderer_ = std::move(renderer);
    return app->launch(title, argc, argv);
}

void App::privateResize(ResizeEvent event) {
    requestRedraw();
    if (renderer_) renderer_->defaultResize();
    if (!resizeCallbacks_.dispatch(event)) resize(event);
}

void App::privateUpdate() {
    update();
    ++frameCount_;
    double now = timer_.getSeconds();
    if (now > lastSampleTime_ + sampleInterval_) {
        averageFps_ = float(double(frameCount_ - framesAtLastSample_) / (now - lastSampleTime_));
        framesAtLastSample_ = frameCount_;
        lastSampleTime_ = now;
    }
}

bool App::privateTakeRedrawRequest() {
    const bool requested = redrawRequested_;
    redrawRequested_ = false;
    return requested;
}

void App::privateMouseDown(const MouseEvent& event) {
    if (!mouseDownCallbacks_.dispatch(event)) mouseDown(event);
}

void App::privateMouseUp(const MouseEvent& event) {
    if (!mouseUpCallbacks_.dispatch(event)) mouseUp(event);
}

void App::privateMouseWheel(const MouseEvent& event) {
    if (!mouseWheelCallbacks_.dispatch(event)) mouseWheel(event);
}

void App::privateMouseMove(const MouseEvent& event) {
    if (!mouseMoveCallbacks_.dispatch(event)) mouseMove(event);
}

void App::privateMouseDrag(const MouseEvent& event) {
    if (!mouseDragCallbacks_.dispatch(event)) mouseDrag(event);
}

void App::privateKeyDown(const KeyEvent& event) {
    if (!keyDownCallbacks_.dispatch(event)) keyDown(event);
}

void App::privateKeyUp(const KeyEvent& event) {
    if (!keyUpCallbacks_.dispatch(event)) keyUp(event);
}

void App::privateFileDrop(const FileDropEvent& event) {
    if (!fileDropCallbacks_.dispatch(event)) fileDrop(event);
}

}  // namespace loom::framework
