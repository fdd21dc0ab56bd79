// The run against a real window: setup with a current context and a hidden window, the first resize
// before the window shows, the window as the settings ask, and closing it ends the run. The order
// of frames, shutdown and destruction is checked without a display (LifecycleTest.cpp).
#include <SDL.h>

#include <algorithm>

#include "GuiTestApp.h"
#include "framework/sdl/NativeWindowSdl.h"
#include "tools/XWindows.h"

using namespace loom;
using namespace loom::framework;
using namespace loom::guitest;
using namespace loom::testtools;

namespace {

struct RunRecord {
    std::vector<std::string> log;
    std::vector<double> updateTimes;
    bool hiddenAtSetup = false;
    bool contextAtSetup = false;
    bool hiddenAtFirstResize = false;
    int firstWidth = 0;
    int firstHeight = 0;
    std::string windowTitle;
    bool resizable = false;
    int antiAliasing = -1;
    int samples = -1;
    bool screenSaverAllowed = false;
    int windowX = -1;
    int windowY = -1;
};

class RunOrderApp : public GuiTestApp {
public:
    explicit RunOrderApp(RunRecord* record) : GuiTestApp("framework run order"), r_(record) {}
    ~RunOrderApp() override { r_->log.push_back("destroyed"); }

    void setup() override {
        r_->log.push_back("setup");
        SDL_Window* window = sdl::toSdlWindow(getRenderer()->getWindow());
        r_->hiddenAtSetup = (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) == 0;
        r_->contextAtSetup = SDL_GL_GetCurrentContext() != nullptr;
        r_->windowTitle = SDL_GetWindowTitle(window);
        r_->resizable = (SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE) != 0;
        r_->antiAliasing = static_cast<RendererGl&>(*getRenderer()).getAntiAliasing();
        SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &r_->samples);
        r_->screenSaverAllowed = SDL_IsScreenSaverEnabled();
        SDL_GetWindowPosition(window, &r_->windowX, &r_->windowY);
    }
    void resize(ResizeEvent event) override {
        if (std::count(r_->log.begin(), r_->log.end(), "resize") == 0) {
            r_->hiddenAtFirstResize = (SDL_GetWindowFlags(sdl::toSdlWindow(getRenderer()->getWindow())) &
                                       SDL_WINDOW_SHOWN) == 0;
            r_->firstWidth = event.getWidth();
            r_->firstHeight = event.getHeight();
        }
        r_->log.push_back("resize");
    }
    void update() override {
        r_->log.push_back("update");
        r_->updateTimes.push_back(getElapsedSeconds());
        GuiTestApp::update();
    }
    void draw() override { r_->log.push_back("draw"); }
    void shutdown() override { r_->log.push_back("shutdown"); }
    bool finished() override { return getElapsedFrames() >= 12; }

private:
    RunRecord* r_;
};

}  // namespace

TEST(RunOrder, SetupAndTheFirstResizeComeBeforeTheDefaultWindowShows) {
    RunRecord r;
    ASSERT_EQ(runGuiApp(std::make_unique<RunOrderApp>(&r), RendererGl::AA_MSAA_16), 0);

    ASSERT_GE(r.log.size(), 4u);
    EXPECT_EQ(r.log[0], "setup");
    EXPECT_EQ(r.log[1], "resize") << "the first resize follows setup";
    EXPECT_TRUE(r.contextAtSetup) << "setup runs with a current OpenGL context";
    EXPECT_TRUE(r.hiddenAtSetup) << "the window shows only after setup";
    EXPECT_TRUE(r.hiddenAtFirstResize) << "and after the first resize";
    EXPECT_EQ(r.firstWidth, 640);
    EXPECT_EQ(r.firstHeight, 480);
    EXPECT_EQ(r.windowTitle, "framework run order") << "the launcher's title";
    EXPECT_TRUE(r.resizable);
    EXPECT_TRUE(r.screenSaverAllowed) << "preventScreenSaver is off by default";

    // Centred on the main display, which comes first in the display list.
    const std::vector<DisplayRef>& displays = Display::getDisplays();
    ASSERT_FALSE(displays.empty());
    EXPECT_EQ(Display::getMainDisplay(), displays.front());
    const Display& main = *displays.front();
    EXPECT_GT(main.getBitsPerPixel(), 0);
    EXPECT_EQ(r.windowX, main.getArea().x1 + (main.getWidth() - 640) / 2);
    EXPECT_EQ(r.windowY, main.getArea().y1 + (main.getHeight() - 480) / 2);

    // Multisampling: the level granted is recorded, and the window really has those samples.
    EXPECT_GE(r.antiAliasing, RendererGl::AA_NONE);
    EXPECT_LE(r.antiAliasing, RendererGl::AA_MSAA_16);
    if (r.antiAliasing > 0) {
        EXPECT_GE(r.samples, RendererGl::samplesForLevel(r.antiAliasing));
    }
    std::printf("anti-aliasing level granted: %d (%d samples)\n", r.antiAliasing, r.samples);
}

TEST(RunOrder, AWindowThatCannotBeCreatedEndsTheRunWithAMessage) {
    std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    setenv("DISPLAY", ":4095", 1);  // no server there
    RunRecord r;
    testing::internal::CaptureStderr();
    int status = runGuiApp(std::make_unique<RunOrderApp>(&r), RendererGl::AA_NONE);
    std::string message = testing::internal::GetCapturedStderr();
    setenv("DISPLAY", display.c_str(), 1);

    EXPECT_NE(status, 0);
    EXPECT_NE(message.find("framework run order: cannot"), std::string::npos) << message;
    EXPECT_EQ(r.log, (std::vector<std::string>{"destroyed"})) << "no setup, no frame, no shutdown";
}

namespace {

class ClosedApp : public RunOrderApp {
public:
    using RunOrderApp::RunOrderApp;
    bool finished() override { return false; }  // only the close request ends it
};

}  // namespace

TEST(RunOrder, ClosingTheWindowEndsTheLoopAndShutsDownOnce) {
    RunRecord r;
    auto close = [] { ASSERT_TRUE(requestClose("framework run order")); };
    ASSERT_EQ(runGuiApp(std::make_unique<ClosedApp>(&r), RendererGl::AA_NONE, close), 0);
    size_t n = r.log.size();
    ASSERT_GE(n, 3u);
    EXPECT_EQ(r.log[n - 3], "draw");
    EXPECT_EQ(r.log[n - 2], "shutdown");
    EXPECT_EQ(r.log[n - 1], "destroyed");
    EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "shutdown"), 1);
    EXPECT_LT(r.updateTimes.back(), 10.0) << "closed, not timed out";
}
