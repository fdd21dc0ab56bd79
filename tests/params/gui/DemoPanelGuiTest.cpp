// The demo program's panel on the X display: its layout read back from screenshots at known
// pixels (strips, bar fill, box colours by value), then driven with real mouse input. A press on
// a control is consumed with its drag and release; a press elsewhere reaches the application.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tools/XTools.h"

extern char** environ;

using namespace loom::testtools;

namespace {

using Rgb = std::array<int, 3>;

// The demo program, started for one test and ended (by its pid) when the test is done.
class DemoProcess {
public:
    DemoProcess() {
        const std::string path = std::string(LOOM_BINARY_DIR) + "/examples/loom_demo";
        char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
        setenv("SDL_VIDEODRIVER", "x11", 0);
        // Its output would hold the test runner's pipes open.
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, path.c_str(), &quiet, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&quiet);
    }
    // Asks the demo to close (SDL turns SIGTERM into a quit), and kills it if it has not
    // within five seconds.
    ~DemoProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        const bool ended = waitUntil([&] { return waitpid(pid_, nullptr, WNOHANG) == pid_; },
                                     std::chrono::seconds(5));
        if (!ended) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;
    bool started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

// The window's pixels, read as a binary PPM from ImageMagick's import.
class Shot {
public:
    explicit Shot(const std::string& windowId) {
        CommandResult ppm = runCommand("timeout 10 import -window " + windowId + " -depth 8 ppm:- 2>/dev/null");
        std::istringstream in(ppm.output);
        std::string magic;
        int maxValue = 0;
        in >> magic >> width_ >> height_ >> maxValue;
        in.get();
        if (magic != "P6" || maxValue != 255 || width_ <= 0 || height_ <= 0) return;
        pixels_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (pixels_.size() < size_t(width_) * height_ * 3) pixels_.clear();
    }
    bool valid() const { return !pixels_.empty(); }
    Rgb at(int x, int y) const {
        const size_t i = (size_t(y) * width_ + x) * 3;
        return {uint8_t(pixels_[i]), uint8_t(pixels_[i + 1]), uint8_t(pixels_[i + 2])};
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::string pixels_;
};

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
        Shot shot(id);
        misses.clear();
        if (!shot.valid()) return (misses = "no screenshot"), false;
        for (const Expect& e : expected)
            if (!near(shot.at(e.x, e.y), e.colour))
                misses += std::string(e.what) + " at " + std::to_string(e.x) + "," +
                          std::to_string(e.y) + " is " + show(shot.at(e.x, e.y)) + "; ";
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
    DemoProcess demo;
    ASSERT_TRUE(demo.started());
    const std::string id = waitForWindow("loom demo", 20);
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
    Shot shot(id);
    ASSERT_TRUE(shot.valid());
    for (int y = 6; y < 19; ++y)
        for (int x = 7; x < 70; ++x) captionPixels += shot.at(x, y)[0] > 200;
    EXPECT_GT(captionPixels, 40) << "the first label's caption is written in white";
}

TEST(DemoPanelGui, ClicksOnControlsAreTakenAndOthersReachTheDemo) {
    DemoProcess demo;
    ASSERT_TRUE(demo.started());
    const std::string id = waitForWindow("loom demo", 20);
    ASSERT_FALSE(id.empty());
    // The checkerboard texture the demo drags sits at (40, 60) to (168, 188).
    const Rgb checkerAt160 = [&] {
        EXPECT_EQ(waitForPixels(id, {{12, 76, FULL, "Red, on"}}), "");
        return Shot(id).at(160, 180);
    }();
    ASSERT_FALSE(near(checkerAt160, BACKGROUND)) << "the checkerboard is under (160, 180)";

    // A click on Green selects it and turns Red off.
    ASSERT_TRUE(movePointer(id, 12, 93));
    ASSERT_TRUE(xdotool("click 1"));
    EXPECT_EQ(waitForPixels(id, {{12, 93, FULL, "Green, on"}, {12, 76, EMPTY, "Red, off"}}), "");

    // A press on the bar, dragged far past its right end: the value follows to the maximum and
    // the texture (which the demo drags on presses it receives) stays.
    ASSERT_TRUE(movePointer(id, 20, 42));
    ASSERT_TRUE(xdotool("mousedown 1"));
    ASSERT_TRUE(movePointer(id, 400, 300));
    EXPECT_EQ(waitForPixels(id, {{129, 42, FULL, "bar full"}, {160, 180, checkerAt160, "texture"}}),
              "");
    ASSERT_TRUE(xdotool("mouseup 1"));

    // A press outside the panel reaches the demo: dragging from the texture moves it.
    ASSERT_TRUE(movePointer(id, 160, 180));
    ASSERT_TRUE(xdotool("mousedown 1"));
    ASSERT_TRUE(movePointer(id, 300, 400));
    ASSERT_TRUE(xdotool("mouseup 1"));
    EXPECT_EQ(waitForPixels(id, {{160, 180, BACKGROUND, "texture moved away"}}), "");
    EXPECT_EQ(waitForPixels(id, {{129, 42, FULL, "bar unchanged"}, {12, 93, FULL, "Green kept"}}),
              "");
}
