// QuennetApp used as a user would: on a private X server, with real X input (xdotool), a real
// drag and drop (XDND), the real save dialog (zenity) answered by key presses, and the window's
// pixels checked against the picture it should show. Expected pictures of the upscalers and warps
// come from the `quennet` command-line tool run on the same file.
//
// Geometry used throughout (the window opens at 640 x 480; the zoom is whole screen pixels per
// result pixel, 4 for None at first, and a change of upscaler takes the level that keeps the
// picture's size: 2 for the 2x upscalers, 1 for the 4x ones): the 32 x 32 sample is shown centred
// at 4 screen pixels per sample pixel, at (256, 176) to (384, 304).
// The panel's controls are pressed where the application's panel lays them out (AppPanelLayout.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "AppPanelLayout.h"
#include "PictureCheck.h"
#include "params/BoxControl.h"
#include "tools/Process.h"
#include "tools/WaitUntil.h"
#include "tools/XServer.h"
#include "tools/XWindows.h"

namespace fs = std::filesystem;
using namespace e2e;
using namespace loom::testtools;
using namespace std::chrono_literals;

namespace {

const std::string kAppPath = LOOM_BINARY_DIR "/src/app/quennetapp";
const std::string kCliPath = LOOM_BINARY_DIR "/src/cli/quennet";
const std::string kSample = LOOM_SOURCE_DIR "/assets/sample.png";

constexpr int kPictureLeft = 256, kPictureTop = 176, kPictureSide = 128;
// The window's title, "QuennetApp" alone or after the file and upscaler shown.
const std::string kAnyAppTitle = "(.* - )?QuennetApp";

class QuennetAppE2E : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quennetapp-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        sprite_ = dir_ + "/hero.png";
        fs::copy_file(kSample, sprite_);
        server_ = std::make_unique<XServer>();
    }

    void TearDown() override {
        app_.reset();
        server_.reset();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // Starts the application and waits for its first frame; the window id.
    std::string launch(const std::vector<std::string>& files = {}) {
        std::vector<std::string> argv = {kAppPath};
        argv.insert(argv.end(), files.begin(), files.end());
        app_ = std::make_unique<Process>(argv, "", dir_ + "/stderr.txt");
        const std::string wid = waitForWindow(kAnyAppTitle);
        if (wid.empty()) return wid;
        // The bottom-right corner is background once a frame has been drawn.
        waitUntil([&] { return isBackground(grabWindow(wid), 630, 470); });
        return wid;
    }

    // Waits until the window shows `picture` at `scale` screen pixels per picture pixel in the
    // picture's place; the last grab is left in screen_.
    bool waitForPicture(const std::string& wid, const Image& picture, int scale,
                        std::chrono::milliseconds timeout = 10s) {
        return waitUntil(
            [&] {
                screen_ = grabWindow(wid);
                return mismatches(screen_, picture, kPictureLeft, kPictureTop, scale) == 0;
            },
            timeout);
    }

    void clickUpscaler(const std::string& wid, const std::string& name) {
        const std::array<int, 2> box = panel_.middle("1. Upscaling", name);
        click(wid, box[0], box[1]);
    }
    void clickTransform(const std::string& wid, const std::string& name) {
        const std::array<int, 2> box = panel_.middle("2. Transform", name);
        click(wid, box[0], box[1]);
    }
    void clickCompare(const std::string& wid, const std::string& rule) {
        const std::array<int, 2> box = panel_.middle("3. Compare", rule);
        click(wid, box[0], box[1]);
    }
    void clickZoom(const std::string& wid, float zoom) {
        const std::array<int, 2> point = panel_.zoomPoint(zoom);
        click(wid, point[0], point[1]);
    }

    // Selects Projective and waits until the outline shows while the picture inside it is what
    // screen_ held before: the quad is the unmoved image rectangle. The outline (2 pixels wide)
    // and the handles (radius 4) stay within 5 pixels of the picture's edges.
    bool projectiveLooksUnwarped(const std::string& wid) {
        const Image unwarped = screen_;
        const int inset = 5, inner = kPictureSide - 2 * inset;
        clickTransform(wid, "Projective");
        return waitUntil([&] {
            screen_ = grabWindow(wid);
            return !isBackground(screen_, kPictureLeft - 2, kPictureTop - 2) &&
                   changedPixels(unwarped, screen_, kPictureLeft + inset, kPictureTop + inset, inner,
                                 inner) == 0;
        });
    }

    // What `quennet` writes for the input (the sprite by default) with these options, read back.
    Image cliResult(const std::vector<std::string>& options, const std::string& input = "") {
        const std::string out = dir_ + "/cli-" + std::to_string(++cliRuns_) + ".png";
        std::vector<std::string> argv = {kCliPath};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), {"-f", "-o", out, input.empty() ? sprite_ : input});
        EXPECT_EQ(run(argv).status, 0) << "quennet failed";
        return readImageFile(out);
    }

    // "s", then Return in the save dialog: the file written under the proposed name, read back
    // (empty when none came).
    Image saveAsProposed(const std::string& wid, const std::string& proposedName) {
        key(wid, "s");
        const std::string dialog = waitForWindowOfClass("zenity");
        EXPECT_FALSE(dialog.empty()) << "no save dialog";
        if (dialog.empty()) return Image();
        EXPECT_FALSE(waitForWindow("Save the result").empty()) << "the save dialog's title";
        key(dialog, "Return");
        const std::string saved = dir_ + "/" + proposedName;
        EXPECT_TRUE(waitUntil([&] { return readImageFile(saved).width > 0; }))
            << "nothing written to " << proposedName;
        return readImageFile(saved);
    }

    // "s" until a save dialog opens: the window takes keys again only once it has seen the last
    // dialog close, which a loaded machine may delay. The dialog's window, or empty.
    std::string openSaveDialog(const std::string& wid) {
        std::string dialog;
        waitUntil(
            [&] {
                key(wid, "s");
                dialog = waitForWindowOfClass("zenity", 5s);
                return !dialog.empty();
            },
            60s);
        return dialog;
    }

    // Escape until the dialog is gone: one just shown may not take keys yet.
    static bool cancelDialog(const std::string& dialog) {
        return waitUntil(
            [&] {
                key(dialog, "Escape");
                return waitForWindowGone(dialog, 5s);
            },
            60s);
    }

    // Pixels of the status line's text at the window's bottom left.
    static int statusLinePixels(const Image& screen) {
        int text = 0;
        for (int y = 480 - 28; y < 480; ++y)
            for (int x = 0; x < 160; ++x) text += isBackground(screen, x, y) ? 0 : 1;
        return text;
    }

    // Finds the message box with this title, checks it, and closes it with Return.
    void closeMessageBox(const std::string& title) {
        const std::string box = waitForWindow(title);
        ASSERT_FALSE(box.empty()) << "no message box \"" << title << "\"";
        key(box, "Return");
        EXPECT_TRUE(waitForWindowGone(box)) << "the message box did not close";
    }

    std::string stderrText() const {
        std::ifstream in(dir_ + "/stderr.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_, sprite_;
    std::unique_ptr<XServer> server_;
    std::unique_ptr<Process> app_;
    AppPanelLayout panel_;
    Image screen_;
    int cliRuns_ = 0;
};

}  // namespace

