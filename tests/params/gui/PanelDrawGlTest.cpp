// The panel drawn into a real OpenGL window: strips, bar and caption where the layout puts them,
// and the GL state it leaves behind.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gl/GlWindowFixture.h"
#include "gl/State.h"
#include "params/ParamPanel.h"
#include "params/RecordingApp.h"

using namespace loom;

namespace {

bool near(int value, int expected) { return std::abs(value - expected) <= 1; }

::testing::AssertionResult colourIs(const GlWindowFixture::Rgba& p, int r, int g, int b) {
    if (near(p[0], r) && near(p[1], g) && near(p[2], b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << int(p[0]) << "," << int(p[1]) << "," << int(p[2])
                                         << " expected " << r << "," << g << "," << b;
}

}  // namespace

class PanelDrawGlTest : public GlWindowFixture {
protected:
    void SetUp() override {
        GlWindowFixture::SetUp();
        app.width = WIDTH;
        app.height = HEIGHT;
        gl::clearWindow(ColorA(0.2f, 0.4f, 0.6f, 1), true);  // reads back as 51, 102, 153
        panel.addLabel("View");
        panel.addFloatParam("Zoom", &zoom, 0, 10, 2);
    }

    RecordingApp app;
    params::ParamPanel panel{&app};
    float zoom = 0;
};

TEST_F(PanelDrawGlTest, StripsAndTheSliderBarLandOnTheirRows) {
    panel.draw();
    EXPECT_TRUE(colourIs(pixelAt(2, 10), 51, 102, 153)) << "left of every strip";
    EXPECT_TRUE(colourIs(pixelAt(60, 5), 25, 51, 76)) << "the label's half-black strip";
    EXPECT_TRUE(colourIs(pixelAt(60, 3), 51, 102, 153)) << "above the first strip";
    EXPECT_TRUE(colourIs(pixelAt(60, 20), 51, 102, 153)) << "the pixel row between strips";
    EXPECT_TRUE(colourIs(pixelAt(5, 40), 25, 51, 76)) << "the slider's strip left of the bar";
    EXPECT_TRUE(colourIs(pixelAt(8, 37), 255, 255, 255)) << "the fill: 2 on [0, 10], to x = 32";
    EXPECT_TRUE(colourIs(pixelAt(31, 46), 255, 255, 255));
    EXPECT_TRUE(colourIs(pixelAt(32, 40), 76, 76, 76)) << "the empty rest of the bar";
    EXPECT_TRUE(colourIs(pixelAt(40, 36), 25, 51, 76)) << "strip above the bar";
    EXPECT_TRUE(colourIs(pixelAt(40, 47), 25, 51, 76)) << "strip below the bar";

    int captionPixels = 0;
    for (int y = 7; y < 18; ++y)
        for (int x = 7; x < 30; ++x) captionPixels += pixelAt(x, y)[0] > 200;
    EXPECT_GT(captionPixels, 15) << "\"View\" is written in white on the label strip";
}

TEST_F(PanelDrawGlTest, DrawLeavesBlendingOffDepthOnAndTheMatricesAsTheyWere) {
    GLfloat projectionBefore[16], modelViewBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelViewBefore);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    panel.draw();
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_EQ(c[0] + c[1] + c[2] + c[3], 4.0f) << "the colour is left white";
    GLfloat projection[16], modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(projection[i], projectionBefore[i]);
        EXPECT_EQ(modelView[i], modelViewBefore[i]);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PanelDrawGlTest, ADisabledPanelDrawsNothing) {
    panel.setEnabled(false);
    panel.draw();
    for (int y = 0; y < HEIGHT; y += 3)
        for (int x = 0; x < WIDTH; x += 3)
            ASSERT_TRUE(colourIs(pixelAt(x, y), 51, 102, 153)) << x << "," << y;
}

TEST_F(PanelDrawGlTest, ANewCaptionShowsOnTheNextDraw) {
    auto* label = static_cast<params::LabelControl*>(panel.getControls()[0].get());
    panel.draw();
    int before = 0;
    for (int x = 7; x < 60; ++x) before += pixelAt(x, 12)[0] > 200;
    label->setCaption("View View View");
    gl::clearWindow(ColorA(0.2f, 0.4f, 0.6f, 1), true);
    panel.draw();
    int after = 0;
    for (int x = 7; x < 60; ++x) after += pixelAt(x, 12)[0] > 200;
    EXPECT_GT(after, before + 5);
}
