// The fast kernels and passes against the reference window machinery, bit for bit, on many
// random images from small palettes (so every rule fires often): tiny, thin, odd widths, widths
// around the SIMD chunk of eight, images taller than the row rings, and several channel orders.
#include <gtest/gtest.h>

#include "PixelTestUtil.h"
#include "RefinePassImpls.h"
#include "image/KernelPath.h"
#include "image/Upscale.h"
#include "image/UpscaleFast.h"
#include "image/UpscaleReference.h"
#include "image/UpscalerCatalogue.h"

using loom::ChannelOrder;
using loom::KernelPath;
using loom::Surface;
using namespace loom::test;

namespace {

struct Size {
    int w, h;
};

const Size SIZES[] = {{1, 1},  {1, 7},  {7, 1},   {2, 2},   {3, 5},   {9, 4},  {10, 10},
                      {11, 3}, {17, 9}, {18, 19}, {25, 12}, {33, 40}, {64, 3}, {5, 70}};

}  // namespace

TEST(FastUpscale, EveryModeAndPathMatchesTheReference) {
    uint32_t seed = 1;
    for (const Size& size : SIZES) {
        for (int order : {ChannelOrder::RGBA, ChannelOrder::RGB, ChannelOrder::BGR, ChannelOrder::BGRA,
                          ChannelOrder::XRGB}) {
            for (int colours = 2; colours <= 4; ++colours) {
                const Surface source = randomPaletteImage(size.w, size.h, order, colours, seed++);
                // Every rule in turn; without alpha, all of them compare colours.
                const auto match = loom::PixelMatch(seed % 3);
                for (const auto& info : loom::upscalerCatalogue()) {
                    const Surface expected = loom::upscaleReference(source, info.id, match);
                    for (KernelPath path : loom::availableKernelPaths()) {
                        ASSERT_TRUE(sameImage(loom::upscaleWith(source, info.id, path, match), expected))
                            << info.name << " on " << loom::kernelPathName(path) << ", " << size.w << "x"
                            << size.h << " order " << order << ", " << colours << " colours"
                            << ", match " << int(match);
                    }
                }
            }
        }
    }
}

TEST(FastUpscale, PixelArtWithFlatAreasMatchesTheReference) {
    // Flat areas with a few shapes; alpha varying, or one value for the whole image (which lets
    // the fast passes compare whole pixels, unless that value is 0 and pixels are compared as seen).
    for (int oneAlpha : {-1, 99, 0}) {
        Surface s(41, 37, true);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 41; ++x)
                setPixel(s, x, y,
                         ((x / 5 + y / 3) % 3 == 0) ? 0x102030
                         : (x * x + y) % 7 == 0     ? 0xFF0000
                                                    : 0xFFFFFF,
                         oneAlpha >= 0 ? uint8_t(oneAlpha) : uint8_t(x + y));
        for (const auto& info : loom::upscalerCatalogue())
            for (KernelPath path : loom::availableKernelPaths())
                for (loom::PixelMatch match : ALL_MATCHES)
                    EXPECT_TRUE(sameImage(loom::upscaleWith(s, info.id, path, match),
                                          loom::upscaleReference(s, info.id, match)))
                        << info.name << " on " << loom::kernelPathName(path) << ", alpha " << oneAlpha
                        << ", match " << int(match);
    }
}

TEST(FastRefinePasses, RandomImagesMatchTheSequentialReferenceIncludingBorders) {
    const Size passSizes[] = {{1, 1}, {2, 2},  {3, 3},  {4, 4},   {5, 4},
                              {9, 9}, {10, 7}, {12, 5}, {17, 13}, {23, 30}};
    uint32_t seed = 1000;
    for (PassKind pass : ALL_PASSES) {
        for (const Size& size : passSizes) {
            for (int colours = 2; colours <= 4; ++colours) {
                for (int repeat = 0; repeat < 3; ++repeat) {
                    const Surface original =
                        randomPaletteImage(size.w, size.h, ChannelOrder::RGBA, colours, seed++);
                    const auto match = loom::PixelMatch(repeat);
                    Surface expected;
                    for (const PassImpl& impl : passImpls(pass)) {
                        Surface s = loom::upscale(original, 0);  // a private copy
                        impl.run(s, match);
                        if (expected.isNull()) {
                            expected = s;
                            continue;
                        }
                        ASSERT_TRUE(sameImage(s, expected))
                            << impl.name << " pass " << int(pass) << " on " << size.w << "x" << size.h
                            << ", " << colours << " colours, seed " << seed - 1 << ", match "
                            << int(match);
                    }
                }
            }
        }
    }
}