TEST_F(QuennetAppE2E, StartsWithTheTitleTheSizeAndThePanel) {
    const std::string wid = launch();
    ASSERT_FALSE(wid.empty()) << "no window titled QuennetApp";
    EXPECT_EQ(findWindows("QuennetApp"), std::vector<std::string>{wid})
        << "before a file, the title is QuennetApp alone";
    EXPECT_EQ(windowSize(wid), (std::array<int, 2>{640, 480}));
    const Image screen = grabWindow(wid);
    // Before a file is opened only the quad's handles (around the centre) and the panel show.
    long drawn = 0;
    for (int y = 150; y < 330; ++y)
        for (int x = 150; x < 490; ++x) drawn += isBackground(screen, x, y) ? 0 : 1;
    EXPECT_LT(drawn, 400) << "no picture before a file is opened";

    // The panel where its layout puts it, each box's row on the strip drawn behind it.
    const auto stripOf = [&](const std::string& section, const std::string& caption) {
        const loom::Rectf box = panel_.area(section, caption);
        return loom::params::BoxControl::stripFor({box.x1, box.y1});
    };
    const std::array<int, 2> none = panel_.middle("1. Upscaling", "None");
    EXPECT_FALSE(isBackground(screen, none[0], none[1])) << "the None box is drawn";
    const loom::Rectf noneStrip = stripOf("1. Upscaling", "None");
    EXPECT_FALSE(isBackground(screen, int(noneStrip.x2) - 1, none[1]))
        << "the strips reach x = " << noneStrip.x2;
    EXPECT_TRUE(isBackground(screen, int(noneStrip.x2) + 1, none[1])) << "and end there";
    EXPECT_TRUE(isBackground(screen, int(noneStrip.x1) - 2, none[1]))
        << "they start at x = " << noneStrip.x1;
    const loom::Rectf bilinearStrip = stripOf("2. Transform", "Bilinear");
    const loom::Rectf seenStrip = stripOf("3. Compare", "Seen");
    const loom::Rectf lastStrip = stripOf("3. Compare", "Wrap edges");
    const float row = seenStrip.y2 - seenStrip.y1;
    EXPECT_FALSE(isBackground(screen, 50, int(bilinearStrip.y2 + row / 2)))
        << "the Perf label's strip, after the transforms";
    EXPECT_FALSE(isBackground(screen, 50, int(seenStrip.y1 - row / 2)))
        << "the \"3. Compare\" label's strip, before the rules";
    EXPECT_FALSE(isBackground(screen, 50, int(lastStrip.y2) - 2)) << "\"Wrap edges\"'s strip";
    EXPECT_TRUE(isBackground(screen, 50, int(lastStrip.y2) + 2)) << "is the last one";
    EXPECT_LT(lastStrip.y2, 480 - 28) << "the panel ends above the status line";
    EXPECT_TRUE(app_->running());
}

TEST_F(QuennetAppE2E, ADroppedFileIsShownCentredAtTheZoom) {
    const std::string wid = launch();
    ASSERT_FALSE(wid.empty());
    // "s" with nothing open says so on the Perf label, between the transforms and the comparison
    // rules, and opens no save dialog: the drop below would be ignored while one is open.
    const loom::Rectf bilinear = panel_.area("2. Transform", "Bilinear");
    const loom::Rectf seen = panel_.area("3. Compare", "Seen");
    const Image unsaved = grabWindow(wid);
    key(wid, "s");
    EXPECT_TRUE(waitUntil([&] {
        return changedPixels(unsaved, grabWindow(wid), 0, int(bilinear.y2), 140,
                             int(seen.y1 - bilinear.y2)) > 0;
    })) << "the panel does not tell that there is nothing to save";

    // Two files: only the first is opened.
    const std::string other = dir_ + "/other.png";
    ASSERT_EQ(run({"convert", "-size", "20x20", "xc:#ff0000", other}).status, 0);
    dropFiles(wid, 320, 240, {sprite_, other});
    const Image sprite = readImageFile(sprite_);
    ASSERT_TRUE(waitForPicture(wid, sprite, 4)) << "the dropped sprite is not shown at zoom 4";
    EXPECT_TRUE(isBackground(screen_, kPictureLeft - 1, kPictureTop + 60));
    EXPECT_TRUE(isBackground(screen_, kPictureLeft + kPictureSide, kPictureTop + 60));
}

TEST_F(QuennetAppE2E, ClickingAnUpscalerShowsItsResultAtTheSameSize) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4)) << "command-line file not shown";
    EXPECT_EQ(waitForWindow("hero\\.png 32x32 - None - QuennetApp"), wid) << "the title names the file";

    const Image scale2x = cliResult({"-u", "Scale2x"});
    ASSERT_EQ(scale2x.width, 64);
    clickUpscaler(wid, "Scale2x");
    EXPECT_TRUE(waitForPicture(wid, scale2x, 2)) << "Scale2x is not shown at 2 per texel";
    EXPECT_EQ(waitForWindow("hero\\.png 32x32 - Scale2x - QuennetApp"), wid)
        << "the title follows the upscaler";

    const Image eagle = cliResult({"-u", "Eagle2x"});
    clickUpscaler(wid, "Eagle2x");
    EXPECT_TRUE(waitForPicture(wid, eagle, 2)) << "Eagle2x is not shown";

    const Image hq4 = cliResult({"-u", "Scale4xHQ"});
    ASSERT_EQ(hq4.width, 128);
    clickUpscaler(wid, "Scale4xHQ");
    EXPECT_TRUE(waitForPicture(wid, hq4, 1)) << "Scale4xHQ is not shown at 1 per texel";

    // The last row of the group, below the rows that were there before it.
    const Image mmpx4 = cliResult({"-u", "MMPX4x"});
    clickUpscaler(wid, "MMPX4x");
    EXPECT_TRUE(waitForPicture(wid, mmpx4, 1)) << "MMPX4x is not shown at 1 per texel";
    EXPECT_EQ(waitForWindow("hero\\.png 32x32 - MMPX4x - QuennetApp"), wid);

    // 4 / 3 screen pixels per texel would keep the size: whole pixels take 1, the nearest level.
    const Image scale3x = cliResult({"-u", "Scale3x"});
    clickUpscaler(wid, "Scale3x");
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), scale3x, 272, 192, 1) == 0; }))
        << "Scale3x is not shown at 1 per texel, centred";
}

