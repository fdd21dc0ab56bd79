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
                // Alpha counts only where there is alpha to count.
                const loom::PixelMatch match = loom::ChannelOrder(order).hasAlpha() && colours % 2
                                                   ? loom::PixelMatch::ColourAndAlpha
                                                   : loom::PixelMatch::Colour;
                for (const auto& info : loom::upscalerCatalogue()) {
                    const Surface expected = loom::upscaleReference(source, info.id, match);
                    for (KernelPath path : loom::availableKernelPaths()) {
                        ASSERT_TRUE(sameImage(loom::upscaleWith(source, info.id, path, match), expected))
                            << info.name << " on " << loom::kernelPathName(path) << ", " << size.w << "x"
                            << size.h << " order " << order << ", " << colours << " colours"
                            << (match == loom::PixelMatch::Colour ? "" : ", alpha compared");
                    }
                }
            }
        }
    }
}

TEST(FastUpscale, PixelArtWithFlatAreasMatchesTheReference) {
    // Flat areas with a few shapes; alpha varying, or one value for the whole image (which lets
    // the fast passes compare whole pixels).
    for (bool oneAlpha : {false, true}) {
        Surface s(41, 37, true);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 41; ++x)
                setPixel(s, x, y,
                         ((x / 5 + y / 3) % 3 == 0) ? 0x102030
                         : (x * x + y) % 7 == 0     ? 0xFF0000
                                                    : 0xFFFFFF,
                         oneAlpha ? 99 : uint8_t(x + y));
        for (const auto& info : loom::upscalerCatalogue())
            for (KernelPath path : loom::availableKernelPaths())
                for (loom::PixelMatch match :
                     {loom::PixelMatch::Colour, loom::PixelMatch::ColourAndAlpha})
                    EXPECT_TRUE(sameImage(loom::upscaleWith(s, info.id, path, match),
                                          loom::upscaleReference(s, info.id, match)))
                        << info.name << " on " << loom::kernelPathName(path)
                        << (oneAlpha ? ", one alpha" : "") << ", match " << int(match);
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
                    const loom::PixelMatch match =
                        repeat == 2 ? loom::PixelMatch::ColourAndAlpha : loom::PixelMatch::Colour;
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
