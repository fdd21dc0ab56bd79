// The renderer's default view and read-back against real pixels, without multisampling: one unit
// is one pixel with the origin top-left, before and after a resize, and copyWindowSurface returns
// the area with its top row first.
#include <GL/glew.h>

#include "GuiTestApp.h"

using namespace loom;
using namespace loom::framework;
using namespace loom::guitest;

namespace {

struct Pixels {
    Surface before;  // the whole 640 x 480 window
    Surface corner;  // the area (10, 20) to (40, 30) of the same frame
    Surface after;   // the whole window after the resize to 800 x 600
    int resizedWidth = 0;
    int resizedHeight = 0;
};

// Marks the top-left and bottom-right pixels with points, and fills (10, 20) to (30, 40).
void drawMarks(int width, int height) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glPointSize(1.0f);
    glBegin(GL_POINTS);
    glColor3ub(255, 0, 0);
    glVertex2f(0.5f, 0.5f);
    glColor3ub(0, 255, 0);
    glVertex2f(width - 0.5f, height - 0.5f);
    glEnd();
    glColor3ub(0, 0, 255);
    glRectf(10, 20, 30, 40);
}

class PixelApp : public GuiTestApp {
public:
    explicit PixelApp(Pixels* pixels) : GuiTestApp("framework pixels"), p_(pixels) {}

    void resize(ResizeEvent event) override {
        if (event.getWidth() == 800 && event.getHeight() == 600) {
            p_->resizedWidth = getWindowWidth();
            p_->resizedHeight = getWindowHeight();
        }
    }
    void draw() override {
        drawMarks(getWindowWidth(), getWindowHeight());
        if (!p_->before) {
            p_->before = copyWindowSurface();
            p_->corner = copyWindowSurface(Area(10, 20, 40, 30));
            setWindowSize(800, 600);
        } else if (p_->resizedWidth == 800 && !p_->after) {
            p_->after = copyWindowSurface();
        }
    }
    bool finished() override { return bool(p_->after); }

private:
    Pixels* p_;
};

std::array<int, 3> rgb(const Surface& s, int x, int y) {
    const uint8_t* p = s.getData(x, y);
    return {p[0], p[1], p[2]};
}

const std::array<int, 3> RED = {255, 0, 0}, GREEN = {0, 255, 0}, BLUE = {0, 0, 255}, BLACK = {0, 0, 0};

void expectMarks(const Surface& s) {
    int w = s.getWidth();
    int h = s.getHeight();
    EXPECT_EQ(rgb(s, 0, 0), RED) << "(0.5, 0.5) is the top-left pixel at " << w << "x" << h;
    EXPECT_EQ(rgb(s, 1, 0), BLACK);
    EXPECT_EQ(rgb(s, 0, 1), BLACK);
    EXPECT_EQ(rgb(s, w - 1, h - 1), GREEN) << "the bottom-right pixel";
    EXPECT_EQ(rgb(s, w - 2, h - 1), BLACK);
    // The rectangle covers exactly x 10..29 and y 20..39.
    EXPECT_EQ(rgb(s, 10, 20), BLUE);
    EXPECT_EQ(rgb(s, 29, 39), BLUE);
    EXPECT_EQ(rgb(s, 9, 20), BLACK);
    EXPECT_EQ(rgb(s, 10, 19), BLACK);
    EXPECT_EQ(rgb(s, 30, 39), BLACK);
    EXPECT_EQ(rgb(s, 29, 40), BLACK);
}

}  // namespace

TEST(Pixels, OneUnitIsOnePixelFromTheTopLeftBeforeAndAfterAResize) {
    Pixels p;
    ASSERT_EQ(runGuiApp(std::make_unique<PixelApp>(&p), RendererGl::AA_NONE), 0);
    ASSERT_TRUE(p.before);
    EXPECT_EQ(p.before.getWidth(), 640);
    EXPECT_EQ(p.before.getHeight(), 480);
    EXPECT_FALSE(p.before.hasAlpha());
    expectMarks(p.before);

    ASSERT_TRUE(p.after) << "the resize to 800 x 600 arrived";
    EXPECT_EQ(p.resizedWidth, 800);
    EXPECT_EQ(p.resizedHeight, 600);
    EXPECT_EQ(p.after.getWidth(), 800);
    expectMarks(p.after);
}

TEST(Pixels, CopyWindowSurfaceOfAnAreaPutsItsTopRowFirst) {
    Pixels p;
    ASSERT_EQ(runGuiApp(std::make_unique<PixelApp>(&p), RendererGl::AA_NONE), 0);
    ASSERT_TRUE(p.corner);
    EXPECT_EQ(p.corner.getWidth(), 30);
    EXPECT_EQ(p.corner.getHeight(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(rgb(p.corner, x, y), x < 20 ? BLUE : BLACK) << x << "," << y;
    // The area's top row is window row 20, whose left part the rectangle starts on.
    EXPECT_EQ(rgb(p.corner, 0, 0), rgb(p.before, 10, 20));
    EXPECT_EQ(rgb(p.corner, 29, 9), rgb(p.before, 39, 29));
}
