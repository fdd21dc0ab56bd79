#include "framework/AppBasic.h"

#include <unistd.h>

#include <climits>
#include <utility>

#include "framework/sdl/AppImplSdlBasic.h"

namespace loom::framework {

namespace {
AppBasic* basicInstance = nullptr;
}

AppBasic::AppBasic(Timer::ClockSource clock) : App(std::move(clock)) {}

AppBasic::~AppBasic() {
    if (basicInstance == this) basicInstance = nullptr;
}

AppBasic* AppBasic::get() { return basicInstance; }

int AppBasic::executeLaunch(std::unique_ptr<AppBasic> app, RendererRef renderer,
                            const std::string& title, int argc, char* const argv[]) {
    basicInstance = app.get();
    int status = App::executeLaunch(app.get(), std::move(renderer), title, argc, argv);
    app.reset();
    basicInstance = nullptr;
    clearInstance();
    return status;
}

int AppBasic::launch(const std::string& title, int argc, char* const argv[]) {
    for (int i = 0; i < argc && argv; ++i) args_.emplace_back(argv[i]);
    settings_.title = title;
    prepareSettings(&settings_);
    if (settings_.shouldQuit) return 0;
    impl_ = std::make_unique<sdl::AppImplSdlBasic>(this);
    return impl_->run();
}

void AppBasic::quit() {
    if (impl_) impl_->quit();
}

int AppBasic::getWindowWidth() const { return impl_ ? impl_->getWidth() : settings_.windowWidth; }

int AppBasic::getWindowHeight() const { return impl_ ? impl_->getHeight() : settings_.windowHeight; }

void AppBasic::setWindowWidth(int width) {
    if (impl_) impl_->setWindowWidth(width);
}

void AppBasic::setWindowHeight(int height) {
    if (impl_) impl_->setWindowHeight(height);
}

void AppBasic::setWindowSize(int width, int height) {
    if (impl_) impl_->setWindowSize(width, height);
}

float AppBasic::getFrameRate() const { return impl_ ? impl_->getFrameRate() : settings_.frameRate; }

float AppBasic::setFrameRate(float frameRate) { return impl_ ? impl_->setFrameRate(frameRate) : -1.0f; }

bool AppBasic::isFullScreen() const { return impl_ ? impl_->isFullScreen() : settings_.fullScreen; }

void AppBasic::setFullScreen(bool fullScreen) {
    if (impl_ && fullScreen != isFullScreen()) impl_->toggleFullScreen();
}

void AppBasic::setTitle(const std::string& title) {
    if (impl_)
        impl_->setTitle(title);
    else
        settings_.title = title;
}

std::string AppBasic::getAppPath() const {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return std::string();
    std::string exe(path, size_t(length));
    size_t slash = exe.rfind('/');
    return slash == std::string::npos ? exe : exe.substr(0, slash + 1);
}

void AppBasic::privateTouchesBegan(const TouchEvent& event) {
    if (!touchesBeganCallbacks_.dispatch(event)) touchesBegan(event);
}

void AppBasic::privateTouchesMoved(const TouchEvent& event) {
    if (!touchesMovedCallbacks_.dispatch(event)) touchesMoved(event);
}

void AppBasic::privateTouchesEnded(const TouchEvent& event) {
    if (!touchesEndedCallbacks_.dispatch(event)) touchesEnded(event);
}

void AppBasic::privateSetActiveTouches(std::vector<TouchEvent::Touch> touches) {
    activeTouches_ = std::move(touches);
}

}  // namespace loom::framework
