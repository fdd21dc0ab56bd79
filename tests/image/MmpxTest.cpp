// MMPX 2x and 4x: the rule list's worked examples pixel for pixel, each rule on a picture where it
// changes the result, the order of rules, the filter's properties, the comparison rules, and the
// fast rows against the reference under every rule of comparison and edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "PixelTestUtil.h"
#include "image/KernelPath.h"
#include "image/SheetLayout.h"
#include "image/Upscale.h"
#include "image/UpscaleFast.h"
#include "image/UpscaleReference.h"
#include "image/UpscalerCatalogue.h"

using namespace loom;
using namespace loom::test;

namespace {

const int MMPX2X = findUpscaler("MMPX2x"), MMPX4X = findUpscaler("MMPX4x");

// Whole pixels (alpha << 24 | colour) by letter: '.' transparent black, 'm' transparent magenta.
const std::map<char, uint32_t> LETTERS = {
    {'.', 0x00000000}, {'m', 0x00FF00FF}, {'K', 0xFF000000}, {'W', 0xFFFFFFFF}, {'r', 0xFFDC2828}};

Surface art(const Rows& rows) {
    Surface s(int(rows[0].size()), int(rows.size()), true);
    for (int y = 0; y < s.getHeight(); ++y)
        for (int x = 0; x < s.getWidth(); ++x) {
            const uint32_t p = LETTERS.at(rows[size_t(y)][size_t(x)]);
            setPixel(s, x, y, p & 0xFFFFFF, uint8_t(p >> 24));
        }
    return s;
}

Rows lettersOf(const Surface& s, int x0 = 0, int y0 = 0, int w = -1, int h = -1) {
    Rows rows;
    for (int y = y0; y < (h < 0 ? s.getHeight() : y0 + h); ++y) {
        std::string row;
        for (int x = x0; x < (w < 0 ? s.getWidth() : x0 + w); ++x) {
            char letter = '?';
            for (const auto& [c, p] : LETTERS)
                if (p == pixelAt(s, x, y)) letter = c;
            row += letter;
        }
        rows.push_back(row);
    }
    return rows;
}

// The upscale of the reference and of every fast path, named.
std::vector<std::pair<std::string, Surface>> everyPath(const Surface& s, int mode, PixelMatch match) {
    std::vector<std::pair<std::string, Surface>> results = {
        {"reference", upscaleReference(s, mode, match)}};
    for (KernelPath path : availableKernelPaths())
        results.push_back({kernelPathName(path), upscaleWith(s, mode, path, match)});
    return results;
}

// A square picture turned a quarter clockwise (y grows downwards).
Rows turned(const Rows& in) {
    Rows out = in;
    const size_t n = in.size();
    for (size_t r = 0; r < n; ++r)
        for (size_t c = 0; c < n; ++c) out[r][c] = in[n - 1 - c][r];
    return out;
}

Rows mirrored(Rows rows) {
    for (std::string& row : rows) row.assign(row.rbegin(), row.rend());
    return rows;
}

// Transform t of the eight symmetries: mirrored when t >= 4, then turned t % 4 times.
Rows transformed(Rows rows, int t) {
    if (t >= 4) rows = mirrored(rows);
    for (int i = 0; i < t % 4; ++i) rows = turned(rows);
    return rows;
}

}  // namespace

TEST(Mmpx, WorkedExamplesComeOutPixelForPixel) {
    const struct {
        const char* name;
        Rows input, output;
    } examples[] = {
        {"a 1:1 diagonal",
         {"KWWW", "WKWW", "WWKW", "WWWK"},
         {"KKWWWWWW", "KWKWWWWW", "WKKKWWWW", "WWKKKWWW", "WWWKKKWW", "WWWWKKKW", "WWWWWKWK",
          "WWWWWWKK"}},
        {"a 2:1 staircase",
         {"WWWW", "KKWW", "WWKK", "WWWW"},
         {"WWWWWWWW", "WWWWWWWW", "KKKKWWWW", "KKKKKKWW", "WWKKKKKK", "WWWWKKKK", "WWWWWWWW",
          "WWWWWWWW"}},
        {"a black-outlined sprite",
         {".K..", "KrK.", ".KrK", "..K."},
         {"..KK....", "..KKK...", "KKrrKK..", "KKrrrKK.", ".KKrrrKK", "..KKrrKK", "...KKK..",
          "....KK.."}},
        {"a one-pixel notch",
         {"KKK.", "K.K.", "....", "...."},
         {"KKKKKK..", "KKKKKK..", "KKKKKK..", "KK..KK..", "........", "........", "........",
          "........"}},
    };
    for (const auto& ex : examples)
        for (const auto& [path, result] : everyPath(art(ex.input), MMPX2X, PixelMatch::ColourAndAlpha))
            EXPECT_EQ(lettersOf(result), ex.output) << ex.name << " on " << path;
}

