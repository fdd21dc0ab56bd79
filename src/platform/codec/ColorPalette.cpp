#include "platform/codec/ColorPalette.h"

#include <algorithm>

namespace loom {

int ColorPalette::find(uint32_t key) const {
    int slot = slotOf(key);
    while (indices_[size_t(slot)] >= 0 && keys_[size_t(slot)] != key) slot = (slot + 1) & (SLOTS - 1);
    return slot;
}

void ColorPalette::rebuildTable() {
    indices_.fill(-1);
    for (int i = 0; i < count_; ++i) {
        const int slot = find(colors_[size_t(i)]);
        keys_[size_t(slot)] = colors_[size_t(i)];
        indices_[size_t(slot)] = int16_t(i);
    }
}

bool ColorPalette::build(const uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                         int channels) {
    count_ = 0;
    indices_.fill(-1);
    bool haveLast = false;
    uint32_t last = 0;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* p = pixels + int64_t(y) * rowBytes;
        for (int32_t x = 0; x < width; ++x, p += channels) {
            const uint32_t key = pack(p, channels);
            if (haveLast && key == last) continue;  // runs are the rule in pixel art
            haveLast = true;
            last = key;
            const int slot = find(key);
            if (indices_[size_t(slot)] >= 0) continue;
            if (count_ == MAX_COLORS) return false;
            keys_[size_t(slot)] = key;
            indices_[size_t(slot)] = int16_t(count_);
            colors_[size_t(count_++)] = key;
        }
    }
    auto opaque = [](uint32_t c) { return (c >> 24) == 0xFF; };
    std::stable_partition(colors_.begin(), colors_.begin() + count_, [&](uint32_t c) { return !opaque(c); });
    translucent_ = int(std::count_if(colors_.begin(), colors_.begin() + count_, [&](uint32_t c) { return !opaque(c); }));
    rebuildTable();
    return true;
}

std::array<uint8_t, 4> ColorPalette::color(int i) const {
    const uint32_t c = colors_[size_t(i)];
    return {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(c >> 24)};
}

void ColorPalette::mapRow(const uint8_t* row, int32_t width, int channels, uint8_t* indices) const {
    uint32_t last = 0;
    uint8_t lastIndex = 0;
    bool haveLast = false;
    for (int32_t x = 0; x < width; ++x, row += channels) {
        const uint32_t key = pack(row, channels);
        if (!haveLast || key != last) {
            haveLast = true;
            last = key;
            lastIndex = uint8_t(indices_[size_t(find(key))]);
        }
        indices[x] = lastIndex;
    }
}

}  // namespace loom
