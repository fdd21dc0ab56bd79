#include "io/codec/ColorPalette.h"

#include <algorithm>

namespace loom {

ColorPalette::ColorPalette(const Palette& table) : ColorPalette() {
    for (const auto& entry : table) {
        if (count_ == MAX_COLORS) break;
        const uint32_t key = pack(entry.data(), 4);
        const int slot = find(key);
        if (indices_[size_t(slot)] < 0)
            keys_[size_t(slot)] = key, indices_[size_t(slot)] = int16_t(count_);
        colors_[size_t(count_++)] = key;
    }
}

int ColorPalette::find(uint32_t key) const {
    int slot = slotOf(key);
    while (indices_[size_t(slot)] >= 0 && keys_[size_t(slot)] != key) slot = (slot + 1) & (SLOTS - 1);
    return slot;
}

bool ColorPalette::addRow(const uint8_t* row, int32_t width, int channels, uint8_t* indices) {
    switch (channels) {
        case 1: return addRowOf<1>(row, width, indices);
        case 3: return addRowOf<3>(row, width, indices);
        default: return addRowOf<4>(row, width, indices);
    }
}

template <int CHANNELS>
bool ColorPalette::addRowOf(const uint8_t* row, int32_t width, uint8_t* indices) {
    uint32_t last = 0;
    int lastIndex = -1;
    for (int32_t x = 0; x < width; ++x, row += CHANNELS) {
        const uint32_t key = pack(row, CHANNELS);
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

void ColorPalette::putTranslucentFirst() {
    std::stable_partition(colors_.begin(), colors_.begin() + count_,
                          [](uint32_t c) { return (c >> 24) != 0xFF; });
    for (int i = 0; i < count_; ++i) indices_[size_t(find(colors_[size_t(i)]))] = int16_t(i);
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

bool ColorPalette::allGray() const {
    return std::all_of(colors_.begin(), colors_.begin() + count_, [](uint32_t c) {
        return (c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == ((c >> 16) & 0xFF);
    });
}

}  // namespace loom
