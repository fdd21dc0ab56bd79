// Full screen under a window manager (on a private X server with openbox): the X window really
// covers the display, the application gets resizes to the display's size and back to the windowed
// size, and a texture made before the switch still draws the same texels after it.
#include <atomic>

#include "GuiTestApp.h"
#include "gl/DrawTexture.h"
#include "gl/Texture.h"
#include "tools/WaitUntil.h"
#include "tools/XServer.h"
#include "tools/XWindows.h"

using namespace loom;
using namespace loom::framework;
using namespace loom::guitest;
using namespace loom::testtools;

namespace {

using Rgb = std::array<int, 3>;
const Rgb TEXELS[4] = {{250, 10, 10}, {10, 250, 10}, {10, 10, 250}, {250, 250, 10}};

struct Shared {
    enum Phase { WINDOWED, FULL_REQUESTED, BACK_REQUESTED };
    std::atomic<int> phase{WINDOWED};
    std::atomic<bool> xSawFullScreen{false};
    std::atomic<bool> xSawWindowed{false};
};

struct Record {
    std::vector<Rgb> windowed, fullScreen, back;
    int fullWidth = 0, fullHeight = 0, backWidth = 0, backHeight = 0;
    bool reportedFullScreen = false;
    std::vector<std::pair<int, int>> resizes;
};

class FullScreenApp : public GuiTestApp {
public:
    FullScreenApp(Shared* shared, Record* record)
        : GuiTestApp("framework full screen"), s_(shared), r_(record) {}

    void setup() override {
        Surface surface(2, 2, false);
        for (int i = 0; i < 4; ++i)
            for (int c = 0; c < 3; ++c) surface.getData(i % 2, i / 2)[c] = uint8_t(TEXELS[i][c]);
        texture_ = gl::Texture(surface);
        texture_.setMagFilter(GL_NEAREST);
    }
    void resize(ResizeEvent e) override { r_->resizes.emplace_back(e.getWidth(), e.getHeight()); }

    void draw() override {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        gl::drawTexture(texture_, texture_.getBounds(), Rectf(10, 20, 50, 60));
        int w = getWindowWidth();
        int h = getWindowHeight();
        switch (s_->phase) {
            case Shared::WINDOWED:
                if (getElapsedFrames() < 3) break;
                r_->windowed = samples();
                s_->phase = Shared::FULL_REQUESTED;
                setFullScreen(true);
                break;
            case Shared::FULL_REQUESTED:
                if (!s_->xSawFullScreen || w != 1280 || h != 1024 || !r_->fullScreen.empty()) break;
                r_->fullScreen = samples();
                r_->fullWidth = w;
                r_->fullHeight = h;
                r_->reportedFullScreen = isFullScreen();
                s_->phase = Shared::BACK_REQUESTED;
                setFullScreen(false);
                break;
            case Shared::BACK_REQUESTED:
                if (!s_->xSawWindowed || w != 640 || h != 480) break;
                r_->back = samples();
                r_->backWidth = w;
                r_->backHeight = h;
                break;
        }
    }
    bool finished() override { return !r_->back.empty(); }

private:
    // The centres of the four texels as drawn at (10, 20) to (50, 60).
    std::vector<Rgb> samples() {
        std::vector<Rgb> out;
        Surface s = copyWindowSurface(Area(0, 0, 60, 60));
        for (int i = 0; i < 4; ++i) {
            const uint8_t* p = s.getData(20 + 20 * (i % 2), 30 + 20 * (i / 2));
            out.push_back({p[0], p[1], p[2]});
        }
        return out;
    }

    Shared* s_;
    Record* r_;
    gl::Texture texture_;
};

// True once the X window's size is width x height, as the X server sees it.
bool xWindowHasSize(const std::string& window, int width, int height) {
    return waitUntil([&] { return windowSize(window) == std::array<int, 2>{width, height}; });
}

}  // namespace

TEST(FullScreen, TogglingUnderAWindowManagerResizesAndKeepsTextures) {
    XServer server;
    server.startWindowManager();

    Shared shared;
    Record r;
    auto watchX = [&shared] {
        std::string w = waitForWindow("framework full screen");
        ASSERT_FALSE(w.empty());
        ASSERT_TRUE(waitUntil([&] { return shared.phase == Shared::FULL_REQUESTED; }));
        shared.xSawFullScreen = xWindowHasSize(w, 1280, 1024);
        ASSERT_TRUE(waitUntil([&] { return shared.phase == Shared::BACK_REQUESTED; }));
        shared.xSawWindowed = xWindowHasSize(w, 640, 480);
    };
    ASSERT_EQ(runGuiApp(std::make_unique<FullScreenApp>(&shared, &r), RendererGl::AA_NONE, watchX), 0);

    EXPECT_TRUE(shared.xSawFullScreen) << "the X window covered the 1280 x 1024 display";
    EXPECT_TRUE(shared.xSawWindowed) << "and came back to 640 x 480";
    std::vector<Rgb> expected(std::begin(TEXELS), std::end(TEXELS));
    EXPECT_EQ(r.windowed, expected);
    EXPECT_EQ(r.fullScreen, expected) << "the texture survived entering full screen";
    EXPECT_EQ(r.back, expected) << "and leaving it";
    EXPECT_TRUE(r.reportedFullScreen);
    EXPECT_EQ(r.fullWidth, 1280);
    EXPECT_EQ(r.backWidth, 640);
    EXPECT_EQ(r.backHeight, 480);
    ASSERT_FALSE(r.resizes.empty());
    EXPECT_EQ(r.resizes.front(), std::make_pair(640, 480));
    EXPECT_NE(std::find(r.resizes.begin(), r.resizes.end(), std::make_pair(1280, 1024)),
              r.resizes.end());
    EXPECT_EQ(r.resizes.back(), std::make_pair(640, 480));
}

namespace {

struct StartRecord {
    std::vector<std::pair<int, int>> resizes;
    bool fullScreenAtSetup = false;
};

class StartFullScreenApp : public GuiTestApp {
public:
    StartFullScreenApp(std::atomic<bool>* xSawFullScreen, StartRecord* record)
        : GuiTestApp("framework starts full screen"), xSaw_(xSawFullScreen), r_(record) {}
    void prepareSettings(Settings* settings) override { settings->fullScreen = true; }
    void setup() override { r_->fullScreenAtSetup = isFullScreen(); }
    void resize(ResizeEvent e) override { r_->resizes.emplace_back(e.getWidth(), e.getHeight()); }
    bool finished() override { return *xSaw_; }

private:
    std::atomic<bool>* xSaw_;
    StartRecord* r_;
};

}  // namespace

TEST(FullScreen, AFirstWindowInFullScreenGetsTheDisplaysSizeFromTheStart) {
    XServer server;
    server.startWindowManager();

    std::atomic<bool> xSawFullScreen{false};
    StartRecord r;
    auto watchX = [&xSawFullScreen] {
        std::string w = waitForWindow("framework starts full screen");
        ASSERT_FALSE(w.empty());
        xSawFullScreen = xWindowHasSize(w, 1280, 1024);
    };
    ASSERT_EQ(runGuiApp(std::make_unique<StartFullScreenApp>(&xSawFullScreen, &r), RendererGl::AA_NONE,
                        watchX),
              0);

    EXPECT_TRUE(xSawFullScreen);
    EXPECT_TRUE(r.fullScreenAtSetup);
    ASSERT_FALSE(r.resizes.empty());
    EXPECT_EQ(r.resizes.front(), std::make_pair(1280, 1024)) << "the first resize is full screen";
}