TEST_F(QuennetAppE2E, TheZoomSliderSetsWholeScreenPixelsPerResultPixel) {
    const std::string wid = launch({"-u", "Scale2x", sprite_});
    ASSERT_FALSE(wid.empty());
    const Image scale2x = cliResult({"-u", "Scale2x"});
    ASSERT_TRUE(waitForPicture(wid, scale2x, 2)) << "Scale2x does not start at 2";

    clickZoom(wid, 3);  // the 64 x 64 result at 192 x 192, centred
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), scale2x, 224, 144, 3) == 0; }))
        << "zoom 3 does not show 3 screen pixels per result pixel";
    clickZoom(wid, 1);
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), scale2x, 288, 208, 1) == 0; }))
        << "zoom 1 does not show the result pixel for pixel";
}

TEST_F(QuennetAppE2E, HoldingSpaceShowsThePreviousPicture) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    const Image sprite = readImageFile(sprite_);
    ASSERT_TRUE(waitForPicture(wid, sprite, 4));
    const Image scale2x = cliResult({"-u", "Scale2x"});
    clickUpscaler(wid, "Scale2x");
    ASSERT_TRUE(waitForPicture(wid, scale2x, 2));
    ASSERT_GT(mismatches(screen_, sprite, kPictureLeft, kPictureTop, 4), 0)
        << "the two pictures must differ for this test to mean anything";

    // Without a transform the quad is not drawn and takes no mouse. Moves across the picture and
    // along its border lines (the quad's edge bands run on beyond it) and a drag of its corner must
    // not make the picture again, which would make the current one the previous one too.
    const std::vector<std::array<int, 2>> path = {
        {320, 240},          {320, kPictureTop}, {600, kPictureTop}, {kPictureLeft, 240},
        {kPictureLeft, 460}, {384, 304},         {600, 304}};
    for (const auto& [x, y] : path) moveMouse(wid, x, y);
    drag(wid, kPictureLeft, kPictureTop, 216, 136);

    keyDown(wid, "space");
    EXPECT_TRUE(waitForPicture(wid, sprite, 4)) << "space does not show the previous picture";
    EXPECT_GT(statusLinePixels(screen_), 30) << "the status line does not say so";
    keyUp(wid, "space");
    EXPECT_TRUE(waitForPicture(wid, scale2x, 2)) << "releasing space does not restore it";
    EXPECT_EQ(statusLinePixels(screen_), 0) << "the status line still says so";

    // The drag left the corners alone: Projective shows the picture unwarped inside the outline.
    EXPECT_TRUE(projectiveLooksUnwarped(wid)) << "a drag made without a transform moved the quad";
}

// Corner 0 of the sprite is at window (256, 176); dragged to (216, 136) it sits at (-10, -10) in
// sample pixels, so the quad's bounding rectangle covers window (216, 136) to (384, 304).
TEST_F(QuennetAppE2E, DraggingACornerWarpsThePictureAndSaveWritesIt) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4));
    clickUpscaler(wid, "Scale2x");
    ASSERT_TRUE(waitForPicture(wid, cliResult({"-u", "Scale2x"}), 2));
    clickTransform(wid, "Projective");
    const Image before = grabWindow(wid);
    ASSERT_TRUE(isBackground(before, 222, 142));

    moveMouse(wid, 300, 400);
    drag(wid, 256, 176, 216, 136);
    const Image warped =
        cliResult({"-u", "Scale2x", "-t", "Projective", "--quad", "-10,-10,32,0,32,32,0,32"});
    ASSERT_FALSE(warped.empty());
    // The outline and handles are drawn over the picture, so most (not all) pixels must match.
    ASSERT_TRUE(waitUntil([&] {
        screen_ = grabWindow(wid);
        const long bad = stretchedMismatches(screen_, warped, 216, 136, 168, 168);
        return bad >= 0 && bad < 168 * 168 / 10;
    })) << "the picture does not follow the dragged corner";
    EXPECT_FALSE(isBackground(screen_, 222, 142)) << "the warped picture covers the new corner";

    // Switching to Bilinear warps the same quad the other way.
    const Image bilinear =
        cliResult({"-u", "Scale2x", "-t", "Bilinear", "--quad", "-10,-10,32,0,32,32,0,32"});
    ASSERT_GT(differingPixels(bilinear, warped), 0) << "the two warps must differ here";
    clickTransform(wid, "Bilinear");
    EXPECT_TRUE(waitUntil([&] {
        const Image screen = grabWindow(wid);
        const long bad = stretchedMismatches(screen, bilinear, 216, 136, 168, 168);
        return bad >= 0 && bad < 168 * 168 / 10;
    })) << "Bilinear is not shown";
    clickTransform(wid, "Projective");
    ASSERT_TRUE(waitUntil([&] {
        const long bad = stretchedMismatches(grabWindow(wid), warped, 216, 136, 168, 168);
        return bad >= 0 && bad < 168 * 168 / 10;
    }));

    // "s" proposes hero + upscaler name in the source's folder.
    const Image written = saveAsProposed(wid, "heroScale2x.png");
    EXPECT_EQ(differingPixels(written, warped), 0) << "the saved file differs from quennet's";
    EXPECT_TRUE(waitUntil([&] { return statusLinePixels(grabWindow(wid)) > 30; }))
        << "the status line does not tell the file saved";
    EXPECT_TRUE(app_->running());
}

