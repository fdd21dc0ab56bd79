// The demo program end to end: its window shows the checkerboard texture, the shapes and the
// background where they belong, a left drag moves the texture, and Escape ends it with status 0.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "tools/Image.h"
#include "tools/Process.h"
#include "tools/WaitUntil.h"
#include "tools/XWindows.h"

using namespace loom::testtools;

namespace {

using Rgb = std::array<uint8_t, 3>;

// Grabs the window until the pixel at (x, y) is colour (the first frames, a drag, the turning
// line); returns the last grab.
Image waitForPixel(const std::string& window, int x, int y, const Rgb& colour) {
    Image shot;
    waitUntil([&] {
        shot = grabWindow(window);
        return !shot.empty() && shot.rgb(x, y) == colour;
    });
    return shot;
}

}  // namespace

TEST(DemoGui, DrawsItsSceneFollowsADragAndQuitsOnEscape) {
    Process demo({LOOM_BINARY_DIR "/examples/loom_demo"});
    const std::string window = waitForWindow("loom demo");
    ASSERT_FALSE(window.empty()) << "the demo window did not appear";

    // The texture spans (40, 60) to (168, 188) in 32-pixel cells, dark where the cell sum is even.
    const Rgb dark = {40, 90, 160}, light = {230, 200, 60}, background = {31, 31, 38};
    Image shot = waitForPixel(window, 150, 170, dark);
    ASSERT_FALSE(shot.empty());
    EXPECT_EQ(shot.rgb(150, 170), dark) << "a dark cell";
    EXPECT_EQ(shot.rgb(150, 140), light) << "the light cell above";
    EXPECT_EQ(shot.rgb(180, 170), background) << "right of the texture";
    EXPECT_EQ(shot.rgb(600, 400), background) << "background";
    EXPECT_EQ(shot.rgb(100, 380), (Rgb{51, 204, 102})) << "the green rectangle";
    // Inside the circle, once the turning white line is elsewhere.
    EXPECT_EQ(waitForPixel(window, 448, 200, {230, 76, 51}).rgb(448, 200), (Rgb{230, 76, 51}));

    // Dragged 100 pixels right, the cells follow.
    drag(window, 150, 170, 250, 170);
    shot = waitForPixel(window, 250, 170, dark);
    EXPECT_EQ(shot.rgb(250, 170), dark) << "the texture did not follow the drag";
    EXPECT_EQ(shot.rgb(100, 170), background) << "where the texture's left edge was";

    key(window, "Escape");
    ASSERT_TRUE(waitUntil([&] { return !demo.running(); })) << "Escape did not end the demo";
    EXPECT_EQ(demo.exitStatus(), 0);
}
