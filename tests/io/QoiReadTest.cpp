#include <gtest/gtest.h>

#include "io/LoadBytes.h"

using namespace loom;
using namespace loom::test;

namespace {

std::vector<uint8_t> qoi(uint32_t width, uint32_t height, uint8_t channels, std::vector<uint8_t> ops) {
    std::vector<uint8_t> bytes = {'q', 'o', 'i', 'f'};
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(v >> shift));
    bytes.push_back(channels);
    bytes.push_back(0);
    bytes.insert(bytes.end(), ops.begin(), ops.end());
    for (int i = 0; i < 7; ++i) bytes.push_back(0);
    bytes.push_back(1);
    return bytes;
}

}  // namespace

// Each op code once, the differences wrapping around 0 and 255; the pixels worked out by hand.
TEST(QoiRead, EveryOpCode) {
    const std::vector<uint8_t> ops = {
        0xFF, 0x10, 0x20, 0x30, 0x80,  // RGBA
        0xFE, 0x00, 0xFF, 0x05,        // RGB: alpha kept
        0x5C,                          // DIFF: red -1, green +1, blue -2
        0x80, 0xF0,                    // LUMA: green -32, red -25, blue -40
        0x20,                          // INDEX: the first pixel's slot
        0xC2,                          // RUN of 3
    };
    const Surface s(loadBytes(qoi(8, 1, 4, ops)));
    EXPECT_EQ(argbPixels(s), (std::vector<uint32_t>{0x80102030, 0x8000FF05, 0x80FF0003, 0x80E6E0DB,
                                                    0x80102030, 0x80102030, 0x80102030, 0x80102030}));
}

TEST(QoiRead, StartsFromOpaqueBlackAndAnEmptyTableAndHonoursThreeChannels) {
    // DIFF of nothing from the starting pixel, then an untouched table slot: transparent black.
    EXPECT_EQ(argbPixels(Surface(loadBytes(qoi(2, 1, 4, {0x6A, 0x05})))),
              (std::vector<uint32_t>{0xFF000000, 0x00000000}));
    const ImageSourceRef three = loadBytes(qoi(2, 1, 3, {0x6A, 0x05}));
    EXPECT_EQ(three->getSampleOrder(), ImageIo::RGBX) << "a three-channel file carries no alpha";
    EXPECT_EQ(loadBytes(qoi(1, 1, 4, {0xFE, 1, 2, 3}))->getSampleOrder(), ImageIo::RGBX)
        << "nothing transparent";
}

TEST(QoiRead, BrokenFilesAreRefusedWithAClearMessage) {
    const std::vector<uint8_t> good = qoi(4, 1, 4, {0xFE, 1, 2, 3, 0xC2});
    for (size_t cut = 14; cut < 18; ++cut)
        EXPECT_EQ(failureOf(std::vector<uint8_t>(good.begin(), good.begin() + long(cut))),
                  "QOI: truncated data")
            << cut;
    EXPECT_EQ(failureOf(qoi(4, 1, 5, {0xFE, 1, 2, 3, 0xC2})), "QOI: bad header");
    EXPECT_EQ(failureOf(std::vector<uint8_t>(good.begin(), good.begin() + 10)), "QOI: bad header");
    EXPECT_EQ(failureOf(qoi(0xFFFFFFFF, 0xFFFFFFFF, 4, {0xFE, 1, 2, 3})), "QOI: truncated data")
        << "a few bytes cannot fill billions of pixels";
}
