#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "io/AsepriteBuilder.h"
#include "io/ChildPeakMemory.h"
#include "io/LoadBytes.h"

using namespace loom;
using namespace loom::test;

namespace {

using Rgba = std::array<uint8_t, 4>;
using B = AsepriteBuilder;

std::vector<uint8_t> rgbaPixels(const std::vector<Rgba>& colours) {
    std::vector<uint8_t> bytes;
    for (const Rgba& c : colours) bytes.insert(bytes.end(), c.begin(), c.end());
    return bytes;
}

uint32_t argb(const Rgba& c) {
    return uint32_t(c[3]) << 24 | uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
}

// Channel c of a pixel 0xAARRGGBB (0 red ... 3 alpha).
int channel(uint32_t pixel, int c) { return int(pixel >> (c == 3 ? 24 : 16 - 8 * c)) & 255; }

// Source colour s with alpha a (0 to 1) over an opaque backdrop b, per channel.
Rgba overOpaque(const Rgba& b, const Rgba& s, double a) {
    Rgba out{0, 0, 0, 255};
    for (int c = 0; c < 3; ++c)
        out[size_t(c)] = uint8_t(std::lround(s[size_t(c)] * a + b[size_t(c)] * (1 - a)));
    return out;
}

void expectNear(const std::vector<uint32_t>& actual, const std::vector<Rgba>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(channel(actual[i], c), expected[i][size_t(c)], 1) << i;
}

const Rgba RED{255, 0, 0, 255}, BLUE{0, 0, 255, 255}, GREEN{0, 255, 0, 255}, WHITE{255, 255, 255, 255};
const Rgba NONE{0, 0, 0, 0};

}  // namespace

// Hidden layers, a visible layer inside a hidden group and a reference layer draw nothing; a layer's
// opacity and its cel's multiply; a cel reaching past the canvas is clipped.
TEST(AsepriteRead, VisibleLayersComposeAndOthersAreLeftOut) {
    B file(2, 1, 32);
    file.frame(100)
        .layer(B::VISIBLE)                       // 0
        .layer(B::VISIBLE, B::IMAGE, 0, 0, 128)  // 1
        .layer(0)                                // 2 hidden
        .layer(B::VISIBLE | B::REFERENCE)        // 3
        .layer(0, B::GROUP)                      // 4 hidden group
        .layer(B::VISIBLE, B::IMAGE, 1)          // 5 inside it
        .layer(B::VISIBLE, B::GROUP)             // 6
        .layer(B::VISIBLE, B::IMAGE, 1)          // 7 inside it
        .cel(0, 0, 0, 0, 2, 1, rgbaPixels({RED, RED}))
        .cel(0, 1, 0, 0, 2, 1, rgbaPixels({BLUE, NONE}), false, 200);
    for (uint16_t hidden : {2, 3, 5}) file.cel(0, hidden, 0, 0, 2, 1, rgbaPixels({GREEN, GREEN}));
    file.cel(0, 7, 1, 0, 2, 1, rgbaPixels({WHITE, GREEN}));
    expectNear(argbPixels(Surface(loadBytes(file.bytes()))),
               {overOpaque(RED, BLUE, 128 / 255.0 * 200 / 255.0), WHITE});
}

TEST(AsepriteRead, CompressedAndLinkedCelsInFramesWithTheirDurations) {
    const Rgba colour{10, 20, 30, 255};
    const ImageSourceRef image = loadBytes(B(1, 1, 32)
                                               .frame(100)
                                               .frame(250)
                                               .layer(B::VISIBLE)
                                               .cel(0, 0, 0, 0, 1, 1, rgbaPixels({colour}), true)
                                               .linkedCel(1, 0, 0)
                                               .bytes());
    EXPECT_EQ(image->getFrameCount(), 2);
    EXPECT_EQ(image->getLoopCount(), 0);
    for (int32_t delay : {100, 250}) {
        EXPECT_EQ(image->getFrameDelayMs(), delay);
        EXPECT_EQ(argbPixels(Surface(image)), std::vector<uint32_t>{argb(colour)});
        EXPECT_EQ(image->nextFrame(), delay == 100);
    }
}

// Index 1 is the transparent one: it shows on the background layer (opaque) and nowhere else.
TEST(AsepriteRead, IndexedTransparentIndexShowsOnlyOnTheBackground) {
    const std::vector<Rgba> palette = {RED, GREEN, BLUE};
    const ImageSourceRef image = loadBytes(B(3, 1, 8, 1, 1)
                                               .frame(100)
                                               .palette(palette)
                                               .layer(B::VISIBLE | B::BACKGROUND)
                                               .layer(B::VISIBLE)
                                               .cel(0, 0, 0, 0, 3, 1, {1, 1, 1})
                                               .cel(0, 1, 0, 0, 3, 1, {1, 2, 0})
                                               .bytes());
    EXPECT_EQ(argbPixels(Surface(image)),
              (std::vector<uint32_t>{argb(palette[1]), argb(palette[2]), argb(palette[0])}));
    EXPECT_EQ(image->getPalette().size(), palette.size());
}

