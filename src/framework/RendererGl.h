// RendererGl: the OpenGL renderer. It creates the window with the most multisampling the driver
// grants (16, 8, 6, 4, then 2 samples, then none), records the level granted, and sets the default
// view: one unit is one window pixel, the origin is the top-left corner, y grows downwards.
#pragma once

#include <memory>
#include <string>

#include "framework/Renderer.h"
#include "math/Matrix44.h"

namespace loom::framework::sdl {
class AppImplSdlRendererGl;
}

namespace loom::framework {

class RendererGl : public Renderer {
public:
    // Anti-aliasing levels and the sample counts they ask for.
    enum { AA_NONE = 0, AA_MSAA_2, AA_MSAA_4, AA_MSAA_6, AA_MSAA_8, AA_MSAA_16, AA_MSAA_32 };
    static int samplesForLevel(int level);

    // antiAliasing: the highest level to try; AA_NONE gives pixel-exact drawing (tests use it).
    explicit RendererGl(int antiAliasing = AA_MSAA_16);
    ~RendererGl() override;

    NativeWindow* setup(App* app, const WindowRequest& request) override;
    void kill() override;
    NativeWindow* getWindow() const override;
    const std::string& getError() const override;

    Surface copyWindowSurface(const Area& area) override;
    void startDraw() override;
    void finishDraw() override;
    void defaultResize() override;

    // The level granted when the window was created (0 when multisampling is off or refused).
    int getAntiAliasing() const { return antiAliasing_; }
    void setAntiAliasing(int level) { antiAliasing_ = level; }

    // The default view for a window of width x height: a perspective camera with a 60 degree
    // vertical field of view whose z = 0 plane shows exactly the window, flipped so y grows down.
    static Matrix44f windowProjection(int width, int height);
    static Matrix44f windowModelView(int width, int height);

private:
    App* app_ = nullptr;
    int antiAliasing_;
    std::unique_ptr<sdl::AppImplSdlRendererGl> impl_;
};

}  // namespace loom::framework