TEST(Mmpx, EveryRuleChangesTheBlockOfAPictureMadeForIt) {
    // Each picture is made for the rule that comes first in its list; its seven other symmetries
    // (mirrored, then turned a quarter clockwise t % 4 times) are made for the others, in order.
    // The middle pixel's block is given for the picture itself, and turns with it.
    const struct {
        const char* rules[8];
        Rows picture, block;
    } cases[] = {
        {{"1J", "1K", "1M", "1L"},
         {"WWWWWWW", "WWWWWWW", "WWWKWWW", "WWKWWWW", "WWWWWWW", "WWWWWWW", "WWWWWWW"},
         {"KW", "WW"}},
        // Blocked when A = D and P and Q both equal E; one of them differing lifts the block.
        {{"1J blocked", "1K blocked", "1M blocked", "1L blocked"},
         {"WWWWWWW", "WWWWWWW", "WWKKWWW", "WWKWWWW", "WWWWWWW", "WWWWWWW", "WWWWWWW"},
         {"WW", "WW"}},
        {{"1J by P", "1K by R", "1M by S", "1L by Q"},
         {"WWWWWWW", "WWWKWWW", "WWKKWWW", "WWKWWWW", "WWWWWWW", "WWWWWWW", "WWWWWWW"},
         {"KW", "WW"}},
        // A darker E keeps its corner from a brighter diagonal.
        {{"1J darker E", "1K darker E", "1M darker E", "1L darker E"},
         {"KKKKKKK", "KKKWKKK", "KKWWKKK", "KKWKKKK", "KKKKKKK", "KKKKKKK", "KKKKKKK"},
         {"KK", "KK"}},
        {{"2a", "2c", "2b", "2d"},
         {"WWWWWWW", "WWWWWWW", "WWWKWWW", "WWWWKWW", "WWWKWWW", "WWWWWWW", "WWWWWWW"},
         {"WK", "WK"}},
        {{"2a blocked", "2c blocked", "2b blocked", "2d blocked"},  // E<+3,0> = F
         {"WWWWWWW", "WWWWWWW", "WWWKWWW", "WWWWKWK", "WWWKWWW", "WWWWWWW", "WWWWWWW"},
         {"WW", "WW"}},
        {{"2e", "2g", "2f", "2h"},
         {"KKKKKKK", "KKKKKKK", "KKKKKKK", "KKKWKKK", "WWWWWWW", "WWWWWWW", "WWWWWWW"},
         {"KK", "WW"}},
        // A brighter tip is kept.
        {{"2e brighter B", "2g brighter F", "2f brighter H", "2h brighter D"},
         {"WWWWWWW", "WWWWWWW", "WWWWWWW", "WWWKWWW", "KKKKKKK", "KKKKKKK", "KKKKKKK"},
         {"KK", "KK"}},
        // Stage 3 copies the corner stage 1 set: 1M then 3a, and so on.
        {{"3a", "3e", "3d", "3h", "3b", "3f", "3c", "3g"},
         {"WWWWWWW", "WWWWWWW", "WWWWWWW", "WWWWKKK", "KKKKWWW", "WWWWWWW", "WWWWWWW"},
         {"WW", "KK"}},
        {{"3a blocked", "3e blocked", "3d blocked", "3h blocked", "3b blocked", "3f blocked",
          "3c blocked", "3g blocked"},  // E<+2,-1> = H: stage 1 alone
         {"WWWWWWW", "WWWWWWW", "WWWWWKW", "WWWWKKK", "KKKKWWW", "WWWWWWW", "WWWWWWW"},
         {"WW", "WK"}},
    };
    for (const auto& c : cases)
        for (int t = 0; t < 8 && c.rules[t]; ++t)
            for (const auto& [path, result] :
                 everyPath(art(transformed(c.picture, t)), MMPX2X, PixelMatch::ColourAndAlpha))
                EXPECT_EQ(lettersOf(result, 6, 6, 2, 2), transformed(c.block, t))
                    << c.rules[t] << " on " << path;
}

