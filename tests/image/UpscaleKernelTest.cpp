#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "PixelTestUtil.h"
#include "image/ImageLimits.h"
#include "image/Upscale.h"
#include "image/UpscaleFast.h"
#include "image/UpscaleReference.h"
#include "image/UpscalerCatalogue.h"

using loom::ChannelOrder;
using loom::PixelMatch;
using loom::Surface;
using loom::upscale;
using namespace loom::test;

namespace {
constexpr int NONE = 0, SCALE2X = 1, SCALE3X = 2, SCALE4X = 3, EAGLE2X = 4, SCALE2XHQ = 5, SCALE3XHQ = 6,
              SCALE4XHQ = 7;

// MMPX weighs brightness as well as equality, so recolouring a picture changes its choices: the
// properties below that recolour hold only for the modes that compare nothing but equality.
bool comparesOnlyEquality(const loom::UpscalerInfo& info) {
    for (const loom::UpscaleStage& stage : info.recipe)
        if (stage.kernel == loom::Kernel::Mmpx2x) return false;
    return true;
}

Rows block(const Rows& image, int factor, int bx, int by) {
    Rows out;
    for (int j = 0; j < factor; ++j)
        out.push_back(image[size_t(by * factor + j)].substr(size_t(bx * factor), size_t(factor)));
    return out;
}
}  // namespace

TEST(UpscalerCatalogue, ModesAreFoundByIdAndByName) {
    const auto& cat = loom::upscalerCatalogue();
    for (size_t i = 0; i < cat.size(); ++i) {
        EXPECT_EQ(loom::upscalerById(int(i)).name, cat[i].name) << "an id is its index";
        EXPECT_EQ(loom::findUpscaler(cat[i].name), int(i));
    }
    EXPECT_EQ(loom::findUpscaler("scale3xhq"), SCALE3XHQ) << "case-insensitive fallback";
    // Plain blocks of every size from 2 to 16 beyond the panel's three.
    EXPECT_EQ(loom::upscalerById(loom::findUpscaler("Nearest3x")).id, 9);
    EXPECT_EQ(loom::upscalerById(loom::findUpscaler("nearest16x")).factor, 16);
    EXPECT_EQ(loom::findUpscaler("Nearest17x"), -1);
    EXPECT_EQ(loom::findUpscaler("Nearest1x"), -1);
    EXPECT_EQ(loom::findUpscaler("Scale5x"), -1);
    EXPECT_EQ(loom::findUpscaler(""), -1);
}

TEST(UpscaleDispatch, UnknownModeThrowsAndNullSourceGivesNull) {
    Surface s = imageFromRows({"WK"});
    for (int mode : {-1, 1000}) {
        EXPECT_THROW(upscale(s, mode), std::invalid_argument) << mode;
        EXPECT_THROW(loom::upscaleReference(s, mode), std::invalid_argument) << mode;
        EXPECT_THROW(upscale(Surface(), mode), std::invalid_argument) << mode;
    }
    EXPECT_TRUE(upscale(Surface(), SCALE2X).isNull());
    EXPECT_TRUE(loom::upscaleReference(Surface(), SCALE2X).isNull());
    EXPECT_FALSE(upscale(s, NONE).sharesPixelsWith(s)) << "mode 0 makes a new surface";
}

TEST(UpscaleDispatch, ResultSizeAndOrderFollowTheSource) {
    Surface bgra = imageFromRows({"RGB", "KWX"}, ChannelOrder::BGRA);
    Surface xrgb = imageFromRows({"RGB", "KWX"}, ChannelOrder::XRGB);
    for (const auto& info : loom::upscalerCatalogue()) {
        Surface a = upscale(bgra, info.id);
        EXPECT_EQ(a.getWidth(), 3 * info.factor) << info.name;
        EXPECT_EQ(a.getHeight(), 2 * info.factor) << info.name;
        EXPECT_EQ(a.getChannelOrder().code, ChannelOrder::RGBA) << info.name;
        Surface b = upscale(xrgb, info.id);
        EXPECT_EQ(b.getChannelOrder().code, ChannelOrder::RGB) << info.name;
        EXPECT_EQ(b.getRowBytes(), 9 * info.factor) << info.name;
        EXPECT_EQ(rowsOf(a), rowsOf(b)) << info.name << ": the colours do not depend on the order";
    }
    EXPECT_EQ(rowsOf(upscale(bgra, NONE)), (Rows{"RGB", "KWX"}));
}

