// What the gl layer decides without a context: transfer formats, row lengths, texture coordinates
// and circle tessellation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gl/Shapes.h"
#include "gl/Texture.h"
#include "image/Surface.h"

using namespace loom;
using namespace loom::gl;

TEST(PixelTransfer, UploadableOrdersReadStraightFromTheRows) {
    struct Row {
        int code;
        GLenum format;
        GLenum type;
    };
    const Row rows[] = {
        {ChannelOrder::RGBA, GL_RGBA, GL_UNSIGNED_BYTE},
        {ChannelOrder::RGBX, GL_RGBA, GL_UNSIGNED_BYTE},
        {ChannelOrder::BGRA, GL_BGRA, GL_UNSIGNED_BYTE},
        {ChannelOrder::BGRX, GL_BGRA, GL_UNSIGNED_BYTE},
        {ChannelOrder::ARGB, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8},
        {ChannelOrder::RGB, GL_RGB, GL_UNSIGNED_BYTE},
        {ChannelOrder::BGR, GL_BGR, GL_UNSIGNED_BYTE},
    };
    for (const Row& row : rows) {
        PixelTransfer t = pixelTransferFor(ChannelOrder(row.code));
        EXPECT_EQ(t.format, row.format) << "order " << row.code;
        EXPECT_EQ(t.type, row.type) << "order " << row.code;
    }
}

TEST(PixelTransfer, OtherOrdersRaiseInvalidChannelOrder) {
    for (int code :
         {ChannelOrder::ABGR, ChannelOrder::XRGB, ChannelOrder::XBGR, ChannelOrder::UNSPECIFIED}) {
        try {
            pixelTransferFor(ChannelOrder(code));
            ADD_FAILURE() << "order " << code << " was accepted";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "Invalid channel order") << "order " << code;
        }
    }
}

TEST(TextureDataExc, NullSurfaceIsRefusedWithAMessage) {
    EXPECT_THROW(Texture{Surface()}, TextureDataExc) << "nothing to upload must not be a crash";
}

TEST(TextureDataExc, LongMessagesAreTruncatedNotOverrun) {
    const std::string longMessage(TextureDataExc::MAX_MESSAGE + 50, 'x');
    TextureDataExc e(longMessage);
    EXPECT_EQ(std::string(e.what()), longMessage.substr(0, TextureDataExc::MAX_MESSAGE));
    TextureDataExc copy = e;
    EXPECT_STREQ(copy.what(), e.what()) << "the message travels with copies";
}

TEST(UploadRowLength, RowBytesInWholePixels) {
    Surface bgra(5, 2, true, ChannelOrder(ChannelOrder::BGRA));
    ASSERT_EQ(bgra.getRowBytes(), 20);
    EXPECT_EQ(uploadRowLength(bgra), 5);
    Surface bgr(4, 2, false, ChannelOrder(ChannelOrder::BGR));
    ASSERT_EQ(bgr.getRowBytes(), 12);
    EXPECT_EQ(uploadRowLength(bgr), 4);
    // Rows padded to 4 bytes: 3 BGR pixels take 12 bytes, which is 4 pixels of stride.
    Surface padded(3, 2, false, SurfaceConstraintsTextRaster());
    ASSERT_EQ(padded.getRowBytes(), 12);
    EXPECT_EQ(uploadRowLength(padded), 4);
}

TEST(TexCoords, AreasScaleIntoTheUnitSquare) {
    EXPECT_EQ(normalizedTexCoords(Area(0, 0, 7, 3), 7, 3), Rectf(0, 0, 1, 1));
    EXPECT_EQ(normalizedTexCoords(Area(2, 0, 4, 2), 4, 4), Rectf(0.5f, 0, 1, 0.5f));
    // Each quotient is taken in double precision and then rounded once to float.
    EXPECT_EQ(normalizedTexCoords(Area(1, 1, 2, 2), 3, 3).x1, float(1.0 / 3.0));
}

TEST(CircleSegments, CountFromRadiusOrAsAsked) {
    EXPECT_EQ(circleSegmentCount(10.0f, 0), 62) << "floor(2 pi 10) = floor(62.83)";
    EXPECT_EQ(circleSegmentCount(10.0f, -5), 62) << "any count <= 0 means: from the radius";
    EXPECT_EQ(circleSegmentCount(0.1f, 0), 2) << "never fewer than 2";
    EXPECT_EQ(circleSegmentCount(5.0f, 1), 2);
    EXPECT_EQ(circleSegmentCount(5.0f, 30), 30);
    EXPECT_EQ(circleSegmentCount(-3.0f, 0), 2);
}

TEST(CircleSegments, HugeOrNonFiniteRadiiStayBounded) {
    EXPECT_EQ(circleSegmentCount(1e30f, 0), MAX_CIRCLE_SEGMENTS);
    EXPECT_EQ(circleSegmentCount(INFINITY, 0), MAX_CIRCLE_SEGMENTS);
    EXPECT_EQ(circleSegmentCount(NAN, 0), 2);
    EXPECT_EQ(circleSegmentCount(1.0f, 2147483647), MAX_CIRCLE_SEGMENTS);
}

TEST(CircleFan, CentreThenAClosedRim) {
    EXPECT_EQ(circleFanVertices(Vec2f(0, 0), 10.0f, 0).size(), 64u);
    EXPECT_EQ(circleFanVertices(Vec2f(0, 0), 0.1f, 0).size(), 4u);

    const Vec2f center(50, 40);
    const std::vector<Vec2f> v = circleFanVertices(center, 10.0f, 30);
    ASSERT_EQ(v.size(), 32u);
    EXPECT_EQ(v[0], center);
    EXPECT_EQ(v[1], Vec2f(60, 40)) << "the rim starts at angle 0";
    EXPECT_NEAR(v[16].x, 40.0f, 1e-4) << "half way round: opposite the start";
    EXPECT_NEAR(v[31].x, 60.0f, 1e-4) << "the last rim point closes the fan";
    EXPECT_NEAR(v[31].y, 40.0f, 1e-4);
    for (size_t i = 1; i < v.size(); ++i)
        EXPECT_NEAR(v[i].distance(center), 10.0f, 1e-4) << "rim point " << i;
}
