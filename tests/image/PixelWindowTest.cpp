#include <gtest/gtest.h>

#include "PixelTestUtil.h"
#include "image/PixelWindow.h"

using loom::ChannelOrder;
using loom::PixelWindow;
using loom::Surface;
using namespace loom::test;

TEST(PixelWindow, LoadClampsNeighboursToTheEdgePixels) {
    Surface s = imageFromRows({"RG", "BK"});
    const uint32_t opaque = 0xFF000000u;  // an RGB surface's pixels read as opaque
    PixelWindow w(s, 3, 3, 1, 1);
    ASSERT_TRUE(w.load(0));
    EXPECT_EQ(w.cell(0, 0), opaque | letterColour('R')) << "above-left of (0,0) clamps to (0,0)";
    EXPECT_EQ(w.cell(2, 0), opaque | letterColour('G')) << "above-right clamps to (1,0)";
    EXPECT_EQ(w.cell(0, 2), opaque | letterColour('B')) << "below-left clamps to (0,1)";
    EXPECT_EQ(w.cell(2, 2), opaque | letterColour('K'));
    EXPECT_EQ(w.anchorX(), 0) << "step 0 does not move";
}

TEST(PixelWindow, CellsHoldWholePixelsWhateverTheChannelOrder) {
    Surface s(1, 1, true, ChannelOrder::ARGB);
    setPixel(s, 0, 0, 0x123456, 9);
    PixelWindow w(s, 1, 1, 0, 0);
    w.load(0);
    EXPECT_EQ(w.cell(0, 0), 0x09123456u);
}

TEST(PixelWindow, StoreWritesColumnsInOrderSoTheLastDuplicateWins) {
    Surface s = imageFromRows({"WW", "WW"}, ChannelOrder::RGBA);
    setPixel(s, 0, 0, 0xFFFFFF, 77);
    PixelWindow w(s, 3, 3, 1, 1);
    w.load(0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) w.cell(i, j) = uint32_t(10 * i + j) * 0x01000001u;  // alpha = colour
    w.store(0);
    // Cells (0,0), (0,1), (1,0) and (1,1) all clamp to pixel (0,0); (1,1) is written last.
    EXPECT_EQ(colourAt(s, 0, 0), 11u);
    // Pixel (1,1) gets cells (2,1), (2,2); the later is (2,2).
    EXPECT_EQ(colourAt(s, 1, 1), 22u);
    EXPECT_EQ(alphaAt(s, 0, 0), 11) << "alpha travels with the colour";
}

TEST(PixelWindow, AdvanceWalksRasterOrderAndReportsTheEnd) {
    Surface s = imageFromRows({"WWW", "WWW"});
    PixelWindow w(s, 1, 1, 0, 0);
    EXPECT_TRUE(w.advance(2, 2));
    EXPECT_EQ(w.anchorX(), 2);
    EXPECT_TRUE(w.advance(1, 1)) << "from the row's end down to the next row";
    EXPECT_EQ(w.anchorX(), 0);
    EXPECT_EQ(w.anchorY(), 1);
    EXPECT_TRUE(w.advance(0, 0));
    EXPECT_EQ(w.anchorX(), 0) << "step 0 does not move";
    EXPECT_FALSE(w.advance(5, 5)) << "stops at the row's end, then leaves the image";
    EXPECT_EQ(w.anchorY(), 2);
}

TEST(PixelWindow, EmptySurfaceIsNotValidAndTouchesNothing) {
    Surface s(0, 4, false);
    PixelWindow w(s, 3, 3, 1, 1);
    EXPECT_FALSE(w.isValid());
    EXPECT_FALSE(w.load(1));
    EXPECT_FALSE(w.store(1));
}