TEST(AsepriteRead, GreyscaleIsValueAndAlpha) {
    const std::vector<uint8_t> grey = {80, 255, 200, 0};
    const ImageSourceRef image =
        loadBytes(B(2, 1, 16).frame(100).layer(B::VISIBLE).cel(0, 0, 0, 0, 2, 1, grey).bytes());
    expectNear(argbPixels(Surface(image)), {{grey[0], grey[0], grey[0], grey[1]}, NONE});
}

TEST(AsepriteRead, BlendModesFollowTheirFormulas) {
    const Rgba backdrop{200, 100, 50, 255}, source{100, 150, 250, 255};
    const std::vector<std::pair<uint16_t, std::function<double(double, double)>>> modes = {
        {1, [](double b, double s) { return b * s; }},
        {2, [](double b, double s) { return b + s - b * s; }},
        {4, [](double b, double s) { return std::min(b, s); }},
        {10, [](double b, double s) { return std::abs(b - s); }},
        {17, [](double b, double s) { return std::max(0.0, b - s); }},
    };
    for (const auto& [mode, formula] : modes) {
        SCOPED_TRACE(mode);
        const ImageSourceRef image = loadBytes(B(1, 1, 32)
                                                   .frame(100)
                                                   .layer(B::VISIBLE)
                                                   .layer(B::VISIBLE, B::IMAGE, 0, mode)
                                                   .cel(0, 0, 0, 0, 1, 1, rgbaPixels({backdrop}))
                                                   .cel(0, 1, 0, 0, 1, 1, rgbaPixels({source}))
                                                   .bytes());
        Rgba expected{0, 0, 0, 255};
        for (size_t c = 0; c < 3; ++c)
            expected[c] = uint8_t(std::lround(formula(backdrop[c] / 255.0, source[c] / 255.0) * 255));
        expectNear(argbPixels(Surface(image)), {expected});
    }
}

// A tag gives its frames in its direction; an unknown one names the tags there are.
TEST(AsepriteRead, TagPicksItsFrames) {
    const std::vector<Rgba> colours = {RED, GREEN, BLUE};
    B file(1, 1, 32);
    for (int f = 0; f < 3; ++f) file.frame(uint16_t(10 * (f + 1)));
    file.layer(B::VISIBLE).tags({{1, 2, 0, "walk"}, {0, 2, 1, "back"}, {0, 2, 2, "bounce"}});
    for (uint16_t f = 0; f < 3; ++f) file.cel(f, 0, 0, 0, 1, 1, rgbaPixels({colours[f]}));
    const std::vector<std::pair<std::string, std::vector<int>>> tags = {
        {"walk", {1, 2}}, {"back", {2, 1, 0}}, {"bounce", {0, 1, 2, 1}}};
    for (const auto& [name, frames] : tags) {
        SCOPED_TRACE(name);
        const ImageSourceRef image = loadBytes(file.bytes(), ImageSource::Options().setTag(name));
        EXPECT_EQ(image->getFrameCount(), int32_t(frames.size()));
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(argbPixels(Surface(image)),
                      std::vector<uint32_t>{argb(colours[size_t(frames[i])])});
            EXPECT_EQ(image->getFrameDelayMs(), 10 * (frames[i] + 1));
            EXPECT_EQ(image->nextFrame(), i + 1 < frames.size());
        }
    }
    EXPECT_EQ(failureOf(file.bytes(), ImageSource::Options().setTag("run")),
              "Aseprite: no tag \"run\" (its tags: \"walk\", \"back\", \"bounce\")");
}

TEST(AsepriteRead, BrokenFilesAreRefusedWithTheReason) {
    const auto oneCel = [](uint16_t w, uint16_t h, std::vector<uint8_t> pixels, bool compressed) {
        return B(4, 4, 32)
            .frame(100)
            .layer(B::VISIBLE)
            .cel(0, 0, 0, 0, w, h, pixels, compressed)
            .bytes();
    };
    std::vector<uint8_t> badFrame = oneCel(1, 1, {1, 2, 3, 4}, false);
    badFrame[128 + 4] = 0;
    std::vector<uint8_t> truncated = oneCel(1, 1, {1, 2, 3, 4}, false);
    truncated.resize(truncated.size() - 2);
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {badFrame, "Aseprite: bad frame 1"},
        {truncated, "Aseprite: truncated data"},
        {oneCel(2, 2, {1, 2, 3, 4}, false), "Aseprite: truncated data"},
        {oneCel(65535, 65535, {}, false),
         "Aseprite: cel too large: 65535 x 65535 pixels, past the limit of 32768 pixels a side"},
        {oneCel(16000, 16000, std::vector<uint8_t>(16, 0), true), "Aseprite: truncated data"},
        {oneCel(2, 2, {1, 2, 3, 4}, true), "Aseprite: bad compressed cel"},
    };
    for (const auto& [bytes, message] : cases) EXPECT_EQ(failureOf(bytes), message);
}