TEST(UpscaleDispatch, EmptySourcesGiveEmptyScaledResults) {
    for (const auto& info : loom::upscalerCatalogue()) {
        for (auto [w, h] : {std::pair{0, 5}, std::pair{4, 0}, std::pair{0, 0}}) {
            Surface r = upscale(Surface(w, h, true), info.id);
            ASSERT_FALSE(r.isNull()) << info.name;
            EXPECT_EQ(r.getWidth(), w * info.factor) << info.name;
            EXPECT_EQ(r.getHeight(), h * info.factor) << info.name;
        }
    }
}

TEST(UpscaleDispatch, OnePixelGivesASolidBlockWithItsAlpha) {
    Surface s(1, 1, true);
    setPixel(s, 0, 0, 0x336699, 40);
    for (const auto& info : loom::upscalerCatalogue()) {
        Surface r = upscale(s, info.id);
        ASSERT_EQ(r.getWidth(), info.factor);
        for (int y = 0; y < info.factor; ++y) {
            for (int x = 0; x < info.factor; ++x) {
                EXPECT_EQ(colourAt(r, x, y), 0x336699u) << info.name;
                EXPECT_EQ(alphaAt(r, x, y), 40) << info.name;
            }
        }
    }
}

TEST(UpscaleDispatch, ResultKeepsThePremultipliedFlag) {
    Surface s = imageFromRows({"RG", "BK"}, ChannelOrder::RGBA);
    s.setPremultiplied(true);
    for (const auto& info : loom::upscalerCatalogue())
        EXPECT_TRUE(upscale(s, info.id).isPremultiplied()) << info.name;
    EXPECT_FALSE(upscale(imageFromRows({"RG"}), SCALE2X).isPremultiplied());
}

TEST(UpscaleLimits, RefusesResultsPastTheLimitsBeforeAllocating) {
    Surface wide(20000, 1, false);
    try {
        upscale(wide, SCALE3X);
        FAIL() << "a 60000-pixel-wide result must be refused";
    } catch (const loom::ImageTooLargeExc& e) {
        EXPECT_NE(std::string(e.what()).find("60000 x 3"), std::string::npos) << e.what();
    }
    EXPECT_NO_THROW(upscale(wide, NONE));
    // Within the side limit but over 2^28 pixels in all: 32768 x 8196.
    Surface big(8192, 2049, false);
    EXPECT_THROW(upscale(big, SCALE4XHQ), loom::ImageTooLargeExc);
    EXPECT_THROW(loom::makeScaledSurface(big, 4), loom::ImageTooLargeExc);
}

TEST(Scale2x, CrossedPairsRoundTheirCorners) {
    Surface r = upscale(imageFromRows({"XY", "YX"}), SCALE2X);
    EXPECT_EQ(rowsOf(r), (Rows{"XXYY", "XYXY", "YXYX", "YYXX"}));
}

TEST(Scale2x, SinglePixelStaysASquareAndThinImagesReplicate) {
    const Rows field = {"WWW", "WKW", "WWW"};
    EXPECT_EQ(rowsOf(upscale(imageFromRows(field), SCALE2X)),
              (Rows{"WWWWWW", "WWWWWW", "WWKKWW", "WWKKWW", "WWWWWW", "WWWWWW"}));
    EXPECT_EQ(rowsOf(upscale(imageFromRows({"WKKXW"}), SCALE2X)), (Rows{"WWKKKKXXWW", "WWKKKKXXWW"}))
        << "one row: B and H clamp onto the row, so no rule fires";
    EXPECT_EQ(rowsOf(upscale(imageFromRows({"W", "K", "X"}), SCALE2X)),
              (Rows{"WW", "WW", "KK", "KK", "XX", "XX"}));
}

