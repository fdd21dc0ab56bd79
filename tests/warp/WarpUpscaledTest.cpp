#include <gtest/gtest.h>

#include <array>

#include "image/PixelTestUtil.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "warp/TransformCatalogue.h"
#include "warp/WarpUpscaled.h"

using namespace loom;
using loom::test::randomPaletteImage;
using loom::test::sameImage;

TEST(WarpUpscaled, UnmovedQuadGivesTheUpscaledPictureItself) {
    for (int h = 1; h <= 40; ++h) {
        for (int w = 1; w <= 40; ++w) {
            const ChannelOrder order((w + h) % 2 ? ChannelOrder::RGB : ChannelOrder::RGBA);
            const Surface source = randomPaletteImage(w, h, order, 4, uint32_t(w * 41 + h));
            const std::array<Vec2f, 4> corners = {Vec2f(0, 0), Vec2f(float(w), 0),
                                                  Vec2f(float(w), float(h)), Vec2f(0, float(h))};
            for (const UpscalerInfo& upscaler : upscalerCatalogue()) {
                const Surface upscaled = upscale(source, upscaler.id);
                for (int id : {TRANSFORM_PROJECTIVE, TRANSFORM_BILINEAR})
                    ASSERT_TRUE(
                        sameImage(warpUpscaled(id, upscaled, corners, upscaler.factor), upscaled))
                        << upscaler.name << ", transform " << id << ", image " << w << " x " << h;
            }
        }
    }
}