TEST(Mmpx, ALaterRuleOverwritesAnEarlierOneAndStageThreeCopiesCurrentValues) {
    // As seen, D (hiding magenta) and H (hiding black) are alike: 1L sets L to H, then 2h sets J
    // and L to D, whose hidden colour L must end with. The staircase of the rule table shows
    // stage 3 reading the corner stage 1 has just set.
    const Surface picture =
        art({"WWWWWWW", "WWWWWWW", "WWKKWWW", "WWmWWWW", "WWK.WWW", "WWWWWWW", "WWWWWWW"});
    for (const auto& [path, result] : everyPath(picture, MMPX2X, PixelMatch::Seen))
        EXPECT_EQ(lettersOf(result, 6, 6, 2, 2), (Rows{"mW", "mW"})) << path;
}

TEST(Mmpx, PropertiesHoldOnRandomPictures) {
    uint32_t seed = 300;
    for (PixelMatch match : ALL_MATCHES)
        for (int colours = 2; colours <= 4; ++colours) {
            const Surface s = randomPaletteImage(23, 17, ChannelOrder::RGBA, colours, seed++);
            const Surface result = upscale(s, MMPX2X, match);
            // Each pixel of E's block is a copy of E, B, D, F or H.
            const auto src = [&](int x, int y) {
                return pixelAt(s, std::clamp(x, 0, 22), std::clamp(y, 0, 16));
            };
            for (int y = 0; y < result.getHeight(); ++y)
                for (int x = 0; x < result.getWidth(); ++x) {
                    const uint32_t p = pixelAt(result, x, y);
                    const int ex = x / 2, ey = y / 2;
                    ASSERT_TRUE(p == src(ex, ey) || p == src(ex, ey - 1) || p == src(ex - 1, ey) ||
                                p == src(ex + 1, ey) || p == src(ex, ey + 1))
                        << "at " << x << "," << y << ", match " << int(match);
                }
            EXPECT_TRUE(sameImage(upscale(s, MMPX4X, match), upscale(result, MMPX2X, match)))
                << "4x is 2x twice, match " << int(match);
        }
}

TEST(Mmpx, FlatAreasIsolatedPixelsStraightEdgesAndCheckerboardsStayPlainBlocks) {
    const Rows checkerboard = {"KWKWKWKWKW", "WKWKWKWKWK", "KWKWKWKWKW", "WKWKWKWKWK", "KWKWKWKWKW",
                               "WKWKWKWKWK", "KWKWKWKWKW", "WKWKWKWKWK", "KWKWKWKWKW", "WKWKWKWKWK"};
    const struct {
        const char* name;
        Rows picture;
        int margin;  // pixels from each edge whose blocks may change
    } cases[] = {
        {"flat", {"rrrr", "rrrr", "rrrr"}, 0},
        {"isolated pixel", {"WWWWW", "WWWWW", "WWKWW", "WWWWW", "WWWWW"}, 0},
        {"isolated transparent pixel", {"KKK", "K.K", "KKK"}, 0},
        {"horizontal edge", {"KKKKKK", "KKKKKK", "WWWWWW", "WWWWWW", "WWWWWW"}, 0},
        {"vertical line", {"WWKWW", "WWKWW", "WWKWW", "WWKWW"}, 0},
        {"checkerboard", checkerboard, 3},
    };
    for (const auto& c : cases) {
        const Surface s = art(c.picture);
        const Rows plain = lettersOf(upscale(s, findUpscaler("Nearest2x")));
        for (PixelMatch match : ALL_MATCHES)
            for (const auto& [path, result] : everyPath(s, MMPX2X, match)) {
                const Rows got = lettersOf(result);
                for (size_t y = 2 * size_t(c.margin); y + 2 * size_t(c.margin) < got.size(); ++y)
                    EXPECT_EQ(
                        got[y].substr(2 * size_t(c.margin), got[y].size() - 4 * size_t(c.margin)),
                        plain[y].substr(2 * size_t(c.margin), got[y].size() - 4 * size_t(c.margin)))
                        << c.name << " row " << y << " on " << path << ", match " << int(match);
            }
    }
}

