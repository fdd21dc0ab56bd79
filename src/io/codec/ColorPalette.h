// ColorPalette: the distinct colours of an 8-bit RGB, RGBA or gray image while there are at most
// 256, built row by row, with each pixel's palette index. Pixel art nearly always fits, and stays
// so after upscaling (no upscaler invents a colour), so it can be written as an indexed image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "io/Palette.h"

namespace loom {

class ColorPalette {
public:
    static constexpr int MAX_COLORS = 256;

    ColorPalette() { indices_.fill(-1); }
    // Starts with a table's entries (at most 256), in its order; a colour the table holds twice
    // is found at its first place.
    explicit ColorPalette(const Palette& table);

    // Writes the palette index of each pixel of row (channels 1, 3 or 4) to indices, adding new
    // colours in order of appearance. False, with the palette unchanged from before the first
    // colour that did not fit, when the row brings the count past 256.
    bool addRow(const uint8_t* row, int32_t width, int channels, uint8_t* indices);
    // Renumbers the colours so that those with alpha below 255 come first, keeping the order
    // within each group.
    void putTranslucentFirst();

    int size() const { return count_; }
    // Colour i as red, green, blue, alpha.
    std::array<uint8_t, 4> color(int i) const;
    // One past the last colour whose alpha is below 255 (0 when all are opaque).
    int translucentEnd() const;
    // Whether every colour has red = green = blue.
    bool allGray() const;

private:
    static constexpr int SLOTS = 1024;  // four times the colours: short probe chains
    static uint32_t pack(const uint8_t* pixel, int channels) {
        if (channels == 1) return uint32_t(pixel[0]) * 0x010101u | 0xFF000000u;
        return uint32_t(pixel[0]) | uint32_t(pixel[1]) << 8 | uint32_t(pixel[2]) << 16 |
               (channels == 4 ? uint32_t(pixel[3]) << 24 : 0xFF000000u);
    }
    static int slotOf(uint32_t key) { return int((key * 2654435761u) >> 22); }
    // addRow for a fixed number of channels: the per-pixel work has no branch on it.
    template <int CHANNELS>
    bool addRowOf(const uint8_t* row, int32_t width, uint8_t* indices);
    // The slot holding key, or the empty slot where it belongs.
    int find(uint32_t key) const;

    std::array<uint32_t, MAX_COLORS> colors_{};
    std::array<uint32_t, SLOTS> keys_{};
    std::array<int16_t, SLOTS> indices_{};
    int count_ = 0;
};

}  // namespace loom
