// One line of text rasterised into a transparent BGRA surface: size, layout, colour and alpha.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "gl/TextRaster.h"
#include "io/DataSource.h"

using namespace loom;
using namespace loom::gl;

namespace {

Font pixelFont(float size = 10) {
    return Font(openFileSource(std::string(LOOM_SOURCE_DIR) + "/assets/font/QuennetPixel.ttf"), size);
}

struct InkStats {
    int inked = 0;
    int dirtyTransparent = 0;  // alpha 0 but colour bytes set
    int wrongColour = 0;
    int maxAlpha = 0;
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
};

InkStats inkOf(const Surface& s, uint8_t r, uint8_t g, uint8_t b) {
    InkStats st;
    const ChannelOrder& o = s.getChannelOrder();
    for (int y = 0; y < s.getHeight(); ++y)
        for (int x = 0; x < s.getWidth(); ++x) {
            const uint8_t* p = s.getData(x, y);
            if (p[o.alpha] == 0) {
                if (p[o.red] || p[o.green] || p[o.blue]) ++st.dirtyTransparent;
                continue;
            }
            ++st.inked;
            if (p[o.red] != r || p[o.green] != g || p[o.blue] != b) ++st.wrongColour;
            st.maxAlpha = std::max<int>(st.maxAlpha, p[o.alpha]);
            st.minX = std::min(st.minX, x), st.maxX = std::max(st.maxX, x);
            st.minY = std::min(st.minY, y), st.maxY = std::max(st.maxY, y);
        }
    return st;
}

}  // namespace

TEST(TextRaster, ColourBytesAreTruncated) {
    EXPECT_EQ(toArgb(ColorA(1, 1, 1, 0.5f)), 0x7FFFFFFFu) << "0.5 x 255 = 127.5 gives 127";
    EXPECT_EQ(toArgb(ColorA(1, 0, 0.5f, 1)), 0xFFFF007Fu);
    EXPECT_EQ(toArgb(ColorA(0, 0, 0, 0)), 0u);
}

TEST(TextRaster, SurfaceIsOneRowTallerThanTheLineAndAsWideAsTheText) {
    Font font = pixelFont();
    float descent = -1;
    Surface s = rasterizeText("Zoom", font, ColorA(1, 1, 1, 1), &descent);
    ASSERT_TRUE(s);
    TextLine line;
    line.runs.push_back(TextRun{"Zoom", font, ColorA(1, 1, 1, 1), u"Zoom"});
    measureLine(line);
    EXPECT_FLOAT_EQ(line.ascent, font.ascent());
    EXPECT_FLOAT_EQ(line.height, font.ascent() + font.descent() + font.leading());
    EXPECT_EQ(s.getWidth(), int(std::ceil(line.width)));
    EXPECT_EQ(s.getHeight(), int(std::ceil(line.height)) + 1) << "13 rows of line and one more";
    EXPECT_EQ(s.getHeight(), 14);
    EXPECT_FLOAT_EQ(descent, font.descent()) << "the offset receives the line's descent";

    EXPECT_EQ(s.getChannelOrder().code, ChannelOrder::BGRA);
    EXPECT_TRUE(s.hasAlpha());
    EXPECT_EQ(s.getRowBytes() % 4, 0);
}

TEST(TextRaster, GlyphsCarryTheRunColourOnATransparentBackground) {
    Surface s = rasterizeText("Zoom Hg", pixelFont(), ColorA(1, 0.5f, 0, 1));
    InkStats st = inkOf(s, 255, 127, 0);
    EXPECT_GT(st.inked, 40);
    EXPECT_EQ(st.wrongColour, 0) << "straight alpha: every inked pixel has the run's colour";
    EXPECT_EQ(st.dirtyTransparent, 0) << "the background is transparent black";
    EXPECT_EQ(st.maxAlpha, 255) << "the pixel font's stems are fully covered";
    // Capitals stand 7 font pixels on the baseline (ascent 10.3 rounds down the page to row 11);
    // g's tail hangs 2 rows below it; the extra last row stays empty.
    EXPECT_EQ(st.minY, 4);
    EXPECT_EQ(st.maxY, 12);
    EXPECT_EQ(st.minX, 0) << "the text starts at the left edge";
}

TEST(TextRaster, TextAlphaScalesCoverage) {
    Surface s = rasterizeText("H", pixelFont(), ColorA(1, 1, 1, 0.5f));
    InkStats st = inkOf(s, 255, 255, 255);
    EXPECT_GT(st.inked, 0);
    EXPECT_EQ(st.maxAlpha, 127);
}

TEST(TextRaster, AccentsAboveCapitalsStayInside) {
    Surface s = rasterizeText("\xC3\x85", pixelFont(), ColorA(1, 1, 1, 1));  // A with ring
    InkStats st = inkOf(s, 255, 255, 255);
    EXPECT_EQ(st.minY, 0) << "the ring reaches the ascender and is not cut";
}

TEST(TextRaster, EmptyStringGivesAZeroWidthSurface) {
    float descent = 0;
    Surface s = rasterizeText("", pixelFont(), ColorA(1, 1, 1, 1), &descent);
    ASSERT_TRUE(s);
    EXPECT_EQ(s.getWidth(), 0);
    EXPECT_EQ(s.getHeight(), 14);
    EXPECT_FLOAT_EQ(descent, 1.875f);
}

TEST(TextRaster, WidthsAddUpAndMissingGlyphsStillAdvance) {
    Font font = pixelFont();
    const int ab = rasterizeText("AB", font, ColorA()).getWidth();
    const int a = rasterizeText("A", font, ColorA()).getWidth();
    EXPECT_EQ(ab, 2 * a) << "same advance for A and B";
    EXPECT_GT(rasterizeText("\xE4\xB8\xAD", font, ColorA()).getWidth(), 0)
        << "a character the font lacks draws its missing-glyph box";
}

TEST(TextRaster, InvalidUtf8IsRefused) {
    EXPECT_THROW(rasterizeText("bad \xFF byte", pixelFont(), ColorA()), std::runtime_error);
}

TEST(TextRaster, ANullFontMeansTheDefaultTextFont) {
    float descent = 0;
    Surface s = rasterizeText("Hi", Font(), ColorA(1, 1, 1, 1), &descent);
    ASSERT_TRUE(s);
    EXPECT_GT(s.getWidth(), 0);
    EXPECT_FLOAT_EQ(descent, defaultTextFont().descent());
}
