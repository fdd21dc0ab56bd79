// The demo program's panel on the X display: its layout read back from screenshots at known
// pixels (strips, bar fill, box colours by value), then driven with real mouse input. A press on
// a control is consumed with its drag and release; a press elsewhere reaches the application.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/Image.h"
#include "tools/Process.h"
#include "tools/WaitUntil.h"
#include "tools/XWindows.h"

using namespace loom::testtools;

namespace {

using Rgb = std::array<int, 3>;

const std::string kDemoPath = LOOM_BINARY_DIR "/examples/loom_demo";

Rgb pixel(const Image& shot, int x, int y) {
    const std::array<uint8_t, 3> p = shot.rgb(x, y);
    return {p[0], p[1], p[2]};
}

bool near(const Rgb& p, const Rgb& expected, int tolerance = 2) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - expected[i]) > tolerance) return false;
    return true;
}

std::string show(const Rgb& p) {
    return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]);
}

// Polls screenshots until every (x, y, colour) holds; returns a description of the misses.
struct Expect {
    int x, y;
    Rgb colour;
    const char* what;
};
std::string waitForPixels(const std::string& id, const std::vector<Expect>& expected) {
    std::string misses;
    waitUntil([&] {
        const Image shot = grabWindow(id);
        misses.clear();
        if (shot.empty()) return (misses = "no screenshot"), false;
        for (const Expect& e : expected)
            if (!near(pixel(shot, e.x, e.y), e.colour))
                misses += std::string(e.what) + " at " + std::to_string(e.x) + "," +
                          std::to_string(e.y) + " is " + show(pixel(shot, e.x, e.y)) + "; ";
        return misses.empty();
    });
    return misses;
}

// The demo clears to (0.12, 0.12, 0.15); strips are half-transparent black over it.
const Rgb BACKGROUND = {31, 31, 38};
const Rgb STRIP = {15, 15, 19};
const Rgb FULL = {255, 255, 255};
const Rgb EMPTY = {76, 76, 76};

}  // namespace

TEST(DemoPanelGui, LayoutAndColoursMatchThePanelsRows) {
    Process demo({kDemoPath});
    const std::string id = waitForWindow("loom demo", std::chrono::seconds(20));
    ASSERT_FALSE(id.empty()) << "the demo window did not appear";

    // Column from (7, 7): label (strip y 4..19), slider at 24 (bar y 37..46, x 7..131, 60 on
    // [20, 120] fills to x 57), label at 54, radio boxes at 71, 88, 105 (x 7..16), Red on.
    EXPECT_EQ(waitForPixels(id, {{2, 10, BACKGROUND, "left of the strips"},
                                 {130, 10, STRIP, "first label's strip"},
                                 {130, 3, BACKGROUND, "above the first strip"},
                                 {130, 20, BACKGROUND, "gap row between strips"},
                                 {130, 22, STRIP, "slider strip"},
                                 {136, 30, BACKGROUND, "right of the strips"},
                                 {10, 38, FULL, "bar fill"},
                                 {56, 45, FULL, "bar fill end"},
                                 {58, 42, EMPTY, "bar rest"},
                                 {131, 42, EMPTY, "bar right end"},
                                 {130, 36, STRIP, "strip above the bar"},
                                 {130, 48, STRIP, "strip below the bar"},
                                 {12, 76, FULL, "Red, on"},
                                 {12, 93, EMPTY, "Green, off"},
                                 {12, 110, EMPTY, "Blue, off"},
                                 {18, 76, STRIP, "strip right of the box"}}),
              "");

    int captionPixels = 0;
    const Image shot = grabWindow(id);
    ASSERT_FALSE(shot.empty());
    for (int y = 6; y < 19; ++y)
        for (int x = 7; x < 70; ++x) captionPixels += shot.rgb(x, y)[0] > 200;
    EXPECT_GT(captionPixels, 40) << "the first label's caption is written in white";
}

TEST(DemoPanelGui, ClicksOnControlsAreTakenAndOthersReachTheDemo) {
    Process demo({kDemoPath});
    const std::string id = waitForWindow("loom demo", std::chrono::seconds(20));
    ASSERT_FALSE(id.empty());
    // The checkerboard texture the demo drags sits at (40, 60) to (168, 188).
    const Rgb checkerAt160 = [&] {
        EXPECT_EQ(waitForPixels(id, {{12, 76, FULL, "Red, on"}}), "");
        return pixel(grabWindow(id), 160, 180);
    }();
    ASSERT_FALSE(near(checkerAt160, BACKGROUND)) << "the checkerboard is under (160, 180)";

    // A click on Green selects it and turns Red off.
    click(id, 12, 93);
    EXPECT_EQ(waitForPixels(id, {{12, 93, FULL, "Green, on"}, {12, 76, EMPTY, "Red, off"}}), "");

    // A press on the bar, dragged far past its right end: the value follows to the maximum and
    // the texture (which the demo drags on presses it receives) stays.
    moveMouse(id, 20, 42);
    pressButton(1);
    moveMouse(id, 400, 300);
    EXPECT_EQ(waitForPixels(id, {{129, 42, FULL, "bar full"}, {160, 180, checkerAt160, "texture"}}), "");
    releaseButton(1);

    // A press outside the panel reaches the demo: dragging from the texture moves it.
    moveMouse(id, 160, 180);
    pressButton(1);
    moveMouse(id, 300, 400);
    releaseButton(1);
    EXPECT_EQ(waitForPixels(id, {{160, 180, BACKGROUND, "texture moved away"}}), "");
    EXPECT_EQ(waitForPixels(id, {{129, 42, FULL, "bar unchanged"}, {12, 93, FULL, "Green kept"}}), "");
}