// A group composed apart is drawn on its own, then laid on as one picture with its mode and
// opacity; one that is the first thing on a transparent canvas shares it.
TEST(AsepriteRead, GroupsComposedApartAreLaidOnAsOnePicture) {
    struct Layer {
        uint16_t type, level, mode;
        uint8_t opacity;
        Rgba colour;  // of the cel of an image layer
    };
    const uint16_t IMAGE = B::IMAGE, GROUP = B::GROUP, MULTIPLY = 1;
    struct Case {
        const char* name;
        std::vector<Layer> layers;
        Rgba apart, inline_;
    };
    const Rgba BLACK{0, 0, 0, 255};
    const std::vector<Case> cases = {
        {"modes inside blend with the group's own backdrop",
         {{IMAGE, 0, 0, 255, RED},
          {GROUP, 0, MULTIPLY, 255, {}},
          {IMAGE, 1, 0, 255, GREEN},
          {IMAGE, 1, MULTIPLY, 255, WHITE}},
         BLACK,
         GREEN},
        {"the group's opacity fades it as one",
         {{IMAGE, 0, 0, 255, RED},
          {GROUP, 0, 0, 128, {}},
          {IMAGE, 1, 0, 255, BLUE},
          {IMAGE, 1, 0, 255, GREEN}},
         overOpaque(RED, GREEN, 128 / 255.0),
         GREEN},
        {"a group inside a group, each over something",
         {{IMAGE, 0, 0, 255, RED},
          {GROUP, 0, 0, 255, {}},
          {IMAGE, 1, 0, 255, GREEN},
          {GROUP, 1, MULTIPLY, 255, {}},
          {IMAGE, 2, 0, 255, BLUE}},
         BLACK,
         BLUE},
        {"a chain of groups on nothing fades by each opacity in turn",
         {{GROUP, 0, 0, 128, {}}, {GROUP, 1, 0, 128, {}}, {IMAGE, 2, 0, 255, BLUE}},
         {0, 0, 255, 64},  // 128/255 of 128/255, each rounded
         BLUE},
    };
    for (const Case& c : cases)
        for (const bool apart : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (apart ? ", apart" : ", inline"));
            B file(1, 1, 32, B::OPACITY_VALID | (apart ? uint32_t(B::GROUPS_APART) : 0u));
            file.frame(100);
            for (uint16_t i = 0; i < c.layers.size(); ++i) {
                const Layer& l = c.layers[i];
                file.layer(B::VISIBLE, l.type, l.level, l.mode, l.opacity);
                if (l.type == IMAGE) file.cel(0, i, 0, 0, 1, 1, rgbaPixels({l.colour}));
            }
            expectNear(argbPixels(Surface(loadBytes(file.bytes()))), {apart ? c.apart : c.inline_});
        }
}

// Nesting as deep as the format allows composes without recursion, and groups composed apart
// that each hold only the next share one canvas.
TEST(AsepriteRead, DeeplyNestedGroupsCompose) {
    const Rgba colour{10, 20, 30, 255};
    for (const bool apart : {false, true}) {
        SCOPED_TRACE(apart);
        const std::vector<uint32_t> pixels =
            argbPixels(Surface(loadBytes(deeplyNestedGroups(65534, apart, colour))));
        EXPECT_EQ(pixels, std::vector<uint32_t>(256 * 256, argb(colour)));
    }
}

// What a file declares but does not need costs nothing: a cel or tilemap of 1 GiB shown through
// 16 x 16 pixels, and groups composed apart 4,000 deep.
TEST(AsepriteRead, HostileFilesLoadWithinMemory) {
    if (UNDER_SANITIZER) GTEST_SKIP() << "sanitizers keep memory of their own";
    const std::vector<std::pair<const char*, std::function<std::vector<uint8_t>()>>> files = {
        {"cel of 1 GiB", celOfOneGiB},
        {"tilemap of 1 GiB", tilemapOfOneGiB},
        {"groups apart 4,000 deep", [] { return deeplyNestedGroups(4000, true); }},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const int64_t peak = childPeakBytes([&] { return Surface(loadBytes(bytes())).getWidth() > 0; });
        EXPECT_GT(peak, 0);
        EXPECT_LT(peak, int64_t(128) << 20);
    }
}

