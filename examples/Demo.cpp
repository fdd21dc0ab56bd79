// loom_demo: opens the framework's window and draws a checkerboard texture (drag it with the left
// button), a few shapes, a turning line and the measured frame rate. "f" toggles full screen,
// Escape quits, dropped files are listed on stdout. The parameter panel at the top left sizes and
// colours the circle; clicks on it do not move the texture.
#include <cmath>
#include <cstdio>
#include <memory>

#include "DigitDisplay.h"
#include "framework/AppBasic.h"
#include "framework/KeyCodes.h"
#include "framework/RendererGl.h"
#include "gl/Draw.h"
#include "params/ParamPanel.h"

using namespace loom;
using namespace loom::framework;

namespace {

Surface makeCheckerboard(int size, int cell) {
    Surface surface(size, size, true);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            bool dark = ((x / cell) + (y / cell)) % 2 == 0;
            uint8_t* p = surface.getData(x, y);
            p[0] = dark ? 40 : 230;
            p[1] = dark ? 90 : 200;
            p[2] = dark ? 160 : 60;
            p[3] = 255;
        }
    return surface;
}

class DemoApp : public AppBasic {
public:
    void setup() override {
        texture_ = gl::Texture(makeCheckerboard(16, 4));
        texture_.setMagFilter(GL_NEAREST);

        panel_ = std::make_unique<params::ParamPanel>(this);
        panel_->addLabel("Demo panel");
        panel_->addFloatParam("Circle size", &circleRadius_, 20.0f, 120.0f, 60.0f);
        panel_->addLabel("Circle colour");
        panel_->addBoolParam("Red", &circleColour_[0], true, 1);
        panel_->addBoolParam("Green", &circleColour_[1], false, 1);
        panel_->addBoolParam("Blue", &circleColour_[2], false, 1);
    }

    void update() override { angle_ = float(getElapsedSeconds()); }

    void draw() override {
        gl::clearWindow(ColorA(0.12f, 0.12f, 0.15f, 1.0f));
        // The panel turns depth testing back on when it is done; these flat shapes share z = 0, so
        // with it on the line would vanish behind the circle drawn before it.
        gl::disableDepthRead();
        gl::setColor(ColorA(1, 1, 1, 1));
        gl::drawTexture(texture_, texture_.getBounds(),
                        Rectf(texturePos_.x, texturePos_.y, texturePos_.x + 128, texturePos_.y + 128));

        float w = float(getWindowWidth());
        float h = float(getWindowHeight());
        gl::setColor(circleColour_[1]   ? ColorA(0.3f, 0.8f, 0.3f, 1.0f)
                     : circleColour_[2] ? ColorA(0.3f, 0.4f, 0.9f, 1.0f)
                                        : ColorA(0.9f, 0.3f, 0.2f, 1.0f));
        gl::drawSolidCircle(Vec2f(w * 0.7f, h * 0.5f), circleRadius_);
        gl::setColor(ColorA(0.2f, 0.8f, 0.4f, 1.0f));
        gl::drawSolidRect(Rectf(w * 0.1f, h * 0.7f, w * 0.4f, h * 0.85f));
        gl::setColor(ColorA(1, 1, 1, 1));
        Vec2f hub(w * 0.7f, h * 0.5f);
        gl::drawLine(hub, hub + Vec2f(std::cos(angle_), std::sin(angle_)) * 100.0f);

        char fps[32];
        std::snprintf(fps, sizeof(fps), "%.1f", double(getAverageFps()));
        gl::setColor(ColorA(1.0f, 0.9f, 0.3f, 1.0f));
        demo::drawDigits(fps, Vec2f(10, h - 30), 8, 2);

        panel_->draw();
    }

    void mouseDown(MouseEvent event) override { grab_ = event.getPos() - texturePos_; }
    void mouseDrag(MouseEvent event) override {
        if (event.isLeftDown()) texturePos_ = event.getPos() - grab_;
    }

    void keyDown(KeyEvent event) override {
        if (event.getChar() == 'f')
            setFullScreen(!isFullScreen());
        else if (event.getCode() == KeyCode::ESCAPE)
            quit();
    }

    void fileDrop(FileDropEvent event) override {
        for (const std::string& file : event.getFiles())
            std::printf("dropped at %d,%d: %s\n", event.getX(), event.getY(), file.c_str());
        std::fflush(stdout);
    }

private:
    gl::Texture texture_;
    Vec2f texturePos_{40.0f, 60.0f};
    Vec2f grab_;
    float angle_ = 0.0f;
    std::unique_ptr<params::ParamPanel> panel_;
    float circleRadius_ = 60.0f;
    bool circleColour_[3] = {true, false, false};
};

}  // namespace

int main(int argc, char* argv[]) {
    return AppBasic::executeLaunch(std::make_unique<DemoApp>(), std::make_shared<RendererGl>(),
                                   "loom demo", argc, argv);
}