// A 512 x 512 sheet at Scale4x, fitted beside the panel: while a corner is dragged (twice, the
// second time while the first drag's exact warp is being made), the handle is drawn under the
// pointer at every step. "r" puts the quad back and two nudges with Shift move corner 0 to
// (-10, -10): what is saved then is exactly what quennet makes of that quad.
TEST_F(QuennetAppE2E, TheHandleFollowsEveryStepOfADragOnABigSheetAndTheResultIsExact) {
    const std::string sheet = dir_ + "/sheet.png";
    ASSERT_EQ(run({"convert", kSample, "-write", "mpr:t", "+delete", "-size", "512x512", "tile:mpr:t",
                   "PNG32:" + sheet})
                  .status,
              0);
    const std::string wid = launch({"-u", "Scale4x", "-t", "Projective", sheet});
    ASSERT_FALSE(wid.empty());
    ASSERT_FALSE(waitForWindow("sheet.png 512x512 - Scale4x - QuennetApp").empty()) << "not shown";
    key(wid, "0");
    // The quad's top-left handle (radius 4) is the top-left of what is drawn beside the panel.
    int left = -1, top = -1;
    ASSERT_TRUE(waitUntil([&] {
        screen_ = grabWindow(wid);
        if (!isBackground(screen_, 300, 10)) return false;  // not fitted yet: it covers the window
        for (int y = 0; y < screen_.height && top < 0; ++y)
            for (int x = 150; x < screen_.width; ++x)
                if (!isBackground(screen_, x, y)) {
                    top = y;
                    break;
                }
        for (int x = 150; x < screen_.width && left < 0 && top >= 0; ++x)
            for (int y = top; y < screen_.height; ++y)
                if (!isBackground(screen_, x, y)) {
                    left = x;
                    break;
                }
        return left >= 0;
    })) << "nothing is shown beside the panel";
    const int handleX = left + 4, handleY = top + 4;
    // The hovered handle's green.
    const auto handleAt = [&](int x, int y) {
        return waitUntil([&] {
            const Image screen = grabWindow(wid);
            const auto c = screen.rgb(x, y);
            return std::abs(c[0] - 102) < 3 && std::abs(c[1] - 204) < 3 && std::abs(c[2] - 102) < 3;
        });
    };
    moveMouse(wid, handleX, handleY);
    ASSERT_TRUE(handleAt(handleX, handleY)) << "the corner is not under the pointer";

    int x = handleX, y = handleY;
    for (int dragNumber = 0; dragNumber < 2; ++dragNumber) {
        pressButton(1);
        for (int step = 0; step < 4; ++step) {
            x -= 5;
            y -= 3;
            moveMouse(wid, x, y);
            EXPECT_TRUE(handleAt(x, y)) << "drag " << dragNumber << ", step " << step;
        }
        releaseButton(1);
    }

    key(wid, "r");
    moveMouse(wid, handleX, handleY);
    ASSERT_TRUE(handleAt(handleX, handleY)) << "\"r\" did not put the corner back";
    key(wid, "shift+Left");
    key(wid, "shift+Up");
    const Image expected =
        cliResult({"-u", "Scale4x", "-t", "Projective", "--quad", "-10,-10,512,0,512,512,0,512"}, sheet);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(differingPixels(saveAsProposed(wid, "sheetScale4x.png"), expected), 0);
    EXPECT_TRUE(app_->running());
}

// A black outline over transparency stored as (0, 0, 0, 0), as editors write it. Compared as seen
// (the default) the outline's staircases are rounded off; "Colour" takes the hidden black for the
// outline and leaves them. The saved file follows the rule shown.
TEST_F(QuennetAppE2E, PixelsAreComparedAsSeenByDefaultAndTheCompareGroupSwitchesTheRule) {
    ASSERT_EQ(run({"convert", "-size", "32x32", "xc:none", "+antialias", "-fill", "#e04030", "-stroke",
                   "black", "-draw", "circle 16,16 16,4", "PNG32:" + sprite_})
                  .status,
              0);
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4));
    const Image seen = cliResult({"-u", "Scale2x"});
    const Image colour = cliResult({"-u", "Scale2x", "--compare", "colour"});
    ASSERT_GT(differingPixels(seen, colour), 0) << "the outline must tell the rules apart";

    clickUpscaler(wid, "Scale2x");
    EXPECT_TRUE(waitForPicture(wid, seen, 2)) << "pixels are not compared as seen by default";
    clickCompare(wid, "Colour");
    EXPECT_TRUE(waitForPicture(wid, colour, 2)) << "\"Colour\" is not applied";

    // The proposed name leaves the rule out.
    EXPECT_EQ(differingPixels(saveAsProposed(wid, "heroScale2x.png"), colour), 0)
        << "the saved file differs from quennet's";

    clickCompare(wid, "Seen");
    EXPECT_TRUE(waitForPicture(wid, seen, 2)) << "\"Seen\" does not come back";
}

// A seamless tile: "Wrap edges" shows quennet's --edges wrap result, and "t" lays it 3 x 3 (the
// copies right of and below it are clear of the panel).
TEST_F(QuennetAppE2E, WrapEdgesAndTShowTheTileSeamless) {
    ASSERT_EQ(run({"convert", "-size", "32x32", "pattern:checkerboard", "-fill", "#3080c0", "-draw",
                   "line 0,30 31,1", "PNG32:" + sprite_})
                  .status,
              0);
    const std::string wid = launch({"-u", "Scale2x", sprite_});
    ASSERT_FALSE(wid.empty());
    const Image clamped = cliResult({"-u", "Scale2x"});
    ASSERT_TRUE(waitForPicture(wid, clamped, 2)) << "-u on the command line is not applied";
    const Image wrapped = cliResult({"-u", "Scale2x", "--edges", "wrap"});
    ASSERT_GT(differingPixels(clamped, wrapped), 0) << "the tile's edges must tell the rules apart";
    const std::array<int, 2> box = panel_.middle("3. Compare", "Wrap edges");
    click(wid, box[0], box[1]);
    EXPECT_TRUE(waitForPicture(wid, wrapped, 2)) << "\"Wrap edges\" is not applied";

    key(wid, "t");
    EXPECT_TRUE(waitUntil([&] {
        const Image screen = grabWindow(wid);
        return mismatches(screen, wrapped, kPictureLeft + kPictureSide, kPictureTop, 2) == 0 &&
               mismatches(screen, wrapped, kPictureLeft, kPictureTop + kPictureSide, 2) == 0 &&
               mismatches(screen, wrapped, kPictureLeft + kPictureSide, kPictureTop + kPictureSide, 2) ==
                   0;
    })) << "\"t\" does not lay the picture 3 x 3";
    key(wid, "t");
    EXPECT_TRUE(waitUntil([&] {
        return isBackground(grabWindow(wid), kPictureLeft + kPictureSide + 4, 240);
    })) << "a second \"t\" does not return to one";
}

// An atlas beside the sheet, named like it: the window upscales frame by frame, as quennet --atlas
// does, and says so in the status line.
TEST_F(QuennetAppE2E, AnAtlasBesideTheSheetIsUsed) {
    std::ofstream(dir_ + "/hero.json")
        << R"({"frames": [{"filename": "left", "frame": {"x": 0, "y": 0, "w": 16, "h": 32}},
                          {"filename": "right", "frame": {"x": 16, "y": 0, "w": 16, "h": 32}}],
               "meta": {"image": "hero.png", "size": {"w": 32, "h": 32}}})";
    const Image byFrames = cliResult({"-u", "Scale2x", "--atlas", dir_ + "/hero.json"});
    ASSERT_GT(differingPixels(byFrames, cliResult({"-u", "Scale2x"})), 0)
        << "the frames' edges must tell the two apart";
    const std::string wid = launch({"-u", "Scale2x", sprite_});
    ASSERT_FALSE(wid.empty());
    EXPECT_TRUE(waitForPicture(wid, byFrames, 2)) << "the atlas beside the sheet is not used";
    EXPECT_GT(statusLinePixels(screen_), 30) << "the status line does not name the atlas";
}

