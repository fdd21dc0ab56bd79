// Texture creation against a real context: the upload's parameters, channel orders and row
// layouts read back as the right colours, refusal before any GL object, deletion with the last
// handle.
#include "GlWindowFixture.h"
#include "gl/DrawTexture.h"
#include "gl/Texture.h"
#include "image/Surface.h"

using namespace loom;
using namespace loom::gl;

namespace {

// Writes (r, g, b, a) at pixel (x, y) through the order's own channel offsets.
void putPixel(const Surface& s, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    uint8_t* p = s.getData(x, y);
    const ChannelOrder& o = s.getChannelOrder();
    p[o.red] = r;
    p[o.green] = g;
    p[o.blue] = b;
    if (o.hasAlpha())
        p[o.alpha] = a;
    else if (o.increment == 4)
        p[6 - o.red - o.green - o.blue] = 0x55;  // the ignored X byte
}

GLint texParameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

}  // namespace

class TextureGl : public GlWindowFixture {};

TEST_F(TextureGl, UploadLeavesTheNewTextureBoundWithTheFormatApplied) {
    Surface surface(5, 2, true, ChannelOrder(ChannelOrder::BGRA));
    Texture texture(surface);
    ASSERT_NE(texture.getId(), 0u);
    EXPECT_EQ(GLuint(integer(GL_TEXTURE_BINDING_2D)), texture.getId());
    EXPECT_EQ(texture.width(), 5);
    EXPECT_EQ(texture.height(), 2);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(texParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(texParameter(GL_GENERATE_MIPMAP), GL_FALSE);
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 1) << "left at 1 on purpose";
    EXPECT_EQ(integer(GL_UNPACK_ROW_LENGTH), 0) << "row length is reset after the upload";
    GLint internalFormat = 0, width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(internalFormat, GL_RGBA);
    EXPECT_EQ(width, 5);

    texture.setMagFilter(GL_NEAREST);
    EXPECT_EQ(texParameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
}

TEST_F(TextureGl, InternalFormatFollowsAlphaUnlessGiven) {
    Texture rgbx(Surface(2, 2, false, ChannelOrder(ChannelOrder::RGBX)));
    EXPECT_EQ(rgbx.getInternalFormat(), GL_RGB) << "the X byte is ignored";
    Texture bgrx(Surface(2, 2, false, ChannelOrder(ChannelOrder::BGRX)));
    EXPECT_EQ(bgrx.getInternalFormat(), GL_RGB);

    Texture::Format format;
    format.internalFormat = GL_RGBA8;
    format.mipmapping = true;
    format.wrapS = GL_REPEAT;
    Texture given(Surface(2, 2, false), format);
    EXPECT_EQ(given.getInternalFormat(), GL_RGBA8);
    EXPECT_EQ(texParameter(GL_GENERATE_MIPMAP), GL_TRUE);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
}

TEST_F(TextureGl, RefusedChannelOrderRaisesBeforeAnyGlObject) {
    GLuint before = 0, after = 0;
    glGenTextures(1, &before);
    glBindTexture(GL_TEXTURE_2D, before);
    for (int code : {ChannelOrder::ABGR, ChannelOrder::XRGB, ChannelOrder::XBGR}) {
        try {
            Texture refused(Surface(3, 3, true, ChannelOrder(code)));
            ADD_FAILURE() << "order " << code << " was uploaded";
        } catch (const TextureDataExc& e) {
            EXPECT_STREQ(e.what(), "Invalid channel order");
        }
    }
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "a refused surface must not generate a texture name";
    EXPECT_EQ(GLuint(integer(GL_TEXTURE_BINDING_2D)), before) << "nor bind anything";
    glDeleteTextures(1, &before);
    glDeleteTextures(1, &after);
}

TEST_F(TextureGl, TheLastHandleDeletesTheTexture) {
    Texture first(Surface(2, 2, true));
    Texture second = first;
    const GLuint id = first.getId();
    first = Texture();
    EXPECT_FALSE(first);
    EXPECT_TRUE(glIsTexture(id)) << "another handle still shares it";
    second = Texture();
    EXPECT_FALSE(glIsTexture(id)) << "deleted with the last handle";
}

// Each order is drawn 4x enlarged with nearest sampling and must read back as the colours written.
TEST_F(TextureGl, EveryUploadableLayoutShowsItsColours) {
    struct Case {
        const char* name;
        Surface surface;
    };
    const Case cases[] = {
        {"RGBA", Surface(5, 2, true, ChannelOrder(ChannelOrder::RGBA))},
        {"BGRA", Surface(5, 2, true, ChannelOrder(ChannelOrder::BGRA))},
        {"ARGB", Surface(5, 2, true, ChannelOrder(ChannelOrder::ARGB))},
        {"RGBX", Surface(5, 2, false, ChannelOrder(ChannelOrder::RGBX))},
        {"BGRX", Surface(5, 2, false, ChannelOrder(ChannelOrder::BGRX))},
        {"RGB", Surface(5, 2, false, ChannelOrder(ChannelOrder::RGB))},
        {"BGR", Surface(5, 2, false, ChannelOrder(ChannelOrder::BGR))},
        // 9 bytes of BGR padded to 12: one whole pixel of padding, stepped over by the row length.
        {"BGR padded by a pixel", Surface(3, 2, false, SurfaceConstraintsTextRaster())},
        // 15 bytes of BGR padded to 16: not a whole number of pixels per row.
        {"BGR padded", Surface(5, 2, false, SurfaceConstraintsTextRaster())},
        {"BGRA text raster", Surface(5, 2, true, SurfaceConstraintsTextRaster())},
    };
    setColor(ColorA(1, 1, 1, 1));
    for (const Case& c : cases) {
        const int width = c.surface.getWidth();
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x)
                putPixel(c.surface, x, y, uint8_t(40 * x + 10), uint8_t(100 + 70 * y),
                         uint8_t(250 - 20 * x), 255);
        Texture texture(c.surface);
        texture.setMagFilter(GL_NEAREST);
        clearWindow(ColorA(0, 0, 0, 1), false);
        drawTexture(texture, texture.getBounds(), Rectf(0, 0, 4.0f * width, 8));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x) {
                Rgba p = pixelAt(4 * x + 2, 4 * y + 2);
                EXPECT_EQ(p[0], 40 * x + 10) << c.name << " red at texel " << x << "," << y;
                EXPECT_EQ(p[1], 100 + 70 * y) << c.name << " green at texel " << x << "," << y;
                EXPECT_EQ(p[2], 250 - 20 * x) << c.name << " blue at texel " << x << "," << y;
            }
    }
}
