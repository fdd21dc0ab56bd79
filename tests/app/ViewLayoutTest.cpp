#include <gtest/gtest.h>

#include "app/ViewLayout.h"

using loom::Vec2f;
using namespace loom::app;

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

TEST(UnwarpedPlacement, BelowZoomOneTheZoomAppliesPerTexelAndThePanMovesThePicture) {
    // Scale4x of a 1000-pixel-wide source at zoom 1/2: half a screen pixel per texel.
    const auto half = placeUnwarped(0.5f, 1000, 4000, 2000, 640, 480);
    EXPECT_FLOAT_EQ(half.scale, 0.5f);
    EXPECT_FLOAT_EQ((half.topLeft.x + 2000) * half.scale, 320.0f) << "centred";
    const auto panned = placeUnwarped(4.0f, 32, 64, 64, 640, 480, Vec2f(40, -20));
    EXPECT_FLOAT_EQ(panned.topLeft.x * panned.scale, 256.0f + 40.0f);
    EXPECT_FLOAT_EQ(panned.topLeft.y * panned.scale, 176.0f - 20.0f);
}

TEST(ZoomStep, WholeStepsAndTheirReciprocalsHeldAtTheEnds) {
    const struct {
        float zoom;
        int steps;
        float expected;
    } cases[] = {
        {4, 1, 5},        {4, -1, 3},          {3.4f, 1, 4}, {3.4f, -1, 3}, {1, -1, 0.5f},
        {0.5f, 1, 1},     {0.5f, -2, 0.25f},   {4, 3, 7},    {64, 1, 64},   {1.0f / 64, -1, 1.0f / 64},
        {100, -1, 64.0f}, {1.0f / 3, 1, 0.5f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(zoomStep(c.zoom, c.steps), c.expected) << c.zoom << " by " << c.steps;
}

TEST(FittingZoom, TheLargestLevelThatFits) {
    const auto square = [](float side) {
        return [side](float zoom) { return Vec2f(side, side) * zoom; };
    };
    EXPECT_FLOAT_EQ(fittingZoom(square(32), Vec2f(640, 480)), 15.0f);
    EXPECT_FLOAT_EQ(fittingZoom(square(4000), Vec2f(640, 480)), 1.0f / 9);
    EXPECT_FLOAT_EQ(fittingZoom(square(1e6f), Vec2f(640, 480)), 1.0f / 64) << "none fits";
}

TEST(PanKeepingPoint, ThePointedPixelStaysPut) {
    // Zoom 4 to 5 with the pointer on the centred 32 x 32 picture's top-left corner (256, 176).
    const Vec2f pan = panKeepingPoint(Vec2f(), Vec2f(256, 176), Vec2f(320, 240), 4, 5);
    EXPECT_EQ(pan, Vec2f(16, 16));
    EXPECT_EQ(Vec2f(320, 240) + pan - Vec2f(16, 16) * 5, Vec2f(256, 176));
    EXPECT_EQ(panKeepingPoint(Vec2f(7, 9), Vec2f(320, 240), Vec2f(320, 240), 2, 6), Vec2f(21, 27))
        << "about the centre the pan scales";
}