TEST(Scale3x, CrossedPairsAndIsolatedPixel) {
    Rows r = rowsOf(upscale(imageFromRows({"XY", "YX"}), SCALE3X));
    EXPECT_EQ(block(r, 3, 0, 0), (Rows{"XXX", "XXY", "XYY"}));
    EXPECT_EQ(block(r, 3, 1, 0), (Rows{"YYY", "XYY", "XXY"}));
    Rows field = rowsOf(upscale(imageFromRows({"WWW", "WKW", "WWW"}), SCALE3X));
    EXPECT_EQ(block(field, 3, 1, 1), (Rows{"KKK", "KKK", "KKK"}));
    EXPECT_EQ(block(field, 3, 0, 1), (Rows{"WWW", "WWW", "WWW"}));
    EXPECT_EQ(block(field, 3, 0, 0), (Rows{"WWW", "WWW", "WWW"}));
}

TEST(Scale3x, EdgeAndCornerRulesLookAtTheDiagonals) {
    // E = W with D = B = K: the corner takes K; the top middle needs E != C as well.
    Rows r = rowsOf(upscale(imageFromRows({"KKW", "KWY", "WYY"}), SCALE3X));
    EXPECT_EQ(block(r, 3, 1, 1), (Rows{"KWW", "WWW", "WWY"}))
        << "every middle keeps E because C and G equal E";
    Rows r2 = rowsOf(upscale(imageFromRows({"KKX", "KWY", "XYY"}), SCALE3X));
    EXPECT_EQ(block(r2, 3, 1, 1), (Rows{"KKW", "KWY", "WYY"}));
}

TEST(Eagle2x, CornersFollowTheThreeOuterNeighbours) {
    const Rows ring = {"KKK", "KWK", "KKK"};
    Rows r = rowsOf(upscale(imageFromRows(ring), EAGLE2X));
    EXPECT_EQ(block(r, 2, 1, 1), (Rows{"KK", "KK"})) << "an isolated pixel vanishes";
    const Rows plus = {"XKX", "KWK", "XKX"};
    EXPECT_EQ(block(rowsOf(upscale(imageFromRows(plus), EAGLE2X)), 2, 1, 1), (Rows{"WW", "WW"}))
        << "edge neighbours alone do not fire";
    // Top row: A, B and C clamp onto D, E and F, so the upper outputs keep E.
    Rows top = rowsOf(upscale(imageFromRows({"KWK", "KKK"}), EAGLE2X));
    EXPECT_EQ(block(top, 2, 1, 0), (Rows{"WW", "KK"}));
}

TEST(UpscaleAlpha, UnderTheColourRuleColoursAloneCompareAndACopiedPixelKeepsItsOwnAlpha) {
    // X and X' differ only in alpha: they count as one colour, so no Scale rule fires. (Eagle's
    // would: its corner rules fire on three equal colours, and copy the corner whole.)
    Surface s(2, 2, true);
    setPixel(s, 0, 0, letterColour('X'), 10);
    setPixel(s, 1, 0, letterColour('X'), 200);
    setPixel(s, 0, 1, letterColour('Y'), 30);
    setPixel(s, 1, 1, letterColour('Y'), 40);
    for (int mode : {SCALE2X, SCALE3X, SCALE2XHQ, SCALE3XHQ}) {
        const int k = loom::upscalerCatalogue()[size_t(mode)].factor;
        Surface r = upscale(s, mode, PixelMatch::Colour);
        for (int y = 0; y < 2 * k; ++y)
            for (int x = 0; x < 2 * k; ++x)
                EXPECT_EQ(pixelAt(r, x, y), pixelAt(s, x / k, y / k)) << mode << " at " << x << "," << y;
    }
    // A rule that copies a neighbour copies it whole: the bottom right of X's block is Y from F.
    Surface crossed = imageFromRows({"XY", "YX"}, ChannelOrder::RGBA);
    setPixel(crossed, 0, 0, letterColour('X'), 11);
    setPixel(crossed, 1, 0, letterColour('Y'), 22);
    EXPECT_EQ(pixelAt(upscale(crossed, SCALE2X, PixelMatch::Colour), 1, 1), pixelAt(crossed, 1, 0));
}

