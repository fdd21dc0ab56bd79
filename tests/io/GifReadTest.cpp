#include <gtest/gtest.h>

#include <cstring>

#include "image/PixelMatch.h"
#include "image/Surface.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "io/GifBuilder.h"
#include "io/ImageFile.h"
#include "io/TempDir.h"

using namespace loom;
using namespace loom::test;

namespace {

constexpr uint32_t MAGENTA = 0xFF00FF, GREEN = 0x00FF00, RED = 0xFF0000;

uint32_t rgbaAt(const Surface& s, int x, int y) {
    const uint8_t* p = s.getData(x, y);
    const ChannelOrder& o = s.getChannelOrder();
    return uint32_t(p[o.red]) << 24 | uint32_t(p[o.green]) << 16 | uint32_t(p[o.blue]) << 8 |
           (s.hasAlpha() ? p[o.alpha] : 255u);
}

Surface frame(const std::string& path, int index) {
    return Surface(loadImage(path, ImageSource::Options().setIndex(index)));
}

}  // namespace

// A 3x1 canvas. Frame 0 draws red and its transparent index (magenta) on the two left pixels and
// is disposed of to the background; frame 1, with a local table whose transparent index is green,
// draws over all three.
TEST(GifRead, TransparentPixelsKeepTheColourTheirIndexNames) {
    TempDir dir;
    writeGif(dir / "a.gif", 3, 1, {MAGENTA, RED},
             {{0, 0, 2, 1, {1, 0}, {}, 0, DISPOSE_BACKGROUND},
              {0, 0, 3, 1, {0, 1, 1}, {GREEN, RED}, 0, DISPOSAL_UNSPECIFIED}});
    const Surface first = frame(dir / "a.gif", 0);
    EXPECT_EQ(rgbaAt(first, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(rgbaAt(first, 1, 0), 0xFF00FF00u) << "the transparent index keeps its colour";
    EXPECT_EQ(rgbaAt(first, 2, 0), 0xFF00FF00u)
        << "undrawn canvas: the first frame's transparent colour";
    const Surface second = frame(dir / "a.gif", 1);
    EXPECT_EQ(rgbaAt(second, 0, 0), 0x00FF0000u) << "over the cleared canvas: its own index's colour";
    EXPECT_EQ(rgbaAt(second, 1, 0), 0xFF0000FFu);

    // Over a pixel that shows, a transparent pixel lets it show.
    writeGif(dir / "b.gif", 1, 1, {RED, MAGENTA},
             {{0, 0, 1, 1, {0}, {}, -1, DISPOSAL_UNSPECIFIED}, {0, 0, 1, 1, {1}, {}, 1, 0}});
    EXPECT_EQ(rgbaAt(frame(dir / "b.gif", 1), 0, 0), 0xFF0000FFu);
}

TEST(GifRead, AFileWithoutAnyColourTableIsReadWithAGreyRamp) {
    TempDir dir;
    // giflib writes no frame without a table: write one with a global table, then cut it out.
    writeGif(dir / "grey.gif", 3, 1, std::vector<uint32_t>(201, RED),
             {{0, 0, 3, 1, {0, 7, 200}, {}, 7, 0}});
    std::vector<uint8_t> bytes = readFile(dir / "grey.gif");
    ASSERT_EQ(bytes[10] & 0x87, 0x87) << "a global table of 256 entries";
    bytes[10] &= 0x7F;
    bytes.erase(bytes.begin() + 13, bytes.begin() + 13 + 3 * 256);
    writeFile(dir / "grey.gif", bytes);
    const Surface s(loadImage(dir / "grey.gif"));
    EXPECT_EQ(rgbaAt(s, 0, 0), 0x000000FFu);
    EXPECT_EQ(rgbaAt(s, 1, 0), 0x07070700u) << "the transparent index hides its ramp colour";
    EXPECT_EQ(rgbaAt(s, 2, 0), 0xC8C8C8FFu);
}

// A sprite with a black outline, from a GIF whose transparent index is magenta: compared as seen,
// its upscaled picture shows what the same sprite from an editor's PNG (hiding black) shows.
TEST(GifRead, ASpriteUpscalesAsSeenTheSameWhateverColourItsTransparencyHides) {
    TempDir dir;
    const int w = 12, h = 10;
    std::vector<uint8_t> indices(size_t(w * h), 0);  // 0: transparent magenta, 1: black, 2: skin
    for (int y = 1; y < h - 1; ++y)
        for (int x = 2 + (y % 3); x < w - 2 - (y % 2); ++x)
            indices[size_t(y * w + x)] = (y == 1 || y == h - 2 || x == 2 + (y % 3)) ? 1 : 2;
    writeGif(dir / "hero.gif", w, h, {MAGENTA, 0x000000, 0xF0C090}, {{0, 0, w, h, indices, {}, 0, 0}});
    const Surface gif(loadImage(dir / "hero.gif"));
    Surface png(w, h, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = rgbaAt(gif, x, y);
            const uint8_t rgba[4] = {uint8_t(p >> 24), uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
            std::memcpy(png.getData(x, y), rgba, 4);
            if (rgba[3] == 0) std::memset(png.getData(x, y), 0, 4);
        }
    for (const UpscalerInfo& info : upscalerCatalogue()) {
        const Surface fromGif = upscale(gif, info.id), fromPng = upscale(png, info.id);
        for (int y = 0; y < fromGif.getHeight(); ++y)
            for (int x = 0; x < fromGif.getWidth(); ++x) {
                const uint32_t a = rgbaAt(fromGif, x, y), b = rgbaAt(fromPng, x, y);
                ASSERT_TRUE(a == b || ((a & 0xFF) == 0 && (b & 0xFF) == 0))
                    << info.name << " at " << x << "," << y;
            }
    }
}
