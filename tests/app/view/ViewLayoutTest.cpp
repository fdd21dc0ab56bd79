#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "app/view/ViewLayout.h"

using loom::Vec2f;
using namespace loom::app;

namespace {

float levelAt(int index) { return zoomLevels()[size_t(index)]; }

// Every level is n or 1/n for a whole n: whole screen pixels per result pixel, or whole result
// pixels per screen pixel.
bool whole(float level) {
    const float n = level >= 1.0f ? level : 1.0f / level;
    return std::abs(n - std::round(n)) < 1e-4f;
}

}  // namespace

TEST(UnwarpedPlacement, CentredOnWholeWindowPixelsAndMovedByThePan) {
    // Scale2x of a 50-pixel-wide source at zoom 3: 300 x 150 in 640 x 480, at (170, 165).
    const auto p = placeUnwarped(3.0f, 100, 50, 640, 480);
    EXPECT_FLOAT_EQ(p.scale, 3.0f);
    EXPECT_FLOAT_EQ(p.topLeft.x * p.scale, 170.0f);
    EXPECT_FLOAT_EQ(p.topLeft.y * p.scale, 165.0f);
    // 33 pixels at zoom 1 would start at 303.5: rounded down, so texels fall on whole pixels.
    EXPECT_FLOAT_EQ(placeUnwarped(1.0f, 33, 33, 640, 480).topLeft.x, 303.0f);
    // At 1/2, 2000 texels are 1000 screen pixels, centred in 640 and panned by 40.
    const auto half = placeUnwarped(0.5f, 2000, 1000, 640, 480, Vec2f(40, -20));
    EXPECT_FLOAT_EQ(half.topLeft.x * half.scale, -180.0f + 40.0f);
    EXPECT_FLOAT_EQ(half.topLeft.y * half.scale, -10.0f - 20.0f);
}

TEST(ZoomLevels, WholeStepsAscendingFromOneSixtyFourthToSixtyFourNamedAsShown) {
    const std::vector<float>& levels = zoomLevels();
    const std::vector<std::string> names = zoomLevelNames();
    ASSERT_EQ(names.size(), levels.size());
    EXPECT_FLOAT_EQ(levels.front(), 1.0f / 64);
    EXPECT_FLOAT_EQ(levels.back(), 64.0f);
    EXPECT_EQ(names.front(), "1/64");
    EXPECT_EQ(names.back(), "64");
    for (size_t i = 0; i < levels.size(); ++i) EXPECT_TRUE(whole(levels[i])) << names[i];
    EXPECT_EQ(std::adjacent_find(levels.begin(), levels.end(), std::greater_equal<float>()),
              levels.end())
        << "strictly ascending";
    const int one = nearestZoomLevel(1.0f);
    EXPECT_EQ(names[size_t(one)], "1");
    EXPECT_EQ(names[size_t(one - 1)], "1/2");
    for (int n = 1; n <= 16; ++n)
        EXPECT_FLOAT_EQ(levelAt(one + n - 1), float(n)) << "every n up to 16 is a level";
    EXPECT_LE(levels.size(), 125u / 2) << "each level has two pixels or more of the slider's bar";
}

TEST(ZoomLevels, WheelStepsAreLevelsHeldAtTheEnds) {
    const int four = nearestZoomLevel(4.0f);
    const int last = int(zoomLevels().size()) - 1;
    EXPECT_FLOAT_EQ(levelAt(zoomStep(four, 1)), 5.0f);
    EXPECT_FLOAT_EQ(levelAt(zoomStep(four, -3)), 1.0f);
    EXPECT_FLOAT_EQ(levelAt(zoomStep(four, -4)), 0.5f);
    EXPECT_EQ(zoomStep(last, 1), last);
    EXPECT_EQ(zoomStep(0, -2), 0);
    EXPECT_EQ(nearestZoomLevel(1000.0f), last);
    EXPECT_EQ(nearestZoomLevel(1e-4f), 0);
}

// The picture shown at 4 screen pixels per source pixel ("None" at zoom 4), then each factor:
// the level nearest in log scale to 4 / factor, so the size on screen stays as near as whole
// pixels allow. 4/3 is nearer 1 than 2 (ratio 1.33 against 1.5); 4/6 is nearer 1/2 than 1.
TEST(ZoomLevels, ChangingTheFactorKeepsTheSizeNearestInLogScale) {
    const struct {
        int factor;
        float level;
    } cases[] = {{1, 4}, {2, 2}, {3, 1}, {4, 1}, {6, 0.5f}, {8, 0.5f}, {16, 0.25f}};
    const int four = nearestZoomLevel(4.0f);
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(levelAt(levelKeepingSize(four, 1, c.factor)), c.level) << "factor " << c.factor;
    EXPECT_FLOAT_EQ(levelAt(levelKeepingSize(nearestZoomLevel(3.0f), 2, 4)), 2.0f) << "1.5 goes up";
    EXPECT_FLOAT_EQ(levelAt(nearestZoomLevel(1.45f)), 2.0f) << "2 / 1.45 is less than 1.45 / 1";
    EXPECT_FLOAT_EQ(levelAt(levelKeepingSize(nearestZoomLevel(1.0f), 3, 1)), 3.0f) << "and back up";
}

TEST(FitBesidePanel, TheLargestLevelInTheLargerFreePartCentredThere) {
    const Vec2f window(640, 480), panel(135, 420);
    // Right of the panel: 505 x 480 takes 32 pixels at 15; below it, 640 x 60 at 1.
    const ZoomFit sprite = fitBesidePanel(Vec2f(32, 32), window, panel);
    EXPECT_FLOAT_EQ(levelAt(sprite.level), 15.0f);
    EXPECT_EQ(sprite.centre, Vec2f(387.5f, 240.0f));
    // A wide strip fits better below a short panel.
    const ZoomFit strip = fitBesidePanel(Vec2f(300, 10), window, Vec2f(135, 300));
    EXPECT_FLOAT_EQ(levelAt(strip.level), 2.0f);
    EXPECT_EQ(strip.centre, Vec2f(320, 390));
    // A 4096 x 4096 result fits right of the panel at 1/9: 455 pixels.
    EXPECT_FLOAT_EQ(levelAt(fitBesidePanel(Vec2f(4096, 4096), window, panel).level), 1.0f / 9);
    EXPECT_EQ(fitBesidePanel(Vec2f(1e6f, 1e6f), window, panel).level, 0) << "none fits";
}

TEST(PanKeepingPoint, ThePointedPixelStaysPut) {
    // Zoom 4 to 5 with the pointer on the centred 32 x 32 picture's top-left corner (256, 176).
    const Vec2f pan = panKeepingPoint(Vec2f(), Vec2f(256, 176), Vec2f(320, 240), 4, 5);
    EXPECT_EQ(pan, Vec2f(16, 16));
    EXPECT_EQ(Vec2f(320, 240) + pan - Vec2f(16, 16) * 5, Vec2f(256, 176));
    EXPECT_EQ(panKeepingPoint(Vec2f(7, 9), Vec2f(320, 240), Vec2f(320, 240), 2, 6), Vec2f(21, 27))
        << "about the centre the pan scales";
}