TEST(UpscaleAlpha, ComparingAlphaIsComparingColoursOfPixelsRecolouredApart) {
    // Give every distinct pixel (colour and alpha) a colour of its own: then colours are equal
    // exactly when whole pixels are, so the colour-only result mapped back must be the result
    // that compares alpha, in every mode.
    for (const Surface& source :
         {transparentSprite(), randomPaletteImage(19, 13, ChannelOrder::RGBA, 3, 5)}) {
        std::map<uint32_t, uint32_t> original;  // recoloured pixel -> source pixel
        Surface recoloured(source.getWidth(), source.getHeight(), true);
        std::map<uint32_t, uint32_t> colourOf;
        for (int y = 0; y < source.getHeight(); ++y) {
            for (int x = 0; x < source.getWidth(); ++x) {
                const uint32_t p = pixelAt(source, x, y);
                const uint32_t colour = colourOf.emplace(p, uint32_t(colourOf.size()) + 1).first->second;
                setPixel(recoloured, x, y, colour, uint8_t(p >> 24));
                original[pixelAt(recoloured, x, y)] = p;
            }
        }
        bool anyDifference = false;
        for (const auto& info : loom::upscalerCatalogue()) {
            if (!comparesOnlyEquality(info)) continue;
            const Surface withAlpha = upscale(source, info.id, PixelMatch::ColourAndAlpha);
            const Surface viaColours = upscale(recoloured, info.id, PixelMatch::Colour);
            const Surface colourOnly = upscale(source, info.id, PixelMatch::Colour);
            for (int y = 0; y < withAlpha.getHeight(); ++y) {
                for (int x = 0; x < withAlpha.getWidth(); ++x) {
                    ASSERT_EQ(pixelAt(withAlpha, x, y), original.at(pixelAt(viaColours, x, y)))
                        << info.name << " at " << x << "," << y;
                    anyDifference |= pixelAt(withAlpha, x, y) != pixelAt(colourOnly, x, y);
                }
            }
        }
        EXPECT_TRUE(anyDifference) << "pixels differing only in alpha must change some result";
    }
}

