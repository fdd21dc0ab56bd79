#include <gtest/gtest.h>

#include "warp/PixelAccess.h"

using namespace loom;

TEST(PixelAccess, ReadsThroughTheChannelOrderAndClamps) {
    Surface bgra(3, 2, true, ChannelOrder::BGRA);
    uint8_t* p = bgra.getData(2, 1);
    p[0] = 10;  // blue
    p[1] = 20;  // green
    p[2] = 30;  // red
    p[3] = 40;  // alpha
    EXPECT_EQ(readPixelClamped(bgra, 2, 1), (Rgba{30, 20, 10, 40}));
    EXPECT_EQ(readPixelClamped(bgra, 99, 99), (Rgba{30, 20, 10, 40})) << "clamped to the corner";

    Surface rgb(2, 2, false);
    writePixelClamped(rgb, -5, 0, Rgba{1, 2, 3, 4});
    EXPECT_EQ(readPixelClamped(rgb, 0, 0), (Rgba{1, 2, 3, 255})) << "no alpha reads as 255";
}

TEST(PixelAccess, WritesAlphaOnlyWhereThereIsAlpha) {
    Surface rgbx(1, 1, false, ChannelOrder::RGBX);
    rgbx.getData()[3] = 77;
    writePixelClamped(rgbx, 0, 0, Rgba{1, 2, 3, 4});
    EXPECT_EQ(rgbx.getData()[3], 77) << "the X byte is left alone";
    EXPECT_EQ(rgbx.getData()[2], 3);

    Surface argb(1, 1, true, ChannelOrder::ARGB);
    writePixelClamped(argb, 0, 0, Rgba{1, 2, 3, 4});
    EXPECT_EQ(argb.getData()[0], 4);
    EXPECT_EQ(argb.getData()[1], 1);

    Surface empty(0, 0, true);
    EXPECT_NO_FATAL_FAILURE(writePixelClamped(empty, 0, 0, Rgba{}));
}
