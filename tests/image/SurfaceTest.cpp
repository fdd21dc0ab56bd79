#include <gtest/gtest.h>

#include <stdexcept>

#include "image/Surface.h"
#include "image/SurfaceExc.h"

using loom::Area;
using loom::ChannelOrder;
using loom::Surface;

TEST(ChannelOrder, TableRowsAndUnknownCodes) {
    ChannelOrder argb(ChannelOrder::ARGB);
    EXPECT_EQ(argb.red, 1);
    EXPECT_EQ(argb.alpha, 0);
    EXPECT_EQ(argb.increment, 4);
    ChannelOrder xbgr(ChannelOrder::XBGR);
    EXPECT_FALSE(xbgr.hasAlpha());
    EXPECT_EQ(xbgr.red, 3);
    ChannelOrder bgr(ChannelOrder::BGR);
    EXPECT_EQ(bgr.increment, 3);
    EXPECT_EQ(bgr.blue, 0);
    for (int code : {11, 42, -1}) {
        ChannelOrder unknown(code);
        EXPECT_EQ(unknown.code, ChannelOrder::UNSPECIFIED) << code;
        EXPECT_EQ(unknown.increment, 255) << code;
        EXPECT_EQ(unknown.red, ChannelOrder::NO_CHANNEL) << code;
    }
}

TEST(SurfaceCreation, UnspecifiedResolvesByAlpha) {
    Surface rgba(5, 2, true);
    EXPECT_EQ(rgba.getChannelOrder().code, ChannelOrder::RGBA);
    EXPECT_EQ(rgba.getRowBytes(), 20);
    EXPECT_TRUE(rgba.hasAlpha());
    EXPECT_TRUE(bool(rgba.getChannelAlpha()));

    Surface rgb(5, 2, false);
    EXPECT_EQ(rgb.getChannelOrder().code, ChannelOrder::RGB);
    EXPECT_EQ(rgb.getRowBytes(), 15) << "packed, not padded to 4";
    EXPECT_FALSE(bool(rgb.getChannelAlpha()));

    Surface givenOrder(3, 3, true, ChannelOrder(ChannelOrder::BGRX));
    EXPECT_EQ(givenOrder.getChannelOrder().code, ChannelOrder::BGRX) << "alpha ignored";
    EXPECT_FALSE(givenOrder.hasAlpha());

    Surface unknownCode(2, 2, true, ChannelOrder(99));
    EXPECT_EQ(unknownCode.getChannelOrder().code, ChannelOrder::RGBA);
}

TEST(SurfaceCreation, ConstraintPolicies) {
    loom::SurfaceConstraintsTextRaster text;
    Surface noAlpha(5, 3, false, text);
    EXPECT_EQ(noAlpha.getChannelOrder().code, ChannelOrder::BGR);
    EXPECT_EQ(noAlpha.getRowBytes(), 16);
    Surface withAlpha(5, 3, true, text);
    EXPECT_EQ(withAlpha.getChannelOrder().code, ChannelOrder::BGRA);
    EXPECT_EQ(withAlpha.getRowBytes(), 20);

    loom::SurfaceConstraintsDefault plain;
    EXPECT_EQ(Surface(5, 3, false, plain).getRowBytes(), 15);
}

TEST(SurfaceCreation, RejectsSizesThatOverflow) {
    EXPECT_THROW(Surface(1 << 30, 4, true), std::length_error);
    EXPECT_THROW(Surface(-1, 4, true), std::length_error);
}

TEST(SurfaceCreation, ZeroSizedSurfacesAreValidAndEmpty) {
    for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 7}, std::pair{7, 0}}) {
        Surface s(w, h, true);
        ASSERT_FALSE(s.isNull());
        auto it = s.getIter();
        int pixels = 0;
        while (it.line())
            while (it.pixel()) ++pixels;
        EXPECT_EQ(pixels, 0) << w << "x" << h;
        s.getChannelAlpha().fill(1);  // must not touch memory
    }
}

TEST(SurfaceHandle, CopiesSharePixels) {
    Surface a(2, 2, false);
    Surface b = a;
    b.getData()[0] = 77;
    EXPECT_EQ(a.getData()[0], 77);
    EXPECT_TRUE(a.sharesPixelsWith(b));
    EXPECT_TRUE(Surface().isNull());
    EXPECT_FALSE(Surface(1, 1, false).sharesPixelsWith(a));
}

TEST(SurfaceIter, VisitsOnlyTheClippedArea) {
    Surface s(4, 3, true);
    s.getChannelRed().fill(0);
    auto it = s.getIter(Area(-2, 1, 2, 10));
    int visited = 0;
    while (it.line())
        while (it.pixel()) {
            it.r() = 9;
            ++visited;
        }
    EXPECT_EQ(visited, 2 * 2);
    EXPECT_EQ(*s.getData(1, 2), 9);
    EXPECT_EQ(*s.getData(2, 2), 0);
    EXPECT_EQ(*s.getData(0, 0), 0);

    auto outside = s.getIter(Area(10, 10, 20, 20));
    int rows = 0;
    while (outside.line())
        while (outside.pixel()) ++rows;
    EXPECT_EQ(rows, 0);
}

TEST(SurfaceIter, ChannelAccessorsFollowTheOrder) {
    Surface s(1, 1, true, ChannelOrder(ChannelOrder::ABGR));
    auto it = s.getIter();
    ASSERT_TRUE(it.line());
    ASSERT_TRUE(it.pixel());
    it.r() = 1;
    it.g() = 2;
    it.b() = 3;
    it.a() = 4;
    const uint8_t* p = s.getData();
    EXPECT_EQ(p[0], 4);
    EXPECT_EQ(p[1], 3);
    EXPECT_EQ(p[2], 2);
    EXPECT_EQ(p[3], 1);
    EXPECT_FALSE(it.pixel());
    EXPECT_FALSE(it.line());
}

TEST(ChannelFill, FillsOnlyItsChannelInsideTheArea) {
    Surface s(3, 3, true);
    s.getChannelRed().fill(0);
    s.getChannelAlpha().fill(255);
    s.getChannelRed().fill(200, Area(1, 1, 9, 9));
    EXPECT_EQ(*s.getData(0, 0), 0);
    EXPECT_EQ(*s.getData(1, 1), 200);
    EXPECT_EQ(*s.getData(2, 2), 200);
    EXPECT_EQ(s.getData(2, 2)[3], 255) << "alpha untouched";
}

TEST(FlipVertical, SwapsMirroredRowsAndKeepsTheMiddle) {
    Surface s(1, 3, false);
    for (int y = 0; y < 3; ++y) s.getData(0, y)[0] = uint8_t(y);
    s.flipVertical();
    EXPECT_EQ(s.getData(0, 0)[0], 2);
    EXPECT_EQ(s.getData(0, 1)[0], 1);
    EXPECT_EQ(s.getData(0, 2)[0], 0);

    Surface one(2, 1, false);
    one.getData()[0] = 5;
    one.flipVertical();
    EXPECT_EQ(one.getData()[0], 5);
}

TEST(SurfaceExceptions, FixedTexts) {
    EXPECT_STREQ(loom::SurfaceExc().what(), "Surface exception");
    EXPECT_STREQ(loom::SurfaceConstraintsExc().what(),
                 "Surface exception: does not conform to expected SurfaceConstraints");
}
