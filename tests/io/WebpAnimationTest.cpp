#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/LoadBytes.h"
#include "io/TempDir.h"
#include "io/WebpBuilder.h"
#include "io/codec/AnimationWriter.h"

using namespace loom;
using loom::test::argbPixels;
using loom::test::TempDir;
using loom::test::WebpFrameSpec;

namespace {

// Frame f of a 4 x 3 walk: colours of its own, and a transparent pixel moving along, each hiding
// a colour of its own.
Surface walkFrame(int f) {
    Surface s(4, 3, true);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            uint8_t* p = s.getData(x, y);
            p[0] = uint8_t(60 * x + 7 * f), p[1] = uint8_t(80 * y), p[2] = uint8_t(50 * f);
            p[3] = (x + y) % 3 == f ? 0 : 255;
        }
    return s;
}

const int32_t DELAYS[] = {100, 150, 200};

void writeWalk(const std::string& path, int32_t loopCount) {
    const auto writer = openAnimationWriter(path, loopCount);
    ASSERT_TRUE(writer);
    for (int f = 0; f < 3; ++f)
        writer->addFrame(std::make_shared<ImageSourceSurface>(walkFrame(f)), DELAYS[f]);
    writer->finish();
}

}  // namespace

TEST(WebpAnimation, RoundTripKeepsEveryFrameItsDelayAndTheLooping) {
    TempDir dir;
    for (int32_t loops : {3, 0, -1}) {  // repeated 3 times, for ever, played once
        writeWalk(dir / "walk.webp", loops);
        const ImageSourceRef walk = loadImage(dir / "walk.webp");
        EXPECT_EQ(walk->getFrameCount(), 3);
        EXPECT_EQ(walk->getLoopCount(), loops);
        for (int f = 0; f < 3; ++f) {
            EXPECT_EQ(walk->getFrameDelayMs(), DELAYS[f]) << f;
            EXPECT_EQ(argbPixels(Surface(walk)), argbPixels(walkFrame(f))) << "frame " << f;
            EXPECT_EQ(walk->nextFrame(), f < 2);
        }
    }
}

// Written by Pillow, each frame beside it as a PNG; durations 100, 150 and 200 ms, for ever.
TEST(WebpAnimation, PillowAnimationReadsFrameByFrame) {
    const std::string base = std::string(LOOM_TESTDATA_DIR) + "/webp/pillow-anim";
    const ImageSourceRef animation = loadImage(base + ".webp");
    EXPECT_EQ(animation->getFrameCount(), 3);
    EXPECT_EQ(animation->getLoopCount(), 0);
    for (int f = 0; f < 3; ++f) {
        EXPECT_EQ(animation->getFrameDelayMs(), DELAYS[f]) << f;
        EXPECT_EQ(argbPixels(Surface(animation)),
                  argbPixels(Surface(loadImage(base + "-" + std::to_string(f) + ".png"))))
            << "frame " << f;
        animation->nextFrame();
    }
    EXPECT_EQ(argbPixels(Surface(loadImage(base + ".webp", ImageSource::Options().setIndex(2)))),
              argbPixels(Surface(loadImage(base + "-2.png"))));
}

TEST(WebpAnimation, BrokenOrTruncatedAnimationsAreRefusedWithAClearMessage) {
    const std::vector<uint8_t> good =
        loom::test::readFile(std::string(LOOM_TESTDATA_DIR) + "/webp/pillow-anim.webp");
    for (size_t cut = 12; cut < good.size(); ++cut) {
        const std::string failure =
            loom::test::failureOf(std::vector<uint8_t>(good.begin(), good.begin() + long(cut)));
        EXPECT_EQ(failure.rfind("WebP: ", 0), 0u) << cut << ": " << failure;
    }
    std::vector<uint8_t> huge = good;
    huge[24] = huge[25] = huge[26] = 0xFF;  // the canvas width, less one, in the VP8X chunk
    EXPECT_NE(loom::test::failureOf(huge).find("image too large"), std::string::npos);
    std::vector<uint8_t> garbled = good;
    garbled[0x109] = garbled[0x10A] = garbled[0x10B] = 0;  // inside the last frame's VP8L header
    EXPECT_EQ(loom::test::failureOf(garbled, ImageSource::Options().setIndex(2)),
              "WebP: frame 2 is broken or truncated");
    EXPECT_NE(loom::test::failureOf(good, ImageSource::Options().setIndex(3)).find("no frame 3"),
              std::string::npos);
}

TEST(WebpAnimation, AFailedWriteKeepsTheOldFile) {
    TempDir dir;
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    loom::test::writeFile(dir / "keep.webp", old);
    {
        const auto writer = openAnimationWriter(dir / "keep.webp", 0);
        writer->addFrame(std::make_shared<ImageSourceSurface>(walkFrame(0)), 100);
        EXPECT_THROW(writer->addFrame(std::make_shared<ImageSourceSurface>(Surface(5, 3, true)), 100),
                     ImageIoExc);
    }
    EXPECT_EQ(loom::test::readFile(dir / "keep.webp"), old);
    EXPECT_EQ(dir.entries().size(), 1u) << "no temporary file left behind";
}

// A canvas may reach past its frames by 4096 pixels a byte of the file; a canvas beyond that is
// refused before anything is made for it.
TEST(WebpAnimation, ACanvasBeyondWhatItsFramesAndBytesFillIsRefused) {
    // A 4096 x 1 frame atop a canvas 4096 wide: each row more is 4096 pixels no frame draws.
    const std::vector<WebpFrameSpec> strip = {{0, 0, 4096, 1, 100, 0x102030ff}};
    const size_t bytes = loom::test::animatedWebp(4096, 2, strip).size();
    const uint32_t fillableRows = 1 + uint32_t(bytes);
    const ImageSourceRef fillable =
        loom::test::loadBytes(loom::test::animatedWebp(4096, fillableRows, strip));
    EXPECT_EQ(fillable->getHeight(), int32_t(fillableRows));
    EXPECT_EQ(loom::test::failureOf(loom::test::animatedWebp(4096, fillableRows + 1, strip)),
              "WebP: not a valid animation: its 4096 x " + std::to_string(fillableRows + 1) +
                  " canvas is more than its frames (within 4096 x 1) and its " + std::to_string(bytes) +
                  " bytes could fill (4096 pixels a byte beyond the frames)");

    const std::vector<uint8_t> huge = loom::test::hugeCanvasTinyFramesWebp();
    for (int32_t frame : {0, 1})
        EXPECT_EQ(loom::test::failureOf(huge, ImageSource::Options().setIndex(frame)),
                  "WebP: not a valid animation: its 16384 x 16384 canvas is more than its frames "
                  "(within 3 x 3) and its " +
                      std::to_string(huge.size()) +
                      " bytes could fill (4096 pixels a byte beyond the frames)");
}

// Durations at the format's most, 2^24 - 1 ms, running past 2^31 ms in all.
TEST(WebpAnimation, EachFrameKeepsItsOwnDurationHoweverLongTheAnimation) {
    const int32_t longest = (1 << 24) - 1;
    const std::vector<WebpFrameSpec> frames(130, {0, 0, 1, 1, longest, 0x808080ff});
    const ImageSourceRef animation = loom::test::loadBytes(loom::test::animatedWebp(1, 1, frames));
    ASSERT_EQ(animation->getFrameCount(), 130);
    for (int32_t f = 0; f < 130; ++f) {
        EXPECT_EQ(animation->getFrameDelayMs(), longest) << "frame " << f;
        EXPECT_EQ(animation->nextFrame(), f < 129);
    }
}
