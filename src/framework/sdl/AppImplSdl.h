// AppImplSdl: the platform half of an application, on SDL2: SDL's video subsystem for the life of
// the object, the client size, the full-screen flag, the window position and the frame rate.
#pragma once

#include <string>

#include "math/Vec2.h"

namespace loom::framework {
class App;
}

namespace loom::framework::sdl {

class AppImplSdl {
public:
    // Starts SDL's video subsystem; isVideoReady() says whether that worked.
    explicit AppImplSdl(App* app);
    virtual ~AppImplSdl();
    AppImplSdl(const AppImplSdl&) = delete;
    AppImplSdl& operator=(const AppImplSdl&) = delete;

    virtual void setWindowWidth(int) {}
    virtual void setWindowHeight(int) {}
    virtual void setWindowSize(int, int) {}
    virtual float setFrameRate(float) { return -1.0f; }
    virtual void toggleFullScreen() {}
    // The pointer's position relative to the window, from the pointer's screen position.
    virtual Vec2f getMousePos() const;
    virtual void quit() = 0;
    virtual void windowMoved(int x, int y);

    int getWidth() const { return width_; }
    int getHeight() const { return height_; }
    float getFrameRate() const { return frameRate_; }
    bool isFullScreen() const { return fullScreen_; }

protected:
    bool isVideoReady() const { return videoReady_; }
    // Why SDL's video could not start.
    const std::string& getVideoError() const { return videoError_; }

    App* app_;
    int width_ = 0;
    int height_ = 0;
    bool fullScreen_ = false;
    int windowX_ = 0;
    int windowY_ = 0;
    float frameRate_ = 0.0f;

private:
    bool videoReady_ = false;
    std::string videoError_;
};

}  // namespace loom::framework::sdl
