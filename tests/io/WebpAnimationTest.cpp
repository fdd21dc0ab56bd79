#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/ImageFile.h"
#include "io/LoadBytes.h"
#include "io/TempDir.h"

using namespace loom;
using loom::test::argbPixels;

namespace {

const int32_t DELAYS[] = {100, 150, 200};

}  // namespace

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
