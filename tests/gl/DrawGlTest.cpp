// The drawing helpers against a real context: where things land in window pixels, which state
// they leave behind, and the vertices they send.
#include "GlWindowFixture.h"
#include "gl/Draw.h"
#include "gl/DrawOverCheckerboard.h"
#include "image/Surface.h"

using namespace loom;
using namespace loom::gl;

namespace {

const GlWindowFixture::Rgba BLACK = {0, 0, 0, 255};
const GlWindowFixture::Rgba WHITE = {255, 255, 255, 255};

// A 4 x 3 texture whose every texel has its own colour, with nearest magnification.
Texture makeNumberedTexture() {
    Surface surface(4, 3, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            uint8_t* p = surface.getData(x, y);
            p[0] = uint8_t(60 * x + 20);
            p[1] = uint8_t(80 * y + 30);
            p[2] = uint8_t(7 * (x + 4 * y) + 100);
            p[3] = 255;
        }
    Texture texture(surface);
    texture.setMagFilter(GL_NEAREST);
    return texture;
}

GlWindowFixture::Rgba texelOfNumbered(int x, int y) {
    return {uint8_t(60 * x + 20), uint8_t(80 * y + 30), uint8_t(7 * (x + 4 * y) + 100), 255};
}

}  // namespace

class DrawGl : public GlWindowFixture {
protected:
    void SetUp() override {
        GlWindowFixture::SetUp();
        setColor(ColorA(1, 1, 1, 1));
    }
};

TEST_F(DrawGl, WindowMatricesPutTheOriginAtTheTopLeftPixel) {
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    drawSolidRect(Rectf(0, 0, 1, 1));
    drawSolidRect(Rectf(WIDTH - 1, HEIGHT - 1, WIDTH, HEIGHT));
    EXPECT_EQ(pixelAt(0, 0), WHITE);
    EXPECT_EQ(pixelAt(1, 0), BLACK);
    EXPECT_EQ(pixelAt(0, 1), BLACK);
    EXPECT_EQ(pixelAt(WIDTH - 1, HEIGHT - 1), WHITE) << "(width, height) is the bottom-right corner";
    EXPECT_EQ(pixelAt(WIDTH - 2, HEIGHT - 1), BLACK);

    setWindowMatrices(WIDTH, HEIGHT, false);
    clearWindow(ColorA(0, 0, 0, 1), false);
    drawSolidRect(Rectf(0, 0, 1, 1));
    EXPECT_EQ(pixelAt(0, HEIGHT - 1), WHITE) << "without originUpperLeft y = 0 is the bottom";
    EXPECT_EQ(pixelAt(0, 0), BLACK);
}

TEST_F(DrawGl, TextureAtAPositionCoversExactlyItsRectangle) {
    Texture texture = makeNumberedTexture();
    drawTexture(texture, Vec2f(10, 20));
    for (int y = 18; y < 26; ++y)
        for (int x = 8; x < 17; ++x) {
            const bool inside = x >= 10 && x < 14 && y >= 20 && y < 23;
            const Rgba expected = inside ? texelOfNumbered(x - 10, y - 20) : BLACK;
            EXPECT_EQ(pixelAt(x, y), expected) << "window pixel " << x << "," << y;
        }
}

TEST_F(DrawGl, TextureSubAreaIsStretchedOverTheDestination) {
    Texture texture = makeNumberedTexture();
    drawTexture(texture, Area(2, 1, 4, 3), Rectf(0, 0, 8, 8));
    EXPECT_EQ(pixelAt(1, 1), texelOfNumbered(2, 1));
    EXPECT_EQ(pixelAt(6, 1), texelOfNumbered(3, 1));
    EXPECT_EQ(pixelAt(6, 6), texelOfNumbered(3, 2));
    EXPECT_EQ(pixelAt(8, 8), BLACK);
}