// An atlas beside the sheet that claims a sprite far larger than an image may be costs nothing: the
// sheet opens upscaled whole and the status line says why the atlas was not used.
TEST_F(QuennetAppE2E, ABrokenAtlasBesideTheSheetIsIgnored) {
    std::ofstream(dir_ + "/hero.json")
        << R"({"frames": {"hero": {"frame": {"x": 0, "y": 0, "w": 16, "h": 16}, "trimmed": true,
               "spriteSourceSize": {"x": 0, "y": 0, "w": 16, "h": 16},
               "sourceSize": {"w": 24000, "h": 24000}}}})";
    const std::string wid = launch({"-u", "Scale2x", sprite_});
    ASSERT_FALSE(wid.empty());
    EXPECT_TRUE(waitForPicture(wid, cliResult({"-u", "Scale2x"}), 2))
        << "the sheet is not upscaled whole";
    EXPECT_GT(statusLinePixels(screen_), 30) << "the status line does not say why the atlas is ignored";
}

// A 3-frame walk (100, 150 and 200 ms): the window plays it, "p" pauses it, "." steps it, and "s"
// saves every frame.
TEST_F(QuennetAppE2E, AnAnimationPlaysPausesStepsAndSavesEveryFrame) {
    const std::string walk = dir_ + "/walk.gif";
    std::vector<std::string> make = {"convert", "-dispose", "background"};
    for (int f = 0; f < 3; ++f) {
        const std::string frame = dir_ + "/f" + std::to_string(f) + ".png";
        ASSERT_EQ(run({"convert", "-size", "32x32", "xc:none", "-fill",
                       f == 0   ? "#e04030"
                       : f == 1 ? "#40a040"
                                : "#3060c0",
                       "-draw", "circle " + std::to_string(10 + 6 * f) + ",16 16,8", "PNG32:" + frame})
                      .status,
                  0);
        make.insert(make.end(), {"-delay", std::to_string(10 + 5 * f), frame});
    }
    make.insert(make.end(), {"-loop", "0", walk});
    ASSERT_EQ(run(make).status, 0);
    std::vector<Image> frames;
    for (int f = 1; f <= 3; ++f)
        frames.push_back(cliResult({"-u", "Scale2x", "--frame", std::to_string(f)}, walk));

    const std::string wid = launch({"-u", "Scale2x", walk});
    ASSERT_FALSE(wid.empty());
    for (const Image& frame : frames)
        EXPECT_TRUE(waitForPicture(wid, frame, 2)) << "a frame is never shown";

    key(wid, "p");
    // Keys are taken in order: once the black that "b" lays under transparency shows, "p" has been
    // taken, and no other frame may show: watched for longer than the longest delay.
    key(wid, "b");
    int shown = -1;
    ASSERT_TRUE(waitUntil([&] {
        const Image screen = grabWindow(wid);
        if (screen.rgb(kPictureLeft + 2, kPictureTop + 2) != std::array<uint8_t, 3>{0, 0, 0})
            return false;
        for (int f = 0; f < 3; ++f)
            if (mismatches(screen, frames[size_t(f)], kPictureLeft, kPictureTop, 2) == 0) shown = f;
        return shown >= 0;
    })) << "\"b\" after \"p\" is not taken";
    const auto until = std::chrono::steady_clock::now() + 600ms;
    while (std::chrono::steady_clock::now() < until)
        ASSERT_EQ(mismatches(grabWindow(wid), frames[size_t(shown)], kPictureLeft, kPictureTop, 2), 0)
            << "\"p\" does not pause";
    key(wid, "period");
    EXPECT_TRUE(waitForPicture(wid, frames[size_t((shown + 1) % 3)], 2)) << "\".\" does not step";

    key(wid, "s");
    const std::string dialog = waitForWindowOfClass("zenity");
    ASSERT_FALSE(dialog.empty()) << "no save dialog";
    key(dialog, "Return");
    const std::string saved = dir_ + "/walkScale2x.gif";
    ASSERT_TRUE(waitUntil([&] { return run({"identify", saved}).status == 0; })) << "nothing saved";
    const CommandResult identify = run({"identify", "-format", "%T\n", saved});
    EXPECT_EQ(identify.output, "10\n15\n20\n") << "every frame with its delay";
}

// By name: hero.png (shown), hero2.png (a truncated PNG), hero3.png (a square on transparency) and
// a file that is no image. Page Down passes over the broken file, names it on the status line and
// opens the next with the upscaler chosen; "b" lays transparency on black; Page Up passes back.
TEST_F(QuennetAppE2E, PageDownSkipsABrokenFileAndBShowsTransparencyOnBlack) {
    {
        std::ifstream in(sprite_, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.resize(bytes.size() / 2);
        std::ofstream(dir_ + "/hero2.png", std::ios::binary) << bytes;
    }
    const std::string square = dir_ + "/hero3.png";
    ASSERT_EQ(run({"convert", "-size", "32x32", "xc:none", "-fill", "#3060c0", "-draw",
                   "rectangle 8,8 23,23", "PNG32:" + square})
                  .status,
              0);
    std::ofstream(dir_ + "/notes.txt") << "not a picture";
    const std::string wid = launch({"-u", "Scale2x", sprite_});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(waitForPicture(wid, cliResult({"-u", "Scale2x"}), 2));
    const Image before = screen_;

    key(wid, "Page_Down");
    const Image squareScale2x = cliResult({"-u", "Scale2x"}, square);
    ASSERT_TRUE(waitForPicture(wid, squareScale2x, 2)) << "the image after the broken one is not shown";
    EXPECT_GT(changedPixels(before, screen_, 0, 480 - 28, 160, 28), 30)
        << "the status line does not name the file passed over";
    EXPECT_TRUE(findWindows("Cannot").empty()) << "a message box stopped the paging";
    EXPECT_NE(stderrText().find("hero2.png"), std::string::npos);
    EXPECT_EQ(checkerMismatches(screen_, squareScale2x, kPictureLeft, kPictureTop, 2), 0);

    key(wid, "b");
    EXPECT_TRUE(waitUntil([&] {
        return grabWindow(wid).rgb(kPictureLeft + 2, kPictureTop + 2) == std::array<uint8_t, 3>{0, 0, 0};
    })) << "\"b\" does not show transparency on black";

    key(wid, "Page_Up");
    EXPECT_TRUE(waitForPicture(wid, cliResult({"-u", "Scale2x"}), 2))
        << "Page Up does not pass over the broken file back to the first";
}

// A red figure with a dark outline on a fully transparent background that hides magenta.
TEST_F(QuennetAppE2E, TransparentPixelsShowACheckerboardAndTheUnmovedQuadLooksUnwarped) {
    ASSERT_EQ(
        run({"convert", "-size", "32x32", "xc:magenta", "+antialias", "-fill", "#e04030", "-stroke",
             "#181425", "-draw", "rectangle 8,6 23,25", "-transparent", "magenta", "PNG32:" + sprite_})
            .status,
        0);
    const Image figure = readImageFile(sprite_);
    ASSERT_EQ(figure.alpha(0, 0), 0);
    ASSERT_EQ(figure.rgb(0, 0), (std::array<uint8_t, 3>{255, 0, 255}));
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());

    const Image scale2x = cliResult({"-u", "Scale2x"});
    clickUpscaler(wid, "Scale2x");
    ASSERT_TRUE(waitForPicture(wid, scale2x, 2)) << "opaque pixels are not shown exactly";
    EXPECT_EQ(checkerMismatches(screen_, scale2x, kPictureLeft, kPictureTop, 2), 0);
    long notBackground = 0;
    for (int i = -1; i <= kPictureSide; ++i) {
        notBackground += !isBackground(screen_, kPictureLeft - 1, kPictureTop + i);
        notBackground += !isBackground(screen_, kPictureLeft + kPictureSide, kPictureTop + i);
        notBackground += !isBackground(screen_, kPictureLeft + i, kPictureTop - 1);
        notBackground += !isBackground(screen_, kPictureLeft + i, kPictureTop + kPictureSide);
    }
    EXPECT_EQ(notBackground, 0) << "pixels around the picture that are not the background";

    EXPECT_TRUE(projectiveLooksUnwarped(wid))
        << "Projective on the unmoved quad does not look like None";

    // At zoom 1/2 the quad, 64 pixels a side round the centre (288 to 352), shows Scale4x's
    // 128 x 128 result: sampled, not blended. Inside the outline and handles, 6 pixels in.
    clickUpscaler(wid, "Scale4x");  // at zoom 1 once shown, as large as Scale2x at 2
    ASSERT_FALSE(waitForWindow("hero\\.png 32x32 - Scale4x - QuennetApp").empty());
    clickZoom(wid, 0.5f);
    EXPECT_TRUE(waitUntil([&] {
        screen_ = grabWindow(wid);
        return isBackground(screen_, 280, 240) && madeUpColours(screen_, figure, 294, 214, 52, 52) == 0;
    })) << "the minified picture shows colours of its own";
}

