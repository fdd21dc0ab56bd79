#include <gtest/gtest.h>

#include "image/PixelTestUtil.h"
#include "image/SurfaceParts.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "pipeline/AtlasUpscale.h"

using namespace loom;
using namespace loom::test;

namespace {

// The picture a quarter turn clockwise: its bottom-left pixel becomes the top-left.
Surface turnClockwise(const Surface& s) {
    Surface turned(s.getHeight(), s.getWidth(), true);
    for (int y = 0; y < turned.getHeight(); ++y)
        for (int x = 0; x < turned.getWidth(); ++x)
            setPixel(turned, x, y, colourAt(s, y, s.getHeight() - 1 - x),
                     alphaAt(s, y, s.getHeight() - 1 - x));
    return turned;
}

// Copies the picture's area into `into` with its corner at (x, y).
void place(const Surface& picture, const Area& area, Surface& into, int x, int y) {
    for (int row = area.y1; row < area.y2; ++row)
        for (int column = area.x1; column < area.x2; ++column)
            setPixel(into, x + column - area.x1, y + row - area.y1, colourAt(picture, column, row),
                     alphaAt(picture, column, row));
}

}  // namespace

// The sheet as an exporter packs three sprites, noise between them: "hero" as it is, "arrow" turned
// clockwise, "coin" trimmed out of a larger transparent sprite and put in the bottom-right corner.
// The result is each sprite upscaled alone, placed as the sheet stores it, the rest plain blocks.
TEST(AtlasUpscale, EachFrameAsIfUpscaledAloneTheRestPlainBlocks) {
    struct Case {
        const char* upscaler;
        PixelMatch match;
        EdgeRule edges;
    };
    const Case cases[] = {{"Scale2x", PixelMatch::Seen, EdgeRule::Clamp},
                          {"Scale3x", PixelMatch::ColourAndAlpha, EdgeRule::Wrap}};
    const ChannelOrder rgba(ChannelOrder::RGBA);
    const Surface hero = randomPaletteImage(5, 4, rgba, 3, 1);
    const Surface arrow = randomPaletteImage(3, 2, rgba, 3, 2);
    const Surface coinBody = randomPaletteImage(3, 3, rgba, 3, 3);
    Surface coin(6, 5, true);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) setPixel(coin, x, y, 0, 0);
    place(coinBody, coinBody.getBounds(), coin, 2, 1);

    Surface sheet = randomPaletteImage(12, 8, rgba, 4, 4);
    place(hero, hero.getBounds(), sheet, 0, 0);
    const Surface storedArrow = turnClockwise(arrow);
    place(storedArrow, storedArrow.getBounds(), sheet, 6, 0);
    place(coinBody, coinBody.getBounds(), sheet, 9, 5);
    const Atlas atlas = parseAtlas(R"({"frames": {
      "hero": {"frame": {"x": 0, "y": 0, "w": 5, "h": 4}},
      "arrow": {"frame": {"x": 6, "y": 0, "w": 3, "h": 2}, "rotated": true},
      "coin": {"frame": {"x": 9, "y": 5, "w": 3, "h": 3}, "trimmed": true,
               "spriteSourceSize": {"x": 2, "y": 1, "w": 3, "h": 3}, "sourceSize": {"w": 6, "h": 5}}}})");
    const std::vector<AtlasFrame> frames = framesOnSheet(atlas, 12, 8, 4);

    for (const Case& c : cases) {
        const int id = findUpscaler(c.upscaler);
        const int f = upscalerById(id).factor;
        const SheetLayout alone{c.edges, {}};
        Surface expected(12 * f, 8 * f, true);
        for (int y = 0; y < expected.getHeight(); ++y)
            for (int x = 0; x < expected.getWidth(); ++x)
                setPixel(expected, x, y, colourAt(sheet, x / f, y / f), alphaAt(sheet, x / f, y / f));
        const Surface bigHero = upscale(hero, id, c.match, alone);
        place(bigHero, bigHero.getBounds(), expected, 0, 0);
        const Surface bigArrow = turnClockwise(upscale(arrow, id, c.match, alone));
        place(bigArrow, bigArrow.getBounds(), expected, 6 * f, 0);
        place(upscale(coin, id, c.match, alone), Area(2 * f, 1 * f, 5 * f, 4 * f), expected, 9 * f,
              5 * f);

        EXPECT_TRUE(sameImage(upscaleByFrames(sheet, frames, id, c.match, c.edges), expected))
            << c.upscaler;
    }
}

TEST(AtlasUpscale, AnOpaqueSheetGainsAlphaForATrimmedFrame) {
    const Surface sheet = randomPaletteImage(4, 4, ChannelOrder(ChannelOrder::RGB), 3, 5);
    const Atlas atlas = parseAtlas(R"({"frames": {"a": {"frame": {"x": 0, "y": 0, "w": 2, "h": 2},
      "trimmed": true, "spriteSourceSize": {"x": 1, "y": 1, "w": 2, "h": 2},
      "sourceSize": {"w": 4, "h": 4}}}})");
    const Surface result = upscaleByFrames(sheet, framesOnSheet(atlas, 4, 4, 2), findUpscaler("Scale2x"),
                                           PixelMatch::Seen, EdgeRule::Clamp);
    ASSERT_TRUE(result.hasAlpha());
    EXPECT_EQ(alphaAt(result, 7, 7), 255) << "the sheet's pixels stay opaque";
}

// Only the transparency around a trimmed frame that a mode can see is made, and the result is the
// frame's part of its whole sprite upscaled: frames touching the sprite's edges, in its middle, and
// just either side of the border that is kept, under every mode and edge rule.
TEST(AtlasUpscale, ATrimmedFrameIsCutAsFromItsWholeSpriteWithoutMakingIt) {
    const ChannelOrder rgba(ChannelOrder::RGBA);
    const Surface body = randomPaletteImage(5, 4, rgba, 3, 7);
    const int32_t spriteW = 40, spriteH = 30;
    const struct { int32_t x, y; } placements[] = {{0, 0}, {35, 26}, {17, 13}, {7, 9}, {9, 7}, {0, 26}};
    const EdgeRule rules[] = {EdgeRule::Clamp, EdgeRule::Wrap, EdgeRule::WrapX, EdgeRule::WrapY};
    for (const auto& at : placements) {
        const Atlas atlas = parseAtlas(
            R"({"frames": {"a": {"frame": {"x": 0, "y": 0, "w": 5, "h": 4}, "trimmed": true,
              "spriteSourceSize": {"x": )" +
            std::to_string(at.x) + R"(, "y": )" + std::to_string(at.y) +
            R"(, "w": 5, "h": 4}, "sourceSize": {"w": 40, "h": 30}}}})");
        const Surface sprite = paddedWithTransparency(body, spriteW, spriteH, at.x, at.y);
        for (const UpscalerInfo& mode : upscalerCatalogue())
            for (const EdgeRule edges : rules) {
                const int f = mode.factor;
                const Surface whole = upscale(sprite, mode.id, PixelMatch::Seen, SheetLayout{edges, {}});
                Surface expected(5 * f, 4 * f, true);
                place(whole, Area(at.x * f, at.y * f, (at.x + 5) * f, (at.y + 4) * f), expected, 0, 0);
                const Surface made = upscaleByFrames(body, framesOnSheet(atlas, 5, 4, f), mode.id,
                                                     PixelMatch::Seen, edges);
                EXPECT_TRUE(sameImage(made, expected))
                    << mode.name << " at " << at.x << ", " << at.y << " edges " << int(edges);
            }
    }
}
