#include "gl/TextRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <cstring>

#include "io/Unicode.h"

namespace loom {
namespace gl {

namespace {

// Code points of UTF-16 text; an unpaired surrogate stands for itself and draws as a missing glyph.
std::vector<char32_t> codePoints(const std::u16string& text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            out.push_back(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Glyphs are loaded with FreeType's default hinting, which snaps their edges to the pixel grid
// (the auto-hinter for fonts without instructions): anti-aliased, yet crisp for a pixel font.
constexpr FT_Int32 GLYPH_LOAD_FLAGS = FT_LOAD_DEFAULT;

// The grid-fitted advance in pixels, used alike for measuring and drawing so that they agree.
float advanceOf(FT_Face face, FT_UInt glyph) {
    FT_Fixed advance = 0;
    if (FT_Get_Advance(face, glyph, GLYPH_LOAD_FLAGS, &advance) != 0) return 0.0f;
    return float(double(advance) / 65536.0);
}

// Lays the coverage of one rendered glyph over the surface, straight alpha ("over").
void blendCoverage(const FT_Bitmap& bitmap, int left, int top, const uint8_t rgba[4],
                   const Surface& surface) {
    const ChannelOrder& order = surface.getChannelOrder();
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = top + int(row);
        if (y < 0 || y >= surface.getHeight()) continue;
        const uint8_t* coverage = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = left + int(col);
            if (x < 0 || x >= surface.getWidth() || coverage[col] == 0) continue;
            uint8_t* px = surface.getData(x, y);
            const unsigned srcA = rgba[3] * coverage[col] / 255;
            const unsigned dstA = px[order.alpha];
            const unsigned keep = dstA * (255 - srcA) / 255;
            const unsigned outA = srcA + keep;
            if (outA == 0) continue;
            auto mix = [&](uint8_t& dst, uint8_t src) {
                dst = uint8_t((src * srcA + dst * keep) / outA);
            };
            mix(px[order.red], rgba[0]);
            mix(px[order.green], rgba[1]);
            mix(px[order.blue], rgba[2]);
            px[order.alpha] = uint8_t(outA);
        }
    }
}

// Draws one run with its baseline at baselineY, starting at penX; returns the pen after it.
// Glyph origins snap to whole pixels like the hinted outlines; the baseline rounds down the
// page, so that marks as high as the ascent stay inside the surface.
float drawRun(const TextRun& run, float penX, float baselineY, const Surface& surface) {
    FT_Face face = run.font.getFace();
    const uint8_t rgba[4] = {toByte(run.color.r), toByte(run.color.g), toByte(run.color.b),
                             toByte(run.color.a)};
    const int baseline = int(std::ceil(baselineY));
    for (char32_t c : codePoints(run.wideText)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        const int originX = int(std::lround(penX));
        penX += advanceOf(face, glyph);
        if (FT_Load_Glyph(face, glyph, GLYPH_LOAD_FLAGS | FT_LOAD_NO_BITMAP) != 0) continue;
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        blendCoverage(slot->bitmap, originX + slot->bitmap_left, baseline - slot->bitmap_top, rgba,
                      surface);
    }
    return penX;
}

}  // namespace

const Font& defaultTextFont() {
    static const Font font("Arial", 14);
    return font;
}

uint32_t toArgb(const ColorA& color) {
    return uint32_t(toByte(color.a)) << 24 | uint32_t(toByte(color.r)) << 16 |
           uint32_t(toByte(color.g)) << 8 | uint32_t(toByte(color.b));
}

void measureLine(TextLine& line) {
    line.width = line.height = line.ascent = line.descent = line.leading = 0.0f;
    for (TextRun& run : line.runs) {
        FT_Face face = run.font.getFace();
        float width = 0.0f;
        for (char32_t c : codePoints(run.wideText)) width += advanceOf(face, FT_Get_Char_Index(face, c));
        const float boxHeight = float(face->height) * run.font.getEmPixels() / face->units_per_EM;
        run.width = width;
        run.ascent = run.font.ascent();
        run.descent = run.font.descent();
        run.leading = run.font.leading();
        line.width += width;
        line.ascent = std::max(line.ascent, run.ascent);
        line.descent = std::max(line.descent, run.descent);
        line.leading = std::max(line.leading, run.leading);
        line.height = std::max(line.height, boxHeight);
    }
    line.height = std::max(line.height, line.ascent + line.descent + line.leading);
}

Surface rasterizeText(const std::string& text, const Font& font, const ColorA& color,
                      float* baselineOffset) {
    TextLine line;
    line.runs.push_back(TextRun{text, font ? font : defaultTextFont(), color, toUtf16(text)});
    measureLine(line);

    const int width = int(std::ceil(double(line.width)));
    const int height = int(std::ceil(double(line.height)));
    if (width < 0 || height < 0) return Surface();
    Surface surface(width, height + 1, true, SurfaceConstraintsTextRaster());
    if (surface.getData())
        std::memset(surface.getData(), 0, size_t(surface.getRowBytes()) * surface.getHeight());

    const float top = line.leading;
    float penX = 0.0f;
    for (const TextRun& run : line.runs) penX = drawRun(run, penX, top + line.ascent, surface);

    if (baselineOffset) *baselineOffset = line.descent;
    return surface;
}

}  // namespace gl
}  // namespace loom
