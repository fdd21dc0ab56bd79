// ColorPalette: the distinct colours of an 8-bit RGB or RGBA image when there are at most 256,
// and the mapping of pixels to their palette index. Pixel art nearly always fits, and stays so
// after upscaling (no upscaler invents a colour), so it can be written as an indexed image.
#pragma once

#include <array>
#include <cstdint>

namespace loom {

class ColorPalette {
public:
    static constexpr int MAX_COLORS = 256;

    // Collects the colours of the rows (channels 3 or 4); false as soon as there are more than
    // 256. Colours with alpha below 255 come first, so a transparency table can stop early.
    bool build(const uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes, int channels);

    int size() const { return count_; }
    // Colour i as red, green, blue, alpha.
    std::array<uint8_t, 4> color(int i) const;
    // How many leading colours have alpha below 255.
    int translucentCount() const { return translucent_; }
    // Writes the palette index of each pixel of row (channels 3 or 4) to indices.
    void mapRow(const uint8_t* row, int32_t width, int channels, uint8_t* indices) const;

private:
    static constexpr int SLOTS = 1024;  // four times the colours: short probe chains
    static uint32_t pack(const uint8_t* pixel, int channels) {
        return uint32_t(pixel[0]) | uint32_t(pixel[1]) << 8 | uint32_t(pixel[2]) << 16 |
               (channels == 4 ? uint32_t(pixel[3]) << 24 : 0xFF000000u);
    }
    static int slotOf(uint32_t key) { return int((key * 2654435761u) >> 22); }
    // The slot holding key, or the empty slot where it belongs.
    int find(uint32_t key) const;
    void rebuildTable();

    std::array<uint32_t, MAX_COLORS> colors_{};
    std::array<uint32_t, SLOTS> keys_{};
    std::array<int16_t, SLOTS> indices_{};
    int count_ = 0;
    int translucent_ = 0;
};

}  // namespace loom
