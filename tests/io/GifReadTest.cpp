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

Surface frameOf(const std::string& path, int index) {
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
    const Surface first = frameOf(dir / "a.gif", 0);
    EXPECT_EQ(rgbaAt(first, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(rgbaAt(first, 1, 0), 0xFF00FF00u) << "the transparent index keeps its colour";
    EXPECT_EQ(rgbaAt(first, 2, 0), 0xFF00FF00u)
        << "undrawn canvas: the first frame's transparent colour";
    const Surface second = frameOf(dir / "a.gif", 1);
    EXPECT_EQ(rgbaAt(second, 0, 0), 0x00FF0000u) << "over the cleared canvas: its own index's colour";
    EXPECT_EQ(rgbaAt(second, 1, 0), 0xFF0000FFu);

    // Over a pixel that shows, a transparent pixel lets it show.
    writeGif(dir / "b.gif", 1, 1, {RED, MAGENTA},
             {{0, 0, 1, 1, {0}, {}, -1, DISPOSAL_UNSPECIFIED}, {0, 0, 1, 1, {1}, {}, 1, 0}});
    EXPECT_EQ(rgbaAt(frameOf(dir / "b.gif", 1), 0, 0), 0xFF0000FFu);
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

// Overlapping frames with each disposal mode, composed here the plain way, pixel by pixel, and
// compared with what the reader shows for every frame.
TEST(GifRead, OverlappingFramesComposeAsTheirDisposalModesSay) {
    TempDir dir;
    const std::vector<uint32_t> table = {0x111111, 0x2222AA, 0xCC3333, 0x44DD44, MAGENTA};
    const int transparent = 4, w = 4, h = 3;
    const std::vector<GifFrameSpec> frames = {
        {0, 0, 4, 3, std::vector<uint8_t>(12, 0), {}, transparent, DISPOSE_DO_NOT},
        {1, 1, 2, 2, {1, 4, 1, 1}, {}, transparent, DISPOSE_PREVIOUS},
        {2, 0, 2, 2, {2, 2, 4, 2}, {}, transparent, DISPOSE_BACKGROUND},
        {0, 0, 3, 2, {3, 4, 3, 4, 3, 3}, {}, transparent, DISPOSE_DO_NOT},
    };
    writeGif(dir / "a.gif", w, h, table, frames);
    const uint32_t cleared = MAGENTA << 8;  // the first frame's transparent colour, alpha 0
    std::vector<uint32_t> canvas(size_t(w * h), cleared);
    for (size_t f = 0; f < frames.size(); ++f) {
        const GifFrameSpec& frame = frames[f];
        const std::vector<uint32_t> before = canvas;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                const int index = frame.indices[size_t(y * frame.width + x)];
                uint32_t& pixel = canvas[size_t((frame.top + y) * w + frame.left + x)];
                if (index != transparent) pixel = table[size_t(index)] << 8 | 0xFF;
            }
        const Surface shown = frameOf(dir / "a.gif", int(f));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(rgbaAt(shown, x, y), canvas[size_t(y * w + x)])
                    << "frame " << f << " at " << x << "," << y;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                const size_t at = size_t((frame.top + y) * w + frame.left + x);
                if (frame.disposal == DISPOSE_BACKGROUND) canvas[at] = cleared;
                if (frame.disposal == DISPOSE_PREVIOUS) canvas[at] = before[at];
            }
    }
}
