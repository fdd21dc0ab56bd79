// The parameter panel's cost per frame with the application's sixteen controls, on the OpenGL of
// the display in DISPLAY (Mesa's software renderer under Xvfb). Each iteration draws the whole
// panel and waits for the renderer to finish, as a frame would.
#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "framework/App.h"
#include "gl/DrawString.h"
#include "gl/State.h"
#include "params/ParamPanel.h"

using namespace loom;

namespace {

// Only what the panel asks of an application: its window size and callback lists.
class WindowlessApp : public framework::App {
public:
    void quit() override {}
    Settings& getSettings() override { return settings_; }
    int getWindowWidth() const override { return 640; }
    void setWindowWidth(int) override {}
    int getWindowHeight() const override { return 480; }
    void setWindowHeight(int) override {}
    void setWindowSize(int, int) override {}
    float getFrameRate() const override { return 60.0f; }
    float setFrameRate(float rate) override { return rate; }
    bool isFullScreen() const override { return false; }
    void setFullScreen(bool) override {}
    std::string getAppPath() const override { return "/"; }

protected:
    int launch(const std::string&, int, char* const[]) override { return 0; }

private:
    Settings settings_;
};

class GlWindow {
public:
    GlWindow() {
        setenv("SDL_VIDEODRIVER", "x11", 0);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window_ = SDL_CreateWindow("bench_panel", 0, 0, 640, 480, SDL_WINDOW_OPENGL);
        if (window_) context_ = SDL_GL_CreateContext(window_);
        if (context_) ready_ = glewInit() == GLEW_OK;
    }
    ~GlWindow() {
        if (context_) SDL_GL_DeleteContext(context_);
        if (window_) SDL_DestroyWindow(window_);
        SDL_Quit();
    }
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;
    bool ready() const { return ready_; }

private:
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool ready_ = false;
};

struct ApplicationPanel {
    WindowlessApp app;
    params::ParamPanel panel{&app};
    float zoom = 0;
    int upscaler = 0;
    int transform = 0;

    ApplicationPanel() {
        panel.addLabel("View");
        panel.addFloatParam("Zoom", &zoom, 1, 10, 4);
        panel.addLabel("1. Upscaling");
        panel.addRadioGroup(
            {"None", "Scale2x", "Scale3x", "Scale4x", "Eagle2x", "Scale2xHQ", "Scale3xHQ", "Scale4xHQ"},
            &upscaler, 0);
        panel.addLabel("2. Transform");
        panel.addRadioGroup({"None", "Projective", "Bilinear"}, &transform, 0);
        panel.addLabel("Perf: 12 ms");
    }
};

void BM_PanelDraw(benchmark::State& state) {
    GlWindow window;
    if (!window.ready()) {
        state.SkipWithError("no OpenGL window (is DISPLAY set?)");
        return;
    }
    ApplicationPanel p;
    gl::clearWindow(ColorA(0.2f, 0.3f, 0.4f, 1));
    for (auto _ : state) {
        p.panel.draw();
        glFinish();
    }
    state.counters["controls"] = double(p.panel.getControls().size());
}
BENCHMARK(BM_PanelDraw)->Unit(benchmark::kMicrosecond);

// The same frame with every caption rasterised and uploaded anew, as drawString does: controls
// without an owner draw their captions uncached.
void BM_PanelDrawUncached(benchmark::State& state) {
    GlWindow window;
    if (!window.ready()) {
        state.SkipWithError("no OpenGL window (is DISPLAY set?)");
        return;
    }
    ApplicationPanel p;
    for (const auto& control : p.panel.getControls()) control->setOwner(nullptr);
    gl::clearWindow(ColorA(0.2f, 0.3f, 0.4f, 1));
    for (auto _ : state) {
        p.panel.draw();
        glFinish();
    }
}
BENCHMARK(BM_PanelDrawUncached)->Unit(benchmark::kMicrosecond);

// One caption without the panel's cache, for comparison: rasterise, upload, draw.
void BM_DrawOneCaption(benchmark::State& state) {
    GlWindow window;
    if (!window.ready()) {
        state.SkipWithError("no OpenGL window (is DISPLAY set?)");
        return;
    }
    ApplicationPanel p;
    gl::enableAlphaBlending(false);
    for (auto _ : state) {
        gl::drawString("Scale2xHQ", Vec2f(23, 71), ColorA(1, 1, 1, 1), params::ParamPanel::getFont());
        glFinish();
    }
}
BENCHMARK(BM_DrawOneCaption)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