// The window keeps drawing, and ignores its own input, while the dialog is open. Input is taken in
// order: once a second dialog opens, the click made during the first has been taken or ignored.
TEST_F(QuennetAppE2E, CancellingTheSaveDialogWritesNothing) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4));
    const Image before = screen_;
    const auto filesBefore = filesInDir();

    key(wid, "s");
    const std::string dialog = waitForWindowOfClass("zenity");
    ASSERT_FALSE(dialog.empty());
    // Below the window, which it would otherwise cover and take the click from.
    const std::array<int, 2> origin = windowOrigin(wid);
    moveWindow(dialog, 0, origin[1] + 480);
    clickUpscaler(wid, "Scale2x");
    ASSERT_TRUE(cancelDialog(dialog));
    EXPECT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4)) << "the picture is not shown again";

    const std::string again = openSaveDialog(wid);
    ASSERT_FALSE(again.empty()) << "the application no longer answers";
    ASSERT_TRUE(cancelDialog(again));
    const loom::Rectf box = panel_.area("1. Upscaling", "Scale2x");
    EXPECT_TRUE(waitUntil([&] {
        return changedPixels(before, grabWindow(wid), int(box.x1), int(box.y1), int(box.x2 - box.x1),
                             int(box.y2 - box.y1)) == 0;
    })) << "a click made while the dialog was open reached the panel";
    EXPECT_EQ(filesInDir(), filesBefore);
    EXPECT_TRUE(app_->running());
}

// Saved the way editors save: written beside the file, then renamed over it.
TEST_F(QuennetAppE2E, AFileRewrittenOnDiskIsShownAgainWithTheCurrentUpscaler) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    clickUpscaler(wid, "Scale2x");
    const Image original = cliResult({"-u", "Scale2x"});
    ASSERT_TRUE(waitForPicture(wid, original, 2));

    const std::string edited = dir_ + "/edited.png";
    ASSERT_EQ(run({"convert", sprite_, "-flop", edited}).status, 0);
    const Image flopped = cliResult({"-u", "Scale2x"}, edited);
    ASSERT_GT(differingPixels(flopped, original), 0);
    fs::rename(edited, sprite_);
    EXPECT_TRUE(waitForPicture(wid, flopped, 2)) << "the rewritten file is not shown";

    // Half written: the picture stays, one line on stderr, no message box.
    std::ofstream(edited) << "\x89PNG\r\n\x1a\n broken";
    fs::rename(edited, sprite_);
    EXPECT_TRUE(waitUntil([&] { return stderrText().find("Cannot reload") != std::string::npos; }));
    EXPECT_EQ(mismatches(grabWindow(wid), flopped, kPictureLeft, kPictureTop, 2), 0);
    EXPECT_TRUE(findWindows("Cannot").empty()) << "a reload failure opened a message box";
    EXPECT_TRUE(waitUntil([&] { return statusLinePixels(grabWindow(wid)) > 30; }))
        << "the status line does not tell the failure";
    EXPECT_TRUE(waitUntil([&] { return statusLinePixels(grabWindow(wid)) == 0; }))
        << "the message is still shown after its few seconds";

    // The next change is tried again.
    fs::copy_file(kSample, edited);
    fs::rename(edited, sprite_);
    EXPECT_TRUE(waitForPicture(wid, original, 2)) << "a good file after a broken one is not shown";
}

TEST_F(QuennetAppE2E, TheWheelZoomsAroundThePointerTheMiddleButtonPansAndZeroAndOneResize) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    const Image sprite = readImageFile(sprite_);
    ASSERT_TRUE(waitForPicture(wid, sprite, 4));

    // Zoom 4 to 5 with the pointer on the picture's top-left corner, which stays where it is.
    moveMouse(wid, kPictureLeft, kPictureTop);
    clickButton(4);
    EXPECT_TRUE(waitForPicture(wid, sprite, 5)) << "the wheel did not zoom about the pointer";
    drag(wid, 400, 300, 440, 320, 2);
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), sprite, 296, 196, 5) == 0; }))
        << "the middle drag did not pan by (40, 20)";

    // "0": right of the panel the 32 pixels fit 480 high at zoom 15, centred there: the picture's
    // centre at the middle of x 135 to 640, 387.5, so a pan of 68 from the window's centre puts
    // its left edge at 320 - 240 + 68 = 148.
    ASSERT_EQ(panel_.bounds().x2, 135.0f) << "the part right of the panel starts elsewhere";
    key(wid, "0");
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), sprite, 148, 0, 15) == 0; }))
        << "\"0\" did not fit the picture beside the panel";
    // "1" about the window's centre: the pan of 68 at 15 becomes 68 / 15, 5, at 1.
    key(wid, "1");
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), sprite, 304 + 5, 224, 1) == 0; }))
        << "\"1\" did not show the picture one to one";
}

