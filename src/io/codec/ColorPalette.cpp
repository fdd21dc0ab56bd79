#include "io/codec/ColorPalette.h"

namespace loom {

int ColorPalette::find(uint32_t key) const {
    int slot = slotOf(key);
    while (indices_[size_t(slot)] >= 0 && keys_[size_t(slot)] != key) slot = (slot + 1) & (SLOTS - 1);
    return slot;
}

bool ColorPalette::addRow(const uint8_t* row, int32_t width, int channels, uint8_t* indices) {
    uint32_t last = 0;
    int lastIndex = -1;
    for (int32_t x = 0; x < width; ++x, row += channels) {
        const uint32_t key = pack(row, channels);
        if (lastIndex < 0 || key != last) {  // runs are the rule in pixel art
            const int slot = find(key);
            if (indices_[size_t(slot)] < 0) {
                if (count_ == MAX_COLORS) return false;
                keys_[size_t(slot)] = key;
                indices_[size_t(slot)] = int16_t(count_);
                colors_[size_t(count_++)] = key;
            }
            last = key;
            lastIndex = indices_[size_t(slot)];
        }
        indices[x] = uint8_t(lastIndex);
    }
    return true;
}

void ColorPalette::expandRow(const uint8_t* indices, int32_t width, int channels, uint8_t* row) const {
    for (int32_t x = 0; x < width; ++x, row += channels) {
        const uint32_t c = colors_[indices[x]];
        row[0] = uint8_t(c), row[1] = uint8_t(c >> 8), row[2] = uint8_t(c >> 16);
        if (channels == 4) row[3] = uint8_t(c >> 24);
    }
}

std::array<uint8_t, 4> ColorPalette::color(int i) const {
    const uint32_t c = colors_[size_t(i)];
    return {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(c >> 24)};
}

int ColorPalette::translucentEnd() const {
    int end = 0;
    for (int i = 0; i < count_; ++i)
        if ((colors_[size_t(i)] >> 24) != 0xFF) end = i + 1;
    return end;
}

}  // namespace loom
