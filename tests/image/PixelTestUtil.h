// Small helpers for image tests: build surfaces from rows of letters, read them back as letters,
// compare two surfaces byte for byte, and make random images from a small palette.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/PixelMatch.h"
#include "image/Surface.h"

namespace loom::test {

constexpr PixelMatch ALL_MATCHES[] = {PixelMatch::Seen, PixelMatch::Colour, PixelMatch::ColourAndAlpha};

using Rows = std::vector<std::string>;

// Letters stand for colours; W, K, X, Y, R, G, B are fixed, any other letter gets its own colour.
inline uint32_t letterColour(char c) {
    switch (c) {
        case 'W': return 0xFFFFFF;
        case 'K': return 0x000000;
        case 'X': return 0x204060;
        case 'Y': return 0xC0A080;
        case 'R': return 0xFF0000;
        case 'G': return 0x00FF00;
        case 'B': return 0x0000FF;
        default: return uint32_t(uint8_t(c)) * 0x010307u;
    }
}

inline uint32_t colourAt(const Surface& s, int x, int y) {
    const uint8_t* p = s.getData(x, y);
    const ChannelOrder& o = s.getChannelOrder();
    return uint32_t(p[o.red]) << 16 | uint32_t(p[o.green]) << 8 | p[o.blue];
}

inline uint8_t alphaAt(const Surface& s, int x, int y) {
    return s.getData(x, y)[s.getChannelOrder().alpha];
}

// The whole pixel as alpha << 24 | colour; alpha 255 without an alpha channel.
inline uint32_t pixelAt(const Surface& s, int x, int y) {
    return uint32_t(s.hasAlpha() ? alphaAt(s, x, y) : 255) << 24 | colourAt(s, x, y);
}

inline std::set<uint32_t> pixelsOf(const Surface& s) {
    std::set<uint32_t> pixels;
    for (int y = 0; y < s.getHeight(); ++y)
        for (int x = 0; x < s.getWidth(); ++x) pixels.insert(pixelAt(s, x, y));
    return pixels;
}

// Every pixel of `result`, colour and alpha together, is a pixel of `source`.
inline ::testing::AssertionResult noPixelInvented(const Surface& result, const Surface& source) {
    const std::set<uint32_t> allowed = pixelsOf(source);
    for (int y = 0; y < result.getHeight(); ++y)
        for (int x = 0; x < result.getWidth(); ++x)
            if (!allowed.count(pixelAt(result, x, y)))
                return ::testing::AssertionFailure()
                       << std::hex << "pixel " << pixelAt(result, x, y) << std::dec << " at (" << x
                       << ", " << y << ") is not in the source";
    return ::testing::AssertionSuccess();
}

inline void setPixel(const Surface& s, int x, int y, uint32_t colour, uint8_t alpha = 255) {
    uint8_t* p = s.getData(x, y);
    const ChannelOrder& o = s.getChannelOrder();
    p[o.red] = uint8_t(colour >> 16);
    p[o.green] = uint8_t(colour >> 8);
    p[o.blue] = uint8_t(colour);
    if (o.hasAlpha()) p[o.alpha] = alpha;
}

// A surface in the given order (RGB by default) whose pixels are the rows' letters.
inline Surface imageFromRows(const Rows& rows, ChannelOrder order = ChannelOrder::RGB) {
    const int h = int(rows.size());
    const int w = h ? int(rows[0].size()) : 0;
    Surface s(w, h, order.hasAlpha(), order);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) setPixel(s, x, y, letterColour(rows[size_t(y)][size_t(x)]));
    return s;
}

// The surface as rows of letters from the given alphabet ('?' for a colour not among them).
inline Rows rowsOf(const Surface& s, const std::string& letters = "WKXYRGB") {
    Rows rows;
    for (int y = 0; y < s.getHeight(); ++y) {
        std::string row;
        for (int x = 0; x < s.getWidth(); ++x) {
            char found = '?';
            for (char c : letters)
                if (letterColour(c) == colourAt(s, x, y)) found = c;
            row += found;
        }
        rows.push_back(row);
    }
    return rows;
}

// Same size, order and bytes of every channel present (X padding bytes ignored).
inline ::testing::AssertionResult sameImage(const Surface& a, const Surface& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? ::testing::AssertionSuccess()
                                        : ::testing::AssertionFailure() << "one image is null";
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
        return ::testing::AssertionFailure() << "size " << a.getWidth() << "x" << a.getHeight() << " vs "
                                             << b.getWidth() << "x" << b.getHeight();
    if (a.getChannelOrder() != b.getChannelOrder())
        return ::testing::AssertionFailure()
               << "channel order " << a.getChannelOrder().code << " vs " << b.getChannelOrder().code;
    for (int y = 0; y < a.getHeight(); ++y) {
        for (int x = 0; x < a.getWidth(); ++x) {
            const bool alphaDiffers = a.hasAlpha() && alphaAt(a, x, y) != alphaAt(b, x, y);
            if (colourAt(a, x, y) != colourAt(b, x, y) || alphaDiffers) {
                std::ostringstream msg;
                msg << std::hex << "first difference at (" << std::dec << x << ", " << y
                    << "): " << std::hex << colourAt(a, x, y) << " vs " << colourAt(b, x, y);
                if (a.hasAlpha())
                    msg << ", alpha " << int(alphaAt(a, x, y)) << " vs " << int(alphaAt(b, x, y));
                return ::testing::AssertionFailure() << msg.str();
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Pixels drawn from a palette of `colours` colours (2 to 4 make every rule fire often); with
// alpha, each pixel's alpha is drawn from two values independently of its colour.
// Opaque, translucent and fully transparent pixels, each hiding any palette colour.
inline Surface randomPaletteImage(int w, int h, ChannelOrder order, int colours, uint32_t seed) {
    static constexpr uint8_t ALPHAS[] = {255, 7, 0};
    std::mt19937 rng(seed);
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i) palette.push_back(rng() & 0xFFFFFF);
    Surface s(w, h, order.hasAlpha(), order);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setPixel(s, x, y, palette[rng() % palette.size()], ALPHAS[rng() % 3]);
    return s;
}

// A sprite as artists draw it: an opaque black outline around a two-coloured body on a transparent
// background that hides black (0,0,0,0) on the left half and magenta on the right; outline and
// hidden black differ only in alpha.
inline Surface transparentSprite(int w = 16, int h = 16) {
    auto inside = [&](int x, int y) {
        const float dx = (x + 0.5f - w / 2.0f) / (w * 0.4f), dy = (y + 0.5f - h / 2.0f) / (h * 0.45f);
        return dx * dx + dy * dy < 1.0f;
    };
    Surface s(w, h, true);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool edge =
                !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (!inside(x, y))
                setPixel(s, x, y, x < w / 2 ? 0x000000 : 0xFF00FF, 0);
            else
                setPixel(s, x, y, edge ? 0x000000 : y < h / 2 ? 0xF0C090 : 0x3060C0, 255);
        }
    }
    return s;
}

}  // namespace loom::test