TEST_F(QuennetAppE2E, OOpensAChosenImage) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4));
    const Image doubled = cliResult({"-u", "Scale2x"});
    fs::rename(dir_ + "/cli-1.png", dir_ + "/DOUBLED.PNG");

    key(wid, "o");
    const std::string dialog = waitForWindowOfClass("zenity");
    ASSERT_FALSE(dialog.empty()) << "no open dialog";
    EXPECT_FALSE(waitForWindow("Open an image").empty()) << "the open dialog's title";
    key(dialog, "ctrl+l");
    type(dialog, dir_ + "/DOUBLED.PNG");
    key(dialog, "Return");
    // 64 x 64 at zoom 4, centred in the 640 x 480 window.
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), doubled, 192, 112, 4) == 0; }))
        << "the chosen image is not shown";
    EXPECT_EQ(waitForWindow("DOUBLED\\.PNG 64x64 - None - QuennetApp"), wid)
        << "the title does not name the file opened";
}

// The dialog opens while the Zoom bar is held, so the panel never sees the release; the bar must
// not stay captured, or the next drag anywhere would move the zoom.
TEST_F(QuennetAppE2E, TheSaveDialogEndsAHoldOnTheZoomBar) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    const Image sprite = readImageFile(sprite_);
    ASSERT_TRUE(waitForPicture(wid, sprite, 4));

    const std::array<int, 2> zoomOne = panel_.zoomPoint(1);
    moveMouse(wid, zoomOne[0], zoomOne[1]);
    pressButton(1);
    ASSERT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), sprite, 304, 224, 1) == 0; }))
        << "the press on the bar does not set zoom 1";
    keyDown(wid, "s");  // not key(), which lets go of the button first
    keyUp(wid, "s");
    const std::string dialog = waitForWindowOfClass("zenity");
    ASSERT_FALSE(dialog.empty());
    releaseButton(1);
    key(dialog, "Escape");
    ASSERT_TRUE(waitForWindowGone(dialog));

    drag(wid, 500, 400, 600, 450);
    // A notch up at the centre: zoom 2, or the last level had the drag reached the bar.
    moveMouse(wid, 320, 240);
    clickButton(4);
    EXPECT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), sprite, 288, 208, 2) == 0; }))
        << "a drag after the dialog moved the zoom";
}

TEST_F(QuennetAppE2E, AFailedSaveIsReportedAndWritesNothing) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4));

    key(wid, "s");
    const std::string dialog = waitForWindowOfClass("zenity");
    ASSERT_FALSE(dialog.empty());
    key(dialog, "ctrl+a");
    type(dialog, dir_ + "/picture.xyz");
    key(dialog, "Return");
    closeMessageBox("Cannot save the image");
    EXPECT_FALSE(fs::exists(dir_ + "/picture.xyz"));
    EXPECT_NE(stderrText().find("picture.xyz"), std::string::npos) << "no line on stderr";
    EXPECT_TRUE(app_->running());
    EXPECT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4));
}

TEST_F(QuennetAppE2E, ACorruptFileIsReportedAndThePictureStays) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    const Image sprite = readImageFile(sprite_);
    ASSERT_TRUE(waitForPicture(wid, sprite, 4));

    const std::string corrupt = dir_ + "/broken.png";
    {
        std::ifstream in(sprite_, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.resize(bytes.size() / 2);  // a truncated PNG
        std::ofstream(corrupt, std::ios::binary) << bytes;
    }
    dropFiles(wid, 320, 240, {corrupt});
    closeMessageBox("Cannot open the image");
    EXPECT_TRUE(app_->running()) << "a bad file ended the program";
    EXPECT_TRUE(waitForPicture(wid, sprite, 4)) << "the previous picture did not stay";
    EXPECT_NE(stderrText().find("broken.png"), std::string::npos);

    // And the previous image is still the one being worked on.
    clickUpscaler(wid, "Scale2x");
    EXPECT_TRUE(waitForPicture(wid, cliResult({"-u", "Scale2x"}), 2));
}

TEST_F(QuennetAppE2E, AMissingFileOnTheCommandLineIsReportedAndTheWindowStays) {
    app_ = std::make_unique<Process>(std::vector<std::string>{kAppPath, dir_ + "/missing.png"}, "",
                                     dir_ + "/stderr.txt");
    closeMessageBox("Cannot open the image");
    EXPECT_TRUE(app_->running());
    const std::string wid = waitForWindow("QuennetApp");
    ASSERT_FALSE(wid.empty());
    EXPECT_TRUE(waitUntil([&] { return isBackground(grabWindow(wid), 630, 470); }));
    EXPECT_NE(stderrText().find("missing.png"), std::string::npos);

    dropFiles(wid, 320, 240, {sprite_});  // and it still opens files
    EXPECT_TRUE(waitForPicture(wid, readImageFile(sprite_), 4));
}

TEST_F(QuennetAppE2E, AResultTooLargeToShowRevertsTheUpscalerSelection) {
    // 4100 pixels wide: Scale4x gives 16400, beyond the 16384 texture side of this OpenGL.
    const std::string wide = dir_ + "/wide.png";
    ASSERT_EQ(run({"convert", "-size", "4100x6", "xc:#3060c0", wide}).status, 0);
    const std::string wid = launch({wide});
    ASSERT_FALSE(wid.empty());
    // The panel as it is once the first result is shown (its time on the "Perf" label): the
    // title names the upscaler then, and the panel is drawn alike twice running.
    ASSERT_FALSE(waitForWindow("wide\\.png 4100x6 - None - QuennetApp").empty());
    Image before = grabWindow(wid);
    ASSERT_TRUE(waitUntil([&] {
        const Image last = before;
        before = grabWindow(wid);
        return !isBackground(before, 320, 240) && changedPixels(last, before, 0, 0, 140, 300) == 0;
    }));

    clickUpscaler(wid, "Scale4x");
    closeMessageBox("Cannot process the image");
    EXPECT_TRUE(app_->running());
    ASSERT_TRUE(waitUntil([&] {
        screen_ = grabWindow(wid);
        return changedPixels(before, screen_, 0, 0, 140, 300) == 0;
    })) << "the panel does not show the upscaler whose result is on screen";
    EXPECT_NE(stderrText().find("wide.png"), std::string::npos);
}

