#include <gtest/gtest.h>

#include "app/ViewLayout.h"

using loom::app::placeUnwarped;

TEST(UnwarpedPlacement, KeepsZoomPixelsPerSourcePixelWhateverTheFactor) {
    // A 100 x 50 source enlarged by Scale2x, zoom 4, 640 x 480: two screen pixels per texel, the
    // picture spanning x 120..520 and y 140..340.
    const auto p = placeUnwarped(4.0f, 100, 200, 100, 640, 480);
    EXPECT_FLOAT_EQ(p.scale, 2.0f);
    EXPECT_FLOAT_EQ(p.topLeft.x * p.scale, 120.0f);
    EXPECT_FLOAT_EQ(p.topLeft.y * p.scale, 140.0f);
    EXPECT_FLOAT_EQ((p.topLeft.x + 200) * p.scale, 520.0f);
    EXPECT_FLOAT_EQ((p.topLeft.y + 100) * p.scale, 340.0f);
}

TEST(UnwarpedPlacement, NeverBelowOneScreenPixelPerTexel) {
    // Scale4x at zoom 1 would be a quarter pixel per texel: drawn at its own size, centred.
    const auto p = placeUnwarped(1.0f, 100, 400, 200, 640, 480);
    EXPECT_FLOAT_EQ(p.scale, 1.0f);
    EXPECT_FLOAT_EQ(p.topLeft.x, 120.0f);
    EXPECT_FLOAT_EQ(p.topLeft.y, 140.0f);
}

TEST(UnwarpedPlacement, TheLoadedImageItselfIsDrawnAtTheZoom) {
    const auto p = placeUnwarped(3.0f, 32, 32, 32, 640, 480);
    EXPECT_FLOAT_EQ(p.scale, 3.0f);
    EXPECT_FLOAT_EQ(p.topLeft.x * 3.0f + 16 * 3.0f, 320.0f) << "centred";
}

TEST(UnwarpedPlacement, StaysCentredWhenTheWindowResizes) {
    const auto p = placeUnwarped(4.0f, 32, 64, 64, 1280, 1024);
    EXPECT_FLOAT_EQ((p.topLeft.x + 32) * p.scale, 640.0f);
    EXPECT_FLOAT_EQ((p.topLeft.y + 32) * p.scale, 512.0f);
}