// As seen, every fully transparent pixel is one colour and any other pixel one of its own: recolour
// the source so, and the colour-only result mapped back must be the seen result, whatever colours
// the transparent pixels hide (black, as editors store them, magenta, or random).
TEST(UpscaleAlpha, ComparingAsSeenIsComparingColoursOfTransparentPixelsMadeOne) {
    Surface hiddenMagenta = transparentSprite(21, 18);
    Surface hiddenBlack = transparentSprite(21, 18);
    Surface translucent = transparentSprite(21, 18);
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 21; ++x) {
            const uint32_t p = pixelAt(hiddenBlack, x, y);
            if (p >> 24 != 0) continue;
            setPixel(hiddenMagenta, x, y, 0xFF00FF, 0);
            setPixel(hiddenBlack, x, y, 0x000000, 0);
            setPixel(translucent, x, y, 0x000000, (x + y) % 3 ? 0 : 40);
        }
    }
    // Whether the colour rule gives another picture: not when the hidden colour is one the sprite
    // does not use, since colours then already tell transparent pixels apart.
    const std::pair<Surface, bool> cases[] = {
        {hiddenBlack, true},
        {hiddenMagenta, false},
        {translucent, true},
        {randomPaletteImage(19, 13, ChannelOrder::RGBA, 3, 6), true}};
    for (const auto& [source, colourRuleDiffers] : cases) {
        std::map<uint32_t, uint32_t> colourOf, original;  // pixel -> colour and back; 0: transparent
        Surface recoloured(source.getWidth(), source.getHeight(), false);
        for (int y = 0; y < source.getHeight(); ++y) {
            for (int x = 0; x < source.getWidth(); ++x) {
                const uint32_t p = pixelAt(source, x, y);
                const uint32_t colour =
                    p >> 24 == 0 ? 0 : colourOf.emplace(p, uint32_t(colourOf.size()) + 1).first->second;
                setPixel(recoloured, x, y, colour, 255);
                original[colour] = p;
            }
        }
        bool differs = false;
        for (const auto& info : loom::upscalerCatalogue()) {
            if (!comparesOnlyEquality(info)) continue;
            const Surface seen = upscale(source, info.id, PixelMatch::Seen);
            const Surface viaColours = upscale(recoloured, info.id, PixelMatch::Colour);
            for (int y = 0; y < seen.getHeight(); ++y) {
                for (int x = 0; x < seen.getWidth(); ++x) {
                    const uint32_t colour = pixelAt(viaColours, x, y) & 0xFFFFFF;
                    const uint32_t got = pixelAt(seen, x, y);
                    if (colour == 0)
                        ASSERT_EQ(got >> 24, 0u) << info.name << " at " << x << "," << y;
                    else
                        ASSERT_EQ(got, original.at(colour)) << info.name << " at " << x << "," << y;
                }
            }
            differs |= !sameImage(seen, upscale(source, info.id, PixelMatch::Colour));
        }
        EXPECT_EQ(differs, colourRuleDiffers);
    }
}

TEST(UpscaleNearest, EveryPixelBecomesAPlainBlockOfItsOwnWholeInEveryPath) {
    const Surface source = randomPaletteImage(7, 5, ChannelOrder::BGRA, 4, 3);
    for (const char* name : {"Nearest2x", "Nearest3x", "Nearest4x", "Nearest7x", "Nearest16x"}) {
        const loom::UpscalerInfo& info = loom::upscalerById(loom::findUpscaler(name));
        const Surface reference = loom::upscaleReference(source, info.id);
        for (loom::KernelPath path : loom::availableKernelPaths())
            EXPECT_TRUE(sameImage(loom::upscaleWith(source, info.id, path), reference)) << name;
        for (int y = 0; y < reference.getHeight(); ++y)
            for (int x = 0; x < reference.getWidth(); ++x)
                ASSERT_EQ(pixelAt(reference, x, y), pixelAt(source, x / info.factor, y / info.factor))
                    << name << " at " << x << "," << y;
    }
}

TEST(UpscaleComposition, Scale4xIsScale2xTwiceAndScale4xHqIsEagleOfScale2xHq) {
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        Surface s = randomPaletteImage(9 + int(seed), 7, ChannelOrder::RGBA, 3, seed);
        EXPECT_TRUE(sameImage(upscale(s, SCALE4X), upscale(upscale(s, SCALE2X), SCALE2X)));
        EXPECT_TRUE(sameImage(upscale(s, SCALE4XHQ), upscale(upscale(s, SCALE2XHQ), EAGLE2X)));
    }
}

TEST(UpscalePixels, NoModeInventsAPixelColourAndAlphaTravelTogether) {
    const Surface sources[] = {transparentSprite(), transparentSprite(23, 17),
                               randomPaletteImage(23, 17, ChannelOrder::RGBA, 4, 98),
                               randomPaletteImage(23, 17, ChannelOrder::RGB, 4, 99)};
    for (const Surface& source : sources)
        for (const auto& info : loom::upscalerCatalogue())
            for (PixelMatch match : ALL_MATCHES)
                ASSERT_TRUE(noPixelInvented(upscale(source, info.id, match), source))
                    << info.name << ", match " << int(match) << ", " << source.getWidth() << "x"
                    << source.getHeight();
}