// A picture read well whose result is too large to show (Scale4x of 4100 pixels) is refused
// whole when it is opened: the message says so, and the picture and the title stay the last one's.
TEST_F(QuennetAppE2E, AFileWhoseResultCannotBeShownIsRefusedWhole) {
    ASSERT_EQ(run({"convert", "-size", "4100x6", "xc:#3060c0", dir_ + "/wide.png"}).status, 0);
    const std::string wid = launch({"-u", "Scale4x", sprite_});
    ASSERT_FALSE(wid.empty());
    const Image scaled = cliResult({"-u", "Scale4x"});
    ASSERT_TRUE(waitForPicture(wid, scaled, 1));
    key(wid, "Page_Down");  // wide.png follows hero.png
    closeMessageBox("Cannot open the image");
    EXPECT_TRUE(waitForPicture(wid, scaled, 1));
    EXPECT_FALSE(waitForWindow("hero.png 32x32 - Scale4x - QuennetApp").empty());
    EXPECT_TRUE(app_->running());
}

// Nothing changes, so nothing is drawn: the window costs next to no processor time whether it is
// windowed, full screen or waiting on the save dialog.
TEST_F(QuennetAppE2E, AnIdleWindowUsesAlmostNoProcessor) {
    server_->startWindowManager();
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    const Image sprite = readImageFile(sprite_);
    ASSERT_TRUE(waitForPicture(wid, sprite, 4));
    // Settles: under 5 % of a processor over some second. A loaded machine may delay the last
    // frames drawn, but a window that keeps drawing never settles.
    const auto settlesIdle = [&] {
        return waitUntil(
            [&] {
                const double before = app_->cpuSeconds();
                std::this_thread::sleep_for(1s);
                return app_->cpuSeconds() - before <= 0.05;
            },
            60s);
    };
    EXPECT_TRUE(settlesIdle()) << "windowed";
    key(wid, "f");
    // Measured once the full-screen picture is drawn, centred on the 1280 x 1024 screen.
    ASSERT_TRUE(waitUntil([&] { return mismatches(grabWindow(wid), sprite, 576, 448, 4) == 0; }));
    EXPECT_TRUE(settlesIdle()) << "full screen";
    key(wid, "f");
    ASSERT_TRUE(waitUntil([&] { return windowSize(wid)[0] == 640; }));
    key(wid, "s");
    ASSERT_FALSE(waitForWindowOfClass("zenity").empty());
    EXPECT_TRUE(settlesIdle()) << "with the save dialog open";
}

TEST_F(QuennetAppE2E, FTogglesFullScreenBothWays) {
    server_->startWindowManager();
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    key(wid, "shift+f");  // "F" is not "f"
    key(wid, "f");
    EXPECT_TRUE(waitUntil([&] { return windowSize(wid)[0] == 1280; })) << "f did not enter full screen";
    EXPECT_EQ(windowSize(wid)[1], 1024);
    key(wid, "f");
    EXPECT_TRUE(waitUntil([&] { return windowSize(wid)[0] == 640; })) << "f did not leave full screen";
    EXPECT_EQ(windowSize(wid)[1], 480);
}

// The clipboard with xclip on the other side, each call bounded in time: Ctrl+C offers the result,
// a picture of megabytes (sent in pieces) whole, exactly what quennet makes of it.
TEST_F(QuennetAppE2E, CtrlCCopiesTheResultWholeForOtherPrograms) {
    const std::string noise = dir_ + "/noise.png";
    ASSERT_EQ(
        run({"convert", "-size", "1024x1024", "xc:", "+noise", "Random", "-alpha", "on", noise}).status,
        0);
    const std::string wid = launch({"-u", "Scale2x", noise});
    ASSERT_FALSE(wid.empty());
    ASSERT_TRUE(
        waitUntil([&] { return !findWindows("noise.png 1024x1024 - Scale2x - QuennetApp").empty(); }));
    key(wid, "ctrl+c");
    const auto xclipOut = [](const std::string& type) {
        return run({"timeout", "20", "xclip", "-selection", "clipboard", "-t", type, "-o"});
    };
    ASSERT_TRUE(waitUntil([&] {
        return xclipOut("TARGETS").output.find("image/png") != std::string::npos;
    })) << "nothing offered";
    EXPECT_NE(xclipOut("TARGETS").output.find("image/bmp"), std::string::npos);
    const CommandResult png = xclipOut("image/png");
    ASSERT_EQ(png.status, 0);
    EXPECT_GT(png.output.size(), size_t(1) << 20) << "not a picture of megabytes";
    const std::string copied = dir_ + "/copied.png";
    std::ofstream(copied, std::ios::binary) << png.output;
    const Image expected = cliResult({"-u", "Scale2x"}, noise);
    const Image got = readImageFile(copied);
    ASSERT_EQ(got.width, 2048);
    EXPECT_EQ(changedPixels(expected, got, 0, 0, 2048, 2048), 0) << "the copy is not quennet's result";
}

// Ctrl+V shows a picture another program copied, titled as the clipboard's; a clipboard holding
// only text is said on the status line and changes nothing.
TEST_F(QuennetAppE2E, CtrlVShowsAPictureCopiedElsewhereAndTellsWhenThereIsNone) {
    const std::string wid = launch({sprite_});
    ASSERT_FALSE(wid.empty());
    const std::string blue = dir_ + "/blue.png", text = dir_ + "/text.txt";
    ASSERT_EQ(run({"convert", "-size", "20x12", "xc:#3050d0", blue}).status, 0);
    std::ofstream(text) << "only words";
    // xclip in the foreground (-quiet), serving until it is replaced; offered once TARGETS says so.
    std::unique_ptr<Process> owner;
    const auto xclipIn = [&](const std::string& type, const std::string& file) {
        owner.reset();
        owner = std::make_unique<Process>(std::vector<std::string>{"xclip", "-quiet", "-selection",
                                                                   "clipboard", "-t", type, "-i", file});
        return waitUntil([&] {
            return run({"timeout", "5", "xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"})
                       .output.find(type) != std::string::npos;
        });
    };
    ASSERT_TRUE(xclipIn("image/png", blue));
    key(wid, "ctrl+v");
    const std::string pastedTitle = "clipboard 20x12 - None - QuennetApp";
    ASSERT_TRUE(waitUntil([&] { return !findWindows(pastedTitle).empty(); }))
        << "the pasted picture is not shown";

    ASSERT_TRUE(xclipIn("UTF8_STRING", text));
    ASSERT_TRUE(waitUntil([&] { return statusLinePixels(grabWindow(wid)) == 0; }));
    key(wid, "ctrl+v");
    EXPECT_TRUE(waitUntil([&] { return statusLinePixels(grabWindow(wid)) > 30; })) << "nothing said";
    EXPECT_FALSE(findWindows(pastedTitle).empty()) << "the picture shown changed";
}
