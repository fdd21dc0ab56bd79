// ColorPalette: the distinct colours of an 8-bit RGB or RGBA image while there are at most 256,
// built row by row as the rows arrive, with each pixel's palette index. Pixel art nearly always
// fits, and stays so after upscaling (no upscaler invents a colour), so it can be written as an
// indexed image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace loom {

class ColorPalette {
public:
    static constexpr int MAX_COLORS = 256;

    ColorPalette() { indices_.fill(-1); }

    // Writes the palette index of each pixel of row (channels 3 or 4) to indices, adding new
    // colours in order of appearance. False, with the palette unchanged from before the first
    // colour that did not fit, when the row brings the count past 256.
    bool addRow(const uint8_t* row, int32_t width, int channels, uint8_t* indices);
    // The colours of a row of indices, back in the row layout (channels 3 or 4).
    void expandRow(const uint8_t* indices, int32_t width, int channels, uint8_t* row) const;

    int size() const { return count_; }
    // Colour i as red, green, blue, alpha.
    std::array<uint8_t, 4> color(int i) const;
    // One past the last colour whose alpha is below 255 (0 when all are opaque).
    int translucentEnd() const;

private:
    static constexpr int SLOTS = 1024;  // four times the colours: short probe chains
    static uint32_t pack(const uint8_t* pixel, int channels) {
        return uint32_t(pixel[0]) | uint32_t(pixel[1]) << 8 | uint32_t(pixel[2]) << 16 |
               (channels == 4 ? uint32_t(pixel[3]) << 24 : 0xFF000000u);
    }
    static int slotOf(uint32_t key) { return int((key * 2654435761u) >> 22); }
    // The slot holding key, or the empty slot where it belongs.
    int find(uint32_t key) const;

    std::array<uint32_t, MAX_COLORS> colors_{};
    std::array<uint32_t, SLOTS> keys_{};
    std::array<int16_t, SLOTS> indices_{};
    int count_ = 0;
};

}  // namespace loom