TEST(Mmpx, SeenCountsEveryTransparentPixelAsOneWhateverItHidesAndCopiesItWhole) {
    // The sprite's background hides black, magenta and three more colours.
    Surface sprite = transparentSprite(20, 18), cleared = transparentSprite(20, 18);
    const uint32_t hidden[] = {0x000000, 0xFF00FF, 0x00FF80, 0xFFFFFF, 0x402010};
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x)
            if (alphaAt(sprite, x, y) == 0) {
                setPixel(sprite, x, y, hidden[size_t(x * 7 + y * 3) % 5], 0);
                setPixel(cleared, x, y, 0, 0);
            }
    for (int mode : {MMPX2X, MMPX4X}) {
        const Surface seen = upscale(sprite, mode, PixelMatch::Seen);
        const Surface clearedRgba = upscale(cleared, mode, PixelMatch::ColourAndAlpha);
        bool hiddenColourKept = false;
        for (int y = 0; y < seen.getHeight(); ++y)
            for (int x = 0; x < seen.getWidth(); ++x) {
                if (alphaAt(clearedRgba, x, y) == 0) {
                    ASSERT_EQ(alphaAt(seen, x, y), 0) << "at " << x << "," << y;
                    hiddenColourKept |= colourAt(seen, x, y) != 0;
                } else {
                    ASSERT_EQ(pixelAt(seen, x, y), pixelAt(clearedRgba, x, y)) << "at " << x << "," << y;
                }
            }
        EXPECT_TRUE(hiddenColourKept) << "transparent pixels are copied whole";
        // Under RGBA the hidden colours split the background, and the outline comes out otherwise.
        const Surface rgba = upscale(sprite, mode, PixelMatch::ColourAndAlpha);
        bool shownPixelDiffers = false;
        for (int y = 0; y < seen.getHeight(); ++y)
            for (int x = 0; x < seen.getWidth(); ++x)
                shownPixelDiffers |= (alphaAt(seen, x, y) != 0 || alphaAt(rgba, x, y) != 0) &&
                                     pixelAt(seen, x, y) != pixelAt(rgba, x, y);
        EXPECT_TRUE(shownPixelDiffers);
    }
}

TEST(Mmpx, FastRowsMatchTheReferenceUnderEveryRuleAndEdge) {
    std::vector<std::pair<int, int>> sizes;
    for (int w = 1; w <= 8; ++w)
        for (int h = 1; h <= 8; ++h) sizes.emplace_back(w, h);
    // Widths about the SIMD chunk (8 anchors between three border columns each side).
    for (auto size : {std::pair{70, 70}, {13, 5}, {14, 3}, {15, 9}, {22, 4}, {31, 17}})
        sizes.push_back(size);
    uint32_t seed = 500;
    for (const auto& [w, h] : sizes) {
        const Surface s = randomPaletteImage(w, h, ChannelOrder::RGBA, 2 + int(seed % 3), seed);
        ++seed;
        for (int mode : {MMPX2X, MMPX4X}) {
            const int factor = upscalerById(mode).factor;
            for (PixelMatch match : ALL_MATCHES)
                for (EdgeRule edges :
                     {EdgeRule::Clamp, EdgeRule::Wrap, EdgeRule::WrapX, EdgeRule::WrapY}) {
                    const auto laidOut = [&](const WholeUpscale& whole, const WholeUpscale& blocks) {
                        return upscaleLaidOut(s, factor, {edges, {}}, whole, blocks);
                    };
                    const Surface expected =
                        laidOut([&](const Surface& p) { return upscaleReference(p, mode, match); },
                                [&](const Surface& p) {
                                    return upscaleReference(p, plainBlocksUpscaler(factor));
                                });
                    for (KernelPath path : availableKernelPaths())
                        ASSERT_TRUE(sameImage(
                            laidOut([&](const Surface& p) { return upscaleWith(p, mode, path, match); },
                                    [&](const Surface& p) {
                                        return upscaleWith(p, plainBlocksUpscaler(factor), path);
                                    }),
                            expected))
                            << upscalerById(mode).name << " on " << kernelPathName(path) << ", " << w
                            << "x" << h << ", match " << int(match) << ", edges " << int(edges);
                }
        }
    }
}

TEST(Mmpx, ComesAfterEveryOtherModeSoNoIdMoves) {
    EXPECT_EQ(MMPX2X, 11);
    EXPECT_EQ(MMPX4X, 12);
    EXPECT_EQ(findUpscaler("mmpx4x"), MMPX4X);
    EXPECT_EQ(upscalerById(MMPX4X).factor, 4);
    EXPECT_EQ(upscalerById(findUpscaler("Nearest5x")).factor, 5) << "plain blocks follow the catalogue";
}