TEST_F(DrawGl, DrawTextureRestoresBindingEnableAndArrays) {
    Texture texture = makeNumberedTexture();
    GLuint other = 0;
    glGenTextures(1, &other);

    for (bool before : {false, true}) {
        glBindTexture(GL_TEXTURE_2D, other);
        if (before) {
            glEnable(GL_TEXTURE_2D);
            glDisableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        } else {
            glDisable(GL_TEXTURE_2D);
            glEnableClientState(GL_VERTEX_ARRAY);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        drawTexture(texture, Vec2f(0, 0));
        EXPECT_EQ(GLuint(integer(GL_TEXTURE_BINDING_2D)), other) << "enabled before: " << before;
        EXPECT_EQ(enabled(GL_TEXTURE_2D), before);
        EXPECT_EQ(enabled(GL_VERTEX_ARRAY), !before);
        EXPECT_EQ(enabled(GL_TEXTURE_COORD_ARRAY), before);
    }
    EXPECT_EQ(pixelAt(0, 0), texelOfNumbered(0, 0)) << "and it did draw";
    glDeleteTextures(1, &other);

    glEnable(GL_TEXTURE_2D);
    drawTexture(Texture(), Vec2f(0, 0));
    EXPECT_TRUE(enabled(GL_TEXTURE_2D)) << "a null texture draws nothing and changes nothing";
}

TEST_F(DrawGl, SolidRectMapsTheTextureAndLeavesClientArraysDisabled) {
    Texture texture = makeNumberedTexture();
    texture.bindEnabled();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    drawSolidRect(Rectf(0, 0, 8, 6));
    EXPECT_FALSE(enabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(enabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(enabled(GL_TEXTURE_2D)) << "only the client arrays are switched off";
    EXPECT_EQ(pixelAt(0, 0), texelOfNumbered(0, 0)) << "(0, 0) of the texture at (x1, y1)";
    EXPECT_EQ(pixelAt(7, 5), texelOfNumbered(3, 2)) << "(1, 1) of the texture at (x2, y2)";
    EXPECT_EQ(pixelAt(8, 0), BLACK);
}

TEST_F(DrawGl, SolidCircleFansItsSegmentsAroundTheCentre) {
    auto trianglesOf = [](const std::vector<GLfloat>& feedback) {
        int triangles = 0;
        for (size_t i = 0; i < feedback.size(); i += 2 + 2 * size_t(feedback[i + 1])) {
            EXPECT_EQ(GLint(feedback[i]), GL_POLYGON_TOKEN);
            EXPECT_EQ(feedback[i + 1], 3.0f);
            ++triangles;
        }
        return triangles;
    };
    EXPECT_EQ(trianglesOf(feedbackOf([] { drawSolidCircle(Vec2f(32, 24), 10, 0); })), 62);
    EXPECT_EQ(trianglesOf(feedbackOf([] { drawSolidCircle(Vec2f(32, 24), 10, 30); })), 30);

    drawSolidCircle(Vec2f(32, 24), 10, 0);
    EXPECT_EQ(pixelAt(32, 24), WHITE);
    EXPECT_EQ(pixelAt(40, 24), WHITE);
    EXPECT_EQ(pixelAt(32, 32), WHITE) << "y down, angles clockwise";
    EXPECT_EQ(pixelAt(43, 24), BLACK);
    EXPECT_EQ(pixelAt(32, 13), BLACK);
    EXPECT_FALSE(enabled(GL_VERTEX_ARRAY));
}

TEST_F(DrawGl, LineLightsThePixelsBetweenItsEnds) {
    drawLine(Vec2f(2, 5.5f), Vec2f(12, 5.5f));
    EXPECT_EQ(pixelAt(2, 5), WHITE);
    EXPECT_EQ(pixelAt(11, 5), WHITE);
    EXPECT_EQ(pixelAt(12, 5), BLACK) << "the last pixel of a line is not drawn";
    EXPECT_EQ(pixelAt(6, 4), BLACK);
}

TEST_F(DrawGl, PathOutlineSendsTheSubdividedPoints) {
    Path2d path;
    path.moveTo(Vec2f(10, 10));
    path.lineTo(Vec2f(30, 10));
    path.arc(Vec2f(30, 20), 10, -1.5707963f, 1.5707963f, true);
    path.close();
    const std::vector<Vec2f> points = path.subdivide(1.0f);
    ASSERT_GT(points.size(), 6u);

    // Each strip segment comes back as a line token and its two ends, y flipped to GL's window
    // coordinates; zero-length joints included.
    const std::vector<GLfloat> feedback = feedbackOf([&] { drawPath(path, 1.0f); });
    ASSERT_EQ(feedback.size(), 5 * (points.size() - 1));
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const GLfloat* f = &feedback[5 * i];
        EXPECT_TRUE(GLint(f[0]) == GL_LINE_TOKEN || GLint(f[0]) == GL_LINE_RESET_TOKEN);
        EXPECT_NEAR(f[1], points[i].x, 1e-3) << "segment " << i;
        EXPECT_NEAR(f[2], HEIGHT - points[i].y, 1e-3) << "segment " << i;
        EXPECT_NEAR(f[3], points[i + 1].x, 1e-3) << "segment " << i;
        EXPECT_NEAR(f[4], HEIGHT - points[i + 1].y, 1e-3) << "segment " << i;
    }
}

TEST_F(DrawGl, EmptyPathMakesNoGlCall) {
    Path2d startOnly;
    startOnly.moveTo(Vec2f(5, 5));
    glEnableClientState(GL_VERTEX_ARRAY);
    EXPECT_TRUE(feedbackOf([&] {
                    drawPath(startOnly);
                    drawSolidPath(Path2d());
                }).empty());
    EXPECT_TRUE(enabled(GL_VERTEX_ARRAY)) << "not even the client-array switches";
}

TEST_F(DrawGl, SolidPathFillsItsInterior) {
    Path2d square;
    square.moveTo(Vec2f(4, 4));
    square.lineTo(Vec2f(14, 4));
    square.lineTo(Vec2f(14, 12));
    square.lineTo(Vec2f(4, 12));
    square.close();
    drawSolidPath(square);
    EXPECT_EQ(pixelAt(4, 4), WHITE);
    EXPECT_EQ(pixelAt(13, 11), WHITE);
    EXPECT_EQ(pixelAt(14, 11), BLACK);
    EXPECT_EQ(pixelAt(8, 12), BLACK);
    EXPECT_FALSE(enabled(GL_VERTEX_ARRAY));
}

TEST_F(DrawGl, MatrixStackPairsAndModelViewChanges) {
    pushMatrices();
    multModelView(Matrix44f::createTranslation(Vec3f(5, 6, 0)));
    scale(Vec3f(2, 2, 1));
    drawSolidRect(Rectf(1, 1, 2, 2));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    popMatrices();
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(pixelAt(7, 8), WHITE) << "translated by (5, 6) after a scale of 2";
    EXPECT_EQ(pixelAt(8, 9), WHITE);
    EXPECT_EQ(pixelAt(9, 10), BLACK);
    EXPECT_EQ(pixelAt(6, 8), BLACK);

    // Both stacks are back: drawing at (0, 0) lands on the top-left pixel again.
    drawSolidRect(Rectf(0, 0, 1, 1));
    EXPECT_EQ(pixelAt(0, 0), WHITE);
}

TEST_F(DrawGl, BlendingAndDepthSwitches) {
    enableAlphaBlending();
    EXPECT_TRUE(enabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    setColor(ColorA(1, 1, 1, 0.5f));
    drawSolidRect(Rectf(0, 0, 2, 2));
    EXPECT_NEAR(pixelAt(0, 0)[0], 128, 1) << "half white over black";
    enableAlphaBlending(true);
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_ONE);
    disableAlphaBlending();
    EXPECT_FALSE(enabled(GL_BLEND));

    enableDepthRead();
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    enableDepthRead(false);
    EXPECT_FALSE(enabled(GL_DEPTH_TEST));
    enableDepthRead();
    disableDepthRead();
    EXPECT_FALSE(enabled(GL_DEPTH_TEST));

    // Depth written at z = 0 reads 0.5; a clear must reset it even with writes masked off.
    glEnable(GL_DEPTH_TEST);
    enableDepthWrite();
    drawSolidRect(Rectf(0, 0, 4, 4));
    GLfloat depth = 0;
    glReadPixels(1, HEIGHT - 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    ASSERT_NEAR(depth, 0.5f, 1e-3);
    disableDepthWrite();
    GLboolean mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_FALSE(mask);
    clearWindow(ColorA(0, 0, 0, 1), true);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_TRUE(mask);
    glReadPixels(1, HEIGHT - 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);

    clearWindow(ColorA(0.2f, 0.4f, 0.6f, 1), false);
    EXPECT_EQ(pixelAt(3, 3), (Rgba{51, 102, 153, 255}));
}

TEST_F(DrawGl, TextureOverCheckerboardShowsWindowFixedSquaresWhereTransparent) {
    // An opaque texel, then a transparent one hiding magenta.
    Surface surface(2, 1, true);
    const uint8_t texels[8] = {200, 40, 30, 255, 255, 0, 255, 0};
    std::copy(texels, texels + 8, surface.getData());
    Texture texture(surface);
    texture.setMagFilter(GL_NEAREST);
    const Rgba opaque = {200, 40, 30, 255};

    // Two placements and zooms; the squares stay where the window has them: 8 pixels a side from
    // the bottom-left corner, where OpenGL's window coordinates start.
    struct Placement {
        float scale;
        Vec2f pos;
    };
    for (const Placement& place : {Placement{12, Vec2f(1, 1)}, Placement{5, Vec2f(3, 5)}}) {
        clearWindow(ColorA(0, 0, 0, 1), true);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_DEPTH_TEST);  // as the panel leaves it
        pushMatrices();
        scale(Vec3f(place.scale, place.scale, 1));
        drawTextureOverCheckerboard(texture, place.pos);
        popMatrices();
        EXPECT_TRUE(enabled(GL_BLEND)) << "blending as it was";
        EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
        EXPECT_FALSE(enabled(GL_POLYGON_STIPPLE));
        EXPECT_TRUE(enabled(GL_DEPTH_TEST));

        const int left = int(place.pos.x * place.scale), top = int(place.pos.y * place.scale);
        const int side = int(place.scale);
        for (int y = top - 1; y <= top + side; ++y)
            for (int x = left - 1; x <= left + 2 * side; ++x) {
                Rgba expected = BLACK;
                if (y >= top && y < top + side && x >= left && x < left + side) {
                    expected = opaque;
                } else if (y >= top && y < top + side && x >= left + side && x < left + 2 * side) {
                    const bool dark = (x / CHECKER_SQUARE + (HEIGHT - 1 - y) / CHECKER_SQUARE) % 2;
                    const uint8_t grey = dark ? 153 : 204;
                    expected = {grey, grey, grey, 255};
                }
                ASSERT_EQ(pixelAt(x, y), expected) << "window pixel " << x << "," << y;
            }
    }
    glDisable(GL_BLEND);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 1.0f) << "the current colour (white) is back";
}