// Groups composed apart that each lie over a picture need a canvas apiece: past a budget they are
// refused, naming what they need and the limit.
TEST(AsepriteRead, StackedGroupsApartPastTheirBudgetAreRefused) {
    // Each group, over a cel of the one before, opens a 256 x 256 canvas: 256 are exactly the limit.
    EXPECT_EQ(failureOf(stackedGroupsApart(256)), "loaded");
    EXPECT_EQ(failureOf(stackedGroupsApart(257)),
              "Aseprite: layer groups composed apart need canvases of 16842752 pixels at once, past "
              "the limit of 16777216");
}

// Tiles are laid as the map says, flipped or turned; tile 0 is empty.
TEST(AsepriteRead, TilemapsLayTheirTiles) {
    const std::vector<uint8_t> tiles = rgbaPixels({NONE, NONE, NONE, NONE, RED, GREEN, BLUE, WHITE});
    std::vector<uint8_t> map;
    for (const uint32_t value : {1u, 1u | B::FLIP_X, 1u | B::FLIP_Y, 1u | B::TURN, 0u})
        for (int shift = 0; shift < 32; shift += 8) map.push_back(uint8_t(value >> shift));
    const std::vector<uint8_t> file = B(10, 2, 32)
                                          .frame(100)
                                          .tileset(7, 2, 2, 2, B::zlib(tiles))
                                          .layer(B::VISIBLE, B::TILEMAP, 0, 0, 255, 7)
                                          .tilemapCel(0, 0, 0, 0, 5, 1, B::zlib(map))
                                          .bytes();
    std::vector<uint32_t> expected;
    for (const Rgba& c : {RED,  GREEN, GREEN, RED,  BLUE, WHITE, RED,   BLUE,  NONE, NONE,
                          BLUE, WHITE, WHITE, BLUE, RED,  GREEN, GREEN, WHITE, NONE, NONE})
        expected.push_back(argb(c));
    EXPECT_EQ(argbPixels(Surface(loadBytes(file))), expected);
}

// A tileset is limited by its pixels in all, not by the height of its tiles in a column.
TEST(AsepriteRead, TilesetsAndTilemapsAreLimitedByTheirPixels) {
    const Rgba last{1, 2, 3, 255};
    for (const uint32_t count : {2048u, 2049u}) {
        SCOPED_TRACE(count);
        std::vector<uint8_t> pixels(size_t(count) * 16 * 16 * 4, 0);
        for (size_t p = pixels.size() - 16 * 16 * 4; p < pixels.size(); p += 4)
            std::copy(last.begin(), last.end(), pixels.begin() + long(p));
        const std::vector<uint8_t> file = tilesetSprite(count, 16, count - 1, B::zlib(pixels));
        EXPECT_EQ(argbPixels(Surface(loadBytes(file))), std::vector<uint32_t>(256, argb(last)));
    }
    // 4,096 tiles of 256 x 256 are the limit exactly; only the tiles shown are inflated.
    const std::vector<uint8_t> all = B::zlibZeros(uint64_t(1) << 30);
    EXPECT_EQ(failureOf(tilesetSprite(4096, 256, 1, all)), "loaded");
    EXPECT_EQ(failureOf(tilesetSprite(4097, 256, 1, all)),
              "Aseprite: tileset too large: 4097 tiles of 256 x 256 pixels, past the limit of "
              "268435456 pixels in all");
    // A tilemap's picture is checked before anything is drawn of it.
    const std::vector<uint8_t> wide = B(16, 16, 32)
                                          .frame(100)
                                          .tileset(1, 1, 256, 256, B::zlibZeros(256 * 256 * 4))
                                          .layer(B::VISIBLE, B::TILEMAP, 0, 0, 255, 1)
                                          .tilemapCel(0, 0, 0, 0, 200, 1, B::zlibZeros(200 * 4))
                                          .bytes();
    EXPECT_EQ(failureOf(wide),
              "Aseprite: tilemap too large: 51200 x 256 pixels, past the limit of 32768 pixels a side");
}

// A sprite saved by the editor itself.
TEST(AsepriteRead, EditorSavedIndexedSprite) {
    const ImageSourceRef image =
        loadImage(std::string(LOOM_TESTDATA_DIR) + "/aseprite/indexed.aseprite");
    EXPECT_EQ(image->getWidth(), 256);
    EXPECT_EQ(image->getHeight(), 256);
    EXPECT_GE(image->getFrameCount(), 1);
    EXPECT_FALSE(image->getPalette().empty());
    const std::vector<uint32_t> pixels = argbPixels(Surface(image));
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p >> 24 != 0; }));
}
