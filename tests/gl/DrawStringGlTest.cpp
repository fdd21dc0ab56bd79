// drawString on a real context: where the text lands and what GL state it leaves.
#include <gtest/gtest.h>

#include "GlWindowFixture.h"
#include "gl/DrawString.h"
#include "gl/State.h"
#include "io/DataSource.h"

using namespace loom;
using namespace loom::gl;

namespace {

Font pixelFont() {
    return Font(openFileSource(std::string(LOOM_SOURCE_DIR) + "/assets/font/QuennetPixel.ttf"), 10);
}

}  // namespace

using DrawStringGlTest = GlWindowFixture;

TEST_F(DrawStringGlTest, TextStartsAtPosXWithItsImageTopAtPosYMinusTheDescent) {
    gl::enableAlphaBlending(false);
    // The image's top is at 20 - 1.875; H's stems stand on its row 11 (the baseline), 7 rows high.
    gl::drawString("H", Vec2f(10, 20), ColorA(1, 1, 1, 1), pixelFont());
    EXPECT_GT(pixelAt(10, 25)[0], 200) << "left stem";
    EXPECT_GT(pixelAt(14, 25)[0], 200) << "right stem";
    EXPECT_EQ(pixelAt(11, 23)[0], 0) << "the counter of the H is empty";
    EXPECT_EQ(pixelAt(9, 25)[0], 0) << "nothing left of pos.x";
    EXPECT_EQ(pixelAt(10, 20)[0], 0) << "above the capitals";
    EXPECT_EQ(pixelAt(10, 30)[0], 0) << "below the baseline";
}

TEST_F(DrawStringGlTest, TextColourComesFromThePixelsAndTheCurrentColourIsRestored) {
    gl::enableAlphaBlending(false);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    gl::drawString("H", Vec2f(10, 20), ColorA(1, 0, 0, 1), pixelFont());
    const Rgba stem = pixelAt(10, 25);
    EXPECT_GT(stem[0], 200);
    EXPECT_EQ(stem[1], 0);
    EXPECT_EQ(stem[2], 0) << "the current colour does not tint the text";
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_FLOAT_EQ(c[0], 0.25f);
    EXPECT_FLOAT_EQ(c[1], 0.5f);
    EXPECT_FLOAT_EQ(c[2], 0.75f);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0) << "the temporary texture is gone and unbound";
    EXPECT_FALSE(enabled(GL_TEXTURE_2D));
}

TEST_F(DrawStringGlTest, EmptyStringAndDefaultFontDrawWithoutFailing) {
    gl::enableAlphaBlending(false);
    gl::drawString("", Vec2f(10, 20));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    gl::drawString("Hi", Vec2f(2, 20));  // the default text font
    bool inked = false;
    for (int x = 2; x < 20 && !inked; ++x)
        for (int y = 10; y < 34 && !inked; ++y) inked = pixelAt(x, y)[0] > 128;
    EXPECT_TRUE(inked);
}
